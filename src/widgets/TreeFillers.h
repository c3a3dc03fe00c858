#pragma once

#include <QString>
#include <qnamespace.h>
#include <QStringList>

class Dataset;
class QTreeWidget;
class QTreeWidgetItem;

// The keys a classification tree node carries (TGRec): its level-1 to level-4 key along the path
// from the top; levels below the node hold "null".
struct TreeNodeKeys {
    QString level1, level2, level3, level4;
    QString at(int level) const;  // 1..4
};

// Item data role that holds a node's keys.
constexpr int TreeNodeKeysRole = Qt::UserRole + 20;

TreeNodeKeys NodeKeys(const QTreeWidgetItem* node);

// Adds a node with the caption and keys as the last child of parent (or at the top level).
QTreeWidgetItem* AddTreeNode(QTreeWidget* tree, QTreeWidgetItem* parent, bool useImages, int imageIndex,
                             int selectedImageIndex, const QString& caption, const QString& key1,
                             const QString& key2, const QString& key3, const QString& key4);

// Fills one level of a lazily expanded tree from the query (caption, then the four keys). Without
// a parent: the top level, each node with an empty-caption placeholder child. With a parent: only
// when its one child is the placeholder, which is replaced by the level's nodes, each with its own
// placeholder unless lastLevel is set. A level already loaded is left alone.
void FillTreeLevel(QTreeWidget* tree, QTreeWidgetItem* parent, Dataset& query, const QString& sql, bool useImages,
                   int imageIndex, int selectedImageIndex, bool lastLevel);
