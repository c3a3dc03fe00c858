#include "MessageRecorder.h"
#include "ProgramFixture.h"
#include "ScriptedFileChooser.h"
#include "core/CurrentUser.h"
#include "core/Dataset.h"
#include "files/XlsReader.h"
#include "forms/main/CustomerMainWindow.h"
#include "forms/main/DetailPages.h"
#include "forms/main/DetailStatement.h"
#include "widgets/DataGrid.h"
#include "widgets/ListFillers.h"
#include "widgets/MappedComboBox.h"

#include <QAction>
#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>

#include <memory>

namespace {

void logInAs(ProgramFixture& program, const QString& userId)
{
    Dataset user(&program.connection());
    user.setSql("select * from s_user where suserid='" + userId + "'");
    user.open();
    currentUser().copyFrom(user);
}

QStringList columnValues(Dataset& d, const QString& field)
{
    QStringList values;
    for (int r = 0; r < d.rowCount(); ++r)
        values << d.textAt(r, d.fieldIndex(field));
    return values;
}

}

class MainWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramFixture> program;
    std::unique_ptr<MessageRecorder> messages;

    std::unique_ptr<CustomerMainWindow> openWindow()
    {
        auto window = std::make_unique<CustomerMainWindow>();
        window->show();
        QApplication::processEvents();  // lets the tool bar lay out the buttons of hidden actions
        return window;
    }

    bool visible(CustomerMainWindow& w, const QString& name) { return w.action(name)->isVisible(); }

