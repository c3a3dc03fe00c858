#include "ProgramFixture.h"
#include "core/Dataset.h"
#include "forms/main/ClassificationTree.h"
#include "forms/main/TreeCountDelegate.h"
#include "forms/main/TreeStatements.h"
#include "widgets/ImageList.h"
#include "MessageRecorder.h"

#include <QTest>

namespace {

// "AC03:C,AS03:S" -> levels 1, 2; the rest unconfigured.
TreeLevels levelsOf(const QString& text)
{
    TreeLevels levels;
    const QStringList parts = text.split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (int i = 0; i < parts.size(); ++i) {
        const QStringList fieldAndType = parts[i].split(QLatin1Char(':'));
        levels[size_t(i)] = {fieldAndType[0], fieldAndType.value(1)};
    }
    return levels;
}

TreeNodeKeys keysOf(const QStringList& keys)
{
    return {keys.value(0, "null"), keys.value(1, "null"), keys.value(2, "null"), keys.value(3, "null")};
}

QStringList captions(const ClassificationTree& tree, QTreeWidgetItem* parent = nullptr)
{
    QStringList result;
    const int count = parent ? parent->childCount() : tree.topLevelItemCount();
    for (int i = 0; i < count; ++i)
        result << (parent ? parent->child(i) : tree.topLevelItem(i))->text(0);
    return result;
}

QTreeWidgetItem* childNamed(const ClassificationTree& tree, QTreeWidgetItem* parent, const QString& caption)
{
    const int count = parent ? parent->childCount() : tree.topLevelItemCount();
    for (int i = 0; i < count; ++i) {
        QTreeWidgetItem* node = parent ? parent->child(i) : tree.topLevelItem(i);
        if (node->text(0) == caption)
            return node;
    }
    return nullptr;
}

// Follows the captions down from the top and expands every node on the way.
QTreeWidgetItem* expandPath(const ClassificationTree& tree, const QStringList& path)
{
    QTreeWidgetItem* node = nullptr;
    for (const QString& caption : path) {
        node = childNamed(tree, node, caption);
        if (!node)
            return nullptr;
        node->setExpanded(true);
    }
    return node;
}

QStringList keyList(const TreeNodeKeys& keys)
{
    return {keys.level1, keys.level2, keys.level3, keys.level4};
}

void setTreeLevel(ProgramFixture& program, int level, const QString& field)
{
    program.exec(QStringLiteral("update S_TREE set SFIELD='%1' where STABLE='Q_A' and INO=%2").arg(field).arg(level));
}

// Customers over the default levels AC03 (region), AC02 (industry), AC01 (type), with the gaps the
// tree must skip: a NULL region, a region and an industry without a code row, a NULL type.
void insertCustomers(ProgramFixture& program)
{
    program.exec("insert into Q_A(AS01,AC03,AC02,AC01,AS03,AD01) values"
                 "('K1',2,3,1,'上海',45356),"
                 "('K2',2,3,3,'杭州',45356),"
                 "('K3',2,1,3,'O''Neil',45357),"
                 "('K4',1,3,2,'北京',45357),"
                 "('K5',null,1,1,'广州',null),"
                 "('K6',99,1,1,'深圳',45358),"
                 "('K7',1,99,1,'天津',45358),"
                 "('K8',2,3,null,'上海',45356)");
}

}

