#include "MessageRecorder.h"
#include "ProgramFixture.h"
#include "core/AppError.h"
#include "core/Dataset.h"
#include "core/QueryRunners.h"
#include "forms/main/QueryCondition.h"
#include "forms/main/QueryPanel.h"
#include "widgets/MappedComboBox.h"
#include "widgets/NullableDateEdit.h"

#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>

namespace {

const QString baseStatement = QStringLiteral("select *\nfrom Q_A a where 1=1\n");

// Replaces the text key by key as a user does (keyClicks takes Latin-1 only).
void typeText(QLineEdit* edit, const QString& text)
{
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    for (const QChar character : text)
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(character), Qt::NoModifier);
}

// One user input: "name=text" types the text (into a date box, then Enter; into a drop-down, the
// shown name), "name~text" types into a date box without leaving it, "name#n" picks item n.
void enter(QueryPanel& panel, const QString& input)
{
    const qsizetype at = input.indexOf(QRegularExpression(QStringLiteral("[=~#]")));
    const QString name = input.left(at);
    const QChar how = input[at];
    const QString text = input.mid(at + 1);
    auto* control = panel.findChild<QWidget*>(name);
    QVERIFY2(control, qPrintable(name));
    if (auto* date = qobject_cast<NullableDateEdit*>(control)) {
        typeText(date->lineEdit(), text);
        if (how == QLatin1Char('='))
            QTest::keyClick(date->lineEdit(), Qt::Key_Return);
    } else if (auto* combo = qobject_cast<MappedComboBox*>(control)) {
        if (how == QLatin1Char('#'))
            combo->setCurrentIndex(text.toInt());
        else
            typeText(combo->lineEdit(), text);
    } else {
        typeText(qobject_cast<QLineEdit*>(control), text);
    }
}

QStringList shownControls(const QueryPanel& panel)
{
    QStringList names;
    for (const QWidget* child : panel.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (child->property("tag").toInt() == 8 && !child->isHidden())
            names << child->objectName();
    }
    names.sort();
    return names;
}

// "dbedAI01@370,27,220": left, top and width of a control.
QString placeOf(const QueryPanel& panel, const QString& name)
{
    const QWidget* control = panel.findChild<QWidget*>(name);
    if (!control)
        return name + QStringLiteral("@missing");
    const QRect g = control->geometry();
    return QStringLiteral("%1@%2,%3,%4").arg(name).arg(g.x()).arg(g.y()).arg(g.width());
}

// A panel on a fresh database with code lists, captions and the configured layout.
struct PanelFixture {
    PanelFixture() : work(&program.connection())
    {
        panel.fillCodeLists(work);
        panel.applyCaptions();
        panel.LayoutQueryPanel(work);
        panel.show();
    }
    QString condition() const { return BuildQueryCondition(QLatin1Char('A'), panel.values()); }

    ProgramFixture program;
    MessageRecorder messages;
    Dataset work;
    QueryPanel panel;
};

}

