#include "DatabaseFixture.h"
#include "core/AppError.h"
#include "core/Dataset.h"

#include <QSignalSpy>
#include <QTest>

#include <memory>

// Three customers and three contact persons that the statements below look at.
class DatasetTest : public QObject {
    Q_OBJECT

    std::unique_ptr<DatabaseFixture> db;

    std::unique_ptr<Dataset> openDataset(const QString& sql)
    {
        auto d = std::make_unique<Dataset>(&db->connection());
        d->setSql(sql);
        d->open();
        return d;
    }

private slots:
    void init()
    {
        db = std::make_unique<DatabaseFixture>();
        db->exec("insert into Q_A(AS01,AS02,AC01,AF01,AD01,AI01) values('K1','甲公司',1,100.5,45356,10)");
        db->exec("insert into Q_A(AS01,AS02,AC01,AF01,AD01,AI01) values('K2','乙公司',2,200,45357,null)");
        db->exec("insert into Q_A(AS01,AS02,AC01,AF01,AD01,AI01) values('K3','O''Neil 贸易',1,null,null,30)");
        db->exec("insert into Q_B(AIID,BS01) values(1,'张三')");
        db->exec("insert into Q_B(AIID,BS01) values(1,'李四')");
        db->exec("insert into Q_B(AIID,BS01) values(2,'王五')");
    }

    void cleanup() { db.reset(); }

