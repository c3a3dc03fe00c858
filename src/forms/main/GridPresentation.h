#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

class DataGrid;
class Dataset;

// How the window dresses the grids of record tables: titles from the field captions, visible
// columns from the field dictionary, names in coded columns, sums and the shared look.
namespace GridPresentation {
// The 38 generic columns 75 wide, the key and link columns hidden, sums on the integer and
// decimal columns; the row and title heights of the grid.
void SetUpRecordGrid(DataGrid* grid, QChar tableLetter, int rowHeight, int titleHeight);

// Titles of the 38 columns from the field caption cache.
void ApplyFieldCaptions(DataGrid* grid, QChar tableLetter);

// Each column with an S_FIELD row is visible exactly when its IDISPLAY is 1.
void ApplyColumnDisplay(DataGrid* grid, QChar tableLetter, Dataset& work);

// Coded columns show names: from drop-down items ("name\tcode") by column code...
void FillCodedColumnsFromItems(DataGrid* grid, QChar tableLetter, const QHash<QString, QStringList>& itemsByCode);
// ...or from the code tables.
void FillCodedColumnsFromTables(DataGrid* grid, QChar tableLetter, Dataset& work);

// The look a detail grid takes from the customer grid when the window is shown.
void CopyLook(const DataGrid* from, DataGrid* to);
}
