#pragma once

#include <QString>

// What an exporter writes: column titles and rows of cell texts as a grid shows them.
class GridSource {
public:
    virtual ~GridSource() = default;
    virtual int columnCount() const = 0;
    virtual int rowCount() const = 0;
    virtual QString title(int column) const = 0;
    virtual QString cellText(int row, int column) const = 0;
    // Whether the column holds numbers (a spreadsheet then stores its cells as numbers).
    virtual bool isNumeric(int column) const { Q_UNUSED(column) return false; }
};