    void selectForms_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("expected");
        QTest::newRow("select * with where 1=1") << "select AIID,AS01 from Q_A a where 1=1" << "1,K1;2,K2;3,K3";
        QTest::newRow("column list") << "select AS01, AS02 from Q_A where AIID=1" << "K1,甲公司";
        QTest::newRow("alias and comma join")
            << "select a.AS01, b.BS01 from Q_A a, Q_B b where a.AIID=b.AIID order by b.BIID" << "K1,张三;K1,李四;K2,王五";
        QTest::newRow("distinct") << "select distinct AC01 from Q_A order by AC01" << "1;2";
        QTest::newRow("order by several with DESC") << "select AS01 from Q_A order by AC01 DESC, AS01" << "K2;K1;K3";
        QTest::newRow("group by count and sum")
            << "select AC01, count(*), sum(AF01) from Q_A group by AC01 order by AC01" << "1,2,100.5;2,1,200";
        QTest::newRow("chinese alias") << "select count(*) as 计数 from Q_A" << "3";
        QTest::newRow("string constant") << "select 'null', AS01 from Q_A where AIID=2" << "null,K2";
        QTest::newRow("max plus one") << "select max(AIID)+1 from Q_A" << "4";
        QTest::newRow("where 1<>1") << "select AS01 from Q_A where 1<>1" << "";
        QTest::newRow("like") << "select AS01 from Q_A where AS02 like '%公司%'" << "K1;K2";
        QTest::newRow("like with quote") << "select AS01 from Q_A where AS02 like '%O''Neil%'" << "K3";
        QTest::newRow("equals") << "select AS02 from Q_A where AS01='K2'" << "乙公司";
        QTest::newRow("less or equal") << "select AS01 from Q_A where AI01<=10" << "K1";
        QTest::newRow("greater or equal") << "select AS01 from Q_A where AF01>=150" << "K2";
        QTest::newRow("between") << "select AS01 from Q_A where AF01 between 100 and 200 order by AS01" << "K1;K2";
        QTest::newRow("is not null") << "select AS01 from Q_A where AD01 is not null order by AS01" << "K1;K2";
        QTest::newRow("in select") << "select AS01 from Q_A where AIID in(select AIID from Q_B where BS01='王五')" << "K2";
        QTest::newRow("not equal") << "select AS01 from Q_A where AC01<>1" << "K2";
        QTest::newRow("date compared with day number") << "select AD01 from Q_A where AD01 >= 45357" << "2024-03-06";
        QTest::newRow("names without regard to case") << "select as01 from q_a where aiid=1" << "K1";
        QTest::newRow("system table lower case") << "select suserid from s_user" << "0000";
    }

    void selectForms()
    {
        QFETCH(QString, sql);
        QFETCH(QString, expected);
        auto d = openDataset(sql);
        QCOMPARE(DumpDataset(*d), expected);
    }

    void statementForms_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("check");
        QTest::addColumn<QString>("expected");
        QTest::newRow("insert values") << "insert into Q_AC01(AC01NAME)values('大客户')"
                                       << "select AC01, AC01NAME from Q_AC01 where AC01NAME='大客户'" << "5,大客户";
        QTest::newRow("insert select")
            << "insert into S_NEWVALUE (SUSERID,STABLE,SFIELD) select 'u1','Q_E',SFIELD from S_FIELD where STABLE='Q_E'"
            << "select count(*) from S_NEWVALUE where SUSERID='u1' and STABLE='Q_E'" << "38";
        QTest::newRow("update values") << "update Q_A set AS02='丙公司', AD01=45000.5 where AIID=2"
                                       << "select AS02, AD01 from Q_A where AIID=2" << "丙公司,2023-03-15 12:00:00";
        QTest::newRow("update null") << "update Q_A set AF01=null where AIID=1" << "select count(*) from Q_A where AF01 is null"
                                     << "2";
        QTest::newRow("delete where") << "delete from Q_B where AIID=1" << "select count(*) from Q_B" << "1";
    }

    void statementForms()
    {
        QFETCH(QString, sql);
        QFETCH(QString, check);
        QFETCH(QString, expected);
        Dataset d(&db->connection());
        d.setSql(sql);
        d.execute();
        QCOMPARE(db->dump(check), expected);
    }

    void emptyResultKeepsAllColumns()
    {
        auto d = openDataset("select * from Q_A where 1<>1");
        QVERIFY(d->isOpen());
        QVERIFY(d->isEmpty());
        QVERIFY(d->eof() && d->bof());
        QCOMPARE(d->fieldCount(), 39);
        QCOMPARE(d->asString("AS01"), QString());
    }

    void navigation()
    {
        auto d = openDataset("select AS01 from Q_A order by AS01");
        QCOMPARE(d->rowCount(), 3);
        QCOMPARE(d->currentRow(), 0);
        QVERIFY(d->bof());
        QVERIFY(!d->eof());
        QStringList seen;
        for (d->first(); !d->eof(); d->next())
            seen << d->asString(0);
        QCOMPARE(seen, QStringList({"K1", "K2", "K3"}));
        QCOMPARE(d->currentRow(), 2);
        d->prior();
        QCOMPARE(d->asString("as01"), QString("K2"));
        d->first();
        d->prior();
        QVERIFY(d->bof());
        QCOMPARE(d->currentRow(), 0);
        d->last();
        QVERIFY(d->eof());
        QCOMPARE(d->asString(0), QString("K3"));
        d->moveTo(1);
        QCOMPARE(d->asString(0), QString("K2"));
        QVERIFY(d->locate("AS01", "K3"));
        QCOMPARE(d->currentRow(), 2);
        QVERIFY(!d->locate("AS01", "K9"));
        QCOMPARE(d->currentRow(), 2);
    }

    void fieldsReadAsTypes()
    {
        auto d = openDataset("select * from Q_A where AIID=2");
        QCOMPARE(d->asString("AS01"), QString("K2"));
        QCOMPARE(d->asString("AD01"), QString("2024-03-06"));
        QCOMPARE(d->asDateTime("AD01").date(), QDate(2024, 3, 6));
        QCOMPARE(d->asFloat("AF01"), 200.0);
        QCOMPARE(d->asString("AF01"), QString("200"));
        QCOMPARE(d->asInteger("AC01"), 2);
        // NULL reads as the empty text or 0.
        QCOMPARE(d->asString("AI01"), QString());
        QCOMPARE(d->asInteger("AI01"), 0);
        QCOMPARE(d->asFloat("AF02"), 0.0);
        QVERIFY(d->isNull("AS03"));
        QCOMPARE(d->asString(d->fieldIndex("aiid")), QString("2"));
        QVERIFY_THROWS_EXCEPTION(AppError, d->asString("NOSUCH"));
    }

    void sortAndUnsort()
    {
        auto d = openDataset("select AS01, AF01, AS02 from Q_A order by AIID");
        d->moveTo(1);
        d->sortBy("AF01", Qt::DescendingOrder);
        QCOMPARE(DumpDataset(*d), QString("K2,200,乙公司;K1,100.5,甲公司;K3,,O'Neil 贸易"));
        QCOMPARE(d->asString(0), QString("K2"));  // the current row is kept
        d->sortBy("AF01", Qt::AscendingOrder);
        QCOMPARE(DumpDataset(*d), QString("K3,,O'Neil 贸易;K1,100.5,甲公司;K2,200,乙公司"));
        d->sortBy("AS02", Qt::DescendingOrder);  // Chinese collation: jia before yi (unlike code points)
        QCOMPARE(DumpDataset(*d), QString("K3,,O'Neil 贸易;K2,200,乙公司;K1,100.5,甲公司"));
        d->unsort();
        QVERIFY(!d->isSorted());
        QCOMPARE(DumpDataset(*d), QString("K1,100.5,甲公司;K2,200,乙公司;K3,,O'Neil 贸易"));
        QCOMPARE(d->asString(0), QString("K2"));
    }

    void appendPostsAndReadsKeyBack()
    {
        auto d = openDataset("select * from Q_A where 1<>1");
        QCOMPARE(d->updateTable(), QString("Q_A"));
        QSignalSpy states(d.get(), &Dataset::stateChanged);
        d->append();
        QCOMPARE(d->state(), Dataset::State::Insert);
        d->setValue("AS01", "K4");
        d->setValue("AS02", "丁'公司");
        d->setValue("AD01", QDate(2024, 3, 5));
        d->setValue("AI01", "42");
        d->setValue("AF01", "");
        d->post();
        QCOMPARE(d->state(), Dataset::State::Browse);
        QCOMPARE(states.count(), 2);
        QCOMPARE(d->asInteger("AIID"), 4);
        QCOMPARE(d->asString("AD01"), QString("2024-03-05"));
        QCOMPARE(db->dump("select AIID,AS01,AS02,AD01+0,AI01,typeof(AI01),AF01 from Q_A where AIID=4"),
                 QString("4,K4,丁'公司,45356,42,integer,"));
    }

    void editPostsChangedColumnsByKey()
    {
        auto d = openDataset("select * from Q_A order by AIID");
        d->moveTo(1);
        d->edit();
        d->setValue("AS02", "新名称");
        d->setValue("AD01", QString());
        d->next();  // moving on posts the pending edit
        QCOMPARE(d->state(), Dataset::State::Browse);
        QCOMPARE(d->currentRow(), 2);
        QCOMPARE(db->dump("select AS01,AS02,AD01+0 from Q_A order by AIID"),
                 QString("K1,甲公司,45356;K2,新名称,;K3,O'Neil 贸易,"));
    }

    void cancelDiscards()
    {
        auto d = openDataset("select * from Q_A order by AIID");
        d->edit();
        d->setValue("AS02", "丢弃");
        QCOMPARE(d->asString("AS02"), QString("丢弃"));
        d->cancel();
        QCOMPARE(d->asString("AS02"), QString("甲公司"));
        d->append();
        d->setValue("AS01", "K9");
        QCOMPARE(d->rowCount(), 4);
        d->cancel();
        QCOMPARE(d->rowCount(), 3);
        QCOMPARE(d->currentRow(), 2);
        QCOMPARE(db->scalar("select count(*) from Q_A"), QString("3"));
        QCOMPARE(db->scalar("select AS02 from Q_A where AIID=1"), QString("甲公司"));
    }

    void deleteRemovesCurrentRow()
    {
        auto d = openDataset("select * from Q_B order by BIID");
        QSignalSpy scrolls(d.get(), &Dataset::afterScroll);
        d->deleteCurrent();
        QCOMPARE(d->rowCount(), 2);
        QCOMPARE(d->asString("BS01"), QString("李四"));
        QCOMPARE(scrolls.count(), 1);
        d->last();
        d->deleteCurrent();
        QCOMPARE(d->asString("BS01"), QString("李四"));
        QCOMPARE(db->dump("select BS01 from Q_B"), QString("李四"));
    }

    void refusedPostKeepsEditState()
    {
        auto d = openDataset("select * from Q_A order by AIID");
        d->edit();
        d->setValue("AI01", "abc");
        QVERIFY_THROWS_EXCEPTION(DbError, d->post());
        QCOMPARE(d->state(), Dataset::State::Edit);
        d->setValue("AI01", "7");
        d->post();
        QCOMPARE(db->scalar("select AI01 from Q_A where AIID=1"), QString("7"));
    }

    void keysOfOtherTables()
    {
        // Composite natural key.
        auto fields = openDataset("select * from S_FIELD where STABLE='Q_B' order by INO");
        fields->edit();
        fields->setValue("SFIELDNAME1", "名字");
        fields->post();
        QCOMPARE(db->scalar("select count(*) from S_FIELD where SFIELDNAME1='名字'"), QString("1"));
        QCOMPARE(db->scalar("select SFIELDNAME1 from S_FIELD where STABLE='Q_B' and SFIELD='BS01'"), QString("名字"));

        // Surrogate key that no statement names: duplicates can still be told apart.
        auto query = openDataset("select STABLE, INO, SFIELD from s_query where stable='Q_E'");
        QCOMPARE(query->updateTable(), QString());  // the key is not selected: read-only
        query = openDataset("select * from s_query where stable='Q_E'");
        query->append();
        query->setValue("STABLE", "Q_E");
        query->setValue("INO", 1);
        query->setValue("SFIELD", "ES01");
        query->post();
        query->first();
        query->deleteCurrent();
        QCOMPARE(db->dump("select INO,SFIELD from S_QUERY where STABLE='Q_E'"), QString("1,ES01"));

        // Columns of two tables: read-only.
        auto joined = openDataset("select a.AS01, b.BS01, b.BIID, a.AIID from Q_A a, Q_B b where a.AIID=b.AIID");
        QVERIFY(!joined->canModify());
        QVERIFY_THROWS_EXCEPTION(AppError, joined->edit());
    }

    void signalsOnOpenAndScroll()
    {
        Dataset d(&db->connection());
        QSignalSpy opened(&d, &Dataset::afterOpen);
        QSignalSpy scrolled(&d, &Dataset::afterScroll);
        d.setSql("select AS01 from Q_A");
        d.open();
        QCOMPARE(opened.count(), 1);
        QCOMPARE(scrolled.count(), 1);
        d.next();
        d.next();
        d.next();  // at the end: no move, no scroll
        QCOMPARE(scrolled.count(), 3);
        d.close();
        QCOMPARE(d.state(), Dataset::State::Inactive);
    }

    void badStatementLeavesDatasetClosed()
    {
        Dataset d(&db->connection());
        d.setSql("select NOSUCH from Q_A");
        QVERIFY_THROWS_EXCEPTION(DbError, d.open());
        QVERIFY(!d.isOpen());
        d.setSql("delete from Q_A");
        QVERIFY_THROWS_EXCEPTION(DbError, d.open());  // opening never runs a statement without rows
        QCOMPARE(db->scalar("select count(*) from Q_A"), QString("3"));
    }

    void reopeningWithTheSameColumnsReplacesOnlyTheRows()
    {
        auto d = openDataset("select * from Q_B where AIID=1");
        QSignalSpy resets(d.get(), &Dataset::aboutToReset);
        QSignalSpy replaced(d.get(), &Dataset::rowsReplaced);
        QSignalSpy states(d.get(), &Dataset::stateChanged);
        d->setSql("select * from Q_B where AIID=2");
        d->open();
        QCOMPARE(resets.count(), 0);
        QCOMPARE(replaced.count(), 1);
        QCOMPARE(states.count(), 0);
        QCOMPARE(d->asString("BS01"), QString("王五"));
        d->setSql("select BS01 from Q_B");
        d->open();
        QCOMPARE(resets.count(), 1);
        QCOMPARE(d->fieldCount(), 1);

        // A statement that fails leaves the dataset closed, whatever it held before.
        d->setSql("select * from Q_B where NOSUCH=1");
        QVERIFY_THROWS_EXCEPTION(DbError, d->open());
        QVERIFY(!d->isOpen());
        QCOMPARE(d->rowCount(), 0);
    }
};

QTEST_GUILESS_MAIN(DatasetTest)
#include "tst_dataset.moc"
