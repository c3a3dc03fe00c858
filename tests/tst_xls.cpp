#include "core/AppError.h"
#include "files/XlsReader.h"
#include "files/XlsWriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <freexl.h>

#include <memory>

namespace {

struct FreeXlCloser {
    void operator()(const void* handle) const { freexl_close(handle); }
};

// What FreeXL itself reports about a workbook: the sheet names and the shared string count.
struct WorkbookFacts {
    QStringList sheetNames;
    unsigned int sharedStrings = 0;
};

WorkbookFacts workbookFacts(const QString& path)
{
    const void* raw = nullptr;
    const int opened = freexl_open(QFile::encodeName(path).constData(), &raw);
    const std::unique_ptr<const void, FreeXlCloser> handle(raw);
    WorkbookFacts facts;
    unsigned int sheets = 0;
    if (opened != FREEXL_OK || freexl_get_info(raw, FREEXL_BIFF_SHEET_COUNT, &sheets) != FREEXL_OK
        || freexl_get_info(raw, FREEXL_BIFF_STRING_COUNT, &facts.sharedStrings) != FREEXL_OK)
        return facts;
    for (unsigned short i = 0; i < sheets; ++i) {
        const char* name = nullptr;
        if (freexl_get_worksheet_name(raw, i, &name) == FREEXL_OK)
            facts.sheetNames.append(QString::fromUtf8(name));
    }
    return facts;
}

const QStringList bigTitles{"编号", "客户名称", "金额", "Name", "空列", "城市", "标记", "大数", "负数", "备注",
                            "地址", "电话", "建档日期"};

// Row i of the large export, as written and as it reads back.
QVariantList bigRow(int i)
{
    return {i, QStringLiteral("客户%1号").arg(i), i * 0.5, QStringLiteral("Name-%1").arg(i), QVariant(),
            QStringLiteral("北京"), i % 7 == 0 ? QString() : QStringLiteral("x"), qint64(i) * 1000003, -i,
            QStringLiteral("备注文本%1").arg(i % 100), QStringLiteral("北京市朝阳区建国路%1号").arg(i),
            QStringLiteral("010-%1").arg(60000000 + i), QStringLiteral("2024-03-05")};
}

QStringList bigRowTexts(int i)
{
    const QString half = i % 2 == 0 ? QString::number(i / 2) : QStringLiteral("%1.5").arg(i / 2);
    return {QString::number(i), QStringLiteral("客户%1号").arg(i), half,
            QStringLiteral("Name-%1").arg(i), QString(), QStringLiteral("北京"),
            i % 7 == 0 ? QString() : QStringLiteral("x"), QString::number(qint64(i) * 1000003),
            QString::number(-i), QStringLiteral("备注文本%1").arg(i % 100), QStringLiteral("北京市朝阳区建国路%1号").arg(i),
            QStringLiteral("010-%1").arg(60000000 + i), QStringLiteral("2024-03-05")};
}

QStringList entriesOf(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

}  // namespace

class XlsTest : public QObject {
    Q_OBJECT
private slots:
    void cellRoundTrip_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("expected");
        const QString chinese = QStringLiteral("北京华联商贸有限公司");
        QString long250;
        while (long250.size() < 250)
            long250 += QStringLiteral("客户名称ABC；");
        long250.truncate(250);
        QTest::newRow("Chinese") << QVariant(chinese) << chinese;
        QTest::newRow("250 characters") << QVariant(long250) << long250;
        QTest::newRow("Latin-1 letters") << QVariant(u"Café Zoë ñ ÿ"_qs) << u"Café Zoë ñ ÿ"_qs;
        QTest::newRow("surrogate pair") << QVariant(u"客户😀"_qs) << u"客户😀"_qs;
        QTest::newRow("wide text over two records") << QVariant(QString(6000, QChar(0x5BA2)))
                                                        << QString(6000, QChar(0x5BA2));
        QTest::newRow("narrow text over two records") << QVariant(QString(16000, u'x')) << QString(16000, u'x');
        QTest::newRow("empty text") << QVariant(QString()) << QString();
        QTest::newRow("null") << QVariant() << QString();
        QTest::newRow("integer") << QVariant(42) << "42";
        QTest::newRow("zero") << QVariant(0) << "0";
        QTest::newRow("negative integer") << QVariant(-7) << "-7";
        QTest::newRow("largest small integer") << QVariant(536870911) << "536870911";
        QTest::newRow("past small integers") << QVariant(536870912) << "536870912";
        QTest::newRow("smallest small integer") << QVariant(-536870912) << "-536870912";
        QTest::newRow("below small integers") << QVariant(-536870913) << "-536870913";
        QTest::newRow("qint64") << QVariant(qint64(9007199254740991)) << "9007199254740991";
        QTest::newRow("decimal") << QVariant(12.5) << "12.5";
        QTest::newRow("negative decimal") << QVariant(-0.25) << "-0.25";
        QTest::newRow("tenth") << QVariant(0.1) << "0.1";
        QTest::newRow("whole double") << QVariant(3.0) << "3";
        QTest::newRow("tiny decimal") << QVariant(0.0000001) << "0.0000001";
    }

