#include "DatabaseFixture.h"
#include "core/Dataset.h"
#include "core/AppError.h"
#include "core/FieldCodes.h"
#include "schema/NewDatabase.h"
#include "schema/TableRegistry.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {
QByteArray fileHash(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256) : QByteArray();
}
}

class NewDatabaseTest : public QObject {
    Q_OBJECT
private slots:
    void everyTableAndIndexExists()
    {
        DatabaseFixture db;
        for (const TableDef& t : TableRegistry::tables()) {
            QCOMPARE(db.scalar("select count(*) from sqlite_master where type='table' and name='" + t.name + "'"),
                     QString("1"));
            QVERIFY2(db.scalar("select sql from sqlite_master where name='" + t.name + "'").contains("STRICT"),
                     qPrintable(t.name));
        }
        QCOMPARE(db.scalar("select count(*) from sqlite_master where type='table' and name like 'Q\\_%C%' escape '\\' "
                           "and length(name)=6"),
                 QString("50"));
        for (const QString& index : {"Q_B(AIID)", "Q_C(AIID)", "Q_D(AIID)", "Q_E(AIID)", "Q_BIN(IFID)"}) {
            const QString table = index.section('(', 0, 0);
            const QString column = index.section('(', 1).chopped(1);
            QCOMPARE(db.scalar("select count(*) from pragma_index_list('" + table + "') l, pragma_index_info(l.name) i "
                               "where i.name='" + column + "'"),
                     QString("1"));
        }
        QVERIFY(QDir(db.folder().path() + "/Q_UPFILE").exists());
    }

    void fieldDictionary()
    {
        DatabaseFixture db;
        QCOMPARE(db.scalar("select count(*) from S_FIELD"), QString("190"));
        for (QChar letter : FieldCodes::tableLetters) {
            const QString table = FieldCodes::tableName(letter);
            QCOMPARE(db.dump("select min(INO), max(INO), count(distinct INO) from S_FIELD where STABLE='" + table + "'"),
                     QString("1,38,38"));
            QCOMPARE(db.scalar("select count(*) from S_FIELD where STABLE='" + table
                               + "' and SFIELDTYPE<>substr(SFIELD,2,1)"),
                     QString("0"));
            QCOMPARE(db.scalar("select count(*) from S_FIELD where STABLE='" + table
                               + "' and (SFIELDNAME is null or SFIELDNAME='' or SREMARK is null or SREMARK='')"),
                     QString("0"));
            // Columns in use come first.
            QCOMPARE(db.scalar("select count(*) from S_FIELD a, S_FIELD b where a.STABLE='" + table
                               + "' and b.STABLE=a.STABLE and a.IDISPLAY=0 and b.IDISPLAY=1 and a.INO<b.INO"),
                     QString("0"));
        }
        QCOMPARE(db.dump("select SFIELD,SFIELDNAME1,INOTNULL,INEWTYPE,IEASY from S_FIELD where STABLE='Q_A' and "
                         "IDISPLAY=1 order by INO"),
                 QString("AS01,客户编号,1,2,0;AS02,客户名称,1,3,0;AC01,客户类型,0,1,0;AC05,客户等级,0,3,0;"
                         "AC02,所属行业,0,3,0;AC03,所在地区,0,3,0;AC04,客户来源,0,3,0;AS03,联系人,0,3,0;"
                         "AS04,手机,0,3,0;AS05,电话,0,3,0;AS06,传真,0,3,0;AS07,电子邮箱,0,3,0;AS08,网址,0,3,0;"
                         "AS11,微信,0,3,0;AS09,地址,0,3,1;AS10,邮编,0,3,0;AI01,员工人数,0,3,0;"
                         "AF01,年采购额,0,3,0;AD01,建档日期,0,1,0;AD02,最近联系日期,0,3,0;AS50,备注,0,3,1"));
        QCOMPARE(db.dump("select SFIELD from S_FIELD where STABLE='Q_C' and IDISPLAY=1 order by INO"),
                 QString("CD01;CC01;CS01;CS02;CS50;CD02"));
        QCOMPARE(db.dump("select SFIELD,INOTNULL from S_FIELD where STABLE='Q_E' and IDISPLAY=1 order by INO"),
                 QString("ES01,1;ED01,0;ES50,0"));
        QCOMPARE(db.dump("select SFIELDNAME1,IDISPLAY,INO from S_FIELD where STABLE='Q_A' and SFIELD in('AS12','AI02') "
                         "order by INO"),
                 QString("备用文本12,0,22;备用整数2,0,26"));
    }

