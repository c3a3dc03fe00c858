#pragma once

#include "GridColumn.h"
#include "core/Dataset.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QMetaObject>
#include <QPointer>

#include <vector>


// A data grid's model: one row per dataset row, one column per field. Cells are read from the
// dataset on demand; pick-list columns show the item of the stored key and check-box columns a
// check state. Edits go into the dataset's current row; errors are shown, never thrown.
class GridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit GridModel(QObject* parent = nullptr);

    // The dataset is not owned; it may be closed, re-opened or destroyed at any time.
    void setDataset(Dataset* dataset);
    Dataset* dataset() const { return source; }
    // True from before to after a change of the rows (reset, insert, remove).
    bool isChangingRows() const { return changingRows; }

    void setEditable(bool editable) { cellsEditable = editable; }
    bool isEditable() const { return cellsEditable; }

    // Column settings by field name, without regard to case; a field not open yet keeps its
    // settings until it shows.
    GridColumn column(const QString& field) const;
    void setColumn(const QString& field, const GridColumn& settings);
    const GridColumn& columnAt(int column) const;

    QString fieldName(int column) const;
    // Exactly what a cell shows: the pick-list item of the key, the dataset's text otherwise. A
    // check-box cell gives its stored value.
    QString cellText(int row, int column) const;
    static bool isChecked(const QVariant& value);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Edits the dataset's current row only: a cell of another row is refused.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

signals:
    // The dataset was re-opened with the same fields: new rows, same columns.
    void rowsReplaced();

private:
    void beginRowChange();
    void endRowChange();
    void refreshColumns();

    QPointer<Dataset> source;
    QList<QMetaObject::Connection> connections;
    bool cellsEditable = false;
    bool changingRows = false;
    int rows = 0;  // the row count the views have been told of
    QHash<QString, GridColumn> settings;  // by upper-case field name
    std::vector<GridColumn> shown;        // settings of the open fields, by position
};
