#include "CustomerMainWindow.h"

#include "DetailPages.h"
#include "ClassificationTree.h"
#include "GridPresentation.h"
#include "QueryCondition.h"
#include "QueryPanel.h"
#include "core/AppError.h"
#include "widgets/MappedComboBox.h"
#include "core/FieldCodes.h"
#include "core/ActionGuard.h"
#include "core/CurrentUser.h"
#include "core/DataModule.h"
#include "core/Dataset.h"
#include "core/Messages.h"
#include "core/QueryRunners.h"
#include "forms/base/WindowSettings.h"
#include "widgets/DataGrid.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// The actions of the five record tables, by number: "" for the customers, "2".."5" for B..E.
const char* const tableNames[5] = {"客户记录", "联系人记录", "联系记录", "服务记录", "其它记录"};

QString numbered(const char* name, int table)
{
    return QString::fromLatin1(name) + (table == 0 ? QString() : QString::number(table + 1));
}

struct RightRow {
    CurrentUser::Right right;
    QStringList actions;
};

QStringList numberedSet(const char* name)
{
    QStringList names;
    for (int t = 0; t < 5; ++t)
        names << numbered(name, t);
    return names;
}

}

CustomerMainWindow::CustomerMainWindow(QWidget* parent)
    : BrowseWindow(QStringLiteral("Tfrm_Q_A_main"), QStringLiteral("select *\nfrom Q_A a where 1=1\n"), parent)
{
    setModuleCaption(QStringLiteral("客户管理"));
    buildLayout();
    buildActions();
    buildToolBar();
    buildMenus();
    GridPresentation::SetUpRecordGrid(dbgrid1, QChar('A'), 30, 25);
    dbgrid1->setFooterVisible(true);
    for (int page = 1; page <= DetailPages::pageCount; ++page)
        GridPresentation::SetUpRecordGrid(pgc1->grid(page), DetailPages::tableLetter(page), 28, 20);
    ReloadConfiguration();
    LayoutQueryPanel();

    connect(&Qry1(), &Dataset::afterScroll, this, [this] { RunGuarded([this] { refreshDetails(); }); });
    connect(pgc1, &QTabWidget::currentChanged, this, [this] { RunGuarded([this] { pgc1->refreshShownPage(Qry1()); }); });
    connect(dbgrid1, &QAbstractItemView::doubleClicked, this, [this] {
        if (Qry1().isOpen() && action(QStringLiteral("actEdit"))->isEnabled())
            action(QStringLiteral("actEdit"))->trigger();
    });
    connect(pgc1->grid(1), &QAbstractItemView::doubleClicked, this, [this] {
        if (action(QStringLiteral("actEdit2"))->isEnabled())
            action(QStringLiteral("actEdit2"))->trigger();
    });
}

void CustomerMainWindow::buildLayout()
{
    panel = new QueryPanel(queryInputs, QChar('A'));
    auto* inputs = new QVBoxLayout(queryInputs);
    inputs->setContentsMargins(0, 0, 0, 0);
    inputs->addWidget(panel);

    treeSplitter = new QSplitter(Qt::Horizontal, this);
    treeSplitter->setObjectName(QStringLiteral("splTree"));
    treeSplitter->setHandleWidth(4);
    pnlTree = new QWidget(treeSplitter);
    pnlTree->setObjectName(QStringLiteral("pnlTree"));
    auto* treeLayout = new QVBoxLayout(pnlTree);
    treeLayout->setContentsMargins(0, 0, 0, 0);
    tv1 = new ClassificationTree(pnlTree);
    treeLayout->addWidget(tv1);
    connect(tv1, &ClassificationTree::nodeClicked, this,
            [this](const TreeNodeKeys& keys) { RunGuarded([this, keys] { queryTreeNode(keys); }); });

    gridSplitter = new QSplitter(Qt::Vertical, treeSplitter);
    gridSplitter->setObjectName(QStringLiteral("splGrid"));
    gridSplitter->setHandleWidth(4);
    content->removeWidget(dbgrid1);
    gridSplitter->addWidget(dbgrid1);
    pgc1 = new DetailPages(gridSplitter);
    gridSplitter->addWidget(pgc1);
    gridSplitter->setSizes({269, 400});
    gridSplitter->setStretchFactor(1, 1);
    treeSplitter->addWidget(gridSplitter);
    treeSplitter->setSizes({124, 900});
    treeSplitter->setStretchFactor(1, 1);
    content->addWidget(treeSplitter);
}

QAction* CustomerMainWindow::makeCheck(const QString& name, const QString& caption, bool checked)
{
    QAction* a = makeAction(name, caption);
    a->setCheckable(true);
    a->setChecked(checked);
    return a;
}

