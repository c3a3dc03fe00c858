#pragma once

#include "BaseDbForm.h"

#include <QColor>
#include <QList>

class DataGrid;
class QAction;
class QLabel;
class QGridLayout;
class QMenu;
class QPushButton;
class QStatusBar;
class QToolBar;
class QToolButton;
class QVBoxLayout;
class WindowSettings;

// Base of the big browsing windows (Tfrm_base_dbsingle): a band with the module button, the tool
// bar and the query panel; a read-only grid over Qry1; a status bar; the standard actions and
// menus; and the two hooks through which each window runs its query and applies the rights.
class BrowseWindow : public BaseDbForm {
    Q_OBJECT
public:
    // The base statement is Qry1's statement as written in the window; queries are rebuilt from it.
    BrowseWindow(const QString& windowName, const QString& baseStatement, QWidget* parent = nullptr);
    ~BrowseWindow() override;

    Dataset& Qry1() { return *query1; }
    DataGrid* grid() const { return dbgrid1; }
    QString baseStatement() const { return statement; }
    QAction* action(const QString& name) const;

    // Builds and runs the window's query; the base opens Qry1 with its current statement.
    virtual void DoQuery();
    // Enables and shows the actions the current user may use; the base gates nothing.
    virtual void ApplyRights() {}

    // Empties the query panel's inputs from the last to the first, skipping disabled ones.
    virtual void clearQueryPanel();

    // Exports a grid through the save dialog; initialName preset, message shown on success.
    void exportGrid(DataGrid* grid, const QString& initialName, const QString& message);

    // The colour settings: selected row, window background, control background.
    QColor selectedRowColor() const { return colorS; }
    QColor backgroundColor() const { return colorBg1; }
    QColor controlColor() const { return colorBg2; }

    QStatusBar* statusBar() const { return stbMain; }
    QString statusPanelText(int panel) const;  // 1..4

protected:
    void formShow() override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

    // Window settings: read before the window is first shown, written when it is hidden.
    virtual void restoreSettings(WindowSettings& settings);
    virtual void saveSettings(WindowSettings& settings);

    QAction* makeAction(const QString& name, const QString& caption, const QKeySequence& shortcut = {});
    // Puts an action on the tool bar before another one (nullptr: at the end).
    QToolButton* addToolAction(QAction* action, QAction* before = nullptr);
    void setModuleCaption(const QString& caption);
    // The clear button above the run button (two or three rows of inputs), or beside it.
    void setQueryButtonsStacked(bool stacked);

    QToolBar* tbMenu;
    QToolButton* mnuEdit;
    QToolBar* tlbMain;
    QWidget* pnlQuery;
    QWidget* queryInputs;  // where descendants place their query inputs
    QPushButton* btnDoQuery;
    QPushButton* btnClearQuery;
    QVBoxLayout* content;  // below the band: the grid by default
    DataGrid* dbgrid1;
    QMenu* pmEdit;
    QMenu* pmPrint;
    QMenu* pmSet;
    QMenu* pmHelp;
    // The separators of the tool bar, left to right.
    QAction* sepAfterEdit;
    QAction* sepAfterCustom1;
    QAction* sepBeforeQuery;
    QAction* sepBeforeClose;

private:
    void buildActions();
    void buildToolBar();
    void buildMenus();
    void applyHints();
    void layoutStatusBar();
    void updateRowCount();
    void openFile(const QString& path);
    void deleteCurrentRow();

    QString windowName;
    QString statement;
    Dataset* query1;
    QStatusBar* stbMain;
    QList<QLabel*> panels;
    QGridLayout* queryButtons;
    QColor colorS;
    QColor colorBg1;
    QColor colorBg2;
    int exportTypeIndex = 1;
    bool settingsRestored = false;
};
