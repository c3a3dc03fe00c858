#include "core/AppError.h"
#include "core/DateText.h"

#include <QTest>

class DatesTest : public QObject {
    Q_OBJECT
private slots:
    void parseDateText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDateTime>("expected");
        const QDateTime march5(QDate(2024, 3, 5), QTime(0, 0), Qt::UTC);
        QTest::newRow("eight digits") << "20240305" << march5;
        QTest::newRow("display form") << "2024-03-05" << march5;
        QTest::newRow("without leading zeros") << "2024-3-5 " << march5;
        QTest::newRow("slashes") << "2024/03/05" << march5;
        QTest::newRow("with time") << "2024-03-05 14:30" << QDateTime(QDate(2024, 3, 5), QTime(14, 30), Qt::UTC);
        QTest::newRow("two-digit year 49") << "49-1-02" << QDateTime(QDate(2049, 1, 2), QTime(0, 0), Qt::UTC);
        QTest::newRow("two-digit year 50") << "50-1-02" << QDateTime(QDate(1950, 1, 2), QTime(0, 0), Qt::UTC);
    }

    void parseDateText()
    {
        QFETCH(QString, text);
        QFETCH(QDateTime, expected);
        QCOMPARE(ParseDateText(text), expected);
    }

    void impossibleDates()
    {
        QVERIFY_THROWS_EXCEPTION(ConversionError, ParseDateText("20241305"));
        QVERIFY_THROWS_EXCEPTION(ConversionError, ParseDateText("2024ab05"));  // month read as 0
        QVERIFY_THROWS_EXCEPTION(ConversionError, ParseDateText("24-03-05"));  // eight characters: yyyymmdd
        QVERIFY_THROWS_EXCEPTION(SilentAbort, ParseDateText("2024-02-30"));
        QVERIFY_THROWS_EXCEPTION(SilentAbort, ParseDateText("明天"));
        QVERIFY_THROWS_EXCEPTION(SilentAbort, ParseDateText(""));
    }

    void dateToSqlText_data()
    {
        QTest::addColumn<QDateTime>("date");
        QTest::addColumn<QString>("expected");
        QTest::newRow("example") << QDateTime(QDate(2024, 3, 5), QTime(0, 0), Qt::UTC) << "45356";
        QTest::newRow("epoch") << QDateTime(QDate(1899, 12, 30), QTime(0, 0), Qt::UTC) << "0";
        QTest::newRow("noon") << QDateTime(QDate(2024, 3, 5), QTime(12, 0), Qt::UTC) << "45356.5";
        QTest::newRow("before epoch") << QDateTime(QDate(1899, 12, 29), QTime(6, 0), Qt::UTC) << "-1.25";
        QTest::newRow("no thousands separator") << QDateTime(QDate(9999, 12, 31), QTime(0, 0), Qt::UTC) << "2958465";
    }

    void dateToSqlText()
    {
        QFETCH(QDateTime, date);
        QFETCH(QString, expected);
        QCOMPARE(DateToSqlText(date), expected);
        QCOMPARE(DateText::fromDayNumber(expected.toDouble()), date);
    }

    void displayForm()
    {
        QCOMPARE(DateText::format(QDate(2024, 3, 5)), QString("2024-03-05"));
        QCOMPARE(DateText::format(DateText::fromDayNumber(45356.75)), QString("2024-03-05 18:00:00"));
        QCOMPARE(DateText::format(QDateTime()), QString());
        QCOMPARE(DateText::format(QDate(987, 1, 9)), QString("0987-01-09"));
        QCOMPARE(DateText::format(QDate(2024, 12, 31)), QString("2024-12-31"));
        QCOMPARE(DateText::format(DateText::fromDayNumber(45356 + 3723.0 / 86400)), QString("2024-03-05 01:02:03"));
    }
};

QTEST_GUILESS_MAIN(DatesTest)
#include "tst_dates.moc"