void CustomerMainWindow::buildActions()
{
    // The customer actions carry no shortcut here; Ctrl+F and F1 stay.
    for (const char* name : {"actAdd", "actEdit", "actDel", "actPrint"})
        action(QString::fromLatin1(name))->setShortcut(QKeySequence());

    // One action of each kind per record table; %1 is the table's name.
    static const struct { const char* name; const char* caption; } perTable[] = {
        {"actAdd", "%1增加"},           {"actEdit", "%1修改"},           {"actDel", "%1删除"},
        {"actInput", "%1导入"},         {"actExport", "%1表格导出"},     {"actSetField", "设置%1字段"},
        {"actSetOrder", "设置%1表格排序方式"}, {"actSetColDisplay", "设置%1表格显示列"}};
    for (const auto& kind : perTable) {
        for (int t = 0; t < 5; ++t) {
            const QString caption = QString::fromUtf8(kind.caption).arg(QString::fromUtf8(tableNames[t]));
            if (QAction* existing = action(numbered(kind.name, t)))
                existing->setText(caption);
            else
                makeAction(numbered(kind.name, t), caption);
        }
    }
    for (int t = 1; t < 5; ++t) {
        QAction* slave = makeAction(numbered("actSlave", t), QString::fromUtf8(tableNames[t]) + QStringLiteral("查询"));
        if (t == 1)
            slave->setStatusTip(slave->text());
    }
    static const struct { const char* name; const char* caption; } carriers[] = {
        {"actAdd0", "增加"}, {"actEdit0", "修改"}, {"actDel0", "删除"}, {"actInput0", "导入"},
        {"actExport0", "导出"}, {"actSlave0", "从表"}};
    for (const auto& c : carriers)
        makeAction(QString::fromLatin1(c.name), QString::fromUtf8(c.caption));
    makeAction(QStringLiteral("actBin"), QStringLiteral("附件"));
    QAction* batch = makeAction(QStringLiteral("actBatchEdit"), QStringLiteral("批修"));
    batch->setStatusTip(QStringLiteral("批量修改"));
    batch->setToolTip(batch->statusTip());
    makeAction(QStringLiteral("actSum"), QStringLiteral("统计"));
    makeAction(QStringLiteral("actSetQuery"), QStringLiteral("设置显示查询条件"));
    makeAction(QStringLiteral("actSetTree"), QStringLiteral("设置树型层次显示顺序"));
    QAction* tree = makeCheck(QStringLiteral("actSetDisplayTree"), QStringLiteral("显示树型层次"), true);
    tree->setStatusTip(tree->text());
    connect(tree, &QAction::toggled, pnlTree, &QWidget::setVisible);
    QAction* attachments = makeCheck(QStringLiteral("actShowAttachments"), QStringLiteral("显示文件附件"), true);
    connect(attachments, &QAction::toggled, pgc1->attachmentPanel(), &QWidget::setVisible);
    makeAction(QStringLiteral("actPrint1"), QStringLiteral("联系人记录表格打印"));

    for (int page = 1; page <= DetailPages::pageCount; ++page) {
        static const char* const messages[] = {"联系人记录导出成功!", "联系记录导出成功!", "服务记录导出成功!",
                                               "其它记录导出成功!"};
        connect(action(numbered("actExport", page)), &QAction::triggered, this, [this, page] {
            RunGuarded([this, page] {
                exportGrid(pgc1->grid(page), QString::fromUtf8(tableNames[page]), QString::fromUtf8(messages[page - 1]));
            });
        });
    }
    connect(action(QStringLiteral("actSetTree")), &QAction::triggered, this, [this] { RunGuarded([this] { reloadTree(); }); });
    connect(action(QStringLiteral("actSetQuery")), &QAction::triggered, this,
            [this] { RunGuarded([this] { LayoutQueryPanel(); }); });
    for (int table = 0; table < 5; ++table)
        connect(action(numbered("actSetOrder", table)), &QAction::triggered, this,
                [this, table] { RunGuarded([this, table] { rebuildSortOrder(table); }); });

    // The base's close action asks first here; the window's own close box does not.
    QAction* close = action(QStringLiteral("actClose"));
    close->disconnect(this);
    connect(close, &QAction::triggered, this, &CustomerMainWindow::askToClose);
}

void CustomerMainWindow::askToClose()
{
    // Closing the main window ends the program (and writes its settings on the way).
    if (AskConfirm(QStringLiteral("确认要退出系统吗?")))
        close();
}

