#include "DatabaseFixture.h"
#include "MessageRecorder.h"
#include "core/ActionGuard.h"
#include "core/AppError.h"
#include "core/AppInfo.h"
#include "core/Dataset.h"
#include "core/QueryRunners.h"
#include "core/SqlText.h"

#include <QTest>

#include <memory>

class QueryRunnersTest : public QObject {
    Q_OBJECT

    std::unique_ptr<DatabaseFixture> db;

private slots:
    void init() { db = std::make_unique<DatabaseFixture>(); }
    void cleanup() { db.reset(); }

    void openQueryReportsAndCloses()
    {
        MessageRecorder messages;
        Dataset query(&db->connection());
        QVERIFY(OpenQuery(query, "select AS01 from Q_A"));
        QVERIFY(query.isOpen());
        const QString bad = "select NOSUCH from Q_A";
        QVERIFY(!OpenQuery(query, bad));
        QVERIFY(!query.isOpen());
        QCOMPARE(messages.messages().size(), 1);
        const auto& box = messages.messages().first();
        QCOMPARE(box.title, QString("错误"));
        QCOMPARE(box.icon, MessageIcon::Error);
        QCOMPARE(box.text, QString("no such column: NOSUCH\n\rselect NOSUCH from Q_A"));
    }

    void execSqlReportsThenAbandonsTheCaller()
    {
        MessageRecorder messages;
        Dataset query(&db->connection());
        bool reachedAfterFailure = false;
        RunGuarded([&] {
            ExecSql(query, "insert into Q_AC01(AC01NAME)values('x')");
            ExecSql(query, "update NOSUCH set a=1");
            reachedAfterFailure = true;
        });
        QVERIFY(!reachedAfterFailure);
        QCOMPARE(db->scalar("select count(*) from Q_AC01 where AC01NAME='x'"), QString("1"));
        // The statement box, then the standard error box with the engine's message again.
        QCOMPARE(messages.messages().size(), 2);
        QCOMPARE(messages.messages()[0].title, QString("错误"));
        QCOMPARE(messages.messages()[0].text, QString("no such table: NOSUCH\n\rupdate NOSUCH set a=1"));
        QCOMPARE(messages.messages()[1].title, AppInfo::title);
        QCOMPARE(messages.messages()[1].text, QString("no such table: NOSUCH"));
    }

    void guardIsSilentOnAbort()
    {
        MessageRecorder messages;
        RunGuarded([] { throw SilentAbort(); });
        RunGuarded([] { throw AppError("坏了"); });
        QCOMPARE(messages.texts(), QStringList{"坏了"});
    }

    void buildOrderBy_data()
    {
        QTest::addColumn<QStringList>("rows");  // "field:type"
        QTest::addColumn<QString>("expected");
        QTest::newRow("none") << QStringList() << "";
        QTest::newRow("only empty fields") << QStringList{":DESC", ":"} << "";
        QTest::newRow("desc and asc") << QStringList{"AS01:DESC", "AS02:ASC"} << " order by AS01 DESC,AS02 ";
        QTest::newRow("lower-case desc sorts ascending") << QStringList{"AS01:desc"} << " order by AS01 ";
        QTest::newRow("empty rows skipped in rank order")
            << QStringList{"AS03:", ":DESC", "AD01:DESC"} << " order by AS03 ,AD01 DESC";
    }

    void buildOrderBy()
    {
        QFETCH(QStringList, rows);
        QFETCH(QString, expected);
        db->exec("delete from S_ORDER where STABLE='Q_B'");
        int ino = 1;
        for (const QString& row : rows) {
            const QStringList parts = row.split(':');
            db->exec(QString("insert into S_ORDER(STABLE,INO,SFIELD,STYPE) values('Q_B',%1,%2,%3)")
                         .arg(ino++)
                         .arg(SqlText::quoted(parts[0]), SqlText::quoted(parts[1])));
        }
        Dataset query(&db->connection());
        QCOMPARE(BuildOrderBy(query, "Q_B"), expected);
    }

    void confirmPendingEdit()
    {
        MessageRecorder messages;
        db->exec("insert into Q_A(AS01) values('K1')");
        Dataset d(&db->connection());
        QVERIFY(OpenQuery(d, "select * from Q_A"));
        QVERIFY(!ConfirmPendingEdit(d));
        QVERIFY(messages.messages().isEmpty());

        d.edit();
        d.setValue("AS01", "保存");
        messages.answerNext(true);
        QVERIFY(ConfirmPendingEdit(d));
        QCOMPARE(messages.texts(), QStringList{"数据已修改，要保存吗?"});
        QCOMPARE(messages.messages().first().title, QString("确认"));
        QCOMPARE(db->scalar("select AS01 from Q_A"), QString("保存"));

        d.edit();
        d.setValue("AS01", "丢弃");
        messages.answerNext(false);
        QVERIFY(ConfirmPendingEdit(d));
        QCOMPARE(d.state(), Dataset::State::Browse);
        QCOMPARE(db->scalar("select AS01 from Q_A"), QString("保存"));
    }

    void quotedValuesNeverChangeAStatement()
    {
        db->exec("insert into Q_A(AS01,AS02) values('K1','O''Neil')");
        db->exec("insert into Q_A(AS01,AS02) values('K2','other')");
        for (const QString& typed : {QString("O'Neil"), QString("x' or '1'='1"), QString("' union select SPASSWORD from S_USER --")}) {
            const QString sql = "select AS01 from Q_A where AS02=" + SqlText::quoted(typed);
            QCOMPARE(db->dump(sql), typed == "O'Neil" ? QString("K1") : QString());
        }
        QCOMPARE(db->dump("select AS01 from Q_A where AS02 like '%" + SqlText::escaped("'N") + "%'"), QString("K1"));
    }

    void numberChecks_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("integer");
        QTest::addColumn<bool>("number");
        QTest::newRow("whole") << " 42 " << true << true;
        QTest::newRow("negative") << "-7" << true << true;
        QTest::newRow("decimal") << "3.25" << false << true;
        QTest::newRow("leading point") << ".5" << false << true;
        QTest::newRow("letters") << "12a" << false << false;
        QTest::newRow("injection") << "1 or 1=1" << false << false;
        QTest::newRow("two points") << "1.2.3" << false << false;
        QTest::newRow("beyond 32 bits") << "2147483648" << false << true;
        QTest::newRow("empty") << "" << false << false;
    }

    void numberChecks()
    {
        QFETCH(QString, text);
        QFETCH(bool, integer);
        QFETCH(bool, number);
        QCOMPARE(SqlText::isInteger(text), integer);
        QCOMPARE(SqlText::isNumber(text), number);
    }
};

QTEST_GUILESS_MAIN(QueryRunnersTest)
#include "tst_queryrunners.moc"
