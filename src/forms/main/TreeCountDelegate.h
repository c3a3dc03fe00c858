#pragma once

#include <QStyledItemDelegate>

// Item data role that holds a tree node's customer count.
constexpr int TreeNodeCountRole = Qt::UserRole + 21;

// Paints an item as usual and then, when it has a count, " (n)" after its caption in a lighter
// colour.
class TreeCountDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // " (n)" for an item with a count, empty otherwise.
    static QString countText(const QModelIndex& index);
};