void CustomerMainWindow::buildToolBar()
{
    // add, edit, delete | attachment, import, batch, statistics, joined | query, print, export, settings, help | close
    QAction* base[] = {action(QStringLiteral("actAdd")), action(QStringLiteral("actEdit")), action(QStringLiteral("actDel"))};
    for (QAction* a : base)
        tlbMain->removeAction(a);
    for (const char* name : {"actAdd0", "actEdit0", "actDel0"})
        addToolAction(action(QString::fromLatin1(name)), sepAfterEdit);
    for (const char* name : {"actBin", "actInput0", "actBatchEdit", "actSum", "actSlave0"})
        addToolAction(action(QString::fromLatin1(name)), sepAfterCustom1);
    tlbMain->removeAction(action(QStringLiteral("actExport")));
    addToolAction(action(QStringLiteral("actExport0")), action(QStringLiteral("actSet")));
    sepAfterEdit->setVisible(true);
    sepAfterCustom1->setVisible(true);
    sepBeforeQuery->setVisible(false);
}

void CustomerMainWindow::buildMenus()
{
    auto dropDown = [this](const char* carrier, const char* member, int first = 0) {
        auto* menu = new QMenu(this);
        menu->setObjectName(QStringLiteral("pm") + QString::fromLatin1(carrier).mid(3));
        for (int t = first; t < 5; ++t) {
            if (t > first)
                menu->addSeparator();
            menu->addAction(action(numbered(member, t)));
        }
        action(QString::fromLatin1(carrier))->setMenu(menu);
        if (auto* button = qobject_cast<QToolButton*>(tlbMain->widgetForAction(action(QString::fromLatin1(carrier)))))
            button->setPopupMode(QToolButton::InstantPopup);
    };
    dropDown("actAdd0", "actAdd");
    dropDown("actEdit0", "actEdit");
    dropDown("actDel0", "actDel");
    dropDown("actInput0", "actInput");
    dropDown("actExport0", "actExport");
    dropDown("actSlave0", "actSlave", 1);

    pmPrint->clear();
    QAction* printTable = pmPrint->addAction(QStringLiteral("客户记录表格打印"));
    printTable->setObjectName(QStringLiteral("mnuPrintTable"));
    connect(printTable, &QAction::triggered, action(QStringLiteral("actPrintTable")), &QAction::trigger);
    connect(action(QStringLiteral("actPrintTable")), &QAction::changed, printTable, [this, printTable] {
        printTable->setVisible(action(QStringLiteral("actPrintTable"))->isVisible());
        printTable->setEnabled(action(QStringLiteral("actPrintTable"))->isEnabled());
    });
    pmPrint->addAction(action(QStringLiteral("actPrint1")));

    pmSet->clear();
    for (int t = 0; t < 5; ++t)
        pmSet->addAction(action(numbered("actSetField", t)));
    pmSet->addSeparator();
    pmSet->addAction(action(QStringLiteral("actShowAttachments")));
    pmSet->addAction(action(QStringLiteral("actSetDoQuery")));
    pmSet->addAction(action(QStringLiteral("actSetQuery")));
    pmSet->addSeparator();
    pmSet->addAction(action(QStringLiteral("actSetDisplayTree")));
    pmSet->addAction(action(QStringLiteral("actSetTree")));
    pmSet->addSeparator();
    for (int t = 0; t < 5; ++t) {
        pmSet->addAction(action(numbered("actSetColDisplay", t)));
        pmSet->addAction(action(numbered("actSetOrder", t)));
    }
    pmSet->addSeparator();
    pmSet->addAction(action(QStringLiteral("actSetUI")));
    for (const char* name : {"actSetUser", "actSetPassword", "actBackup"})
        pmSet->addAction(action(QString::fromLatin1(name)));

    pmEdit->clear();
    for (const char* name : {"actAdd", "actEdit", "actDel", "actInput", "actExport"})
        pmEdit->addAction(action(QString::fromLatin1(name)));
    pmEdit->addSeparator();
    for (const char* name : {"actSetColDisplay", "actSetOrder", "actSetField"})
        pmEdit->addAction(action(QString::fromLatin1(name)));

    for (int page = 1; page <= DetailPages::pageCount; ++page) {
        auto* menu = new QMenu(this);
        menu->setObjectName(QStringLiteral("pmGrid%1").arg(page + 1));
        for (const char* name : {"actAdd", "actEdit", "actDel", "actInput", "actExport"})
            menu->addAction(action(numbered(name, page)));
        menu->addSeparator();
        for (const char* name : {"actSetColDisplay", "actSetOrder", "actSetField"})
            menu->addAction(action(numbered(name, page)));
        DataGrid* grid = pgc1->grid(page);
        grid->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(grid, &QWidget::customContextMenuRequested, menu,
                [menu, grid](const QPoint& at) { menu->popup(grid->viewport()->mapToGlobal(at)); });
    }
}