class QueryPanelTest : public QObject {
    Q_OBJECT
private slots:
    void conditionFromInputs_data()
    {
        QTest::addColumn<QStringList>("inputs");
        QTest::addColumn<QString>("condition");
        QTest::newRow("empty panel") << QStringList() << QString();
        QTest::newRow("blanks around a string") << QStringList{"dbedAS01=  12 "} << " and AS01 like '%12%'";
        QTest::newRow("only blanks") << QStringList{"dbedAS01=   "} << QString();
        QTest::newRow("integer") << QStringList{"dbedAI01=25"} << " and AI01=25";
        QTest::newRow("decimal") << QStringList{"dbedAF01=12.5"} << " and AF01=12.5";
        QTest::newRow("code by name") << QStringList{"dbcbAC01=成交客户"} << " and AC01=3";
        QTest::newRow("code by pick") << QStringList{"dbcbAC02#1"} << " and AC02=2";
        QTest::newRow("name of no item") << QStringList{"dbcbAC01=成交"} << QString();
        QTest::newRow("date to only") << QStringList{"dbdteAD01=2024-01-01"} << " and AD01 <= 45292";
        QTest::newRow("date from only") << QStringList{"dbdtsAD01=2024-01-01"} << " and AD01 >= 45292";
        QTest::newRow("both dates") << QStringList{"dbdtsAD02=2024-01-01", "dbdteAD02=2024-01-31"}
                                    << " and AD02 between 45292 and 45322";
        QTest::newRow("date still being typed") << QStringList{"dbdtsAD01~2024-01-01"} << " and AD01 >= 45292";
        QTest::newRow("quote in a text") << QStringList{"dbedAS02=O'Neil"} << " and AS02 like '%O''Neil%'";
        QTest::newRow("fixed order")
            << QStringList{"dbdtsAD01=2024-01-01", "dbcbAC02#1", "dbedAF01=3", "dbedAI02=7", "dbedAS50=备注",
                           "dbedAS12=x", "dbedAS01=张"}
            << " and AS01 like '%张%' and AS12 like '%x%' and AS50 like '%备注%' and AI02=7 and AF01=3 and AC02=2"
               " and AD01 >= 45292";
    }

    void conditionFromInputs()
    {
        QFETCH(QStringList, inputs);
        QFETCH(QString, condition);
        PanelFixture f;
        for (const QString& input : inputs)
            enter(f.panel, input);
        QCOMPARE(f.condition(), condition);
        QVERIFY(f.messages.texts().isEmpty());
    }

