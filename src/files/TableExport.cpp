#include "TableExport.h"

#include "GridExporter.h"
#include "GridSource.h"
#include "core/AppError.h"
#include "core/Dataset.h"
#include "core/FieldCodes.h"
#include "core/QueryRunners.h"
#include "core/SqlText.h"

#include <QFileInfo>
#include <QHash>

namespace {

struct ExportColumn {
    QString code;
    QString caption;
    FieldKind kind;
    int field = -1;                  // position in the record dataset
    QHash<QString, QString> names;   // code -> name for coded columns
};

class RecordTableSource : public GridSource {
public:
    RecordTableSource(Dataset& records, QList<ExportColumn> columns) : records(records), columns(std::move(columns)) {}
    int columnCount() const override { return int(columns.size()); }
    int rowCount() const override { return records.rowCount(); }
    QString title(int column) const override { return columns[column].caption; }
    QString cellText(int row, int column) const override
    {
        const ExportColumn& c = columns[column];
        const QString text = records.textAt(row, c.field);
        return c.kind == FieldKind::Coded ? c.names.value(text) : text;
    }
    bool isNumeric(int column) const override
    {
        return columns[column].kind == FieldKind::Integer || columns[column].kind == FieldKind::Decimal;
    }

private:
    Dataset& records;
    QList<ExportColumn> columns;
};

void openOrThrow(Dataset& query, const QString& sql)
{
    query.setSql(sql);
    query.open();
}

}

int ExportRecordTable(Connection& connection, const QString& table, const QString& path)
{
    const QString name = table.toUpper();
    if (name.size() != 3 || !name.startsWith(QLatin1String("Q_")) || !FieldCodes::tableLetters.contains(name[2]))
        throw AppError(QStringLiteral("未知的表：%1（可用 Q_A、Q_B、Q_C、Q_D、Q_E）").arg(table));
    ExportFormat format;
    if (!GridExporter::formatOfExtension(QFileInfo(path).suffix(), &format))
        throw AppError(QStringLiteral("未知的文件类型：%1（可用 .xls、.rtf、.htm、.txt）").arg(path));

    Dataset query(&connection);
    openOrThrow(query, QStringLiteral("select SFIELD,SFIELDNAME1 from S_FIELD where STABLE=%1 and idisplay=1 order by ino")
                           .arg(SqlText::quoted(name)));
    QList<ExportColumn> columns;
    for (query.first(); !query.eof(); query.next()) {
        const QString code = query.asString(0);
        const FieldKind kind = FieldCodes::kindOf(code);
        if (kind != FieldKind::None && code[0] == name[2])
            columns << ExportColumn{code, query.asString(1), kind, -1, {}};
    }
    for (ExportColumn& c : columns) {
        if (c.kind != FieldKind::Coded)
            continue;
        openOrThrow(query, QStringLiteral("select %1, %1NAME from Q_%1").arg(c.code));
        for (query.first(); !query.eof(); query.next())
            c.names.insert(query.asString(0), query.asString(1));
    }

    Dataset records(&connection);
    const QString orderBy = BuildOrderBy(query, name);
    openOrThrow(records, QStringLiteral("select * from %1 a where 1=1").arg(name)
                             + (orderBy.isEmpty() ? QStringLiteral(" order by ") + QString(name[2]) + QStringLiteral("IID")
                                                  : orderBy));
    for (ExportColumn& c : columns)
        c.field = records.fieldIndex(c.code);
    RecordTableSource source(records, columns);
    GridExporter::write(source, format, path);
    return records.rowCount();
}
