#pragma once

#include <QString>

// Making the database of a new installation.
namespace NewDatabase {
// Creates data100.dbf (every table, index and first-installation row) and the attachment folder
// Q_UPFILE in the program folder; with demoCustomers > 0 also fills that many demo customers with
// detail rows. Throws AppError when data100.dbf already exists (nothing is touched then) or the
// database cannot be made (no file is left behind under the final name).
void create(const QString& programFolder, int demoCustomers = 0);
}