private slots:
    void init()
    {
        program = std::make_unique<ProgramFixture>(40);
        messages = std::make_unique<MessageRecorder>();
        logInAs(*program, "0000");
    }

    void cleanup()
    {
        messages.reset();
        program.reset();
    }

    void showsCustomersSortedWithTheStatusBar()
    {
        auto w = openWindow();
        QCOMPARE(w->objectName(), QString("Tfrm_Q_A_main"));
        QCOMPARE(w->windowTitle(), QString("晴帆客户管理软件V10.0"));
        Dataset& customers = w->Qry1();
        QCOMPARE(customers.rowCount(), 40);
        QStringList codes = columnValues(customers, "AS01");
        QStringList sorted = codes;
        sorted.sort();
        QCOMPARE(codes, sorted);
        QCOMPARE(w->statusPanelText(2), QString("符合查询条件的记录共有40条"));
        QCOMPARE(w->statusPanelText(3), QDate::currentDate().toString("yyyy-MM-dd"));
        QCOMPARE(w->statusPanelText(4), QString("系统管理员"));
        QVERIFY(messages->messages().isEmpty());
    }

    void movingRefillsEveryDetailPage()
    {
        auto w = openWindow();
        Dataset& customers = w->Qry1();
        for (int row : {0, 7, 39, 3}) {
            customers.moveTo(row);
            const QString key = customers.asString("AIID");
            for (int page = 1; page <= DetailPages::pageCount; ++page) {
                Dataset& detail = w->pages()->query(page);
                const QString table = QString("Q_") + DetailPages::tableLetter(page);
                QVERIFY(detail.isOpen());
                QCOMPARE(QString::number(detail.rowCount()),
                         program->scalar("select count(*) from " + table + " where AIID=" + key));
                for (const QString& aiid : columnValues(detail, "AIID"))
                    QCOMPARE(aiid, key);
            }
        }
        // Contact records come in the Q_C sort order: newest first.
        customers.moveTo(0);
        QStringList dates = columnValues(w->pages()->query(2), "CD01");
        QStringList newestFirst = dates;
        std::sort(newestFirst.begin(), newestFirst.end(), std::greater<>());
        QCOMPARE(dates, newestFirst);
    }

    void detailStatements()
    {
        Dataset customers(&program->connection());
        customers.setSql("select * from Q_A where AIID=5");
        customers.open();
        QCOMPARE(DetailStatement("select * from   Q_B a where 1=1\n", customers, " order by BS01 "),
                 QString("select * from   Q_B a where 1=1\n and a.AIID=5 order by BS01 "));
        customers.setSql("select * from Q_A where 1<>1");
        customers.open();
        QCOMPARE(DetailStatement("select * from   Q_E a  where 1=1\n", customers, ""),
                 QString("select * from   Q_E a  where 1=1\n and 1<>1"));
    }

    void pageChangeReopensItsQuery()
    {
        auto w = openWindow();
        program->exec("insert into Q_B(AIID,BS01) values(" + w->Qry1().asString("AIID") + ",'新联系人')");
        QVERIFY(!columnValues(w->pages()->query(1), "BS01").contains("新联系人"));
        w->pages()->setCurrentIndex(1);
        QVERIFY(columnValues(w->pages()->query(1), "BS01").contains("新联系人"));
    }

    void rights_data()
    {
        QTest::addColumn<QString>("grants");  // columns set to 1; all others 0
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QStringList>("hidden");
        const QStringList everyone = {"actSum", "actSlave2", "actSlave5", "actSlave0", "actSetColDisplay",
                                      "actSetColDisplay3", "actSetUI", "actSetDisplayTree", "actSetPassword",
                                      "actQuery", "actDoQuery", "actHelp", "actHelpF1", "actClose"};
        QTest::newRow("no add") << "IREDIT,IRDEL" << QStringList{"actEdit", "actDel0", "sepAfterEdit"}
                                << QStringList{"actAdd", "actAdd2", "actAdd5", "actAdd0"};
        QTest::newRow("no add, edit or delete")
            << "IRINPUT" << QStringList{"actInput0", "sepAfterCustom1"}
            << QStringList{"actAdd0", "actEdit0", "actDel0", "actDel3", "sepAfterEdit", "sepBeforeQuery"};
        QTest::newRow("nothing") << "" << everyone
                                 << QStringList{"actExport", "actExport4", "actPrintTable", "actPrint1", "actBatchEdit",
                                                "actBin", "actSetField", "actSetOrder2", "actSetTree", "actSetUser",
                                                "actSetQuery", "actInput"};
        QTest::newRow("settings only") << "IRSET" << QStringList{"actSetOrder5", "actSetField3", "actSetUser"}
                                       << QStringList{"actExport0"};
    }

    void rights()
    {
        QFETCH(QString, grants);
        QFETCH(QStringList, shown);
        QFETCH(QStringList, hidden);
        QStringList assignments;
        for (const char* right : {"IRADD", "IREDIT", "IRDEL", "IRBATCH", "IRINPUT", "IREXPORT", "IRPRINT", "IRSET",
                                  "IRBIN", "IR1", "IR2", "IR3"})
            assignments << QString(right) + (grants.split(',').contains(right) ? "=1" : "=2");
        program->exec("insert into S_USER(SUSERID,SUSERNAME,SPASSWORD) values('u1','用户','')");
        program->exec("update S_USER set " + assignments.join(',') + " where SUSERID='u1'");
        logInAs(*program, "u1");
        auto w = openWindow();
        for (const QString& name : shown)
            QVERIFY2(w->findChild<QAction*>(name)->isVisible(), qPrintable(name));
        for (const QString& name : hidden) {
            QAction* a = w->findChild<QAction*>(name);
            QVERIFY2(!a->isVisible(), qPrintable(name));
            if (!name.startsWith("sep"))
                QVERIFY2(!a->isEnabled(), qPrintable(name));
            if (QWidget* button = w->findChild<QToolBar*>("tlbMain")->widgetForAction(a))
                QVERIFY2(!button->isVisible(), qPrintable(name));
        }
    }

    void titleClicksSortWithoutQuerying()
    {
        auto w = openWindow();
        Dataset& customers = w->Qry1();
        QSignalSpy opened(&customers, &Dataset::afterOpen);
        const QStringList queryOrder = columnValues(customers, "AS02");
        QHeaderView* header = w->grid()->horizontalHeader();
        const int section = customers.fieldIndex("AS02");
        auto click = [&] {
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                              QPoint(header->sectionViewportPosition(section) + 5, header->height() / 2));
        };
        w->grid()->scrollTo(w->grid()->model()->index(0, section));
        click();
        QCOMPARE(w->grid()->sortMarker("AS02"), SortMarker::Descending);
        QCOMPARE(columnValues(customers, "AS02").size(), 40);
        QVERIFY(columnValues(customers, "AS02") != queryOrder);
        click();
        QCOMPARE(w->grid()->sortMarker("AS02"), SortMarker::Ascending);
        click();
        QCOMPARE(w->grid()->sortMarker("AS02"), SortMarker::None);
        QCOMPARE(columnValues(customers, "AS02"), queryOrder);
        QCOMPARE(opened.count(), 0);
    }

    void exportNamesAndFormats_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("written");
        QTest::newRow("type 1 adds xls") << "a" << 1 << "a.xls";
        QTest::newRow("upper case kept") << "a.XLS" << 1 << "a.XLS";
        QTest::newRow("letters without dot kept") << "dataxls" << 1 << "dataxls";
        QTest::newRow("xlsx gets xls") << "a.xlsx" << 1 << "a.xlsx.xls";
        QTest::newRow("rtf") << "a" << 2 << "a.rtf";
        QTest::newRow("htm") << "a" << 3 << "a.htm";
        QTest::newRow("txt") << "a" << 4 << "a.txt";
    }

    void exportNamesAndFormats()
    {
        QFETCH(QString, chosen);
        QFETCH(int, type);
        QFETCH(QString, written);
        QTemporaryDir dir;
        ScriptedFileChooser chooser;
        auto w = openWindow();
        chooser.answerSave(dir.filePath(chosen), type);
        w->action("actExport")->trigger();
        QCOMPARE(chooser.lastTitle, QString("请录入导出文件名"));
        QCOMPARE(chooser.presetName, QString("file1"));
        QCOMPARE(chooser.lastTypes.size(), 4);
        QCOMPARE(chooser.lastTypes[2].name, QString("网页文件"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{written});
        QCOMPARE(messages->texts(), QStringList{"文件导出成功!"});
    }

    void exportWritesWhatTheGridShows()
    {
        QTemporaryDir dir;
        ScriptedFileChooser chooser;
        auto w = openWindow();
        DataGrid* grid = w->grid();
        PickList types;
        Dataset codes(&program->connection());
        FillColumnPickList(types, codes, "select AC01, AC01NAME from Q_AC01 order by AC01");
        grid->setPickList("AC01", types);
        for (const QString& field : grid->visibleColumnsInOrder())
            grid->setColumnVisible(field, field == "AS01" || field == "AC01");
        grid->setColumnTitle("AC01", "客户类型");
        chooser.answerSave(dir.filePath("c.xls"), 1);
        w->action("actExport")->trigger();
        const XlsTable table = ReadFirstWorksheet(dir.filePath("c.xls"));
        QCOMPARE(table.columns, (QStringList{"客户编号", "客户类型"}));
        QCOMPARE(table.rows.size(), 40);
        const QString firstType = program->scalar("select b.AC01NAME from Q_A a, Q_AC01 b where a.AC01=b.AC01 and "
                                                  "a.AS01='" + table.rows[0][0] + "'");
        QCOMPARE(table.rows[0][1], firstType);

        // A detail grid: its own initial name and message; a cancelled dialog writes nothing.
        chooser.answerSave(dir.filePath("p.txt"), 4);
        w->action("actExport2")->trigger();
        QCOMPARE(chooser.presetName, QString("联系人记录"));
        QCOMPARE(chooser.presetType, 1);
        QVERIFY(QFile::exists(dir.filePath("p.txt")));
        w->action("actExport3")->trigger();
        QCOMPARE(chooser.presetName, QString("联系记录"));
        QCOMPARE(chooser.presetType, 4);  // the type chosen last
        QCOMPARE(messages->texts(), (QStringList{"文件导出成功!", "联系人记录导出成功!"}));
    }

    void exportToAnUnwritablePlaceShowsTheError()
    {
        QTemporaryDir dir;
        ScriptedFileChooser chooser;
        auto w = openWindow();
        chooser.answerSave(dir.filePath("missing/a"), 4);
        w->action("actExport")->trigger();
        QCOMPARE(messages->messages().size(), 1);
        QCOMPARE(messages->messages().first().icon, MessageIcon::Error);
        QVERIFY(!messages->texts().contains("文件导出成功!"));
    }

    void settingsSurviveARestart()
    {
        {
            auto w = openWindow();
            w->grid()->setColumnWidth("AS02", 222);
            w->findChild<QSplitter*>("splTree")->setSizes({180, 700});
            w->action("actQuery")->setChecked(false);
            w->action("actSetDoQuery")->setChecked(false);
            w->pages()->grid(1)->setColumnWidth("BS01", 150);
            w->hide();
        }
        {
            auto w = openWindow();
            QCOMPARE(w->grid()->columnWidth("AS02"), 222);
            QCOMPARE(w->findChild<QSplitter*>("splTree")->sizes().first(), 180);
            QVERIFY(!w->action("actQuery")->isChecked());
            QVERIFY(!w->findChild<QWidget*>("pnlQuery")->isVisible());
            QVERIFY(!w->action("actSetDoQuery")->isChecked());
            QVERIFY(!w->Qry1().isOpen());  // not queried on opening
            QCOMPARE(w->pages()->grid(1)->columnWidth("BS01"), 150);
            w->action("actSetDisplayTree")->setChecked(false);
            w->hide();
        }
        {
            auto w = openWindow();
            QVERIFY(!w->findChild<QWidget*>("pnlTree")->isVisible());
            w->hide();
        }
        QVERIFY(QFile::remove(program->dataModule().settingsFile()));
        auto w = openWindow();
        QVERIFY(w->action("actQuery")->isChecked());
        QVERIFY(w->action("actSetDisplayTree")->isChecked());
        QVERIFY(w->Qry1().isOpen());
        QVERIFY(w->grid()->columnWidth("AS02") != 222);
    }

    void damagedSettingsFileGivesDefaults()
    {
        QFile settings(program->dataModule().settingsFile());
        QVERIFY(settings.open(QIODevice::WriteOnly));
        settings.write("[Tfrm_Q_A_main\nquery=maybe\ndbgrid1=@@@not base64@@@\ntreeWidth=wide\n\xff\xfe");
        settings.close();
        auto w = openWindow();
        QVERIFY(w->action("actQuery")->isChecked());
        QCOMPARE(w->Qry1().rowCount(), 40);
    }

    void gridsFollowTheFieldDictionary()
    {
        auto w = openWindow();
        DataGrid* grid = w->grid();
        QCOMPARE(grid->columnTitle("AS02"), QString("客户名称"));
        QCOMPARE(w->pages()->grid(2)->columnTitle("CD01"), QString("联系日期"));
        QVERIFY(grid->isColumnVisible("AS02"));
        QVERIFY(!grid->isColumnVisible("AS12"));  // not in use
        QVERIFY(!grid->isColumnVisible("AIID"));
        QVERIFY(!w->pages()->grid(1)->isColumnVisible("AIID"));

        // Shown by the user, hidden again at the next show because the dictionary says so.
        grid->setColumnVisible("AS12", true);
        program->exec("update S_FIELD set SFIELDNAME1='公司名称' where STABLE='Q_A' and SFIELD='AS02'");
        program->exec("update S_FIELD set IDISPLAY=0 where STABLE='Q_A' and SFIELD='AS03'");
        program->dataModule().LoadFieldCaptions('A');
        w->hide();
        w->show();
        QVERIFY(!grid->isColumnVisible("AS12"));
        QVERIFY(!grid->isColumnVisible("AS03"));
        QCOMPARE(grid->columnTitle("AS02"), QString("客户名称"));  // captions wait for ReloadConfiguration
        w->ReloadConfiguration();
        QCOMPARE(grid->columnTitle("AS02"), QString("公司名称"));
    }

    void codedColumnsShowNames()
    {
        auto w = openWindow();
        Dataset& customers = w->Qry1();
        const int page = 1;
        Dataset& persons = w->pages()->query(page);
        for (customers.first(); !customers.eof() && persons.isEmpty(); customers.next()) {
        }
        QVERIFY(!persons.isEmpty());
        const QString code = persons.asString("BC01");
        const QString name = program->scalar("select BC01NAME from Q_BC01 where BC01=" + code);
        QCOMPARE(w->pages()->grid(page)->cellText(0, "BC01"), name);
    }

    void sortOrderChangeReRunsTheQuery()
    {
        auto w = openWindow();
        program->exec("update S_ORDER set SFIELD='AS01', STYPE='DESC' where STABLE='Q_A' and INO=1");
        QSignalSpy opened(&w->Qry1(), &Dataset::afterOpen);
        w->action("actSetOrder")->trigger();
        QCOMPARE(opened.count(), 1);
        QCOMPARE(program->dataModule().sortClause("Q_A"), QString(" order by AS01 DESC"));
        QStringList codes = columnValues(w->Qry1(), "AS01");
        QStringList descending = codes;
        std::sort(descending.begin(), descending.end(), std::greater<>());
        QCOMPARE(codes, descending);
    }

    void currentRowIsPaintedInTheSelectedColour()
    {
        auto w = openWindow();
        w->resize(1000, 700);
        QApplication::processEvents();
        DataGrid* grid = w->grid();
        const QRect cell = grid->visualRect(grid->model()->index(0, grid->dataset()->fieldIndex("AS01")));
        const QImage image = grid->viewport()->grab().toImage();
        QCOMPARE(image.pixelColor(cell.left() + 2, cell.center().y()), QColor(0, 0, 128));
    }

    void queryPanelConditions()
    {
        auto w = openWindow();
        const QString base = "select *\nfrom Q_A a where 1=1\n";
        QCOMPARE(w->Qry1().sql(), base + " order by AS01 ");
        auto* name = w->findChild<QLineEdit*>("dbedAS02");
        name->setText(" 科技 ");
        w->findChild<MappedComboBox*>("dbcbAC01")->setValue("3");
        w->action("actDoQuery")->trigger();
        QCOMPARE(w->Qry1().sql(), base + " and AS02 like '%科技%' and AC01=3 order by AS01 ");
        QCOMPARE(w->lastCondition(), QString(" and AS02 like '%科技%' and AC01=3"));
        QCOMPARE(QString::number(w->Qry1().rowCount()),
                 program->scalar("select count(*) from Q_A where AS02 like '%科技%' and AC01=3"));

        // Letters in a number box: a clear message and no query.
        w->findChild<QLineEdit*>("dbedAI01")->setText("12a");
        QSignalSpy opened(&w->Qry1(), &Dataset::afterOpen);
        w->action("actDoQuery")->trigger();
        QCOMPARE(opened.count(), 0);
        QCOMPARE(messages->messages().size(), 1);
        QCOMPARE(messages->messages().first().title, QString("警告"));
        QVERIFY(messages->texts().first().contains("员工人数"));

        // "清除条件" empties the panel, hidden inputs included, and does not query.
        w->action("actClearQuery")->trigger();
        QCOMPARE(opened.count(), 0);
        QVERIFY(name->text().isEmpty());
        QVERIFY(w->findChild<QLineEdit*>("dbedAI01")->text().isEmpty());
        QCOMPARE(w->findChild<MappedComboBox*>("dbcbAC01")->value(), QString());
        w->action("actDoQuery")->trigger();
        QCOMPARE(w->Qry1().rowCount(), 40);
    }

    void panelForms()
    {
        auto w = openWindow();
        auto* band = w->findChild<QWidget*>("pnlQuery");
        QCOMPARE(band->height(), 53);  // six fields of a new database: two rows
        QCOMPARE(w->findChild<QPushButton*>("btnDoQuery")->text(), QString("执行查询"));
        for (int ino = 7; ino <= 9; ++ino)
            program->exec(QString("insert into S_QUERY(STABLE,INO,SFIELD) values('Q_A',%1,'AS0%1')").arg(ino));
        w->LayoutQueryPanel();
        QCOMPARE(band->height(), 76);
        program->exec("delete from S_QUERY where STABLE='Q_A' and INO>1");
        w->LayoutQueryPanel();
        QCOMPARE(band->height(), 30);
        QCOMPARE(w->findChild<QPushButton*>("btnDoQuery")->text(), QString("查询"));
        QCOMPARE(w->findChild<QPushButton*>("btnClearQuery")->text(), QString("清除"));
        QVERIFY(w->findChild<QWidget*>("dbedAS01")->isVisible());
        QVERIFY(!w->findChild<QWidget*>("dbedAS02")->isVisible());
    }

    void customerGridShowsCodeNames()
    {
        auto w = openWindow();
        const QString code = w->Qry1().asString("AC01");
        QCOMPARE(w->grid()->cellText(0, "AC01"), program->scalar("select AC01NAME from Q_AC01 where AC01=" + code));
    }

    void treeClickQueriesTheNodeAlone()
    {
        program->exec("update S_TREE set SFIELD='AC01' where STABLE='Q_A' and INO=1");
        program->exec("update S_TREE set SFIELD='AS03' where STABLE='Q_A' and INO=2");
        program->exec("update S_TREE set SFIELD='' where STABLE='Q_A' and INO=3");
        program->dataModule().loadTreeLevels();
        auto w = openWindow();
        auto* tree = w->findChild<QTreeWidget*>("tv1");
        QVERIFY(tree->topLevelItemCount() > 0);
        QTreeWidgetItem* top = tree->topLevelItem(0);
        QCOMPARE(top->text(0), program->scalar("select b.AC01NAME from Q_A a, Q_AC01 b where a.AC01=b.AC01 order by a.AC01"));
        top->setExpanded(true);
        QVERIFY(top->childCount() > 0);
        QTreeWidgetItem* child = top->child(0);
        w->findChild<QLineEdit*>("dbedAS02")->setText("之前输入的");
        tree->setCurrentItem(child);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(child).center());
        const QString code = program->scalar("select min(AC01) from Q_A where AC01 in(select AC01 from Q_AC01)");
        QCOMPARE(w->lastCondition(), " and AS03 like '%" + child->text(0) + "%' and AC01=" + code);
        QVERIFY(w->findChild<QLineEdit*>("dbedAS02")->text().isEmpty());
        QVERIFY(w->Qry1().rowCount() >= 1);
    }

    void escapeAndEnterDoNotCloseOrClear()
    {
        auto w = openWindow();
        QApplication::setActiveWindow(w.get());
        auto* name = w->findChild<QLineEdit*>("dbedAS01");
        name->setFocus();
        QTest::keyClicks(name, "KH");
        QTest::keyClick(name, Qt::Key_Return);
        QTest::keyClick(name, Qt::Key_Escape);
        QVERIFY(w->isVisible());
        QCOMPARE(name->text(), QString("KH"));
    }

    void closeAsksFirst()
    {
        auto w = openWindow();
        messages->answerNext(false);
        w->action("actClose")->trigger();
        QCOMPARE(messages->texts(), QStringList{"确认要退出系统吗?"});
        QVERIFY(w->isVisible());

        // OK closes the window, which ends the program, and its settings are written.
        QSignalSpy finished(w.get(), &QDialog::finished);
        w->action("actQuery")->setChecked(false);
        messages->answerNext(true);
        w->action("actClose")->trigger();
        QVERIFY(!w->isVisible());
        QCOMPARE(finished.count(), 1);
        auto again = openWindow();
        QVERIFY(!again->action("actQuery")->isChecked());
    }

    void noShortcutsForCustomerActions()
    {
        auto w = openWindow();
        for (const char* name : {"actAdd", "actEdit", "actDel", "actPrint"})
            QVERIFY(w->action(name)->shortcut().isEmpty());
        QCOMPARE(w->action("actDoQuery")->shortcut(), QKeySequence("Ctrl+F"));
        QCOMPARE(w->action("actHelpF1")->shortcut(), QKeySequence(Qt::Key_F1));
        QCOMPARE(w->action("actAdd")->text(), QString("客户记录增加"));
        QCOMPARE(w->action("actSetOrder4")->text(), QString("设置服务记录表格排序方式"));
        QCOMPARE(w->action("actSetField2")->text(), QString("设置联系人记录字段"));
        QCOMPARE(w->action("actExport5")->text(), QString("其它记录表格导出"));
        QCOMPARE(w->action("actAdd")->statusTip(), QString("新增一条数据记录（快捷键：Ctrl+N）"));
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
