// The customer main window on a large database: from DoQuery to the grid showing its first rows,
// and moving to the next customer with the detail pages refreshed, against the same statements
// stepped through the SQLite C API.
#include "BenchSupport.h"
#include "core/CurrentUser.h"
#include "core/DataModule.h"
#include "core/Dataset.h"
#include "forms/main/CustomerMainWindow.h"
#include "forms/main/DetailPages.h"
#include "forms/main/DetailStatement.h"

#include <QApplication>
#include <QDir>

#include <cstdio>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_mainwindow PROGRAM_FOLDER (with a demo database)\n");
        return 2;
    }
    const QString folder = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    sqlite3* raw = nullptr;
    if (sqlite3_open_v2((folder + QStringLiteral("/data100.dbf")).toUtf8().constData(), &raw, SQLITE_OPEN_READONLY,
                        nullptr) != SQLITE_OK)
        return 1;
    DataModule dm(folder);
    if (!dm.isConnected())
        return 1;
    Dataset user(&dm.conPublic());
    user.setSql(QStringLiteral("select * from s_user where suserid='0000'"));
    user.open();
    currentUser().copyFrom(user);

    CustomerMainWindow window;
    window.resize(1280, 800);
    window.show();
    QApplication::processEvents();
    Dataset& customers = window.Qry1();
    const QString customerSql = window.baseStatement() + dm.sortClause(QStringLiteral("Q_A"));

    auto detailStatements = [&] {
        QStringList statements;
        for (int page = 1; page <= DetailPages::pageCount; ++page)
            statements << DetailStatement(window.pages()->baseStatement(page), customers,
                                          dm.sortClause(QStringLiteral("Q_") + DetailPages::tableLetter(page)));
        return statements;
    };

    quint64 sink = 0;
    const QStringList firstDetails = detailStatements();
    const double rawQuery = bench::bestOf(3, [&] {
        sink += bench::stepAll(raw, customerSql);
        for (const QString& sql : firstDetails)
            sink += bench::stepAll(raw, sql);
    });
    // Painting happens when the posted update requests are processed.
    const double query = bench::bestOf(3, [&] {
        window.DoQuery();
        QApplication::processEvents();
    });

    // A user going down the grid one customer at a time (the grid scrolls past its last row).
    const int moves = 300;
    const int start = 5000;
    QList<QStringList> visited;
    for (int i = 1; i <= moves; ++i) {
        customers.moveTo(start + i);
        visited << detailStatements();
    }
    const double rawMoves = bench::bestOf(3, [&] {
        for (const QStringList& statements : visited)
            for (const QString& sql : statements)
                sink += bench::stepAll(raw, sql);
    });
    const double refreshing = bench::bestOf(3, [&] {
        customers.moveTo(start);
        for (int i = 0; i < moves; ++i)
            customers.next();
    });
    const double moving = bench::bestOf(3, [&] {
        customers.moveTo(start);
        for (int i = 0; i < moves; ++i) {
            customers.next();
            QApplication::processEvents();
        }
    });

    std::printf("customers: %d\n", customers.rowCount());
    bench::report("DoQuery to first rows shown", query, rawQuery, "<= 3");
    bench::report("one customer move, detail refresh", refreshing / moves, rawMoves / moves, "<= 2");
    bench::report("one customer move, with grid painting", moving / moves, rawMoves / moves, "-");
    sqlite3_close(raw);
    return sink == 42 ? 3 : 0;
}
