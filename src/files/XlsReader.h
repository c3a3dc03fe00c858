#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// A worksheet as a table: the column names are the cells of its first row, every following row
// is a record with exactly as many cells.
struct XlsTable {
    QStringList columns;
    QList<QStringList> rows;
};

// Reads a worksheet (0 = the first) of an Excel 97-2003 workbook. Each cell comes back as text
// the way a user typed it: integers without ".0", decimals in their shortest form (12.5, 0.1),
// dates as yyyy-mm-dd, date-times as "yyyy-mm-dd hh:mm:ss", empty cells empty. Throws AppError
// for a missing file, a file that is no such workbook, a password-protected or damaged workbook
// and a workbook without that worksheet.
XlsTable ReadWorksheet(const QString& path, int sheetIndex);

inline XlsTable ReadFirstWorksheet(const QString& path)
{
    return ReadWorksheet(path, 0);
}
