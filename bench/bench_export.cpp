// Exporting 100,000 customers × 38 columns to each format, and reading the workbook back, against
// writing the same cells as tab-separated text with the C library.
#include "BenchSupport.h"
#include "core/DataModule.h"
#include "core/Dataset.h"
#include "core/FieldCodes.h"
#include "files/GridExporter.h"
#include "files/GridSource.h"
#include "files/XlsReader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>

namespace {

class CustomerSource : public GridSource {
public:
    explicit CustomerSource(Dataset& rows) : rows(rows)
    {
        for (const QString& code : FieldCodes::codes('A'))
            fields << rows.fieldIndex(code);
    }
    int columnCount() const override { return int(fields.size()); }
    int rowCount() const override { return rows.rowCount(); }
    QString title(int column) const override { return rows.fieldName(fields[column]); }
    QString cellText(int row, int column) const override { return rows.textAt(row, fields[column]); }
    bool isNumeric(int column) const override
    {
        const FieldKind kind = rows.fieldKind(fields[column]);
        return kind == FieldKind::Integer || kind == FieldKind::Decimal;
    }

private:
    Dataset& rows;
    QList<int> fields;
};

void writePlainTsv(const GridSource& source, const QString& path)
{
    FILE* f = std::fopen(QFile::encodeName(path).constData(), "wb");
    for (int c = 0; c < source.columnCount(); ++c) {
        std::fputs(source.title(c).toUtf8().constData(), f);
        std::fputc(c + 1 < source.columnCount() ? '\t' : '\n', f);
    }
    for (int r = 0; r < source.rowCount(); ++r) {
        for (int c = 0; c < source.columnCount(); ++c) {
            std::fputs(source.cellText(r, c).toUtf8().constData(), f);
            std::fputc(c + 1 < source.columnCount() ? '\t' : '\n', f);
        }
    }
    std::fclose(f);
}

}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_export PROGRAM_FOLDER (with a demo database)\n");
        return 2;
    }
    DataModule dm(QDir(QString::fromLocal8Bit(argv[1])).absolutePath());
    if (!dm.isConnected())
        return 1;
    Dataset rows(&dm.conPublic());
    rows.setSql(QStringLiteral("select * from Q_A a where 1=1 order by AIID"));
    rows.open();
    CustomerSource source(rows);
    std::printf("export of %d rows x %d columns\n", source.rowCount(), source.columnCount());

    QTemporaryDir dir;
    const double plain = bench::bestOf(2, [&] { writePlainTsv(source, dir.filePath("plain.tsv")); });
    const QString only = argc > 2 ? QString::fromLatin1(argv[2]) : QString();  // one format, for profiling
    for (ExportFormat format : {ExportFormat::Xls, ExportFormat::Rtf, ExportFormat::Htm, ExportFormat::Txt}) {
        if (!only.isEmpty() && only != GridExporter::extensionOf(format))
            continue;
        const QString path = dir.filePath(QStringLiteral("export.") + GridExporter::extensionOf(format));
        const double ms = bench::bestOf(2, [&] { GridExporter::write(source, format, path); });
        const QByteArray name = QStringLiteral("write %1 (%2 MB)")
                                    .arg(GridExporter::extensionOf(format))
                                    .arg(QFileInfo(path).size() / 1048576.0, 0, 'f', 1)
                                    .toUtf8();
        bench::report(name.constData(), ms, plain, format == ExportFormat::Xls ? "<= 3" : "-");
    }
    if (!only.isEmpty())
        return 0;
    int readRows = 0;
    const double read = bench::bestOf(2, [&] { readRows = int(ReadFirstWorksheet(dir.filePath("export.xls")).rows.size()); });
    bench::report("read xls back", read, plain, "<= 3");
    std::printf("rows read back: %d\n", readRows);
    return 0;
}
