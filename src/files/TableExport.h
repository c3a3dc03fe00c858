#pragma once

#include <QString>

class Connection;

// Exports every row of a record table (Q_A .. Q_E) in its columns in use, in display order, titled
// with their captions, coded columns as their names and dates as yyyy-mm-dd, in the format of the
// file's extension. Returns the number of rows written; throws AppError.
int ExportRecordTable(Connection& connection, const QString& table, const QString& path);
