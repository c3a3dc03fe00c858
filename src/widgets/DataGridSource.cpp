#include "DataGridSource.h"

#include "DataGrid.h"
#include "core/Dataset.h"

DataGridSource::DataGridSource(const DataGrid* grid) : grid(grid), fields(grid->visibleColumnsInOrder())
{
}

int DataGridSource::rowCount() const
{
    const Dataset* d = grid->dataset();
    return d && d->isOpen() ? d->rowCount() : 0;
}

QString DataGridSource::title(int column) const
{
    return grid->columnTitle(fields[column]);
}

QString DataGridSource::cellText(int row, int column) const
{
    return grid->cellText(row, fields[column]);
}

bool DataGridSource::isNumeric(int column) const
{
    const Dataset* d = grid->dataset();
    const int field = d ? d->fieldIndex(fields[column]) : -1;
    if (field < 0 || grid->isCheckBoxColumn(fields[column]))
        return false;
    // A pick-list column shows names; only cells that read as numbers become numbers.
    const FieldKind kind = d->fieldKind(field);
    return kind == FieldKind::Integer || kind == FieldKind::Decimal;
}