    void cellRoundTrip()
    {
        QFETCH(QVariant, value);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        const QString path = dir.filePath("cell.xls");
        XlsWriter writer;
        writer.beginSheet("数据", {"左", "值", "右"});
        writer.addRow({"左边", value, "右边"});
        writer.save(path);

        const XlsTable table = ReadFirstWorksheet(path);
        QCOMPARE(table.columns, QStringList({"左", "值", "右"}));
        QCOMPARE(table.rows, QList<QStringList>({{"左边", expected, "右边"}}));
    }

    void tableRoundTrip()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("table.xls");
        XlsWriter writer;
        writer.beginSheet("客户", {"客户编号", "客户名称", "员工人数"});
        writer.addRow({"K001", "北京华联", 120});
        writer.addRow({QVariant(), QVariant(), 5});
        writer.addRow({});
        writer.addRow({"K003", QVariant(), 7, "没有列名的值"});
        writer.addRow({QString(), "上海东方"});
        writer.save(path);

        const XlsTable table = ReadFirstWorksheet(path);
        QCOMPARE(table.columns, QStringList({"客户编号", "客户名称", "员工人数"}));
        const QList<QStringList> expected{
            {"K001", "北京华联", "120"}, {"", "", "5"}, {"", "", ""}, {"K003", "", "7"}, {"", "上海东方", ""}};
        QCOMPARE(table.rows, expected);
    }

    void repeatedTextsAreStoredOnce()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("repeated.xls");
        XlsWriter writer;
        writer.beginSheet("客户", {"名称"});
        // Enough texts to grow the hash table several times, each written twice.
        for (int round = 0; round < 2; ++round) {
            for (int i = 0; i < 5000; ++i)
                writer.addRow({QStringLiteral("客户%1").arg(i)});
        }
        writer.save(path);

        QCOMPARE(workbookFacts(path).sharedStrings, 5001u);
        const XlsTable table = ReadFirstWorksheet(path);
        QCOMPARE(table.rows.size(), 10000);
        QCOMPARE(table.rows[9999], QStringList{"客户4999"});
    }

    void largeExportSplitsAcrossSheets()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("large.xls");
        const int rowCount = 70000;
        {
            XlsWriter writer;
            const QList<XlsCellStyle> styles{{true, 0xFF0000}, {false, 0x123456}, {true, 0x000000}};
            writer.beginSheet("客户", bigTitles, styles);
            for (int i = 0; i < rowCount; ++i)
                writer.addRow(bigRow(i));
            writer.save(path);
        }
        // Large enough that the FAT sectors are listed in the header and two more DIFAT sectors.
        QVERIFY(QFileInfo(path).size() > (109 + 127) * 128 * 512);
        QCOMPARE(workbookFacts(path).sheetNames, QStringList({"客户", "客户 (2)"}));

        const int firstSheetRows = XlsWriter::maxRowsPerSheet - 1;
        const XlsTable first = ReadFirstWorksheet(path);
        QCOMPARE(first.columns, bigTitles);
        QCOMPARE(first.rows.size(), firstSheetRows);
        for (int i = 0; i < firstSheetRows; ++i)
            QCOMPARE(first.rows[i], bigRowTexts(i));

        const XlsTable second = ReadWorksheet(path, 1);
        QCOMPARE(second.columns, bigTitles);
        QCOMPARE(second.rows.size(), rowCount - firstSheetRows);
        for (int i = 0; i < second.rows.size(); ++i)
            QCOMPARE(second.rows[i], bigRowTexts(firstSheetRows + i));
    }

    void sheetWithoutTitlesHoldsFullRows()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("untitled.xls");
        const QString longName = QStringLiteral("二零二四年度全部客户资料及联系人与采购记录汇总表格含已停用的客户");
        QVERIFY(longName.size() > XlsWriter::maxSheetNameLength);
        XlsWriter writer;
        writer.beginSheet(longName);
        for (int i = 0; i <= XlsWriter::maxRowsPerSheet; ++i)
            writer.addRow({i});
        writer.save(path);

        QCOMPARE(workbookFacts(path).sheetNames,
                 QStringList({longName.left(31), longName.left(27) + " (2)"}));
        const XlsTable first = ReadFirstWorksheet(path);
        QCOMPARE(first.columns, QStringList{"0"});
        QCOMPARE(first.rows.size(), XlsWriter::maxRowsPerSheet - 1);
        QCOMPARE(first.rows.last(), QStringList{"65535"});
        const XlsTable second = ReadWorksheet(path, 1);
        QCOMPARE(second.columns, QStringList{"65536"});
        QVERIFY(second.rows.isEmpty());
    }

    void sheetNames_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("forbidden characters") << QStringList{"a[b]c:d*e?f/g\\h"} << QStringList{"abcdefgh"};
        QTest::newRow("apostrophes around") << QStringList{"'报表'"} << QStringList{"报表"};
        QTest::newRow("nothing left") << QStringList{"[]"} << QStringList{"Sheet1"};
        QTest::newRow("same name twice") << QStringList{"Data", "data"} << QStringList{"Data", "data (2)"};
    }

    void sheetNames()
    {
        QFETCH(QStringList, names);
        QFETCH(QStringList, expected);
        QTemporaryDir dir;
        const QString path = dir.filePath("names.xls");
        XlsWriter writer;
        for (const QString& name : names) {
            writer.beginSheet(name);
            writer.addRow({name});
        }
        writer.save(path);
        QCOMPARE(workbookFacts(path).sheetNames, expected);
    }

    void styledTitlesStayReadable()
    {
        // More colours than the palette has room for.
        QTemporaryDir dir;
        const QString path = dir.filePath("styled.xls");
        QStringList titles;
        QList<XlsCellStyle> styles;
        for (int i = 0; i < 80; ++i) {
            titles.append(QStringLiteral("标题%1").arg(i));
            styles.append({i % 2 == 0, quint32(i == 0 ? 0xFF0000 : 0x010305 * (i + 1))});
        }
        XlsWriter writer;
        writer.beginSheet("样式", titles, styles);
        writer.addRow({1});
        writer.save(path);

        const XlsTable table = ReadFirstWorksheet(path);
        QCOMPARE(table.columns, titles);
        QCOMPARE(table.rows.size(), 1);
        QCOMPARE(table.rows[0].first(), "1");
    }

    void savingReplacesAnExistingFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("out.xls");
        for (const QString& text : {QStringLiteral("旧内容"), QStringLiteral("新内容")}) {
            XlsWriter writer;
            writer.beginSheet("客户", {"名称"});
            writer.addRow({text});
            writer.save(path);
        }
        QCOMPARE(ReadFirstWorksheet(path).rows, QList<QStringList>{{"新内容"}});
        QCOMPARE(entriesOf(dir.path()), QStringList{"out.xls"});
    }

    void unwritablePathThrows_data()
    {
        QTest::addColumn<QString>("target");
        QTest::newRow("folder that does not exist") << "缺少的文件夹/out.xls";
        QTest::newRow("path of a folder") << "existing-folder";
    }

    void unwritablePathThrows()
    {
        QFETCH(QString, target);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("existing-folder"));
        const QString path = dir.filePath(target);
        XlsWriter writer;
        writer.beginSheet("客户", {"名称"});
        writer.addRow({"北京华联"});
        try {
            writer.save(path);
            QFAIL("save succeeded");
        } catch (const AppError& error) {
            QVERIFY2(error.message().contains(QDir::toNativeSeparators(path)), qPrintable(error.message()));
        }
        QCOMPARE(entriesOf(dir.path()), QStringList{"existing-folder"});
        QVERIFY(entriesOf(dir.filePath("existing-folder")).isEmpty());
    }

    void readsWorkbookFromAnotherProgram()
    {
        const QString path = QFINDTESTDATA("data/other-program.xls");
        QVERIFY(!path.isEmpty());
        const XlsTable table = ReadFirstWorksheet(path);
        QCOMPARE(table.columns, QStringList({"客户编号", "客户名称", "员工人数", "年采购额", "建档日期"}));
        const QList<QStringList> expected{{"K001", "北京华联商贸有限公司", "120", "35800.5", "2019-03-05"},
                                          {"K002", "上海东方电子", "8", "0.25", "2021-12-31"},
                                          {"K003", "", "45", "-1200.75", ""}};
        QCOMPARE(table.rows, expected);
    }

    void rejectsFilesItCannotRead_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("messageStart");
        QFile other(QFINDTESTDATA("data/other-program.xls"));
        QVERIFY(other.open(QIODevice::ReadOnly));
        const QByteArray otherProgram = other.readAll();
        QTest::newRow("text file") << QByteArray("客户编号,客户名称\nK001,北京华联\n") << "不是 Excel 97-2003 工作簿";
        QTest::newRow("empty file") << QByteArray() << "不是 Excel 97-2003 工作簿";
        QTest::newRow("first half of a workbook") << otherProgram.left(otherProgram.size() / 2) << "工作簿已损坏";
        QTest::newRow("header only") << otherProgram.left(512) << "工作簿已损坏";
        // Three changed bytes that make FreeXL free memory twice.
        QByteArray broken = otherProgram;
        broken[1304] = '\x0C';
        broken[1798] = '\xF2';
        broken[2548] = '\x9F';
        QTest::newRow("records that crash FreeXL") << broken << "工作簿已损坏";
    }

    void rejectsFilesItCannotRead()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, messageStart);
        QTemporaryDir dir;
        const QString path = dir.filePath("客户.xls");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();
        try {
            ReadFirstWorksheet(path);
            QFAIL("read succeeded");
        } catch (const AppError& error) {
            QVERIFY2(error.message().startsWith(messageStart), qPrintable(error.message()));
            QVERIFY2(error.message().contains(QDir::toNativeSeparators(path)), qPrintable(error.message()));
        }
    }

    void rejectsTruncatedLargeWorkbook()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("large.xls");
        XlsWriter writer;
        writer.beginSheet("客户", bigTitles);
        for (int i = 0; i < 3000; ++i)
            writer.addRow(bigRow(i));
        writer.save(path);
        QFile file(path);
        QVERIFY(file.resize(file.size() / 2));
        QVERIFY_THROWS_EXCEPTION(AppError, ReadFirstWorksheet(path));
    }

    void missingFileThrows()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("没有.xls");
        try {
            ReadFirstWorksheet(path);
            QFAIL("read succeeded");
        } catch (const AppError& error) {
            QCOMPARE(error.message(), "文件不存在：" + QDir::toNativeSeparators(path));
        }
    }

    void tooManyColumnsThrows()
    {
        XlsWriter writer;
        QVERIFY_THROWS_EXCEPTION(AppError, writer.addRow(QVariantList(XlsWriter::maxColumns + 1, 1)));
    }
};

QTEST_GUILESS_MAIN(XlsTest)
#include "tst_xls.moc"
