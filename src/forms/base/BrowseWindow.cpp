#include "BrowseWindow.h"

#include "AboutDialog.h"
#include "WindowSettings.h"
#include "core/ActionGuard.h"
#include "core/AppInfo.h"
#include "core/CurrentUser.h"
#include "core/DataModule.h"
#include "core/Dataset.h"
#include "core/Messages.h"
#include "core/QueryRunners.h"
#include "files/ExportFileName.h"
#include "files/GridExporter.h"
#include "widgets/DataGrid.h"
#include "widgets/DataGridSource.h"
#include "widgets/FileChooser.h"
#include "widgets/MappedComboBox.h"
#include "widgets/NullableDateEdit.h"

#include <QAction>
#include <QDate>
#include <QDesktopServices>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {

const QList<FileChooser::FileType> exportTypes = {{QStringLiteral("Excel文件"), QStringLiteral("*.XLS")},
                                                  {QStringLiteral("Word文件"), QStringLiteral("*.RTF")},
                                                  {QStringLiteral("网页文件"), QStringLiteral("*.HTM")},
                                                  {QStringLiteral("文本文件"), QStringLiteral("*.TXT")}};
const ExportFormat exportFormats[] = {ExportFormat::Xls, ExportFormat::Rtf, ExportFormat::Htm, ExportFormat::Txt};

}

