#include "DatabaseFixture.h"
#include "MessageRecorder.h"
#include "ProgramFixture.h"
#include "core/Dataset.h"
#include "widgets/DataGrid.h"
#include "widgets/GridDelegate.h"
#include "widgets/GridFooter.h"
#include "widgets/ListFillers.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <memory>
#include <numeric>

namespace {
// Four customers in key order; AC01 9 has no code-list item, AI02 holds flags 1, 0, 2 and NULL.
const QString customers = QStringLiteral("select AIID, AS01, AS02, AC01, AI01, AF01, AI02, AD01 from Q_A order by AIID");

QStringList column(const DataGrid& grid, const QString& field)
{
    QStringList texts;
    for (int row = 0; row < grid.dataset()->rowCount(); ++row)
        texts << grid.cellText(row, field);
    return texts;
}

QModelIndex cell(const DataGrid& grid, int row, const QString& field)
{
    return grid.model()->index(row, grid.dataset()->fieldIndex(field));
}

void clickTitle(DataGrid& grid, const QString& field)
{
    QHeaderView* header = grid.horizontalHeader();
    const int section = grid.dataset()->fieldIndex(field);
    const QPoint at(header->sectionViewportPosition(section) + header->sectionSize(section) / 2, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
}

void clickCell(DataGrid& grid, int row, const QString& field)
{
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.visualRect(cell(grid, row, field)).center());
}

void show(DataGrid& grid)
{
    grid.resize(700, 300);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
}

// Pixels of each line of the rectangle that differ from the background.
QList<int> inkPerLine(const QImage& image, const QRect& rect, QRgb background)
{
    QList<int> lines;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        int ink = 0;
        for (int x = rect.left(); x <= rect.right(); ++x)
            ink += image.pixel(x, y) != background;
        lines << ink;
    }
    return lines;
}
}

class DataGridTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramFixture> program;
    std::unique_ptr<MessageRecorder> messages;

    std::unique_ptr<Dataset> openDataset(const QString& sql)
    {
        auto dataset = std::make_unique<Dataset>(&program->connection());
        dataset->setSql(sql);
        dataset->open();
        return dataset;
    }

