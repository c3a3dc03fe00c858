#include "ProgramFixture.h"
#include "core/Dataset.h"
#include "core/TextHelpers.h"
#include "widgets/AttachmentList.h"
#include "widgets/ImageList.h"
#include "widgets/ListFillers.h"
#include "widgets/MappedComboBox.h"
#include "widgets/TreeFillers.h"
#include "MessageRecorder.h"

#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

class FillersTest : public QObject {
    Q_OBJECT
private slots:
    void listFromQuery()
    {
        ProgramFixture program;
        MessageRecorder messages;
        program.exec("insert into Q_A(AS01,AS03) values('K1','北京')");
        program.exec("insert into Q_A(AS01,AS03) values('K2',null)");
        program.exec("insert into Q_A(AS01,AS03) values('K3','')");
        Dataset query(&program.connection());
        MappedComboBox combo;
        QVERIFY(FillListFromQuery(query, "select AS03 from Q_A order by AS01", false, &combo));
        QCOMPARE(combo.itemTexts(), QStringList({"北京", "(空白)", "(空白)"}));
        QVERIFY(!combo.isMapped());

        QVERIFY(FillListFromQuery(query, "select AC01, AC01NAME from Q_AC01 order by AC01", true, &combo));
        QCOMPARE(combo.itemTexts().first(), QString("潜在客户\t1"));
        QCOMPARE(combo.count(), 4);
        combo.setValue("3");
        QCOMPARE(combo.currentText(), QString("成交客户"));

        QVERIFY(!FillListFromQuery(query, "select nosuch from Q_AC01", true, &combo));
        QCOMPARE(combo.count(), 0);
        QCOMPARE(messages.messages().size(), 1);
    }

    void columnPickLists()
    {
        ProgramFixture program;
        program.exec("insert into Q_BC01(BC01NAME) values(' 未知 ')");
        Dataset query(&program.connection());
        PickList pick;
        FillColumnPickList(pick, query, "select BC01, BC01NAME from Q_BC01 order by BC01");
        QCOMPARE(pick.keys, QStringList({"1", "2", "3"}));
        QCOMPARE(pick.items, QStringList({"男", "女", "未知"}));
        QCOMPARE(pick.itemOf("2"), QString("女"));
        QCOMPARE(pick.keyOf("未知"), QString("3"));

        FillColumnPickListFromItems(pick, {"升序\tASC", "降序\tDESC", "带\t两个\t制表符"});
        QCOMPARE(pick.items, QStringList({"升序", "降序", "带"}));
        QCOMPARE(pick.keys, QStringList({"ASC", "DESC", "两个\t制表符"}));
    }

    void treeLevelsLoadOnce()
    {
        ProgramFixture program;
        program.exec("insert into Q_A(AS01,AS03) values('K1','北京')");
        program.exec("insert into Q_A(AS01,AS03) values('K2','上海')");
        Dataset query(&program.connection());
        QTreeWidget tree;
        ImageList::set(&tree, {QIcon(), QIcon()});
        FillTreeLevel(&tree, nullptr, query, "select distinct AS03, AS03, 'null', 'null', 'null' from Q_A order by AS03",
                      true, 0, 1, false);
        QCOMPARE(tree.topLevelItemCount(), 2);
        QTreeWidgetItem* node = tree.topLevelItem(0);
        QCOMPARE(node->childCount(), 1);
        QCOMPARE(node->child(0)->text(0), QString());  // the placeholder
        QCOMPARE(NodeKeys(node).level1, node->text(0));
        QCOMPARE(NodeKeys(node).level2, QString("null"));
        QCOMPARE(node->data(0, SelectedImageIndexRole).toInt(), 1);

        const QString childSql = "select AS01, AS03, AS01, 'null', 'null' from Q_A where AS03=" + QString("'%1'").arg(node->text(0));
        FillTreeLevel(&tree, node, query, childSql, false, 0, 0, true);
        QCOMPARE(node->childCount(), 1);
        QCOMPARE(node->child(0)->childCount(), 0);  // last level: no placeholder
        // Expanding again does not query again: a row added meanwhile does not appear.
        program.exec("insert into Q_A(AS01,AS03) values('K3','" + node->text(0) + "')");
        FillTreeLevel(&tree, node, query, childSql, false, 0, 0, true);
        QCOMPARE(node->childCount(), 1);
        QCOMPARE(NodeKeys(node->child(0)).level2, node->child(0)->text(0));

        // A node whose only child has a caption is left alone.
        QTreeWidgetItem* other = tree.topLevelItem(1);
        other->child(0)->setText(0, "已有");
        FillTreeLevel(&tree, other, query, childSql, false, 0, 0, true);
        QCOMPARE(other->childCount(), 1);
        QCOMPARE(other->child(0)->text(0), QString("已有"));
    }

