#pragma once

#include "forms/base/BrowseWindow.h"
#include "widgets/TreeFillers.h"

class DetailPages;
class QueryPanel;
class QSplitter;
class ClassificationTree;

// The program's main window (Tfrm_Q_A_main): customers in the grid, filtered by the query panel
// and the classification tree, and the current customer's attachments and detail records on the
// pages below. Every other window is opened from here.
class CustomerMainWindow : public BrowseWindow {
    Q_OBJECT
public:
    explicit CustomerMainWindow(QWidget* parent = nullptr);

    void DoQuery() override;
    void ApplyRights() override;
    // Re-reads what the window derives from the configuration tables.
    void ReloadConfiguration();
    // Table 0 the customers, 1..4 the detail tables.
    void ApplyColumnDisplay(int table);
    void ApplyColours();

    void clearQueryPanel() override;
    DetailPages* pages() const { return pgc1; }
    QueryPanel* queryPanel() const { return panel; }
    // Arranges the query panel from S_QUERY and sizes the band and its buttons to it.
    void LayoutQueryPanel();
    QString lastCondition() const { return LastCondition; }

protected:
    void formShow() override;
    void restoreSettings(WindowSettings& settings) override;
    void saveSettings(WindowSettings& settings) override;

private:
    void buildActions();
    void buildToolBar();
    void buildMenus();
    void buildLayout();
    void refreshDetails();
    void askToClose();
    // A tree click: the node's values into the query panel, then the query.
    void queryTreeNode(const TreeNodeKeys& keys);
    void reloadTree();
    // After the sort order of a table changed: its clause again, and the query if it is open.
    void rebuildSortOrder(int table);
    QAction* makeCheck(const QString& name, const QString& caption, bool checked);

    QSplitter* treeSplitter;
    QSplitter* gridSplitter;
    QWidget* pnlTree;
    ClassificationTree* tv1;
    DetailPages* pgc1;
    QueryPanel* panel;
    QString LastCondition;
};