    void firstInstallationRows()
    {
        DatabaseFixture db;
        QCOMPARE(db.dump("select SUSERID,SUSERNAME,SPASSWORD from S_USER"), QString("0000,系统管理员,"));
        QCOMPARE(db.scalar("select IRADD+IREDIT+IRDEL+IRBATCH+IRINPUT+IREXPORT+IRPRINT+IRSET+IRBIN+IR1+IR2+IR3+"
                           "IRBORROW+IRJ+IRK+IRL from S_USER where SUSERID='0000'"),
                     QString("16"));
        QCOMPARE(db.dump("select AC01,AC01NAME from Q_AC01 order by AC01"),
                 QString("1,潜在客户;2,意向客户;3,成交客户;4,流失客户"));
        QCOMPARE(db.dump("select DC02NAME from Q_DC02 order by DC02"), QString("待处理;处理中;已完成"));
        QCOMPARE(db.scalar("select count(*) from Q_AC06"), QString("0"));
        QCOMPARE(db.dump("select INO,SFIELD from S_TREE where STABLE='Q_A' order by INO"),
                 QString("1,AC03;2,AC02;3,AC01;4,"));
        QCOMPARE(db.dump("select STABLE,count(*),min(INO),max(INO) from S_ORDER group by STABLE order by STABLE"),
                 QString("Q_A,5,1,5;Q_AB,5,1,5;Q_AC,5,1,5;Q_AD,5,1,5;Q_AE,5,1,5;Q_B,5,1,5;Q_C,5,1,5;Q_D,5,1,5;Q_E,5,1,5"));
        QCOMPARE(db.dump("select STABLE,SFIELD,STYPE from S_ORDER where SFIELD<>'' order by STABLE"),
                 QString("Q_A,AS01,ASC;Q_C,CD01,DESC;Q_D,DD01,DESC"));
        QCOMPARE(db.dump("select STABLE,INO,SFIELD from S_QUERY order by STABLE,INO"),
                 QString("Q_A,1,AS01;Q_A,2,AS02;Q_A,3,AC01;Q_A,4,AS03;Q_A,5,AS04;Q_A,6,AD01;Q_B,1,BS01;Q_B,2,BS04;"
                         "Q_C,1,CD01;Q_C,2,CC01;Q_D,1,DD01;Q_D,2,DC01;Q_E,1,ES01"));
        QCOMPARE(db.dump("select STABLE,SFIELD,SEASY,SVALUE from S_EASY order by SEASY"),
                 QString("Q_A,AS09,bj,北京市;Q_A,AS09,sh,上海市"));
        for (const QString& empty : {"Q_A", "Q_B", "Q_BIN", "Q_BBORROW", "Q_F", "S_NEWVALUE"})
            QCOMPARE(db.scalar("select count(*) from " + empty), QString("0"));
    }

