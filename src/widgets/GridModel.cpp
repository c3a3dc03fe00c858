#include "GridModel.h"

#include "core/AppError.h"
#include "core/Dataset.h"
#include "core/Messages.h"

GridModel::GridModel(QObject* parent) : QAbstractTableModel(parent)
{
}

void GridModel::setDataset(Dataset* dataset)
{
    if (dataset == source)
        return;
    beginRowChange();
    beginResetModel();
    for (const QMetaObject::Connection& connection : std::as_const(connections))
        disconnect(connection);
    connections.clear();
    source = dataset;
    if (dataset) {
        connections << connect(dataset, &Dataset::aboutToReset, this, [this] {
            beginRowChange();
            beginResetModel();
        });
        connections << connect(dataset, &Dataset::resetDone, this, [this] {
            refreshColumns();
            rows = source->rowCount();
            endResetModel();
            endRowChange();
        });
        // Same fields again: only the rows change, so the views keep their columns.
        connections << connect(dataset, &Dataset::rowsAboutToBeReplaced, this, [this] {
            beginRowChange();
            if (rows > 0) {
                beginRemoveRows({}, 0, rows - 1);
                rows = 0;
                endRemoveRows();
            }
        });
        connections << connect(dataset, &Dataset::rowsReplaced, this, [this] {
            const int count = source->rowCount();
            if (count > 0) {
                beginInsertRows({}, 0, count - 1);
                rows = count;
                endInsertRows();
            }
            endRowChange();
            emit rowsReplaced();
        });
        connections << connect(dataset, &Dataset::rowAboutToBeInserted, this, [this](int row) {
            beginRowChange();
            beginInsertRows({}, row, row);
        });
        connections << connect(dataset, &Dataset::rowInserted, this, [this] {
            rows = source->rowCount();
            endInsertRows();
            endRowChange();
        });
        connections << connect(dataset, &Dataset::rowAboutToBeRemoved, this, [this](int row) {
            beginRowChange();
            beginRemoveRows({}, row, row);
        });
        connections << connect(dataset, &Dataset::rowRemoved, this, [this] {
            rows = source->rowCount();
            endRemoveRows();
            endRowChange();
        });
        connections << connect(dataset, &Dataset::rowChanged, this, [this](int row) {
            if (row >= 0 && row < rowCount() && columnCount() > 0)
                emit dataChanged(index(row, 0), index(row, columnCount() - 1));
        });
        // The dataset is already gone (source reads null): drop its rows from the views.
        connections << connect(dataset, &QObject::destroyed, this, [this] {
            beginResetModel();
            shown.clear();
            rows = 0;
            endResetModel();
        });
    }
    refreshColumns();
    rows = source ? source->rowCount() : 0;
    endResetModel();
    endRowChange();
}

void GridModel::beginRowChange()
{
    changingRows = true;
}

void GridModel::endRowChange()
{
    changingRows = false;
}

void GridModel::refreshColumns()
{
    shown.assign(size_t(columnCount()), GridColumn());
    for (int i = 0; i < columnCount(); ++i)
        shown[size_t(i)] = settings.value(fieldName(i).toUpper());
}

GridColumn GridModel::column(const QString& field) const
{
    return settings.value(field.toUpper());
}

void GridModel::setColumn(const QString& field, const GridColumn& column)
{
    settings.insert(field.toUpper(), column);
    for (int i = 0; i < int(shown.size()); ++i) {
        if (fieldName(i).compare(field, Qt::CaseInsensitive) != 0)
            continue;
        shown[size_t(i)] = column;
        emit headerDataChanged(Qt::Horizontal, i, i);
        if (rowCount() > 0)
            emit dataChanged(index(0, i), index(rowCount() - 1, i));
    }
}

const GridColumn& GridModel::columnAt(int column) const
{
    static const GridColumn plain;
    return column >= 0 && column < int(shown.size()) ? shown[size_t(column)] : plain;
}

QString GridModel::fieldName(int column) const
{
    return source && column >= 0 && column < source->fieldCount() ? source->fieldName(column) : QString();
}

QString GridModel::cellText(int row, int column) const
{
    if (!source || row < 0 || row >= source->rowCount() || column < 0 || column >= source->fieldCount())
        return {};
    const QString text = source->textAt(row, column);
    const GridColumn& shownColumn = columnAt(column);
    return shownColumn.hasPickList() && !shownColumn.checkBox ? shownColumn.pickList.itemOf(text) : text;
}

bool GridModel::isChecked(const QVariant& value)
{
    bool ok = false;
    return !value.isNull() && value.toDouble(&ok) == 1.0 && ok;
}

int GridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || !source ? 0 : rows;
}

int GridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() || !source ? 0 : source->fieldCount();
}

QVariant GridModel::data(const QModelIndex& index, int role) const
{
    if (!source || !index.isValid() || index.row() >= source->rowCount() || index.column() >= source->fieldCount())
        return {};
    const GridColumn& shownColumn = columnAt(index.column());
    switch (role) {
    case Qt::DisplayRole:
        if (shownColumn.checkBox)
            return {};
        return cellText(index.row(), index.column());
    case Qt::EditRole: return source->textAt(index.row(), index.column());
    case Qt::CheckStateRole:
        if (!shownColumn.checkBox)
            return {};
        return isChecked(source->valueAt(index.row(), index.column())) ? Qt::Checked : Qt::Unchecked;
    case Qt::TextAlignmentRole: {
        const FieldKind kind = source->fieldKind(index.column());
        const bool number = (kind == FieldKind::Integer || kind == FieldKind::Decimal) && !shownColumn.hasPickList();
        return int((number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    }
    default: return {};
    }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    const QString title = columnAt(section).title;
    return title.isEmpty() ? fieldName(section) : title;
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
    if (cellsEditable && source && source->canModify() && index.column() < source->fieldCount()
        && source->isFieldWritable(index.column()))
        f |= columnAt(index.column()).checkBox ? Qt::ItemIsUserCheckable : Qt::ItemIsEditable;
    return f;
}

bool GridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    const Qt::ItemFlags f = flags(index);
    QVariant stored;
    if (role == Qt::CheckStateRole && (f & Qt::ItemIsUserCheckable))
        stored = qint64(value.toInt() == Qt::Checked ? 1 : 0);
    else if (role == Qt::EditRole && (f & Qt::ItemIsEditable))
        stored = value;
    else
        return false;
    if (index.row() != source->currentRow())
        return false;
    try {
        source->edit();
        source->setValue(index.column(), stored);
        return true;
    } catch (const AppError& e) {
        ShowError(e.message());
        return false;
    }
}
