#include "DatabaseFixture.h"
#include "MessageRecorder.h"
#include "core/AppInfo.h"
#include "core/DataModule.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class DataModuleTest : public QObject {
    Q_OBJECT
private slots:
    void cachesOfANewDatabase()
    {
        TestFolder folder;
        MessageRecorder messages;
        DataModule dm(folder.path());
        QVERIFY(messages.messages().isEmpty());
        QVERIFY(dm.isConnected());
        QCOMPARE(DataModule::instance(), &dm);
        QCOMPARE(dm.settingsFile(), folder.path() + "/qnrt100.ini");
        QCOMPARE(dm.manualFile(), folder.path() + "/qnrt100.doc");
        QCOMPARE(dm.attachmentFolder(), folder.path() + "/Q_UPFILE");

        QCOMPARE(dm.sortClause("Q_A"), QString(" order by AS01 "));
        QCOMPARE(dm.sortClause("Q_C"), QString(" order by CD01 DESC"));
        QCOMPARE(dm.sortClause("Q_D"), QString(" order by DD01 DESC"));
        for (const QString& key : {"Q_B", "Q_AB", "Q_AC", "Q_AD", "Q_E", "Q_AE"})
            QCOMPARE(dm.sortClause(key), QString());

        QCOMPARE(dm.treeLevel(1).field, QString("AC03"));
        QCOMPARE(dm.treeLevel(1).type, QString("C"));
        QCOMPARE(dm.treeLevel(2).field, QString("AC02"));
        QCOMPARE(dm.treeLevel(3).field, QString("AC01"));
        QCOMPARE(dm.treeLevel(4).field, QString());
        QCOMPARE(dm.treeLevel(4).type, QString());

        QCOMPARE(dm.fieldCaption("AS01"), QString("客户编号"));
        QCOMPARE(dm.fieldCaption("AS12"), QString("备用文本12"));
        QCOMPARE(dm.fieldCaption("CD01"), QString("联系日期"));
        QCOMPARE(dm.fieldCaption("ES50"), QString("内容"));
    }

    void oddMetadataRows()
    {
        TestFolder folder;
        {
            Connection con;
            QVERIFY(con.open(folder.databaseFile()));
            // A level whose field has no S_FIELD row of Q_A, a second row for level 2 (the later
            // one wins) and a level number outside 1..4.
            con.execute("update S_TREE set SFIELD='BS01' where STABLE='Q_A' and INO=1");
            con.execute("insert into S_TREE(STABLE,INO,SFIELD) values('Q_A',2,'AS02')");
            con.execute("insert into S_TREE(STABLE,INO,SFIELD) values('Q_A',5,'AS03')");
            // An unknown column code in the field dictionary.
            con.execute("insert into S_FIELD(STABLE,SFIELD,SFIELDTYPE,SFIELDNAME1) values('Q_A','AX99','X','怪')");
            con.execute("update S_FIELD set SFIELDNAME1='编号' where STABLE='Q_A' and SFIELD='AS01'");
        }
        MessageRecorder messages;
        DataModule dm(folder.path());
        QCOMPARE(dm.treeLevel(1).field, QString());
        QCOMPARE(dm.treeLevel(2).field, QString("AS02"));
        QCOMPARE(dm.treeLevel(2).type, QString("S"));
        QCOMPARE(dm.treeLevel(3).field, QString("AC01"));
        QCOMPARE(dm.fieldCaption("AS01"), QString("编号"));
        QCOMPARE(dm.fieldCaption("AX99"), QString());
        QCOMPARE(dm.fieldCaption("AS02"), QString("客户名称"));

        // The field editor reloads one table's captions after saving.
        dm.conPublic().execute("update S_FIELD set SFIELDNAME1='称呼' where STABLE='Q_B' and SFIELD='BS01'");
        dm.LoadFieldCaptions('B');
        QCOMPARE(dm.fieldCaption("BS01"), QString("称呼"));
        QVERIFY(messages.messages().isEmpty());
    }

    void missingDatabaseIsReportedAndStartUpGoesOn()
    {
        QTemporaryDir empty;
        MessageRecorder messages;
        DataModule dm(empty.path());
        QVERIFY(!dm.isConnected());
        QCOMPARE(messages.messages().size(), 1);
        QCOMPARE(messages.messages().first().title, AppInfo::title);
        QCOMPARE(messages.messages().first().icon, MessageIcon::Error);
        QVERIFY(messages.messages().first().text.contains("data100.dbf"));
        QVERIFY(!QFile::exists(empty.filePath("data100.dbf")));
        QCOMPARE(dm.sortClause("Q_A"), QString());
        QCOMPARE(dm.fieldCaption("AS01"), QString());
    }

    void missingMetadataTableLeavesItsCacheEmpty()
    {
        TestFolder folder;
        {
            Connection con;
            QVERIFY(con.open(folder.databaseFile()));
            con.execute("drop table S_ORDER");
        }
        MessageRecorder messages;
        DataModule dm(folder.path());
        QCOMPARE(dm.sortClause("Q_A"), QString());
        QCOMPARE(messages.messages().size(), DataModule::sortKeys().size());
        QVERIFY(messages.messages().first().text.startsWith("no such table: s_order\n\r"));
        QCOMPARE(dm.treeLevel(1).field, QString("AC03"));
        QCOMPARE(dm.fieldCaption("AS02"), QString("客户名称"));
    }
};

QTEST_GUILESS_MAIN(DataModuleTest)
#include "tst_datamodule.moc"
