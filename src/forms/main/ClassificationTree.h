#pragma once

#include "TreeStatements.h"
#include "widgets/TreeFillers.h"

#include <QPointer>
#include <QTreeWidget>

class Dataset;
class QItemSelection;

// The customer classification tree (tv1): up to four levels of Q_A columns as configured in the
// data module's tree levels. The first level is built on request, each deeper level the first time
// its parent expands; every node also carries the number of customers under it (TreeNodeCountRole),
// drawn after its caption.
class ClassificationTree : public QTreeWidget {
    Q_OBJECT
public:
    explicit ClassificationTree(QWidget* parent = nullptr);

    // Clears the tree and fills the top level with the data module's current levels; the working
    // query runs this and every later expansion's statements.
    void buildFirstLevel(Dataset& work);

    // The levels the tree was last built with.
    const TreeLevels& levels() const { return treeLevels; }

    // 0 for a top node.
    static int depthOf(const QTreeWidgetItem* node);

signals:
    // The user clicked a node; keys below its depth hold "null".
    void nodeClicked(const TreeNodeKeys& keys);

private:
    void expandNode(QTreeWidgetItem* node);
    // Reads the level's counts and stores them in the nodes (the top level when parent is null).
    void loadCounts(QTreeWidgetItem* parent, int depth, const TreeNodeKeys& parentKeys);
    void showSelection(const QItemSelection& selected, const QItemSelection& deselected);
    void setImage(QTreeWidgetItem* node, bool selected);

    TreeLevels treeLevels;
    QPointer<Dataset> workQuery;
};