class TreeTest : public QObject {
    Q_OBJECT
private slots:
    void statements_data()
    {
        QTest::addColumn<QString>("levels");
        QTest::addColumn<int>("depth");  // of the node expanded; -1 for the first level
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QString>("expected");

        QTest::newRow("first level, string") << "AS03:S" << -1 << QStringList()
            << "select distinct a.AS03,a.AS03 as a1,'null','null','null' from Q_A a where a.AS03 is not null "
               "order by AS03";
        QTest::newRow("first level, code") << "AC03:C" << -1 << QStringList()
            << "select distinct b.AC03NAME,a.AC03,'null','null','null' from Q_A a , Q_AC03 b  where a.AC03=b.AC03 "
               "order by a.AC03";
        QTest::newRow("first level, unconfigured") << ":" << -1 << QStringList() << "";
        QTest::newRow("depth 0, string under code") << "AC03:C,AS03:S" << 0 << QStringList{"3"}
            << "select distinct a.AS03,'3',a.AS03 as a1,'null','null' from Q_A a where a.AC03=3 and a.AS03 is not null "
               "order by AS03";
        QTest::newRow("depth 0, code under string") << "AS03:S,AC01:C" << 0 << QStringList{"北京"}
            << "select distinct b.AC01NAME,'北京',a.AC01,'null','null' from Q_A a, Q_AC01 b  where a.AC01=b.AC01 "
               "and a.AS03='北京' order by a.AC01";
        QTest::newRow("depth 1, string") << "AC03:C,AC02:C,AS03:S" << 1 << QStringList{"3", "2"}
            << "select distinct a.AS03,'3','2',a.AS03 as a1,'null' from Q_A a where a.AC03=3 and a.AC02=2 "
               "and a.AS03 is not null order by AS03";
        QTest::newRow("depth 1, code") << "AS03:S,AS04:S,AC01:C" << 1 << QStringList{"北京", "朝阳"}
            << "select distinct b.AC01NAME,'北京','朝阳',a.AC01,'null' from Q_A a, Q_AC01 b  where a.AC01=b.AC01 "
               "and a.AS03='北京' and a.AS04='朝阳' order by a.AC01";
        QTest::newRow("depth 2, integer and decimal") << "AC03:C,AI01:I,AF01:F,AS04:S" << 2
            << QStringList{"3", "12", "-0.5"}
            << "select distinct a.AS04,'3','12','-0.5',a.AS04 as a1 from Q_A a where a.AC03=3 and a.AI01=12 "
               "and a.AF01=-0.5 and a.AS04 is not null order by AS04";
        QTest::newRow("depth 2, code") << "AC03:C,AC02:C,AC01:C,AC04:C" << 2 << QStringList{"1", "2", "3"}
            << "select distinct b.AC04NAME,'1','2','3',a.AC04 from Q_A a, Q_AC04 b  where a.AC04=b.AC04 "
               "and a.AC03=1 and a.AC02=2 and a.AC01=3 order by a.AC04";
        QTest::newRow("depth 2, fourth level unconfigured") << "AC03:C,AC02:C,AC01:C" << 2 << QStringList{"1", "2", "3"}
            << "";
        QTest::newRow("depth 3 has no next level") << "AC03:C,AC02:C,AC01:C,AC04:C" << 3
            << QStringList{"1", "2", "3", "4"} << "";
        QTest::newRow("quote in a string value") << "AS03:S,AC01:C" << 0 << QStringList{"O'Neil"}
            << "select distinct b.AC01NAME,'O''Neil',a.AC01,'null','null' from Q_A a, Q_AC01 b  where a.AC01=b.AC01 "
               "and a.AS03='O''Neil' order by a.AC01";
        QTest::newRow("non-number in an integer level") << "AI01:I,AS03:S" << 0 << QStringList{"1 or 1=1"}
            << "select distinct a.AS03,'1 or 1=1',a.AS03 as a1,'null','null' from Q_A a where a.AI01='1 or 1=1' "
               "and a.AS03 is not null order by AS03";
        QTest::newRow("date level compares day numbers") << "AD01:D,AS03:S" << 0 << QStringList{"2024-03-05"}
            << "select distinct a.AS03,'2024-03-05',a.AS03 as a1,'null','null' from Q_A a where a.AD01=45356 "
               "and a.AS03 is not null order by AS03";
    }

    void statements()
    {
        QFETCH(QString, levels);
        QFETCH(int, depth);
        QFETCH(QStringList, keys);
        QFETCH(QString, expected);
        const QString sql = depth < 0 ? FirstLevelStatement(levelsOf(levels))
                                      : ExpansionStatement(levelsOf(levels), depth, keysOf(keys));
        QCOMPARE(sql, expected);
    }

