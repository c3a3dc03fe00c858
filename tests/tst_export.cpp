#include "DatabaseFixture.h"
#include "files/GridExporter.h"
#include "files/GridSource.h"
#include "files/TableExport.h"
#include "files/XlsReader.h"
#include "core/AppError.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

class TableSource : public GridSource {
public:
    TableSource(QStringList titles, QList<QStringList> rows) : titles(std::move(titles)), rows(std::move(rows)) {}
    int columnCount() const override { return int(titles.size()); }
    int rowCount() const override { return int(rows.size()); }
    QString title(int column) const override { return titles[column]; }
    QString cellText(int row, int column) const override { return rows[row][column]; }
    bool isNumeric(int column) const override { return column == 2; }

private:
    QStringList titles;
    QList<QStringList> rows;
};

const TableSource tricky({"名称", "备注", "金额"},
                         {{"<b>&\"'", "a\\b{c}", "12.5"}, {"客户\t甲", "第一行\n第二行", ""}});

QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString readText(const QString& path)
{
    return QString::fromUtf8(readBytes(path));
}

// A text export: UTF-8 with a byte order mark.
QString readTextExport(const QString& path)
{
    const QByteArray bytes = readBytes(path);
    return bytes.startsWith("\xEF\xBB\xBF") ? QString::fromUtf8(bytes.mid(3)) : QString("no byte order mark");
}

}