void CustomerMainWindow::ReloadConfiguration()
{
    panel->fillCodeLists(Qry());
    QHash<QString, QStringList> codeLists;
    for (const QString& code : FieldCodes::codes(QChar('A')))
        if (MappedComboBox* list = panel->codeList(code))
            codeLists.insert(code, list->itemTexts());
    GridPresentation::FillCodedColumnsFromItems(dbgrid1, QChar('A'), codeLists);
    tv1->buildFirstLevel(Qry());
    for (int page = 1; page <= DetailPages::pageCount; ++page)
        GridPresentation::FillCodedColumnsFromTables(pgc1->grid(page), DetailPages::tableLetter(page), Qry());
    GridPresentation::ApplyFieldCaptions(dbgrid1, QChar('A'));
    panel->applyCaptions();
    for (int page = 1; page <= DetailPages::pageCount; ++page)
        GridPresentation::ApplyFieldCaptions(pgc1->grid(page), DetailPages::tableLetter(page));
    // The add, edit and delete buttons carry the drop-down actions.
    for (const char* name : {"actAdd0", "actEdit0", "actDel0"})
        if (auto* button = qobject_cast<QToolButton*>(tlbMain->widgetForAction(action(QString::fromLatin1(name)))))
            button->setDefaultAction(action(QString::fromLatin1(name)));
}

void CustomerMainWindow::ApplyRights()
{
    BrowseWindow::ApplyRights();
    const QList<RightRow> rows = {
        {CurrentUser::Add, numberedSet("actAdd") << QStringLiteral("actAdd0")},
        {CurrentUser::Edit, numberedSet("actEdit") << QStringLiteral("actEdit0")},
        {CurrentUser::Delete, numberedSet("actDel") << QStringLiteral("actDel0")},
        {CurrentUser::Import, numberedSet("actInput") << QStringLiteral("actInput0")},
        {CurrentUser::Export, numberedSet("actExport") << QStringLiteral("actExport0")},
        {CurrentUser::Batch, {QStringLiteral("actBatchEdit")}},
        {CurrentUser::AttachmentOpen, {QStringLiteral("actBin")}},
        {CurrentUser::Print, {QStringLiteral("actPrint1"), QStringLiteral("actPrintTable")}},
        {CurrentUser::Settings, numberedSet("actSetOrder") + numberedSet("actSetField")
                                    << QStringLiteral("actSetTree") << QStringLiteral("actSetUser")
                                    << QStringLiteral("actSetQuery")},
    };
    for (const RightRow& row : rows) {
        const bool granted = currentUser().grants(row.right);
        for (const QString& name : row.actions) {
            QAction* a = action(name);
            a->setEnabled(granted);
            a->setVisible(granted);
        }
    }
    auto shown = [this](std::initializer_list<const char*> names) {
        return std::any_of(names.begin(), names.end(),
                           [this](const char* n) { return action(QString::fromLatin1(n))->isVisible(); });
    };
    sepAfterEdit->setVisible(shown({"actAdd", "actEdit", "actDel"}));
    sepAfterCustom1->setVisible(shown({"actBin", "actInput0", "actBatchEdit", "actSum", "actSlave0"}));
    sepBeforeQuery->setVisible(false);
}

void CustomerMainWindow::formShow()
{
    BrowseWindow::formShow();
    pgc1->setCurrentIndex(0);
    pgc1->attachmentPanel()->setVisible(action(QStringLiteral("actShowAttachments"))->isChecked());
    pnlTree->setVisible(action(QStringLiteral("actSetDisplayTree"))->isChecked());
    for (int page = 1; page <= DetailPages::pageCount; ++page)
        GridPresentation::CopyLook(dbgrid1, pgc1->grid(page));
    ApplyColours();
    for (int table = 0; table < 5; ++table)
        ApplyColumnDisplay(table);
}

void CustomerMainWindow::ApplyColumnDisplay(int table)
{
    DataGrid* grid = table == 0 ? dbgrid1 : pgc1->grid(table);
    GridPresentation::ApplyColumnDisplay(grid, QChar('A' + table), Qry());
}