    void countStatements_data()
    {
        QTest::addColumn<QString>("levels");
        QTest::addColumn<int>("depth");  // of the nodes counted
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QString>("expected");
        QTest::newRow("first level, code") << "AC03:C" << 0 << QStringList()
            << "select a.AC03,count(*) from Q_A a, Q_AC03 b where a.AC03=b.AC03 group by a.AC03";
        QTest::newRow("string under quoted string") << "AS03:S,AS04:S" << 1 << QStringList{"O'Neil"}
            << "select a.AS04 as a1,count(*) from Q_A a where a.AS04 is not null and a.AS03='O''Neil' group by a.AS04";
        QTest::newRow("code under date and code") << "AD01:D,AC01:C,AC02:C" << 2 << QStringList{"2024-03-05", "2"}
            << "select a.AC02,count(*) from Q_A a, Q_AC02 b where a.AC02=b.AC02 and a.AD01=45356 and a.AC01=2 "
               "group by a.AC02";
        QTest::newRow("unconfigured level") << "AC03:C" << 1 << QStringList{"1"} << "";
    }

    void countStatements()
    {
        QFETCH(QString, levels);
        QFETCH(int, depth);
        QFETCH(QStringList, keys);
        QFETCH(QString, expected);
        QCOMPARE(LevelCountStatement(levelsOf(levels), depth, keysOf(keys)), expected);
    }

    void codedLevels()
    {
        ProgramFixture program;
        MessageRecorder messages;
        insertCustomers(program);
        ClassificationTree tree;
        QCOMPARE(tree.objectName(), QString("tv1"));
        tree.buildFirstLevel(program.dataModule().Qry());

        // Codes in code order, names shown; no node for a NULL region or one without a code row.
        QCOMPARE(captions(tree), QStringList({"华北", "华东"}));
        QCOMPARE(keyList(NodeKeys(tree.topLevelItem(1))), QStringList({"2", "null", "null", "null"}));

        QTreeWidgetItem* east = expandPath(tree, {"华东"});
        QCOMPARE(captions(tree, east), QStringList({"制造业", "信息技术"}));
        QTreeWidgetItem* north = expandPath(tree, {"华北"});
        QCOMPARE(captions(tree, north), QStringList({"信息技术"}));  // industry 99 has no code row

        QTreeWidgetItem* eastIt = expandPath(tree, {"华东", "信息技术"});
        QCOMPARE(captions(tree, eastIt), QStringList({"潜在客户", "成交客户"}));  // K8's NULL type gives none
        QCOMPARE(keyList(NodeKeys(eastIt->child(1))), QStringList({"2", "3", "3", "null"}));
        QCOMPARE(eastIt->child(1)->data(0, ImageIndexRole).toInt(), 0);
        QCOMPARE(eastIt->child(1)->childCount(), 0);  // the fourth level is unconfigured: nothing to expand
        QVERIFY(messages.messages().isEmpty());
    }

    void countsMatchCustomers_data()
    {
        QTest::addColumn<QStringList>("path");
        QTest::addColumn<QString>("countSql");
        QTest::newRow("region") << QStringList{"华东"} << "select count(*) from Q_A where AC03=2";
        QTest::newRow("region with unknown industry") << QStringList{"华北"}
                                                      << "select count(*) from Q_A where AC03=1";
        QTest::newRow("industry") << QStringList{"华东", "信息技术"}
                                  << "select count(*) from Q_A where AC03=2 and AC02=3";
        QTest::newRow("other industry") << QStringList{"华东", "制造业"}
                                        << "select count(*) from Q_A where AC03=2 and AC02=1";
        QTest::newRow("type") << QStringList{"华东", "信息技术", "成交客户"}
                              << "select count(*) from Q_A where AC03=2 and AC02=3 and AC01=3";
        QTest::newRow("leaf") << QStringList{"华东", "信息技术", "潜在客户", "上海"}
                              << "select count(*) from Q_A where AC03=2 and AC02=3 and AC01=1 and AS03='上海'";
    }