    void widthsTypesAndKeys_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<bool>("accepted");
        const QString x250 = QString(250, QChar(0x5BA2));  // 客 × 250
        QTest::newRow("AS50 of 250") << "insert into Q_A(AS50) values('" + x250 + "')" << true;
        QTest::newRow("AS50 of 251") << "insert into Q_A(AS50) values('" + x250 + "x')" << false;
        QTest::newRow("AS01 of 50") << "insert into Q_A(AS01) values('" + QString(50, 'a') + "')" << true;
        QTest::newRow("AS01 of 51") << "insert into Q_A(AS01) values('" + QString(51, 'a') + "')" << false;
        QTest::newRow("BS50 of 251") << "insert into Q_B(BS50) values('" + x250 + "x')" << false;
        QTest::newRow("integer as text") << "insert into Q_A(AI01) values('abc')" << false;
        QTest::newRow("integer beyond 32 bits") << "insert into Q_A(AI01) values(2147483648)" << false;
        QTest::newRow("code as text") << "insert into Q_A(AC01) values('x')" << false;
        QTest::newRow("decimal as text") << "insert into Q_A(AF01) values('x')" << false;
        QTest::newRow("date as day number") << "insert into Q_A(AD01) values(45356.5)" << true;
        QTest::newRow("date as text") << "insert into Q_A(AD01) values('2024-03-05')" << false;
    }

    void widthsTypesAndKeys()
    {
        QFETCH(QString, sql);
        QFETCH(bool, accepted);
        DatabaseFixture db;
        bool ok = true;
        try {
            db.exec(sql);
        } catch (const DbError&) {
            ok = false;
        }
        QCOMPARE(ok, accepted);
        QCOMPARE(db.scalar("select (select count(*) from Q_A)+(select count(*) from Q_B)"),
                 QString(accepted ? "1" : "0"));
    }

    void autoIncrementKeysAreNotReused()
    {
        DatabaseFixture db;
        db.exec("insert into Q_A(AS01) values('a')");
        db.exec("insert into Q_A(AS01) values('b')");
        db.exec("delete from Q_A where AIID=2");
        db.exec("insert into Q_A(AS01) values('c')");
        QCOMPARE(db.dump("select AIID from Q_A order by AIID"), QString("1;3"));
    }

    void refusesAnExistingDatabase()
    {
        TestFolder folder;
        const QByteArray before = fileHash(folder.databaseFile());
        QVERIFY_THROWS_EXCEPTION(AppError, NewDatabase::create(folder.path(), 5));
        QCOMPARE(fileHash(folder.databaseFile()), before);
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{"data100.dbf"});
    }

    void demoCustomersWithDetails()
    {
        DatabaseFixture db(200);
        QCOMPARE(db.scalar("select count(*) from Q_A"), QString("200"));
        QCOMPARE(db.scalar("select count(distinct AS01) from Q_A"), QString("200"));
        QCOMPARE(db.scalar("select count(*) from Q_A where AS02 is null or AS02=''"), QString("0"));
        QVERIFY(db.scalar("select count(*) from Q_B").toInt() >= 200);
        QVERIFY(db.scalar("select count(*) from Q_C").toInt() > 100);
        QVERIFY(db.scalar("select count(*) from Q_D").toInt() > 50);
        // Every detail row belongs to a customer, and the codes spread over their lists.
        for (const QString& t : {"Q_B", "Q_C", "Q_D", "Q_E"})
            QCOMPARE(db.scalar("select count(*) from " + t + " where AIID not in(select AIID from Q_A)"), QString("0"));
        QCOMPARE(db.scalar("select count(distinct AC03) from Q_A"), QString("7"));
        QCOMPARE(db.scalar("select count(*) from Q_A where AC01 not in(select AC01 from Q_AC01)"), QString("0"));
        // Deterministic: the same call makes the same rows.
        DatabaseFixture again(200);
        QCOMPARE(again.dump("select * from Q_A order by AIID"), db.dump("select * from Q_A order by AIID"));
    }

    void commandLine()
    {
        const QString program = qEnvironmentVariable("QNRT100_EXECUTABLE");
        if (program.isEmpty())
            QSKIP("the program's path is given by CTest");
        QTemporaryDir dir;
        const QString folder = dir.filePath("程序 文件夹");
        auto run = [&](const QStringList& args) {
            QProcess p;
            p.start(program, args);
            p.waitForFinished(120000);
            return p.exitCode();
        };
        QCOMPARE(run({"--init-database", "--demo", "20", "--folder", folder}), 0);
        QVERIFY(QDir(folder + "/Q_UPFILE").exists());
        const QByteArray made = fileHash(folder + "/data100.dbf");
        QVERIFY(!made.isEmpty());
        QVERIFY(run({"--init-database", "--folder", folder}) != 0);
        QCOMPARE(fileHash(folder + "/data100.dbf"), made);
        QVERIFY(run({"--demo", "5", "--folder", folder}) != 0);
        QVERIFY(run({"--init-database", "--demo", "many", "--folder", dir.filePath("x")}) != 0);
        QVERIFY(!QFile::exists(dir.filePath("x/data100.dbf")));
        QCOMPARE(run({"--help"}), 0);

        Connection con;
        QVERIFY(con.open(folder + "/data100.dbf"));
        Dataset d(&con);
        d.setSql("select count(*) from Q_A");
        d.open();
        QCOMPARE(d.asString(0), QString("20"));
    }

    void connectionNeverCreatesAFile()
    {
        QTemporaryDir dir;
        Connection con;
        QVERIFY(!con.open(dir.filePath("data100.dbf")));
        QVERIFY(!con.lastError().isEmpty());
        QVERIFY(!QFile::exists(dir.filePath("data100.dbf")));
        QFile junk(dir.filePath("junk.dbf"));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write(QByteArray(4096, 'x'));
        junk.close();
        QVERIFY(!con.open(junk.fileName()));
        QVERIFY(con.lastError().contains("not a database"));
    }
};

QTEST_GUILESS_MAIN(NewDatabaseTest)
#include "tst_newdatabase.moc"