class ExportTest : public QObject {
    Q_OBJECT
private slots:
    void htmlEscapesCells()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("a.htm");
        GridExporter::write(tricky, ExportFormat::Htm, path);
        const QString html = readText(path);
        QVERIFY(html.contains("<meta charset=\"utf-8\">"));
        QVERIFY(html.contains("<th>名称</th><th>备注</th><th>金额</th>"));
        QVERIFY(html.contains("<td>&lt;b&gt;&amp;&quot;&#39;</td><td>a\\b{c}</td><td>12.5</td>"));
        QVERIFY(html.contains("<td>第一行<br>第二行</td>"));
        QVERIFY(!html.contains("<b>&"));
    }

    void rtfEscapesCells()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("a.rtf");
        GridExporter::write(tricky, ExportFormat::Rtf, path);
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray rtf = f.readAll();
        QVERIFY(rtf.startsWith("{\\rtf1"));
        for (char c : rtf)
            QVERIFY2(uchar(c) < 0x80, "rtf must be 7-bit");
        QVERIFY(rtf.contains("a\\\\b\\{c\\}\\cell"));  // backslash and braces escaped
        QVERIFY(rtf.contains("<b>&\"'\\cell"));
        QVERIFY(rtf.contains("\\u23458?\\u25143?\\tab \\u30002?"));  // 客户<TAB>甲
        QVERIFY(rtf.contains("\\line "));
        QCOMPARE(rtf.count("\\row"), 3);
        // Braces balance, so word processors read the whole table.
        int depth = 0;
        for (qsizetype i = 0; i < rtf.size(); ++i) {
            if (rtf[i] == '\\') {
                ++i;
                continue;
            }
            depth += rtf[i] == '{' ? 1 : rtf[i] == '}' ? -1 : 0;
            QVERIFY(depth >= 0);
        }
        QCOMPARE(depth, 0);
    }

    void textLinesAreTabSeparated()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("a.txt");
        GridExporter::write(tricky, ExportFormat::Txt, path);
        QCOMPARE(readTextExport(path), QString("名称\t备注\t金额\n<b>&\"'\ta\\b{c}\t12.5\n客户 甲\t第一行 第二行\t\n"));
    }

    void emptyGridWritesTheTitleRowOnly()
    {
        QTemporaryDir dir;
        const TableSource empty({"甲", "乙"}, {});
        GridExporter::write(empty, ExportFormat::Txt, dir.filePath("e.txt"));
        QCOMPARE(readTextExport(dir.filePath("e.txt")), QString("甲\t乙\n"));
        GridExporter::write(empty, ExportFormat::Xls, dir.filePath("e.xls"));
        const XlsTable table = ReadFirstWorksheet(dir.filePath("e.xls"));
        QCOMPARE(table.columns, QStringList({"甲", "乙"}));
        QVERIFY(table.rows.isEmpty());
    }

    void spreadsheetKeepsCellsAndNumbers()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("a.xls");
        GridExporter::write(tricky, ExportFormat::Xls, path);
        const XlsTable table = ReadFirstWorksheet(path);
        QCOMPARE(table.columns, QStringList({"名称", "备注", "金额"}));
        QCOMPARE(table.rows.size(), 2);
        QCOMPARE(table.rows[0], QStringList({"<b>&\"'", "a\\b{c}", "12.5"}));
        QCOMPARE(table.rows[1], QStringList({"客户\t甲", "第一行\n第二行", ""}));
    }

    void existingFileIsReplacedAndFailuresLeaveNothing()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("a.txt");
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(100000, 'x'));
        old.close();
        GridExporter::write(tricky, ExportFormat::Txt, path);
        QVERIFY(!readText(path).contains("xxx"));

        for (ExportFormat format : {ExportFormat::Txt, ExportFormat::Htm, ExportFormat::Rtf, ExportFormat::Xls}) {
            const QString bad = dir.filePath("no such folder/a." + GridExporter::extensionOf(format));
            QVERIFY_THROWS_EXCEPTION(AppError, GridExporter::write(tricky, format, bad));
            QVERIFY(!QFile::exists(bad));
            QVERIFY_THROWS_EXCEPTION(AppError, GridExporter::write(tricky, format, dir.path()));
        }
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"a.txt"});
    }

    void formatsByExtension_data()
    {
        QTest::addColumn<QString>("extension");
        QTest::addColumn<bool>("known");
        QTest::addColumn<QString>("canonical");
        QTest::newRow("xls") << "xls" << true << "xls";
        QTest::newRow("upper with dot") << ".RTF" << true << "rtf";
        QTest::newRow("htm") << "Htm" << true << "htm";
        QTest::newRow("txt") << "txt" << true << "txt";
        QTest::newRow("xlsx") << "xlsx" << false << "";
        QTest::newRow("html") << "html" << false << "";
        QTest::newRow("none") << "" << false << "";
    }

    void formatsByExtension()
    {
        QFETCH(QString, extension);
        QFETCH(bool, known);
        QFETCH(QString, canonical);
        ExportFormat format;
        QCOMPARE(GridExporter::formatOfExtension(extension, &format), known);
        if (known)
            QCOMPARE(GridExporter::extensionOf(format), canonical);
    }

    void recordTableExport()
    {
        DatabaseFixture db;
        db.exec("insert into Q_A(AS01,AS02,AC01,AC03,AD01,AI01,AF01,AS12) values('K2','乙公司',3,1,45356,12,1.5,'不导出')");
        db.exec("insert into Q_A(AS01,AS02,AC01) values('K1','甲''公司',99)");
        QTemporaryDir dir;
        const QString path = dir.filePath("customers.xls");
        QCOMPARE(ExportRecordTable(db.connection(), "q_a", path), 2);
        const XlsTable table = ReadFirstWorksheet(path);
        QCOMPARE(table.columns.size(), 21);
        QCOMPARE(table.columns.mid(0, 4), QStringList({"客户编号", "客户名称", "客户类型", "客户等级"}));
        QCOMPARE(table.columns.last(), QString("备注"));
        QCOMPARE(table.rows.size(), 2);
        // Sorted by the table's sort order (AS01), coded columns as names, dates as yyyy-mm-dd.
        QCOMPARE(table.rows[0].mid(0, 3), QStringList({"K1", "甲'公司", ""}));
        const QStringList k2 = table.rows[1];
        QCOMPARE(k2[table.columns.indexOf("客户类型")], QString("成交客户"));
        QCOMPARE(k2[table.columns.indexOf("所在地区")], QString("华北"));
        QCOMPARE(k2[table.columns.indexOf("建档日期")], QString("2024-03-05"));
        QCOMPARE(k2[table.columns.indexOf("员工人数")], QString("12"));
        QCOMPARE(k2[table.columns.indexOf("年采购额")], QString("1.5"));
        QVERIFY(!k2.contains("不导出"));

        QVERIFY_THROWS_EXCEPTION(AppError, ExportRecordTable(db.connection(), "Q_X", dir.filePath("x.xls")));
        QVERIFY_THROWS_EXCEPTION(AppError, ExportRecordTable(db.connection(), "S_USER", dir.filePath("x.xls")));
        QVERIFY_THROWS_EXCEPTION(AppError, ExportRecordTable(db.connection(), "Q_A", dir.filePath("x.pdf")));
    }

    void exportFromTheCommandLine()
    {
        const QString program = qEnvironmentVariable("QNRT100_EXECUTABLE");
        if (program.isEmpty())
            QSKIP("the program's path is given by CTest");
        TestFolder folder(30);
        QTemporaryDir out;
        auto run = [&](const QStringList& args, QString* output = nullptr) {
            QProcess p;
            p.start(program, args);
            p.waitForFinished(60000);
            if (output)
                *output = QString::fromLocal8Bit(p.readAllStandardOutput());
            return p.exitCode();
        };
        QString summary;
        const QString file = out.filePath("customers.xls");
        QCOMPARE(run({"--export", "Q_A", file, "--folder", folder.path()}, &summary), 0);
        QVERIFY(summary.contains("30"));
        QCOMPARE(ReadFirstWorksheet(file).rows.size(), 30);
        QCOMPARE(run({"--export", "Q_C", out.filePath("c.htm"), "--folder", folder.path()}), 0);
        QVERIFY(readText(out.filePath("c.htm")).contains("<th>联系日期</th>"));

        QVERIFY(run({"--export", "Q_Z", out.filePath("z.xls"), "--folder", folder.path()}) != 0);
        QVERIFY(run({"--export", "Q_A", out.filePath("z.doc"), "--folder", folder.path()}) != 0);
        QVERIFY(run({"--export", "Q_A", out.filePath("no/z.txt"), "--folder", folder.path()}) != 0);
        QVERIFY(run({"--export", "Q_A", out.filePath("z.txt"), "--folder", out.filePath("empty")}) != 0);
        QVERIFY(run({"--export", "Q_A", "--folder", folder.path()}) != 0);
        QVERIFY(!QFile::exists(out.filePath("z.txt")));
    }
};

QTEST_GUILESS_MAIN(ExportTest)
#include "tst_export.moc"