    void countsMatchCustomers()
    {
        QFETCH(QStringList, path);
        QFETCH(QString, countSql);
        ProgramFixture program;
        MessageRecorder messages;
        insertCustomers(program);
        program.exec("insert into Q_A(AS01,AC03,AC02,AC01,AS03) values('K9',2,3,1,'上海'),('K10',2,3,1,'苏州')");
        setTreeLevel(program, 4, "AS03");
        program.dataModule().loadTreeLevels();
        ClassificationTree tree;
        tree.buildFirstLevel(program.dataModule().Qry());
        QTreeWidgetItem* node = expandPath(tree, path);
        QVERIFY(node);
        QCOMPARE(node->data(0, TreeNodeCountRole).toLongLong(), program.scalar(countSql).toLongLong());
        QCOMPARE(node->text(0), path.last());  // the count is not part of the caption
        QVERIFY(messages.messages().isEmpty());
    }

    void expandedOnce()
    {
        ProgramFixture program;
        MessageRecorder messages;
        insertCustomers(program);
        ClassificationTree tree;
        tree.buildFirstLevel(program.dataModule().Qry());
        QTreeWidgetItem* east = expandPath(tree, {"华东"});
        const QStringList before = captions(tree, east);
        const qint64 itCount = east->child(1)->data(0, TreeNodeCountRole).toLongLong();

        program.exec("insert into Q_A(AS01,AC03,AC02,AC01) values('N1',2,2,1),('N2',2,3,1)");
        east->setExpanded(false);
        east->setExpanded(true);
        QCOMPARE(captions(tree, east), before);
        QCOMPARE(east->child(1)->data(0, TreeNodeCountRole).toLongLong(), itCount);

        // A rebuild reads them.
        tree.buildFirstLevel(program.dataModule().Qry());
        east = expandPath(tree, {"华东"});
        QCOMPARE(captions(tree, east), QStringList({"制造业", "批发零售", "信息技术"}));
        QCOMPARE(east->child(2)->data(0, TreeNodeCountRole).toLongLong(), itCount + 1);
    }

    void valueWithQuote()
    {
        ProgramFixture program;
        MessageRecorder messages;
        insertCustomers(program);
        setTreeLevel(program, 2, "AS03");
        program.dataModule().loadTreeLevels();
        ClassificationTree tree;
        tree.buildFirstLevel(program.dataModule().Qry());
        QCOMPARE(tree.levels()[1].field, QString("AS03"));

        QTreeWidgetItem* east = expandPath(tree, {"华东"});
        QCOMPARE(captions(tree, east), QStringList({"O'Neil", "上海", "杭州"}));
        QCOMPARE(east->child(1)->data(0, TreeNodeCountRole).toLongLong(), 2);  // K1 and K8

        QTreeWidgetItem* oneil = expandPath(tree, {"华东", "O'Neil"});
        QCOMPARE(captions(tree, oneil), QStringList({"成交客户"}));
        QCOMPARE(keyList(NodeKeys(oneil->child(0))), QStringList({"2", "O'Neil", "3", "null"}));
        QCOMPARE(oneil->child(0)->data(0, TreeNodeCountRole).toLongLong(), 1);
        QVERIFY(messages.messages().isEmpty());
    }

    void dateLevel()
    {
        ProgramFixture program;
        MessageRecorder messages;
        insertCustomers(program);
        setTreeLevel(program, 1, "AD01");
        setTreeLevel(program, 2, "AS03");
        program.dataModule().loadTreeLevels();
        ClassificationTree tree;
        tree.buildFirstLevel(program.dataModule().Qry());
        QCOMPARE(captions(tree), QStringList({"2024-03-05", "2024-03-06", "2024-03-07"}));
        QCOMPARE(tree.topLevelItem(0)->data(0, TreeNodeCountRole).toLongLong(), 3);

        QTreeWidgetItem* day = expandPath(tree, {"2024-03-06"});
        QCOMPARE(captions(tree, day), QStringList({"O'Neil", "北京"}));
        QCOMPARE(keyList(NodeKeys(day->child(1))), QStringList({"2024-03-06", "北京", "null", "null"}));
        QCOMPARE(day->child(1)->data(0, TreeNodeCountRole).toLongLong(), 1);
        QVERIFY(messages.messages().isEmpty());
    }