    void attachmentImages_data()
    {
        QTest::addColumn<QString>("extension");
        QTest::addColumn<int>("image");
        QTest::newRow("doc") << ".docx" << 0;
        QTest::newRow("xls") << ".XLS" << 1;
        QTest::newRow("ppt") << ".ppt" << 2;
        QTest::newRow("jpg upper case") << ".JPG" << 3;
        QTest::newRow("gif") << ".gif" << 3;
        QTest::newRow("zip") << ".zip" << 4;
        QTest::newRow("pdf") << ".pdf" << 5;
        QTest::newRow("dwg") << ".dwg" << 6;
        QTest::newRow("none") << "" << 7;
        QTest::newRow("other") << ".txt" << 7;
    }

    void attachmentImages()
    {
        QFETCH(QString, extension);
        QFETCH(int, image);
        QCOMPARE(AttachmentImageIndex(extension), image);
    }

    void attachmentList()
    {
        ProgramFixture program;
        program.exec("insert into Q_A(AS01) values('K1')");
        program.exec("insert into Q_BIN(IFID,SFILENAME,SFILEEXT) values(1,'合同.JPG','.JPG')");
        program.exec("insert into Q_BIN(IFID,SFILENAME,SFILEEXT) values(1,'说明','')");
        program.exec("insert into Q_BIN(IFID,SFILENAME,SFILEEXT) values(2,'别人的.pdf','.pdf')");
        Dataset customers(&program.connection());
        Dataset work(&program.connection());
        QListWidget list;
        FillAttachmentList(&list, customers, "Q_BIN", work);  // closed: nothing
        QCOMPARE(list.count(), 0);
        customers.setSql("select * from Q_A");
        customers.open();
        FillAttachmentList(&list, customers, "Q_BIN", work);
        QCOMPARE(list.count(), 2);
        QCOMPARE(list.item(0)->text(), QString("合同.JPG"));
        QCOMPARE(list.item(0)->data(AttachmentKeyRole).toString(), QString("1"));
        QCOMPARE(list.item(0)->data(ImageIndexRole).toInt(), 3);
        QCOMPARE(list.item(1)->data(ImageIndexRole).toInt(), 7);
    }

    void editButtonsFollowTheState()
    {
        ProgramFixture program;
        Dataset users(&program.connection());
        users.setSql("select * from S_USER");
        users.open();
        QPushButton save, undo;
        SyncEditButtons(users, &save, &undo);
        QVERIFY(!save.isEnabled() && !undo.isEnabled());
        users.edit();
        SyncEditButtons(users, &save, &undo);
        QVERIFY(save.isEnabled() && undo.isEnabled());
        users.cancel();
        users.append();
        SyncEditButtons(users, &save, &undo);
        QVERIFY(save.isEnabled() && undo.isEnabled());
    }

    void textHelpers()
    {
        QCOMPARE(ChooseText(true, "a", "b"), QString("a"));
        QCOMPARE(ChooseText(false, "a", "b"), QString("b"));
        QVERIFY(GetTempFolder().endsWith('/'));
    }
};

QTEST_MAIN(FillersTest)
#include "tst_fillers.moc"
