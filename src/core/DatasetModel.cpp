#include "DatasetModel.h"

#include "Dataset.h"

DatasetModel::DatasetModel(Dataset* dataset, QObject* parent) : QAbstractTableModel(parent), source(dataset)
{
    connect(dataset, &Dataset::aboutToReset, this, &DatasetModel::beginResetModel);
    connect(dataset, &Dataset::resetDone, this, &DatasetModel::endResetModel);
    connect(dataset, &Dataset::rowsAboutToBeReplaced, this, &DatasetModel::beginResetModel);
    connect(dataset, &Dataset::rowsReplaced, this, &DatasetModel::endResetModel);
    connect(dataset, &Dataset::rowAboutToBeInserted, this, [this](int row) { beginInsertRows({}, row, row); });
    connect(dataset, &Dataset::rowInserted, this, &DatasetModel::endInsertRows);
    connect(dataset, &Dataset::rowAboutToBeRemoved, this, [this](int row) { beginRemoveRows({}, row, row); });
    connect(dataset, &Dataset::rowRemoved, this, &DatasetModel::endRemoveRows);
    connect(dataset, &Dataset::rowChanged, this, [this](int row) {
        if (row >= 0 && row < rowCount())
            emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    });
}

int DatasetModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || !source ? 0 : source->rowCount();
}

int DatasetModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() || !source ? 0 : source->fieldCount();
}

QVariant DatasetModel::data(const QModelIndex& index, int role) const
{
    if (!source || !index.isValid() || index.row() >= source->rowCount() || index.column() >= source->fieldCount())
        return {};
    switch (role) {
    case Qt::DisplayRole: return source->textAt(index.row(), index.column());
    case Qt::EditRole: return source->valueAt(index.row(), index.column());
    default: return {};
    }
}

QVariant DatasetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || !source)
        return {};
    if (orientation == Qt::Horizontal)
        return section < source->fieldCount() ? QVariant(source->fieldName(section)) : QVariant();
    return section + 1;
}

Qt::ItemFlags DatasetModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (cellsEditable && source && source->canModify())
        f |= Qt::ItemIsEditable;
    return f;
}

bool DatasetModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    source->moveTo(index.row());
    source->edit();
    source->setValue(index.column(), value);
    return true;
}
