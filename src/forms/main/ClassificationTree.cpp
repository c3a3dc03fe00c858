#include "ClassificationTree.h"

#include "TreeCountDelegate.h"
#include "core/ActionGuard.h"
#include "core/Dataset.h"
#include "core/QueryRunners.h"
#include "widgets/ImageList.h"

#include <QHash>
#include <QHeaderView>
#include <QPainter>
#include <QPainterPath>

namespace {

// Closed and open folder for the inner levels, leaf and selected leaf for the last.
QIcon paintedImage(int index)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor outline(120, 90, 20);
    if (index < 2) {
        p.setPen(outline);
        p.setBrush(QColor(230, 190, 80));
        p.drawRect(QRectF(1.5, 4.5, 13, 10));
        p.drawRect(QRectF(1.5, 2.5, 5, 2));
        if (index == 1) {
            QPainterPath flap;
            flap.moveTo(3.5, 8.5);
            flap.lineTo(15.5, 8.5);
            flap.lineTo(13.5, 14.5);
            flap.lineTo(1.5, 14.5);
            flap.closeSubpath();
            p.setBrush(QColor(250, 220, 120));
            p.drawPath(flap);
        }
    } else {
        p.setPen(QColor(60, 60, 60));
        p.setBrush(index == 2 ? QColor(255, 255, 255) : QColor(90, 150, 230));
        p.drawRect(QRectF(3.5, 1.5, 9, 13));
        p.drawLine(QPointF(5.5, 5.5), QPointF(10.5, 5.5));
        p.drawLine(QPointF(5.5, 8.5), QPointF(10.5, 8.5));
        p.drawLine(QPointF(5.5, 11.5), QPointF(10.5, 11.5));
    }
    return QIcon(pixmap);
}

bool hasPlaceholder(const QTreeWidgetItem* node)
{
    return node->childCount() == 1 && node->child(0)->text(0).isEmpty();
}

// A level with a column and a type the statements know.
bool isConfigured(const DataModule::TreeLevel& level)
{
    return !level.field.isEmpty() && level.type.size() == 1 && QStringLiteral("SIFDC").contains(level.type);
}

}

ClassificationTree::ClassificationTree(QWidget* parent) : QTreeWidget(parent)
{
    setObjectName(QStringLiteral("tv1"));
    setColumnCount(1);
    setHeaderHidden(true);
    setIndentation(19);
    setToolTip(QStringLiteral("点击树型层次节点进行相应查询"));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setItemDelegate(new TreeCountDelegate(this));
    // The selection stays as visible without the focus as with it.
    QPalette keepSelection = palette();
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        keepSelection.setColor(QPalette::Inactive, role, keepSelection.color(QPalette::Active, role));
    setPalette(keepSelection);
    ImageList::set(this, {paintedImage(0), paintedImage(1), paintedImage(2), paintedImage(3)});

    connect(this, &QTreeWidget::itemExpanded, this,
            [this](QTreeWidgetItem* node) { RunGuarded([this, node] { expandNode(node); }); });
    connect(this, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* node) { emit nodeClicked(NodeKeys(node)); });
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &ClassificationTree::showSelection);
}

int ClassificationTree::depthOf(const QTreeWidgetItem* node)
{
    int depth = 0;
    for (const QTreeWidgetItem* p = node ? node->parent() : nullptr; p; p = p->parent())
        ++depth;
    return depth;
}

void ClassificationTree::buildFirstLevel(Dataset& work)
{
    workQuery = &work;
    clear();
    const DataModule* dm = DataModule::instance();
    for (int k = 1; k <= 4; ++k)
        treeLevels[size_t(k - 1)] = dm ? dm->treeLevel(k) : DataModule::TreeLevel{};
    if (!isConfigured(treeLevels[0]))
        return;  // no levels: an empty tree, not an engine error
    FillTreeLevel(this, nullptr, work, FirstLevelStatement(treeLevels), true, 0, 1, false);
    // Nodes get an expand button only when there is a next level to show.
    if (!isConfigured(treeLevels[1]))
        for (int i = 0; i < topLevelItemCount(); ++i)
            delete topLevelItem(i)->takeChild(0);
    if (topLevelItemCount() > 0)
        loadCounts(nullptr, 0, TreeNodeKeys{});
}

void ClassificationTree::expandNode(QTreeWidgetItem* node)
{
    const int depth = depthOf(node);
    if (depth > 2 || !workQuery)
        return;
    const TreeNodeKeys keys = NodeKeys(node);
    const bool firstTime = hasPlaceholder(node);
    const bool lastLevel = depth == 2;
    const bool childrenExpand = !lastLevel && isConfigured(treeLevels[size_t(depth + 2)]);
    FillTreeLevel(this, node, *workQuery, ExpansionStatement(treeLevels, depth, keys), true, lastLevel ? 2 : 0,
                  lastLevel ? 3 : 1, !childrenExpand);
    if (firstTime && node->childCount() > 0)
        loadCounts(node, depth + 1, keys);
}

void ClassificationTree::loadCounts(QTreeWidgetItem* parent, int depth, const TreeNodeKeys& parentKeys)
{
    if (!OpenQuery(*workQuery, LevelCountStatement(treeLevels, depth, parentKeys)))
        return;
    QHash<QString, qint64> counts;
    for (workQuery->first(); !workQuery->eof(); workQuery->next())
        counts.insert(workQuery->asString(0), workQuery->asInteger(1));
    const int count = parent ? parent->childCount() : topLevelItemCount();
    for (int i = 0; i < count; ++i) {
        QTreeWidgetItem* node = parent ? parent->child(i) : topLevelItem(i);
        node->setData(0, TreeNodeCountRole, counts.value(NodeKeys(node).at(depth + 1)));
    }
}

void ClassificationTree::showSelection(const QItemSelection& selected, const QItemSelection& deselected)
{
    for (const QModelIndex& index : deselected.indexes())
        if (QTreeWidgetItem* node = itemFromIndex(index))
            setImage(node, false);
    for (const QModelIndex& index : selected.indexes())
        if (QTreeWidgetItem* node = itemFromIndex(index))
            setImage(node, true);
}

void ClassificationTree::setImage(QTreeWidgetItem* node, bool selected)
{
    const QVariant index = node->data(0, selected ? SelectedImageIndexRole : ImageIndexRole);
    if (index.isValid())
        node->setIcon(0, ImageList::at(this, index.toInt()));
}
