#include "TreeFillers.h"

#include "ImageList.h"
#include "core/Dataset.h"
#include "core/QueryRunners.h"

#include <QTreeWidget>

Q_DECLARE_METATYPE(TreeNodeKeys)

QString TreeNodeKeys::at(int level) const
{
    switch (level) {
    case 1: return level1;
    case 2: return level2;
    case 3: return level3;
    case 4: return level4;
    default: return {};
    }
}

TreeNodeKeys NodeKeys(const QTreeWidgetItem* node)
{
    return node ? node->data(0, TreeNodeKeysRole).value<TreeNodeKeys>() : TreeNodeKeys{};
}

QTreeWidgetItem* AddTreeNode(QTreeWidget* tree, QTreeWidgetItem* parent, bool useImages, int imageIndex,
                             int selectedImageIndex, const QString& caption, const QString& key1,
                             const QString& key2, const QString& key3, const QString& key4)
{
    auto* node = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree);
    node->setText(0, caption);
    node->setData(0, TreeNodeKeysRole, QVariant::fromValue(TreeNodeKeys{key1, key2, key3, key4}));
    if (useImages) {
        node->setData(0, ImageIndexRole, imageIndex);
        node->setData(0, SelectedImageIndexRole, selectedImageIndex);
        node->setIcon(0, ImageList::at(tree, imageIndex));
    }
    return node;
}

namespace {
void addPlaceholder(QTreeWidgetItem* node)
{
    new QTreeWidgetItem(node);
}
}

void FillTreeLevel(QTreeWidget* tree, QTreeWidgetItem* parent, Dataset& query, const QString& sql, bool useImages,
                   int imageIndex, int selectedImageIndex, bool lastLevel)
{
    if (parent) {
        if (parent->childCount() != 1 || !parent->child(0)->text(0).isEmpty())
            return;
        delete parent->takeChild(0);
    }
    if (!OpenQuery(query, sql))
        return;
    for (query.first(); !query.eof(); query.next()) {
        QTreeWidgetItem* node = AddTreeNode(tree, parent, useImages, imageIndex, selectedImageIndex, query.asString(0),
                                            query.asString(1), query.asString(2), query.asString(3), query.asString(4));
        if (!parent || !lastLevel)
            addPlaceholder(node);
    }
}