void CustomerMainWindow::ApplyColours()
{
    QPalette band = findChild<QWidget*>(QStringLiteral("clbMain"))->palette();
    band.setColor(QPalette::Window, backgroundColor());
    findChild<QWidget*>(QStringLiteral("clbMain"))->setPalette(band);
    findChild<QWidget*>(QStringLiteral("clbMain"))->setAutoFillBackground(true);
    QList<QWidget*> controls{dbgrid1, tv1, pgc1->attachmentList()};
    controls << treeSplitter << gridSplitter;
    for (QWidget* input : panel->findChildren<QWidget*>())
        if (input->property("tag").toInt() == 8 && !qobject_cast<QLabel*>(input))
            controls << input;
    for (int page = 1; page <= DetailPages::pageCount; ++page)
        controls << pgc1->grid(page);
    for (QWidget* control : controls) {
        QPalette colours = control->palette();
        colours.setColor(QPalette::Base, controlColor());
        control->setPalette(colours);
    }
    dbgrid1->setSelectedRowColor(selectedRowColor());
    for (int page = 1; page <= DetailPages::pageCount; ++page)
        pgc1->grid(page)->setSelectedRowColor(selectedRowColor());
}

void CustomerMainWindow::rebuildSortOrder(int table)
{
    DataModule* dm = DataModule::instance();
    if (!dm)
        return;
    const QString key = FieldCodes::tableName(QChar('A' + table));
    dm->setSortClause(key, BuildOrderBy(Qry(), key));
    if (Qry1().isOpen())
        DoQuery();
}

void CustomerMainWindow::DoQuery()
{
    QString condition;
    try {
        condition = BuildQueryCondition(QChar('A'), panel->values());
    } catch (const AppError& e) {
        ShowWarning(e.message());  // a condition that is no number: nothing is queried
        return;
    }
    LastCondition = condition;
    const QString sortClause = DataModule::instance() ? DataModule::instance()->sortClause(QStringLiteral("Q_A")) : QString();
    OpenQuery(Qry1(), baseStatement() + condition + sortClause);
    pgc1->refreshShownPage(Qry1());
}

void CustomerMainWindow::queryTreeNode(const TreeNodeKeys& keys)
{
    clearQueryPanel();
    for (int level = 1; level <= 4; ++level) {
        const QString value = keys.at(level);
        const QString field = tv1->levels()[size_t(level - 1)].field;
        if (!value.isEmpty() && value != QLatin1String("null") && !field.isEmpty())
            panel->setConditionValue(field, value);
    }
    DoQuery();
}

void CustomerMainWindow::reloadTree()
{
    if (DataModule* dm = DataModule::instance())
        dm->loadTreeLevels();
    ReloadConfiguration();
}

void CustomerMainWindow::clearQueryPanel()
{
    panel->clear();
}

void CustomerMainWindow::LayoutQueryPanel()
{
    const PanelForm form = PanelFormFor(panel->LayoutQueryPanel(Qry()));
    pnlQuery->setFixedHeight(form.height);
    btnDoQuery->setText(form.runCaption);
    btnDoQuery->setFixedSize(form.runButton.size());
    btnClearQuery->setText(form.clearCaption);
    btnClearQuery->setFixedSize(form.clearButton.size());
    setQueryButtonsStacked(form.height > PanelFormFor(3).height);
}

void CustomerMainWindow::refreshDetails()
{
    pgc1->refreshAll(Qry1());
}

void CustomerMainWindow::restoreSettings(WindowSettings& settings)
{
    BrowseWindow::restoreSettings(settings);
    action(QStringLiteral("actShowAttachments"))->setChecked(settings.flag(QStringLiteral("showAttachments"), true));
    action(QStringLiteral("actSetDisplayTree"))->setChecked(settings.flag(QStringLiteral("displayTree"), true));
    const int treeWidth = settings.number(QStringLiteral("treeWidth"), 124);
    treeSplitter->setSizes({treeWidth, qMax(200, width() - treeWidth)});
    for (int page = 1; page <= DetailPages::pageCount; ++page)
        pgc1->grid(page)->restoreState(settings.bytes(QStringLiteral("dbgrid%1").arg(page + 1)));
}

void CustomerMainWindow::saveSettings(WindowSettings& settings)
{
    BrowseWindow::saveSettings(settings);
    settings.setFlag(QStringLiteral("showAttachments"), action(QStringLiteral("actShowAttachments"))->isChecked());
    settings.setFlag(QStringLiteral("displayTree"), action(QStringLiteral("actSetDisplayTree"))->isChecked());
    if (pnlTree->isVisible())
        settings.setNumber(QStringLiteral("treeWidth"), treeSplitter->sizes().first());
    for (int page = 1; page <= DetailPages::pageCount; ++page)
        settings.setBytes(QStringLiteral("dbgrid%1").arg(page + 1), pgc1->grid(page)->saveState());
}
