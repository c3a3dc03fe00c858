#pragma once

#include <QAbstractTableModel>
#include <QPointer>

class Dataset;

// Shows a dataset in a grid: one row per dataset row, one column per field. Cells are read from
// the dataset on demand, so a view touches only the rows it paints.
class DatasetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit DatasetModel(Dataset* dataset, QObject* parent = nullptr);

    Dataset* dataset() const { return source; }
    // Whether cells may be edited in place (the dataset must be able to write to its table).
    void setEditable(bool editable) { cellsEditable = editable; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

private:
    QPointer<Dataset> source;
    bool cellsEditable = false;
};
