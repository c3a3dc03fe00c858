#pragma once

#include "files/GridSource.h"

#include <QStringList>

class DataGrid;

// A grid as exporters see it: its visible columns in grid order with their titles, every row of
// its dataset, each cell as the grid shows it.
class DataGridSource : public GridSource {
public:
    explicit DataGridSource(const DataGrid* grid);
    int columnCount() const override { return int(fields.size()); }
    int rowCount() const override;
    QString title(int column) const override;
    QString cellText(int row, int column) const override;
    bool isNumeric(int column) const override;

private:
    const DataGrid* grid;
    QStringList fields;
};