    void conditionFindsCustomers_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("quote") << "dbedAS02=O'Neil" << QStringList{"K1"};
        QTest::newRow("anywhere in the column") << "dbedAS01=12" << QStringList{"A123"};
        QTest::newRow("code, not name") << "dbcbAC01=意向客户" << QStringList{"K2"};
    }

    void conditionFindsCustomers()
    {
        QFETCH(QString, input);
        QFETCH(QStringList, found);
        PanelFixture f;
        f.program.exec("insert into Q_A(AS01,AS02,AC01) values('K1','O''Neil 贸易',1)");
        f.program.exec("insert into Q_A(AS01,AS02,AC01) values('K2','ONeil',2)");
        f.program.exec("insert into Q_A(AS01,AS02,AC01) values('A123','Neil',3)");
        enter(f.panel, input);
        Dataset customers(&f.program.connection());
        QVERIFY(OpenQuery(customers, baseStatement + f.condition() + " order by AS01"));
        QStringList keys;
        for (customers.first(); !customers.eof(); customers.next())
            keys << customers.asString("AS01");
        QCOMPARE(keys, found);
    }

    void notANumberNamesTheColumn_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("typed");
        QTest::addColumn<QString>("caption");
        QTest::newRow("pasted letters") << "dbedAI01" << "1a2" << false << "员工人数";
        QTest::newRow("pasted sign into a spare integer") << "dbedAI02" << "12-" << false << "备用整数2";
        QTest::newRow("pasted comma") << "dbedAF01" << "12,5" << false << "年采购额";
        QTest::newRow("two points typed") << "dbedAF01" << "1..2" << true << "年采购额";
    }

    void notANumberNamesTheColumn()
    {
        QFETCH(QString, box);
        QFETCH(QString, text);
        QFETCH(bool, typed);
        QFETCH(QString, caption);
        PanelFixture f;
        auto* edit = f.panel.findChild<QLineEdit*>(box);
        QVERIFY(edit);
        if (typed)
            QTest::keyClicks(edit, text);
        else
            edit->setText(text);
        QCOMPARE(edit->text(), text);
        try {
            f.condition();
            QFAIL("no error");
        } catch (const AppError& e) {
            QVERIFY2(e.message().contains(caption), qPrintable(e.message()));
        }
    }

    void keyFiltersKeepNumbers_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("kept");
        QTest::newRow("integer drops letters") << "dbedAI01" << "1a2" << "12";
        QTest::newRow("integer drops sign and point") << "dbedAI01" << "-3.5" << "35";
        QTest::newRow("decimal keeps the point") << "dbedAF01" << "-3.5x" << "3.5";
        QTest::newRow("text keeps everything") << "dbedAS01" << "-3.5x" << "-3.5x";
    }

    void keyFiltersKeepNumbers()
    {
        QFETCH(QString, box);
        QFETCH(QString, keys);
        QFETCH(QString, kept);
        PanelFixture f;
        auto* edit = f.panel.findChild<QLineEdit*>(box);
        QVERIFY(edit);
        QTest::keyClicks(edit, keys);
        QCOMPARE(edit->text(), kept);
    }

    void hiddenInputFiltersUntilCleared()
    {
        PanelFixture f;
        for (const char* input : {"dbedAS03=李", "dbedAS04=139", "dbcbAC01#2", "dbdtsAD01=2024-01-01",
                                  "dbdteAD01=2024-02-01", "dbedAI01=5"})
            enter(f.panel, input);
        f.program.exec("delete from S_QUERY where STABLE='Q_A' and SFIELD='AS03'");
        QCOMPARE(f.panel.LayoutQueryPanel(f.work), 6);
        QVERIFY(f.panel.findChild<QLineEdit*>("dbedAS03")->isHidden());
        QCOMPARE(f.condition(),
                 " and AS03 like '%李%' and AS04 like '%139%' and AI01=5 and AC01=3 and AD01 between 45292 and 45323");

        f.panel.findChild<QLineEdit*>("dbedAS04")->setEnabled(false);
        f.panel.clear();
        QCOMPARE(f.condition(), " and AS04 like '%139%'");
        QCOMPARE(f.panel.findChild<MappedComboBox*>("dbcbAC01")->currentText(), QString());
        QCOMPARE(f.panel.findChild<NullableDateEdit*>("dbdteAD01")->lineEdit()->text(), QString());
    }

    void layout_data()
    {
        QTest::addColumn<QChar>("letter");
        QTest::addColumn<QStringList>("setup");
        QTest::addColumn<int>("m");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QStringList>("places");
        QTest::addColumn<QSize>("minimum");

        const QString clearA = "delete from S_QUERY where STABLE='Q_A'";
        auto row = [](const QString& field, int ino) {
            return QStringLiteral("insert into S_QUERY(STABLE,INO,SFIELD) values('Q_A',%1,'%2')").arg(ino).arg(field);
        };

        QTest::newRow("first installation")
            << QChar('A') << QStringList() << 6
            << QStringList{"dbcbAC01", "dbdtsAD01", "dbdteAD01", "dbedAS01", "dbedAS02", "dbedAS03", "dbedAS04",
                           "lblAC01", "lblAD01", "lblAD013", "lblAS01", "lblAS02", "lblAS03", "lblAS04"}
            << QStringList{"lblAS01@0,6,70", "dbcbAC01@670,4,220", "dbedAS03@70,27,220", "lblAD013@778,29,5"}
            << QSize(891, 48);
        QTest::newRow("nine fields")
            << QChar('A')
            << QStringList{clearA,          row("AS01", 1), row("AS02", 2), row("AC01", 3), row("AS50", 4),
                           row("AI01", 5),  row("AF01", 6), row("AC02", 7), row("AS12", 8), row("AD02", 9)}
            << 9
            << QStringList{"dbcbAC01", "dbcbAC02", "dbdtsAD02", "dbdteAD02", "dbedAF01", "dbedAI01",
                           "dbedAS01", "dbedAS02", "dbedAS12", "dbedAS50", "lblAC01",  "lblAC02",
                           "lblAD02",  "lblAD023", "lblAF01",  "lblAI01",  "lblAS01",  "lblAS02",
                           "lblAS12",  "lblAS50"}
            << QStringList{"lblAI01@300,29,70", "dbedAI01@370,27,220", "dbcbAC02@70,50,220", "dbdtsAD02@670,50,105",
                           "lblAD023@778,52,5", "dbdteAD02@786,50,105"}
            << QSize(891, 71);
        QTest::newRow("one field") << QChar('A') << QStringList{clearA, row("AS02", 1)} << 1
                                   << QStringList{"dbedAS02", "lblAS02"} << QStringList{"dbedAS02@70,4,220"}
                                   << QSize(290, 25);
        QTest::newRow("slot numbers outside 1..9")
            << QChar('A') << QStringList{clearA, row("AS05", 0), row("AS01", 2), row("AS02", 12)} << 12
            << QStringList{"dbedAS01", "dbedAS02", "dbedAS05", "lblAS01", "lblAS02", "lblAS05"}
            << QStringList{"dbedAS05@70,4,220", "dbedAS01@370,4,220", "dbedAS02@370,4,220"} << QSize(590, 25);
        QTest::newRow("no rows") << QChar('A') << QStringList{clearA} << 0 << QStringList() << QStringList()
                                 << QSize(0, 0);
        QTest::newRow("failing statement") << QChar('A') << QStringList{"drop table S_QUERY"} << 0 << QStringList()
                                           << QStringList() << QSize(0, 0);
        QTest::newRow("contact persons")
            << QChar('B') << QStringList() << 2 << QStringList{"dbedBS01", "dbedBS04", "lblBS01", "lblBS04"}
            << QStringList{"dbedBS04@370,4,220"} << QSize(590, 25);
    }

    void layout()
    {
        QFETCH(QChar, letter);
        QFETCH(QStringList, setup);
        QFETCH(int, m);
        QFETCH(QStringList, shown);
        QFETCH(QStringList, places);
        QFETCH(QSize, minimum);
        ProgramFixture program;
        MessageRecorder messages;
        Dataset work(&program.connection());
        QueryPanel panel(nullptr, letter);
        QCOMPARE(shownControls(panel), QStringList());
        panel.LayoutQueryPanel(work);  // a layout before the change, so hiding is part of the test
        for (const QString& sql : setup)
            program.exec(sql);

        QCOMPARE(panel.LayoutQueryPanel(work), m);
        shown.sort();
        QCOMPARE(shownControls(panel), shown);
        for (const QString& place : places)
            QCOMPARE(placeOf(panel, place.section('@', 0, 0)), place);
        QCOMPARE(panel.minimumSize(), minimum);
        QCOMPARE(messages.messages().size(), setup.contains("drop table S_QUERY") ? 1 : 0);
    }

    void panelForm_data()
    {
        QTest::addColumn<int>("m");
        QTest::addColumn<int>("height");
        QTest::addColumn<QString>("runCaption");
        QTest::addColumn<QString>("clearCaption");
        QTest::addColumn<QRect>("run");
        QTest::addColumn<QRect>("clear");
        QTest::addColumn<int>("spacing");
        const QRect compactRun(891, 3, 58, 23), compactClear(950, 3, 58, 23);
        const QRect wideRun(906, 27, 90, 25), wideClear(906, 2, 90, 25);
        QTest::newRow("none") << 0 << 30 << "查询" << "清除" << compactRun << compactClear << 1;
        QTest::newRow("3") << 3 << 30 << "查询" << "清除" << compactRun << compactClear << 1;
        QTest::newRow("4") << 4 << 53 << "执行查询" << "清除条件" << wideRun << wideClear << 4;
        QTest::newRow("6") << 6 << 53 << "执行查询" << "清除条件" << wideRun << wideClear << 4;
        QTest::newRow("7") << 7 << 76 << "执行查询" << "清除条件" << wideRun << wideClear << 4;
        QTest::newRow("beyond the slots") << 12 << 76 << "执行查询" << "清除条件" << wideRun << wideClear << 4;
    }

    void panelForm()
    {
        QFETCH(int, m);
        QFETCH(int, height);
        QFETCH(QString, runCaption);
        QFETCH(QString, clearCaption);
        QFETCH(QRect, run);
        QFETCH(QRect, clear);
        QFETCH(int, spacing);
        const PanelForm form = PanelFormFor(m);
        QCOMPARE(form.height, height);
        QCOMPARE(form.runCaption, runCaption);
        QCOMPARE(form.clearCaption, clearCaption);
        QCOMPARE(form.runButton, run);
        QCOMPARE(form.clearButton, clear);
        QCOMPARE(form.spacing, spacing);
    }

    void treeValues_data()
    {
        QTest::addColumn<QString>("before");  // what the panel holds before the tree writes
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("condition");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("shown");
        QTest::newRow("string") << "dbedAS09=7" << "AS09" << "北京" << " and AS09 like '%北京%'" << "dbedAS09" << "北京";
        QTest::newRow("integer") << "dbedAI01=7" << "AI01" << "5" << " and AI01=5" << "dbedAI01" << "5";
        QTest::newRow("code") << "dbcbAC01#0" << "AC01" << "2" << " and AC01=2" << "dbcbAC01" << "意向客户";
        QTest::newRow("unknown code") << "dbcbAC01#2" << "AC01" << "9" << "" << "dbcbAC01" << "";
        QTest::newRow("date is one day") << "dbdteAD01=2020-01-01" << "AD01" << "2024-03-05"
                                         << " and AD01 between 45356 and 45356" << "dbdteAD01" << "2024-03-05";
    }

    void treeValues()
    {
        QFETCH(QString, before);
        QFETCH(QString, code);
        QFETCH(QString, value);
        QFETCH(QString, condition);
        QFETCH(QString, box);
        QFETCH(QString, shown);
        PanelFixture f;
        enter(f.panel, before);
        f.panel.setConditionValue(code, value);
        QCOMPARE(f.condition(), condition);
        auto* control = f.panel.findChild<QWidget*>(box);
        if (auto* combo = qobject_cast<MappedComboBox*>(control))
            QCOMPARE(combo->currentText(), shown);
        else if (auto* date = qobject_cast<NullableDateEdit*>(control))
            QCOMPARE(date->lineEdit()->text(), shown);
        else
            QCOMPARE(qobject_cast<QLineEdit*>(control)->text(), shown);
    }

    void codeLists()
    {
        PanelFixture f;
        QCOMPARE(f.panel.codeList("AC01")->itemTexts(),
                 QStringList({"潜在客户\t1", "意向客户\t2", "成交客户\t3", "流失客户\t4"}));
        QCOMPARE(f.panel.codeList("AC03")->itemTexts().first(), QString("华北\t1"));
        QCOMPARE(f.panel.codeList("AC06")->count(), 0);
        QCOMPARE(f.panel.codeList("AC01")->maxVisibleItems(), 8);
        QVERIFY(!f.panel.codeList("AS01"));

        f.program.exec("insert into Q_AC01(AC01NAME) values('重点客户')");
        f.panel.fillCodeLists(f.work);
        QCOMPARE(f.panel.codeList("AC01")->itemTexts().last(), QString("重点客户\t5"));

        QueryPanel persons(nullptr, QLatin1Char('B'));
        persons.fillCodeLists(f.work);
        QCOMPARE(persons.codeList("BC01")->itemTexts(), QStringList({"男\t1", "女\t2"}));
        QVERIFY(f.messages.texts().isEmpty());
    }

    void captionsFromCache()
    {
        PanelFixture f;
        auto caption = [&f](const char* name) { return f.panel.findChild<QLabel*>(name)->text(); };
        QCOMPARE(caption("lblAS01"), QString("客户编号"));
        QCOMPARE(caption("lblAS12"), QString("备用文本12"));
        QCOMPARE(caption("lblAD01"), QString("建档日期"));
        QCOMPARE(caption("lblAD013"), QString("-"));

        f.program.dataModule().setFieldCaption("AS01", "编号");
        f.panel.applyCaptions();
        QCOMPARE(caption("lblAS01"), QString("编号"));
    }
};

QTEST_MAIN(QueryPanelTest)
#include "tst_querypanel.moc"