BrowseWindow::BrowseWindow(const QString& windowName, const QString& baseStatement, QWidget* parent)
    : BaseDbForm(parent), windowName(windowName), statement(baseStatement),
      query1(new Dataset(DataModule::instance() ? &DataModule::instance()->conPublic() : nullptr, this)),
      colorS(QColor(0, 0, 128)), colorBg1(palette().color(QPalette::Button)), colorBg2(palette().color(QPalette::Base))
{
    setObjectName(windowName);
    query1->setObjectName(QStringLiteral("Qry1"));
    query1->setSql(statement);
    setWindowTitle(AppInfo::title);
    setWindowFlags(Qt::Window | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    setWindowState(Qt::WindowMaximized);
    setSizeGripEnabled(false);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    auto* band = new QWidget(this);
    band->setObjectName(QStringLiteral("clbMain"));
    auto* bandLayout = new QVBoxLayout(band);
    bandLayout->setContentsMargins(0, 0, 0, 0);
    bandLayout->setSpacing(0);
    tbMenu = new QToolBar(band);
    tbMenu->setObjectName(QStringLiteral("tbMenu"));
    tbMenu->setMinimumHeight(21);
    mnuEdit = new QToolButton(tbMenu);
    mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
    mnuEdit->setPopupMode(QToolButton::InstantPopup);
    mnuEdit->setAutoRaise(true);
    tbMenu->addWidget(mnuEdit);
    tlbMain = new QToolBar(band);
    tlbMain->setObjectName(QStringLiteral("tlbMain"));
    tlbMain->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    tlbMain->setMinimumHeight(36);
    pnlQuery = new QWidget(band);
    pnlQuery->setObjectName(QStringLiteral("pnlQuery"));
    pnlQuery->setMinimumHeight(58);
    auto* queryLayout = new QHBoxLayout(pnlQuery);
    queryLayout->setContentsMargins(4, 2, 4, 2);
    queryInputs = new QWidget(pnlQuery);
    queryInputs->setObjectName(QStringLiteral("queryInputs"));
    queryLayout->addWidget(queryInputs, 1);
    btnDoQuery = new QPushButton(QStringLiteral("执行查询"), pnlQuery);
    btnDoQuery->setObjectName(QStringLiteral("btnDoQuery"));
    btnClearQuery = new QPushButton(QStringLiteral("清除条件"), pnlQuery);
    btnClearQuery->setObjectName(QStringLiteral("btnClearQuery"));
    for (QPushButton* button : {btnDoQuery, btnClearQuery})
        button->setAutoDefault(false);
    queryButtons = new QGridLayout;
    queryButtons->setSpacing(2);
    queryLayout->addLayout(queryButtons);
    setQueryButtonsStacked(true);
    bandLayout->addWidget(tbMenu);
    bandLayout->addWidget(tlbMain);
    bandLayout->addWidget(pnlQuery);
    outer->addWidget(band);

    auto* body = new QWidget(this);
    content = new QVBoxLayout(body);
    content->setContentsMargins(0, 0, 0, 0);
    dbgrid1 = new DataGrid(body);
    dbgrid1->setObjectName(QStringLiteral("dbgrid1"));
    dbgrid1->setDataset(query1);
    content->addWidget(dbgrid1);
    outer->addWidget(body, 1);

    stbMain = new QStatusBar(this);
    stbMain->setObjectName(QStringLiteral("stbMain"));
    stbMain->setSizeGripEnabled(false);
    for (int i = 0; i < 4; ++i) {
        auto* panel = new QLabel(stbMain);
        panel->setObjectName(QStringLiteral("stbPanel%1").arg(i + 1));
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        stbMain->addWidget(panel);
        panels << panel;
    }
    outer->addWidget(stbMain);

    buildActions();
    buildToolBar();
    buildMenus();
    applyHints();
    connect(btnDoQuery, &QPushButton::clicked, action(QStringLiteral("actDoQuery")), &QAction::trigger);
    connect(btnClearQuery, &QPushButton::clicked, action(QStringLiteral("actClearQuery")), &QAction::trigger);
    connect(query1, &Dataset::afterOpen, this, &BrowseWindow::updateRowCount);
    dbgrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(dbgrid1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { pmEdit->popup(dbgrid1->viewport()->mapToGlobal(at)); });
}

BrowseWindow::~BrowseWindow() = default;

QAction* BrowseWindow::action(const QString& name) const
{
    return findChild<QAction*>(name);
}

QAction* BrowseWindow::makeAction(const QString& name, const QString& caption, const QKeySequence& shortcut)
{
    auto* a = new QAction(caption, this);
    a->setObjectName(name);
    a->setShortcut(shortcut);
    a->setShortcutContext(Qt::WindowShortcut);
    addAction(a);
    return a;
}

void BrowseWindow::buildActions()
{
    auto guarded = [this](QAction* a, void (BrowseWindow::*slot)()) {
        connect(a, &QAction::triggered, this, [this, slot] { RunGuarded([this, slot] { (this->*slot)(); }); });
    };
    makeAction(QStringLiteral("actAdd"), QStringLiteral("增加"), QKeySequence(QStringLiteral("Ctrl+N")));
    makeAction(QStringLiteral("actEdit"), QStringLiteral("修改"), QKeySequence(QStringLiteral("Ctrl+E")));
    guarded(makeAction(QStringLiteral("actDel"), QStringLiteral("删除"), QKeySequence(QStringLiteral("Ctrl+D"))),
            &BrowseWindow::deleteCurrentRow);
    QAction* query = makeAction(QStringLiteral("actQuery"), QStringLiteral("查询"));
    query->setCheckable(true);
    query->setChecked(true);
    connect(query, &QAction::toggled, pnlQuery, &QWidget::setVisible);
    guarded(makeAction(QStringLiteral("actDoQuery"), QStringLiteral("执行查询"), QKeySequence(QStringLiteral("Ctrl+F"))),
            &BrowseWindow::DoQuery);
    QAction* clear = makeAction(QStringLiteral("actClearQuery"), QStringLiteral("清除条件"));
    clear->setStatusTip(QStringLiteral("清除所有条件"));
    clear->setToolTip(clear->statusTip());
    guarded(clear, &BrowseWindow::clearQueryPanel);
    makeAction(QStringLiteral("actPrint"), QStringLiteral("打印"), QKeySequence(QStringLiteral("Ctrl+P")));
    connect(makeAction(QStringLiteral("actPrintTable"), QStringLiteral("打印表格数据")), &QAction::triggered, this,
            [this] { RunGuarded([this] { ConfirmPendingEdit(*query1); }); });
    connect(makeAction(QStringLiteral("actExport"), QStringLiteral("表格导出")), &QAction::triggered, this, [this] {
        RunGuarded([this] { exportGrid(dbgrid1, QStringLiteral("file1"), QStringLiteral("文件导出成功!")); });
    });
    makeAction(QStringLiteral("actSet"), QStringLiteral("设置"));
    makeAction(QStringLiteral("actSetOrder"), QStringLiteral("设置表格排序方式"));
    makeAction(QStringLiteral("actSetColDisplay"), QStringLiteral("设置表格显示列"));
    makeAction(QStringLiteral("actSetUI"), QStringLiteral("设置界面颜色与风格"));
    QAction* doQueryOnOpen = makeAction(QStringLiteral("actSetDoQuery"), QStringLiteral("打开窗口执行查询"));
    doQueryOnOpen->setCheckable(true);
    doQueryOnOpen->setChecked(true);
    makeAction(QStringLiteral("actSetUser"), QStringLiteral("用户设置"));
    makeAction(QStringLiteral("actSetPassword"), QStringLiteral("密码设置"));
    makeAction(QStringLiteral("actBackup"), QStringLiteral("备份恢复数据"));
    makeAction(QStringLiteral("actHelp"), QStringLiteral("帮助"));
    connect(makeAction(QStringLiteral("actHelpF1"), QStringLiteral("帮助"), QKeySequence(Qt::Key_F1)),
            &QAction::triggered, this, [this] {
                RunGuarded([this] { openFile(DataModule::instance() ? DataModule::instance()->manualFile() : QString()); });
            });
    connect(makeAction(QStringLiteral("actHelpMP4"), QStringLiteral("快速入门视频教程")), &QAction::triggered, this,
            [this] {
                RunGuarded([this] {
                    openFile(DataModule::instance()
                                 ? DataModule::instance()->programFolder() + QLatin1Char('/') + AppInfo::videoFileName
                                 : QString());
                });
            });
    connect(makeAction(QStringLiteral("actOnlineHelp"), QStringLiteral("视频教程与资料下载")), &QAction::triggered, this,
            [] { QDesktopServices::openUrl(QUrl(AppInfo::downloadPage)); });
    connect(makeAction(QStringLiteral("actSite"), QStringLiteral("主页")), &QAction::triggered, this,
            [] { QDesktopServices::openUrl(QUrl(AppInfo::homePage)); });
    connect(makeAction(QStringLiteral("actAbout"), QStringLiteral("关于")), &QAction::triggered, this, [this] {
        AboutDialog about(this);
        about.exec();
    });
    connect(makeAction(QStringLiteral("actClose"), QStringLiteral("关闭")), &QAction::triggered, this, &QWidget::close);
}

QToolButton* BrowseWindow::addToolAction(QAction* action, QAction* before)
{
    static const QHash<QString, QStyle::StandardPixmap> icons = {
        {QStringLiteral("actAdd"), QStyle::SP_FileIcon},           {QStringLiteral("actAdd0"), QStyle::SP_FileIcon},
        {QStringLiteral("actEdit"), QStyle::SP_FileDialogDetailedView},
        {QStringLiteral("actEdit0"), QStyle::SP_FileDialogDetailedView},
        {QStringLiteral("actDel"), QStyle::SP_TrashIcon},          {QStringLiteral("actDel0"), QStyle::SP_TrashIcon},
        {QStringLiteral("actBin"), QStyle::SP_DirOpenIcon},        {QStringLiteral("actInput0"), QStyle::SP_ArrowDown},
        {QStringLiteral("actBatchEdit"), QStyle::SP_FileDialogListView},
        {QStringLiteral("actSum"), QStyle::SP_FileDialogInfoView},
        {QStringLiteral("actSlave0"), QStyle::SP_FileDialogContentsView},
        {QStringLiteral("actQuery"), QStyle::SP_FileDialogContentsView},
        {QStringLiteral("actPrint"), QStyle::SP_ComputerIcon},     {QStringLiteral("actExport"), QStyle::SP_DialogSaveButton},
        {QStringLiteral("actExport0"), QStyle::SP_DialogSaveButton},
        {QStringLiteral("actSet"), QStyle::SP_DesktopIcon},        {QStringLiteral("actHelp"), QStyle::SP_DialogHelpButton},
        {QStringLiteral("actClose"), QStyle::SP_DialogCloseButton}};
    if (action->icon().isNull() && icons.contains(action->objectName()))
        action->setIcon(style()->standardIcon(icons.value(action->objectName())));
    if (before)
        tlbMain->insertAction(before, action);
    else
        tlbMain->addAction(action);
    auto* button = qobject_cast<QToolButton*>(tlbMain->widgetForAction(action));
    if (button) {
        button->setObjectName(QStringLiteral("tlb") + action->objectName().mid(3));
        if (action->menu())
            button->setPopupMode(QToolButton::InstantPopup);
    }
    return button;
}

void BrowseWindow::buildToolBar()
{
    addToolAction(action(QStringLiteral("actAdd")));
    addToolAction(action(QStringLiteral("actEdit")));
    addToolAction(action(QStringLiteral("actDel")));
    sepAfterEdit = tlbMain->addSeparator();
    sepAfterEdit->setObjectName(QStringLiteral("sepAfterEdit"));
    sepAfterEdit->setVisible(false);
    sepAfterCustom1 = tlbMain->addSeparator();
    sepAfterCustom1->setObjectName(QStringLiteral("sepAfterCustom1"));
    sepAfterCustom1->setVisible(false);
    sepBeforeQuery = tlbMain->addSeparator();
    sepBeforeQuery->setObjectName(QStringLiteral("sepBeforeQuery"));
    for (const char* name : {"actQuery", "actPrint", "actExport", "actSet", "actHelp"})
        addToolAction(action(QString::fromLatin1(name)));
    sepBeforeClose = tlbMain->addSeparator();
    sepBeforeClose->setObjectName(QStringLiteral("sepBeforeClose"));
    addToolAction(action(QStringLiteral("actClose")));
    action(QStringLiteral("actExport"))->setIconText(QStringLiteral("导出"));
}

void BrowseWindow::buildMenus()
{
    auto menu = [this](const QString& name) {
        auto* m = new QMenu(this);
        m->setObjectName(name);
        return m;
    };
    pmPrint = menu(QStringLiteral("pmPrint"));
    pmPrint->addAction(action(QStringLiteral("actPrintTable")));
    action(QStringLiteral("actPrint"))->setMenu(pmPrint);

    pmSet = menu(QStringLiteral("pmSet"));
    pmSet->addAction(action(QStringLiteral("actSetDoQuery")));
    pmSet->addSeparator();
    for (const char* name : {"actSetColDisplay", "actSetOrder", "actSetUI"})
        pmSet->addAction(action(QString::fromLatin1(name)));
    pmSet->addSeparator();
    for (const char* name : {"actSetUser", "actSetPassword", "actBackup"})
        pmSet->addAction(action(QString::fromLatin1(name)));
    action(QStringLiteral("actSet"))->setMenu(pmSet);

    pmHelp = menu(QStringLiteral("pmHelp"));
    for (const char* name : {"actHelpF1", "actHelpMP4", "actOnlineHelp"})
        pmHelp->addAction(action(QString::fromLatin1(name)));
    pmHelp->addSeparator();
    pmHelp->addAction(action(QStringLiteral("actSite")));
    pmHelp->addSeparator();
    pmHelp->addAction(action(QStringLiteral("actAbout")));
    action(QStringLiteral("actHelp"))->setMenu(pmHelp);

    for (const char* name : {"actPrint", "actSet", "actHelp"})
        if (auto* b = qobject_cast<QToolButton*>(tlbMain->widgetForAction(action(QString::fromLatin1(name)))))
            b->setPopupMode(QToolButton::InstantPopup);

    pmEdit = menu(QStringLiteral("pmEdit"));
    for (const char* name : {"actAdd", "actEdit", "actDel"})
        pmEdit->addAction(action(QString::fromLatin1(name)));
    pmEdit->addSeparator();
    pmEdit->addAction(action(QStringLiteral("actQuery")));
    pmEdit->addAction(action(QStringLiteral("actDoQuery")));
    QMenu* printMenu = pmEdit->addMenu(QStringLiteral("打印"));
    printMenu->addAction(action(QStringLiteral("actPrintTable")));
    printMenu->addSeparator();
    printMenu->addAction(action(QStringLiteral("actExport")));
    QMenu* setMenu = pmEdit->addMenu(QStringLiteral("设置"));
    setMenu->addAction(action(QStringLiteral("actSetColDisplay")));
    setMenu->addSeparator();
    setMenu->addAction(action(QStringLiteral("actSetOrder")));
    setMenu->addSeparator();
    setMenu->addAction(action(QStringLiteral("actSetUI")));
    setMenu->addSeparator();
    setMenu->addAction(action(QStringLiteral("actSetDoQuery")));
    pmEdit->addSeparator();
    pmEdit->addAction(action(QStringLiteral("actClose")));
}

void BrowseWindow::applyHints()
{
    static const QList<QPair<QString, QString>> hints = {
        {QStringLiteral("ACTADD"), QStringLiteral("新增一条数据记录（快捷键：Ctrl+N）")},
        {QStringLiteral("ACTEDIT"), QStringLiteral("保存当前数据记录（快捷键：Ctrl+E）")},
        {QStringLiteral("ACTDEL"), QStringLiteral("删除当前数据记录（快捷键：Ctrl+D）")},
        {QStringLiteral("ACTQUERY"), QStringLiteral("打开或关闭查询条件面板")},
        {QStringLiteral("ACTPRINT"), QStringLiteral("打印当前查询数据记录（快捷键：Ctrl+P）")},
        {QStringLiteral("ACTHELP"), QStringLiteral("显示帮助联系人（快捷键：F1）")}};
    for (QAction* a : findChildren<QAction*>()) {
        for (const auto& [name, hint] : hints) {
            if (a->objectName().toUpper() == name) {
                a->setStatusTip(hint);
                a->setToolTip(hint);
            }
        }
    }
}

void BrowseWindow::setQueryButtonsStacked(bool stacked)
{
    queryButtons->removeWidget(btnDoQuery);
    queryButtons->removeWidget(btnClearQuery);
    if (stacked) {
        queryButtons->addWidget(btnClearQuery, 0, 0);
        queryButtons->addWidget(btnDoQuery, 1, 0);
    } else {
        queryButtons->addWidget(btnDoQuery, 0, 0);
        queryButtons->addWidget(btnClearQuery, 0, 1);
    }
}

void BrowseWindow::setModuleCaption(const QString& caption)
{
    mnuEdit->setText(caption);
}

void BrowseWindow::DoQuery()
{
    OpenQuery(*query1, query1->sql());
}

void BrowseWindow::clearQueryPanel()
{
    const QList<QWidget*> inputs = queryInputs->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    for (auto it = inputs.crbegin(); it != inputs.crend(); ++it) {
        QWidget* input = *it;
        if (!input->isEnabled())
            continue;
        if (auto* mapped = qobject_cast<MappedComboBox*>(input))
            mapped->clearValue();
        else if (auto* combo = qobject_cast<QComboBox*>(input))
            combo->setCurrentIndex(-1);
        else if (auto* date = qobject_cast<NullableDateEdit*>(input))
            date->clear();
        else if (auto* edit = qobject_cast<QLineEdit*>(input))
            edit->clear();
    }
}

void BrowseWindow::deleteCurrentRow()
{
    if (!query1->isOpen() || query1->isEmpty())
        return;
    if (AskConfirm(QStringLiteral("删除后将不能再恢复，确认要删除吗？")))
        query1->deleteCurrent();
}

void BrowseWindow::exportGrid(DataGrid* grid, const QString& initialName, const QString& message)
{
    QString fileName = initialName;
    int typeIndex = exportTypeIndex;
    if (!FileChooser::current().chooseSaveFile(this, QStringLiteral("请录入导出文件名"), exportTypes, fileName, typeIndex))
        return;
    if (typeIndex < 1 || typeIndex > int(std::size(exportFormats)))
        return;
    exportTypeIndex = typeIndex;
    const ExportFormat format = exportFormats[typeIndex - 1];
    const QString path = ExportFileName(fileName, GridExporter::extensionOf(format));
    GridExporter::write(DataGridSource(grid), format, path);
    ShowInfo(message);
}

void BrowseWindow::openFile(const QString& path)
{
    if (path.isEmpty() || !QFile::exists(path)) {
        ShowWarning(QStringLiteral("找不到文件：%1").arg(path));
        return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void BrowseWindow::updateRowCount()
{
    panels[1]->setText(QStringLiteral("符合查询条件的记录共有%1条").arg(query1->rowCount()));
}

QString BrowseWindow::statusPanelText(int panel) const
{
    return panel >= 1 && panel <= panels.size() ? panels[panel - 1]->text() : QString();
}

void BrowseWindow::layoutStatusBar()
{
    const int width = stbMain->width();
    panels[0]->setFixedWidth(width / 3);
    panels[1]->setFixedWidth(width / 3);
    panels[2]->setFixedWidth(width / 6);
    panels[3]->setMinimumWidth(0);
    panels[2]->setText(QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")));
    panels[3]->setText(currentUser().userName);
}

void BrowseWindow::resizeEvent(QResizeEvent* event)
{
    BaseDbForm::resizeEvent(event);
    layoutStatusBar();
}

void BrowseWindow::keyPressEvent(QKeyEvent* event)
{
    // A browse window is no dialog: Escape does not close it and Enter presses no button.
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        return;
    default:
        BaseDbForm::keyPressEvent(event);
    }
}

bool BrowseWindow::event(QEvent* event)
{
    if (event->type() == QEvent::StatusTip) {
        panels[0]->setText(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return BaseDbForm::event(event);
}

void BrowseWindow::formShow()
{
    BaseDbForm::formShow();
    if (!settingsRestored) {
        settingsRestored = true;
        WindowSettings settings(windowName);
        restoreSettings(settings);
    }
    layoutStatusBar();
    ApplyRights();
    pnlQuery->setVisible(action(QStringLiteral("actQuery"))->isChecked());
    if (action(QStringLiteral("actSetDoQuery"))->isChecked())
        DoQuery();
}

void BrowseWindow::hideEvent(QHideEvent* event)
{
    if (settingsRestored) {
        WindowSettings settings(windowName);
        saveSettings(settings);
    }
    BaseDbForm::hideEvent(event);
}

void BrowseWindow::restoreSettings(WindowSettings& settings)
{
    action(QStringLiteral("actQuery"))->setChecked(settings.flag(QStringLiteral("query"), true));
    action(QStringLiteral("actSetDoQuery"))->setChecked(settings.flag(QStringLiteral("doQueryOnOpen"), true));
    colorS = settings.color(QStringLiteral("colorS"), colorS);
    colorBg1 = settings.color(QStringLiteral("colorBg1"), colorBg1);
    colorBg2 = settings.color(QStringLiteral("colorBg2"), colorBg2);
    exportTypeIndex = settings.number(QStringLiteral("exportType"), exportTypeIndex);
    dbgrid1->restoreState(settings.bytes(QStringLiteral("dbgrid1")));
}

void BrowseWindow::saveSettings(WindowSettings& settings)
{
    settings.setFlag(QStringLiteral("query"), action(QStringLiteral("actQuery"))->isChecked());
    settings.setFlag(QStringLiteral("doQueryOnOpen"), action(QStringLiteral("actSetDoQuery"))->isChecked());
    settings.setColor(QStringLiteral("colorS"), colorS);
    settings.setColor(QStringLiteral("colorBg1"), colorBg1);
    settings.setColor(QStringLiteral("colorBg2"), colorBg2);
    settings.setNumber(QStringLiteral("exportType"), exportTypeIndex);
    settings.setBytes(QStringLiteral("dbgrid1"), dbgrid1->saveState());
}
