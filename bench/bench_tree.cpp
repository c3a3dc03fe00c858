// The classification tree on a large database: building the first level with its counts, and
// expanding a top node down to the leaves with the counts of every level, against the same node
// and count statements stepped through the SQLite C API.
#include "BenchSupport.h"
#include "core/DataModule.h"
#include "core/Dataset.h"
#include "forms/main/ClassificationTree.h"
#include "forms/main/TreeStatements.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// The first child of the node after expanding it, or null.
QTreeWidgetItem* expandFirst(QTreeWidgetItem* node)
{
    node->setExpanded(true);
    return node->childCount() > 0 ? node->child(0) : nullptr;
}

}

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_tree PROGRAM_FOLDER (with a demo database)\n");
        return 2;
    }
    // The fourth level is set in a copy, so the given database is only read.
    const QString source = QDir(QString::fromLocal8Bit(argv[1])).absolutePath() + QStringLiteral("/data100.dbf");
    QTemporaryDir copy;
    const QString file = copy.path() + QStringLiteral("/data100.dbf");
    if (!copy.isValid() || !QFile::copy(source, file)) {
        std::fprintf(stderr, "cannot copy %s\n", qPrintable(source));
        return 1;
    }
    sqlite3* raw = nullptr;
    if (sqlite3_open_v2(file.toUtf8().constData(), &raw, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
        return 1;
    sqlite3_exec(raw, "update S_TREE set SFIELD='AS03' where STABLE='Q_A' and INO=4", nullptr, nullptr, nullptr);

    DataModule dm(copy.path());
    if (!dm.isConnected())
        return 1;
    ClassificationTree tree;
    Dataset& work = dm.Qry();
    tree.buildFirstLevel(work);
    const TreeLevels& levels = tree.levels();
    std::printf("levels: %s %s %s %s, top nodes: %d\n", qPrintable(levels[0].field), qPrintable(levels[1].field),
                qPrintable(levels[2].field), qPrintable(levels[3].field), tree.topLevelItemCount());
    if (tree.topLevelItemCount() == 0)
        return 1;

    // The nodes expanded: the first node of each level down to depth 2.
    QTreeWidgetItem* path[3] = {tree.topLevelItem(0), nullptr, nullptr};
    for (int d = 0; d < 2; ++d)
        path[d + 1] = expandFirst(path[d]);
    if (!path[2])
        return 1;
    expandFirst(path[2]);
    std::printf("leaves under %s / %s / %s: %d\n", qPrintable(path[0]->text(0)), qPrintable(path[1]->text(0)),
                qPrintable(path[2]->text(0)), path[2]->childCount());
    TreeNodeKeys keys[3];
    for (int d = 0; d < 3; ++d)
        keys[d] = NodeKeys(path[d]);

    quint64 sink = 0;
    const double rawFirst = bench::bestOf(5, [&] {
        sink += bench::stepAll(raw, FirstLevelStatement(levels));
        sink += bench::stepAll(raw, LevelCountStatement(levels, 0, {}));
    });
    const double rawExpand = bench::bestOf(5, [&] {
        for (int d = 0; d < 3; ++d) {
            sink += bench::stepAll(raw, ExpansionStatement(levels, d, keys[d]));
            sink += bench::stepAll(raw, LevelCountStatement(levels, d + 1, keys[d]));
        }
    });

    const double first = bench::bestOf(5, [&] { tree.buildFirstLevel(work); });
    double expand = 1e300;
    for (int run = 0; run < 5; ++run) {
        tree.buildFirstLevel(work);
        QTreeWidgetItem* node = tree.topLevelItem(0);
        QElapsedTimer t;
        t.start();
        for (int d = 0; d < 3 && node; ++d)
            node = expandFirst(node);
        expand = std::min(expand, t.nsecsElapsed() / 1e6);
    }

    bench::report("(a) first level with counts", first, rawFirst, "<= 2");
    bench::report("(b) expand depth 0..2 with counts", expand, rawExpand, "<= 2");
    sqlite3_close(raw);
    return sink == 42 ? 3 : 0;
}