private slots:
    void init()
    {
        program = std::make_unique<ProgramFixture>();
        messages = std::make_unique<MessageRecorder>();
        program->exec("insert into Q_A(AS01,AS02,AC01,AI01,AF01,AI02,AD01) values('K1','甲',1,10,100.5,1,45356)");
        program->exec("insert into Q_A(AS01,AS02,AC01,AI01,AF01,AI02,AD01) values('K2','乙',2,20,200.25,0,45357)");
        program->exec("insert into Q_A(AS01,AS02,AC01,AI01,AF01,AI02,AD01) values('K3','丙',9,null,null,2,null)");
        program->exec("insert into Q_A(AS01,AS02,AC01,AI01,AF01,AI02,AD01) values('K4','丁',3,-5,0.1,null,45358)");
    }

    void cleanup()
    {
        messages.reset();
        program.reset();
    }

    // ---- columns and their saved state ----

    void stateRestoresIntoOtherFieldOrder()
    {
        auto first = openDataset("select AIID, AS01, AS02, AI01 from Q_A");
        DataGrid saved;
        saved.setDataset(first.get());
        saved.setColumnTitle("as01", "编号");
        saved.setColumnWidth("AS02", 150);
        saved.setColumnVisible("AI01", false);
        saved.moveColumn("AS02", 0);
        QCOMPARE(saved.visibleColumnsInOrder(), QStringList({"AS02", "AIID", "AS01"}));
        const QByteArray state = saved.saveState();

        auto reordered = openDataset("select AI01, AS01, AIID, AS02 from Q_A");
        DataGrid restored;
        restored.setDataset(reordered.get());
        QVERIFY(restored.restoreState(state));
        QCOMPARE(restored.visibleColumnsInOrder(), QStringList({"AS02", "AIID", "AS01"}));
        QCOMPARE(restored.columnTitle("AS01"), QString("编号"));
        QCOMPARE(restored.model()->headerData(1, Qt::Horizontal).toString(), QString("编号"));
        QCOMPARE(restored.columnWidth("as02"), 150);
        QVERIFY(!restored.isColumnVisible("AI01"));

        // A state restored before the dataset opens applies when it does.
        auto later = openDataset("select AS02, AI01, AS01, AIID from Q_A");
        later->close();
        DataGrid early;
        early.setDataset(later.get());
        QVERIFY(early.restoreState(state));
        later->open();
        QCOMPARE(early.visibleColumnsInOrder(), QStringList({"AS02", "AIID", "AS01"}));
        QCOMPARE(early.columnWidth("AS02"), 150);
    }

    void damagedStateIsIgnored_data()
    {
        QTest::addColumn<QByteArray>("state");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("empty") << QByteArray() << false;
        QTest::newRow("not json") << QByteArray("\x01\x02garbage{") << false;
        QTest::newRow("cut short") << QByteArray("{\"gridColumns\":[{\"field\":\"AS01\",\"wid") << false;
        QTest::newRow("array") << QByteArray("[1,2,3]") << false;
        QTest::newRow("no columns") << QByteArray("{\"other\":[]}") << false;
        QTest::newRow("columns not a list") << QByteArray("{\"gridColumns\":5}") << false;
        QTest::newRow("entries of wrong types")
            << QByteArray("{\"gridColumns\":[1,\"AS01\",null,{\"field\":\"\"},{\"field\":7},"
                          "{\"field\":\"AS01\",\"width\":-4,\"visible\":\"no\",\"position\":\"x\",\"title\":3},"
                          "{\"field\":\"AS02\",\"width\":1e12,\"position\":-2}]}")
            << true;
    }

    void damagedStateIsIgnored()
    {
        QFETCH(QByteArray, state);
        QFETCH(bool, accepted);
        auto data = openDataset("select AIID, AS01, AS02 from Q_A");
        DataGrid grid;
        grid.setDataset(data.get());
        grid.setColumnWidth("AS01", 90);
        grid.moveColumn("AS02", 0);
        const QByteArray before = grid.saveState();

        QCOMPARE(grid.restoreState(state), accepted);
        QCOMPARE(grid.saveState(), before);
        QCOMPARE(grid.visibleColumnsInOrder(), QStringList({"AS02", "AIID", "AS01"}));
        QCOMPARE(grid.columnTitle("AS01"), QString("AS01"));
    }

    void reopeningKeepsOrRebuildsColumns()
    {
        auto data = openDataset("select AIID, AS01, AS02 from Q_A");
        DataGrid grid;
        grid.setDataset(data.get());
        grid.setColumnWidth("AS01", 120);
        grid.moveColumn("AIID", 2);
        QCOMPARE(grid.visibleColumnsInOrder(), QStringList({"AS01", "AS02", "AIID"}));

        data->open();
        QCOMPARE(grid.visibleColumnsInOrder(), QStringList({"AS01", "AS02", "AIID"}));
        QCOMPARE(grid.columnWidth("AS01"), 120);

        data->setSql("select AF01, AS02 from Q_A");
        data->open();
        QCOMPARE(grid.model()->columnCount(), 2);
        QCOMPARE(grid.visibleColumnsInOrder(), QStringList({"AF01", "AS02"}));
        QCOMPARE(grid.columnWidth("AF01"), grid.horizontalHeader()->defaultSectionSize());

        data->setSql("select AIID, AS01, AS02 from Q_A");
        data->open();
        QCOMPARE(grid.visibleColumnsInOrder(), QStringList({"AS01", "AS02", "AIID"}));
        QCOMPARE(grid.columnWidth("AS01"), 120);

        // A dataset that goes away leaves an empty grid behind.
        show(grid);
        data.reset();
        QCOMPARE(grid.model()->rowCount(), 0);
        QCOMPARE(grid.model()->columnCount(), 0);
        QVERIFY(!grid.grab().isNull());
    }

    // ---- sort markers ----

    void titleClicksCycleTheSort()
    {
        auto data = openDataset(customers);
        DataGrid grid;
        grid.setDataset(data.get());
        show(grid);
        QSignalSpy clicked(&grid, &DataGrid::titleClicked);
        data->moveTo(1);

        clickTitle(grid, "AI01");
        QCOMPARE(grid.sortMarker("AI01"), SortMarker::Descending);
        QCOMPARE(column(grid, "AS01"), QStringList({"K2", "K1", "K4", "K3"}));
        // The current record stays current, in the grid too.
        QCOMPARE(data->asString("AS01"), QString("K2"));
        QCOMPARE(grid.currentIndex().row(), data->currentRow());

        clickTitle(grid, "AS01");
        QCOMPARE(grid.sortMarker("AS01"), SortMarker::Descending);
        QCOMPARE(grid.sortMarker("AI01"), SortMarker::Descending);
        QCOMPARE(column(grid, "AS01"), QStringList({"K4", "K3", "K2", "K1"}));

        clickTitle(grid, "AI01");
        QCOMPARE(grid.sortMarker("AI01"), SortMarker::Ascending);
        QCOMPARE(grid.sortMarker("AS01"), SortMarker::Descending);
        QCOMPARE(column(grid, "AS01"), QStringList({"K3", "K4", "K1", "K2"}));

        clickTitle(grid, "AI01");
        QCOMPARE(grid.sortMarker("AI01"), SortMarker::None);
        QCOMPARE(grid.sortMarker("AS01"), SortMarker::Descending);
        QVERIFY(!data->isSorted());
        QCOMPARE(column(grid, "AS01"), QStringList({"K1", "K2", "K3", "K4"}));
        QCOMPARE(grid.currentIndex().row(), 1);

        QCOMPARE(clicked.size(), 4);
        QCOMPARE(clicked.last().at(0).toString(), QString("AI01"));

        data->open();
        QCOMPARE(grid.sortMarker("AS01"), SortMarker::None);
    }

    void titleClicksThatDoNotSort_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<bool>("sorting");
        QTest::newRow("empty dataset") << "select AS01, AI01 from Q_A where 1<>1" << true;
        QTest::newRow("sorting switched off") << "select AS01, AI01 from Q_A order by AIID" << false;
    }

    void titleClicksThatDoNotSort()
    {
        QFETCH(QString, sql);
        QFETCH(bool, sorting);
        auto data = openDataset(sql);
        const QString before = DumpDataset(*data);
        DataGrid grid;
        grid.setDataset(data.get());
        grid.setTitleClickSorting(sorting);
        show(grid);
        QSignalSpy clicked(&grid, &DataGrid::titleClicked);

        clickTitle(grid, "AI01");
        clickTitle(grid, "AI01");
        QCOMPARE(grid.sortMarker("AI01"), SortMarker::None);
        QVERIFY(!data->isSorted());
        QCOMPARE(DumpDataset(*data), before);
        QCOMPARE(clicked.size(), 2);
        QVERIFY(messages->messages().isEmpty());
    }

    void markersAreDrawnOnEveryMarkedTitle()
    {
        auto data = openDataset("select AS01, AI01, AS02 from Q_A");
        DataGrid grid;
        grid.setDataset(data.get());
        const QColor fixed(200, 220, 240);
        grid.setFixedColor(fixed);
        show(grid);
        clickTitle(grid, "AS01");
        clickTitle(grid, "AI01");
        clickTitle(grid, "AI01");

        auto* header = static_cast<GridHeader*>(grid.horizontalHeader());
        const QImage image = header->viewport()->grab().toImage();
        const QList<int> descending = inkPerLine(image, header->markerRect(0), fixed.rgb());
        const QList<int> ascending = inkPerLine(image, header->markerRect(1), fixed.rgb());
        const QList<int> none = inkPerLine(image, header->markerRect(2), fixed.rgb());
        QVERIFY(descending.first() > descending.last());
        QVERIFY(ascending.first() < ascending.last());
        QCOMPARE(std::accumulate(none.begin(), none.end(), 0), 0);
    }

    // ---- pick lists and check boxes ----

    void pickListShowsItemsOfKeys()
    {
        auto data = openDataset(customers);
        DataGrid grid;
        PickList kinds;
        Dataset codes(&program->connection());
        FillColumnPickList(kinds, codes, "select AC01, AC01NAME from Q_AC01");
        grid.setPickList("ac01", kinds);
        grid.setDataset(data.get());

        QCOMPARE(column(grid, "AC01"), QStringList({"潜在客户", "意向客户", "9", "成交客户"}));
        QCOMPARE(grid.model()->data(cell(grid, 1, "AC01")).toString(), QString("意向客户"));
        QCOMPARE(column(grid, "AD01"), QStringList({"2024-03-05", "2024-03-06", "", "2024-03-07"}));
        QCOMPARE(grid.cellText(0, "NOSUCH"), QString());

        grid.setPickList("AC01", PickList());
        QCOMPARE(column(grid, "AC01"), QStringList({"1", "2", "9", "3"}));
    }

    void pickListEditsStoreTheKey()
    {
        auto data = openDataset(customers);
        DataGrid grid;
        PickList kinds{{"1", "2", "3"}, {"潜在客户", "意向客户", "成交客户"}};
        grid.setPickList("AC01", kinds);
        grid.setDataset(data.get());
        grid.setEditable(true);
        show(grid);

        const QModelIndex index = cell(grid, 0, "AC01");
        grid.setCurrentIndex(index);
        grid.edit(index);
        auto* combo = qobject_cast<QComboBox*>(grid.indexWidget(index));
        QVERIFY(combo);
        QCOMPARE(combo->count(), 3);
        QCOMPARE(combo->currentText(), QString("潜在客户"));
        QTest::keyClick(combo, Qt::Key_Down);
        QCOMPARE(data->state(), Dataset::State::Edit);
        QCOMPARE(data->asString("AC01"), QString("2"));
        QCOMPARE(grid.cellText(0, "AC01"), QString("意向客户"));

        QTest::keyClick(&grid, Qt::Key_Down);
        QCOMPARE(data->state(), Dataset::State::Browse);
        QCOMPARE(program->scalar("select AC01 from Q_A where AS01='K1'"), QString("2"));
    }

    void checkBoxesShowAndToggleFlags()
    {
        auto data = openDataset(customers);
        DataGrid grid;
        grid.setCheckBoxColumn("AI02", true);
        grid.setDataset(data.get());
        QList<int> states;
        for (int row = 0; row < 4; ++row)
            states << grid.model()->data(cell(grid, row, "AI02"), Qt::CheckStateRole).toInt();
        QCOMPARE(states, QList<int>({Qt::Checked, Qt::Unchecked, Qt::Unchecked, Qt::Unchecked}));
        QCOMPARE(grid.model()->data(cell(grid, 0, "AI02")), QVariant());
        QCOMPARE(grid.cellText(0, "AI02"), QString("1"));

        // Read-only: the space key leaves the flag alone.
        show(grid);
        grid.setCurrentIndex(cell(grid, 0, "AI02"));
        QTest::keyClick(&grid, Qt::Key_Space);
        QCOMPARE(data->state(), Dataset::State::Browse);

        // Editable: 1 becomes 0, anything else 1; moving on posts.
        grid.setEditable(true);
        for (int row = 0; row < 4; ++row) {
            grid.setCurrentIndex(cell(grid, row, "AI02"));
            QTest::keyClick(&grid, Qt::Key_Space);
            QCOMPARE(data->state(), Dataset::State::Edit);
        }
        data->first();
        QCOMPARE(program->scalar("select group_concat(coalesce(AI02,'null')) from (select AI02 from Q_A order by AIID)"),
                 QString("0,1,1,1"));

        // A click on the check of another row moves there and toggles it.
        QStyleOptionViewItem option;
        option.initFrom(grid.viewport());
        option.rect = grid.visualRect(cell(grid, 2, "AI02"));
        option.widget = &grid;
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, GridDelegate::checkRect(option).center());
        QCOMPARE(data->currentRow(), 2);
        QCOMPARE(data->asString("AI02"), QString("0"));
        data->post();
        QCOMPARE(program->scalar("select AI02 from Q_A where AS01='K3'"), QString("0"));
    }

    // ---- editing ----

    void editableCells_data()
    {
        QTest::addColumn<bool>("editable");
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("field");
        QTest::addColumn<bool>("checkBox");
        QTest::addColumn<bool>("canEdit");
        QTest::addColumn<bool>("canCheck");
        QTest::newRow("read-only grid") << false << customers << "AS02" << false << false << false;
        QTest::newRow("read-only check box") << false << customers << "AI02" << true << false << false;
        QTest::newRow("editable text") << true << customers << "AS02" << false << true << false;
        QTest::newRow("editable check box") << true << customers << "AI02" << true << false << true;
        QTest::newRow("computed column") << true << "select AIID, AS01, AI01+1 as X from Q_A" << "X" << false << false
                                         << false;
        QTest::newRow("joined tables") << true << "select a.AIID, a.AS01, b.BS01 from Q_A a, Q_B b where a.AIID=b.AIID"
                                       << "AS01" << false << false << false;
    }

    void editableCells()
    {
        QFETCH(bool, editable);
        QFETCH(QString, sql);
        QFETCH(QString, field);
        QFETCH(bool, checkBox);
        QFETCH(bool, canEdit);
        QFETCH(bool, canCheck);
        program->exec("insert into Q_B(AIID,BS01) values(1,'张三')");
        auto data = openDataset(sql);
        DataGrid grid;
        grid.setDataset(data.get());
        grid.setEditable(editable);
        grid.setCheckBoxColumn(field, checkBox);
        const Qt::ItemFlags flags = grid.model()->flags(cell(grid, 0, field));
        QCOMPARE(bool(flags & Qt::ItemIsEditable), canEdit);
        QCOMPARE(bool(flags & Qt::ItemIsUserCheckable), canCheck);
        QVERIFY(flags & Qt::ItemIsSelectable);

        // Typing into the cell opens an editor only where the cell can be edited.
        show(grid);
        const QModelIndex index = cell(grid, 0, field);
        grid.setCurrentIndex(index);
        QTest::keyClick(&grid, Qt::Key_Z);
        QCOMPARE(qobject_cast<QLineEdit*>(grid.indexWidget(index)) != nullptr, canEdit);
        QVERIFY(messages->messages().isEmpty());
    }

    void editingPostsWhenLeavingTheRow()
    {
        auto data = openDataset(customers);
        DataGrid grid;
        grid.setDataset(data.get());
        grid.setEditable(true);
        show(grid);

        const QModelIndex index = cell(grid, 1, "AS02");
        grid.setCurrentIndex(index);
        grid.edit(index);
        auto* editor = qobject_cast<QLineEdit*>(grid.indexWidget(index));
        QVERIFY(editor);
        QCOMPARE(editor->text(), QString("乙"));
        editor->setText("乙公司");
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(data->state(), Dataset::State::Edit);
        QCOMPARE(data->asString("AS02"), QString("乙公司"));
        QCOMPARE(program->scalar("select AS02 from Q_A where AS01='K2'"), QString("乙"));

        clickCell(grid, 3, "AS01");
        QCOMPARE(data->state(), Dataset::State::Browse);
        QCOMPARE(data->currentRow(), 3);
        QCOMPARE(program->scalar("select AS02 from Q_A where AS01='K2'"), QString("乙公司"));
        QVERIFY(messages->messages().isEmpty());
    }

    void refusedPostShowsOneErrorAndKeepsEditing()
    {
        auto data = openDataset(customers);
        DataGrid grid;
        grid.setDataset(data.get());
        grid.setEditable(true);
        show(grid);

        const QModelIndex index = cell(grid, 0, "AI01");
        grid.setCurrentIndex(index);
        QVERIFY(grid.model()->setData(index, "abc"));
        QCOMPARE(data->state(), Dataset::State::Edit);

        QTest::keyClick(&grid, Qt::Key_Down);
        QCOMPARE(messages->messages().size(), 1);
        QCOMPARE(messages->messages().first().icon, MessageIcon::Error);
        QCOMPARE(data->state(), Dataset::State::Edit);
        QCOMPARE(data->currentRow(), 0);
        QCOMPARE(grid.currentIndex().row(), 0);

        // A click on another row is refused the same way; the selection stays on the edited row.
        clickCell(grid, 2, "AS01");
        QCOMPARE(messages->messages().size(), 2);
        QCoreApplication::processEvents();
        QCOMPARE(grid.currentIndex().row(), 0);
        QCOMPARE(grid.selectionModel()->selectedRows().size(), 1);
        QCOMPARE(grid.selectionModel()->selectedRows().first().row(), 0);
        QCOMPARE(data->state(), Dataset::State::Edit);
        QCOMPARE(program->scalar("select AI01 from Q_A where AS01='K1'"), QString("10"));

        // Sorting posts first, so a title click is refused too and leaves the marker alone.
        clickTitle(grid, "AS01");
        QCOMPARE(messages->messages().size(), 3);
        QCOMPARE(grid.sortMarker("AS01"), SortMarker::None);
        QCOMPARE(data->state(), Dataset::State::Edit);

        // A cell of a row the dataset is not on is not edited.
        QVERIFY(!grid.model()->setData(cell(grid, 2, "AI01"), "7"));
        data->cancel();
        QCOMPARE(data->asString("AI01"), QString("10"));
    }

    // ---- footer ----

    void footerSums_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<QString>("expected");
        QTest::newRow("integers") << "AI01" << QStringList({"10", "20", "null", "-5"}) << "25";
        QTest::newRow("no rows") << "AI01" << QStringList() << "0";
        QTest::newRow("decimals") << "AF01" << QStringList({"100.5", "200.25", "null", "0.1"}) << "300.85";
        QTest::newRow("decimals adding up to a whole number") << "AF01" << QStringList({"1.5", "2.5"}) << "4";
        QTest::newRow("rounded to two decimals") << "AF01" << QStringList({"0.125", "0.001"}) << "0.13";
        QTest::newRow("cancelling out") << "AF01" << QStringList({"-1.5", "1.5"}) << "0";
        QTest::newRow("large whole numbers") << "AI01" << QStringList({"2000000000", "2000000000"}) << "4000000000";
    }

    void footerSums()
    {
        QFETCH(QString, field);
        QFETCH(QStringList, values);
        QFETCH(QString, expected);
        program->exec("delete from Q_A");
        for (const QString& value : values)
            program->exec(QString("insert into Q_A(AS01,%1) values('K',%2)").arg(field, value));
        auto data = openDataset(customers);
        DataGrid grid;
        grid.setFooterSumFields({field});
        grid.setDataset(data.get());
        QCOMPARE(grid.footerText(field), expected);
        QCOMPARE(grid.footerText("AS01"), QString());
    }

    void footerFollowsRowChanges()
    {
        auto data = openDataset(customers);
        DataGrid grid;
        grid.setDataset(data.get());
        grid.setFooterSumFields({"AI01", "AF01"});
        grid.setFooterVisible(true);
        show(grid);
        QCOMPARE(grid.footerText("AI01"), QString("25"));

        data->edit();
        data->setValue("AI01", 100);
        QCOMPARE(grid.footerText("AI01"), QString("115"));
        data->post();
        QCOMPARE(grid.footerText("AI01"), QString("115"));

        data->append();
        data->setValue("AF01", "0.004");
        data->post();
        QCOMPARE(grid.footerText("AF01"), QString("300.85"));
        data->deleteCurrent();
        data->first();
        data->deleteCurrent();
        QCOMPARE(grid.footerText("AI01"), QString("15"));
        QCOMPARE(grid.footerText("AF01"), QString("200.35"));

        program->exec("update Q_A set AI01=1");
        data->open();
        QCOMPARE(grid.footerText("AI01"), QString("3"));
    }

    void footerSitsUnderTheRows()
    {
        program->exec("with recursive n(i) as (select 1 union all select i+1 from n where i<60) "
                      "insert into Q_A(AS01, AI01) select 'N'||i, i from n");
        auto data = openDataset(customers);
        DataGrid grid;
        grid.setDataset(data.get());
        grid.setFooterSumFields({"AI01"});
        grid.setRowNumbersVisible(true);
        grid.setFooterVisible(true);
        show(grid);

        auto* footer = grid.findChild<GridFooter*>();
        QVERIFY(footer && footer->isVisible());
        const QRect rows = grid.viewport()->geometry();
        QCOMPARE(footer->geometry().top(), rows.bottom() + 1);
        QCOMPARE(footer->geometry().right(), rows.right());
        QCOMPARE(footer->geometry().left(), grid.verticalHeader()->geometry().left());

        grid.scrollToBottom();
        const QModelIndex last = cell(grid, data->rowCount() - 1, "AS01");
        QVERIFY(grid.viewport()->rect().contains(grid.visualRect(last)));

        grid.setFooterVisible(false);
        QCOMPARE(grid.viewport()->geometry().bottom(), footer->geometry().bottom());
    }

    // ---- current row and colours ----

    void currentRowFollowsBothWays()
    {
        auto data = openDataset(customers);
        DataGrid grid;
        grid.setDataset(data.get());
        show(grid);
        QCOMPARE(grid.currentIndex().row(), 0);
        QSignalSpy scrolled(data.get(), &Dataset::afterScroll);

        clickCell(grid, 2, "AS02");
        QCOMPARE(data->currentRow(), 2);
        QCOMPARE(scrolled.size(), 1);

        QTest::keyClick(&grid, Qt::Key_Down);
        QCOMPARE(data->currentRow(), 3);
        QCOMPARE(scrolled.size(), 2);

        data->moveTo(1);
        QCOMPARE(grid.currentIndex().row(), 1);
        QCOMPARE(grid.selectionModel()->selectedRows().size(), 1);
        QCOMPARE(grid.selectionModel()->selectedRows().first().row(), 1);
        QCOMPARE(scrolled.size(), 3);

        data->open();
        QCOMPARE(grid.currentIndex().row(), 0);
        QCOMPARE(data->currentRow(), 0);

        // Removing rows moves the grid but never the dataset a second time.
        data->moveTo(1);
        scrolled.clear();
        data->deleteCurrent();
        QCOMPARE(scrolled.size(), 1);
        QCOMPARE(data->asString("AS01"), QString("K3"));
        QCOMPARE(grid.currentIndex().row(), 1);
        data->last();
        data->deleteCurrent();
        QCOMPARE(grid.currentIndex().row(), 1);
        QCOMPARE(data->currentRow(), 1);
    }

    void rowColours()
    {
        program->exec("update Q_A set AS03=null");
        auto data = openDataset("select AS01, AS03 from Q_A order by AIID");
        DataGrid grid;
        grid.setDataset(data.get());
        const QColor odd(250, 240, 200), even(200, 250, 210), selected(120, 20, 60);
        grid.setRowColors(odd, even);
        grid.setSelectedRowColor(selected);
        grid.setColumnWidth("AS03", 200);
        show(grid);
        data->moveTo(1);

        const QImage image = grid.viewport()->grab().toImage();
        auto background = [&](int row) {
            const QRect rect = grid.visualRect(cell(grid, row, "AS03"));
            return QColor(image.pixel(rect.center()));
        };
        QCOMPARE(background(0), odd);
        QCOMPARE(background(1), selected);
        QCOMPARE(background(2), odd);
        QCOMPARE(background(3), even);
    }

    // ---- size ----

    void hundredThousandRows()
    {
        program->exec("delete from Q_A");
        program->exec("with recursive n(i) as (select 1 union all select i+1 from n where i<100000) "
                      "insert into Q_A(AS01, AF01) select 'K'||i, i*1.5 from n");
        auto data = openDataset("select AIID, AS01, AF01 from Q_A order by AIID");
        DataGrid grid;
        grid.setDataset(data.get());
        grid.setRowNumbersVisible(true);
        grid.setFooterSumFields({"AF01"});
        grid.setFooterVisible(true);
        show(grid);
        QCOMPARE(grid.footerText("AF01"), QString("7500075000"));

        grid.scrollToBottom();
        QCoreApplication::processEvents();
        grid.setCurrentIndex(cell(grid, 99999, "AS01"));
        QCOMPARE(data->asString("AS01"), QString("K100000"));
        QCOMPARE(grid.verticalScrollBar()->value(), grid.verticalScrollBar()->maximum());
        grid.scrollToTop();
        QCoreApplication::processEvents();
        data->first();
        QCOMPARE(grid.currentIndex().row(), 0);
        QCOMPARE(grid.verticalScrollBar()->value(), 0);
    }
};

QTEST_MAIN(DataGridTest)
#include "tst_datagrid.moc"