    void clickAndImages()
    {
        ProgramFixture program;
        MessageRecorder messages;
        insertCustomers(program);
        setTreeLevel(program, 4, "AS03");
        program.dataModule().loadTreeLevels();
        ClassificationTree tree;
        tree.resize(300, 400);
        tree.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tree));
        tree.buildFirstLevel(program.dataModule().Qry());
        QList<QStringList> clicked;
        connect(&tree, &ClassificationTree::nodeClicked, this,
                [&](const TreeNodeKeys& keys) { clicked << keyList(keys); });

        QTreeWidgetItem* type = expandPath(tree, {"华东", "信息技术", "潜在客户"});
        QTreeWidgetItem* industry = type->parent();
        QTreeWidgetItem* leaf = type->child(0);
        QCOMPARE(leaf->text(0), QString("上海"));
        QCOMPARE(leaf->childCount(), 0);

        auto click = [&](QTreeWidgetItem* node) {
            tree.scrollToItem(node);
            QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, tree.visualItemRect(node).center());
        };
        auto iconIs = [&](QTreeWidgetItem* node, int image) {
            return node->icon(0).cacheKey() == ImageList::at(&tree, image).cacheKey();
        };
        QVERIFY(iconIs(industry, 0));
        QVERIFY(iconIs(leaf, 2));

        click(industry);
        QVERIFY(iconIs(industry, 1));
        click(leaf);
        QVERIFY(iconIs(industry, 0));
        QVERIFY(iconIs(leaf, 3));
        click(tree.topLevelItem(0));
        QVERIFY(iconIs(leaf, 2));

        QCOMPARE(clicked, QList<QStringList>({{"2", "3", "null", "null"},
                                              {"2", "3", "1", "上海"},
                                              {"1", "null", "null", "null"}}));
    }

    void countDrawnAfterCaption()
    {
        ProgramFixture program;
        insertCustomers(program);
        ClassificationTree tree;
        QPalette palette = tree.palette();
        palette.setColor(QPalette::Mid, Qt::red);
        tree.setPalette(palette);
        tree.resize(300, 200);
        tree.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tree));
        tree.buildFirstLevel(program.dataModule().Qry());
        QTreeWidgetItem* node = tree.topLevelItem(0);

        auto redPixels = [&] {
            const QImage image = tree.viewport()->grab(tree.visualItemRect(node)).toImage();
            int red = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x) {
                    const QColor c = image.pixelColor(x, y);
                    red += c.red() > 180 && c.green() < 100 && c.blue() < 100;
                }
            return red;
        };
        QVERIFY(redPixels() > 0);
        node->setData(0, TreeNodeCountRole, QVariant());
        QCOMPARE(redPixels(), 0);
    }

    void unconfiguredLevelsOfferNothingToExpand()
    {
        ProgramFixture program;
        MessageRecorder messages;
        insertCustomers(program);
        setTreeLevel(program, 2, "");
        program.dataModule().loadTreeLevels();
        ClassificationTree tree;
        tree.buildFirstLevel(program.dataModule().Qry());
        QCOMPARE(tree.topLevelItemCount(), 2);
        QCOMPARE(tree.topLevelItem(0)->childCount(), 0);
        tree.topLevelItem(0)->setExpanded(true);
        QCOMPARE(tree.topLevelItem(0)->childCount(), 0);

        setTreeLevel(program, 1, "");
        program.dataModule().loadTreeLevels();
        tree.buildFirstLevel(program.dataModule().Qry());
        QCOMPARE(tree.topLevelItemCount(), 0);
        QVERIFY(messages.messages().isEmpty());
    }

    void failingStatementIsReported()
    {
        ProgramFixture program;
        MessageRecorder messages;
        insertCustomers(program);
        ClassificationTree tree;
        tree.buildFirstLevel(program.dataModule().Qry());
        QCOMPARE(tree.topLevelItemCount(), 2);
        program.exec("drop table Q_AC02");
        QTreeWidgetItem* north = expandPath(tree, {"华北"});
        QCOMPARE(north->childCount(), 0);
        QCOMPARE(messages.messages().size(), 1);
        QVERIFY(messages.texts().first().startsWith("no such table: Q_AC02\n\r"));
    }
};

QTEST_MAIN(TreeTest)
#include "tst_tree.moc"
