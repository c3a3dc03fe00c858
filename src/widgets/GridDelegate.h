#pragma once

#include <QStyledItemDelegate>

class GridModel;

// Paints and edits a data grid's cells: check-box columns show a centred check that a click or
// the space key toggles, pick-list columns edit with a drop-down of the items that stores the
// chosen item's key, other columns with a line edit.
class GridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit GridDelegate(GridModel* model, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

    // Where the check of a check-box cell is drawn.
    static QRect checkRect(const QStyleOptionViewItem& option);

protected:
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;

private:
    void commitChoice();

    GridModel* gridModel;
};
