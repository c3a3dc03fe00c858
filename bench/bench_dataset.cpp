// Opening customer datasets and the detail statements of scrolling, against the same statements
// stepped through the SQLite C API.
#include "BenchSupport.h"
#include "core/Connection.h"
#include "core/DataModule.h"
#include "core/Dataset.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>
#include <vector>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_dataset PROGRAM_FOLDER (with a demo database)\n");
        return 2;
    }
    const QString folder = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    const QString file = folder + QStringLiteral("/data100.dbf");

    sqlite3* raw = nullptr;
    if (sqlite3_open_v2(file.toUtf8().constData(), &raw, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "cannot open %s\n", qPrintable(file));
        return 1;
    }
    DataModule dm(folder);
    if (!dm.isConnected())
        return 1;
    Connection& con = dm.conPublic();

    const QString all = QStringLiteral("select * from Q_A a where 1=1");
    const QString filtered = QStringLiteral("select * from Q_A a where 1=1 and AS02 like '%科技%'");

    // Customer keys to scroll through, spread over the table.
    std::vector<qint64> keys;
    {
        Dataset ids(&con);
        ids.setSql(QStringLiteral("select AIID from Q_A order by AIID"));
        ids.open();
        const int step = std::max(1, ids.rowCount() / 1000);
        for (int r = 0; r < ids.rowCount() && keys.size() < 1000; r += step)
            keys.push_back(ids.valueAt(r, 0).toLongLong());
        std::printf("customers: %d, scrolled through: %zu\n", ids.rowCount(), keys.size());
    }
    auto detailSql = [&](QChar letter, qint64 key) {
        return QStringLiteral("select * from   Q_%1 a where 1=1\n and a.AIID=%2").arg(letter).arg(key)
            + dm.sortClause(QStringLiteral("Q_") + letter);
    };

    quint64 sink = 0;
    const double rawAll = bench::bestOf(3, [&] { sink += bench::stepAll(raw, all); });
    const double rawFiltered = bench::bestOf(3, [&] { sink += bench::stepAll(raw, filtered); });
    const double rawDetails = bench::bestOf(3, [&] {
        for (qint64 key : keys)
            for (QChar letter : {QChar('B'), QChar('C'), QChar('D'), QChar('E')})
                sink += bench::stepAll(raw, detailSql(letter, key));
    });
    const double before = bench::peakResidentMb();

    qsizetype held = 0;
    int rows = 0;
    const double openAll = bench::bestOf(3, [&] {
        Dataset d(&con);
        d.setSql(all);
        d.open();
        held = d.memoryUsed();
        rows = d.rowCount();
    });
    const double peak = bench::peakResidentMb();
    const double openFiltered = bench::bestOf(3, [&] {
        Dataset d(&con);
        d.setSql(filtered);
        d.open();
    });
    const double details = bench::bestOf(3, [&] {
        Dataset qry2(&con), qry3(&con), qry4(&con), qry5(&con);
        Dataset* pages[] = {&qry2, &qry3, &qry4, &qry5};
        const QChar letters[] = {QChar('B'), QChar('C'), QChar('D'), QChar('E')};
        for (qint64 key : keys) {
            for (int p = 0; p < 4; ++p) {
                pages[p]->setSql(detailSql(letters[p], key));
                pages[p]->open();
            }
        }
    });

    bench::report("(a) open select * from Q_A", openAll, rawAll, "<= 3");
    bench::report("(b) open with like '%...%'", openFiltered, rawFiltered, "<= 2");
    bench::report("(c) four detail statements x customers", details, rawDetails, "<= 2");
    std::printf("(a) rows %d, dataset holds %.1f MB, process peak %.1f MB (before %.1f MB)  (goal < 200 MB)\n", rows,
                held / 1048576.0, peak, before);
    sqlite3_close(raw);
    return sink == 42 ? 3 : 0;
}
