#pragma once

#include "core/SqlStatement.h"

#include <QStringList>
#include <QVariantList>

class Connection;

// One prepared INSERT into a fixed column list, reused for every row.
class RowInserter {
public:
    RowInserter(Connection& connection, const QString& table, const QStringList& columns);

    // Inserts one row; values are in column order, a null QVariant inserts NULL. Throws DbError.
    void insert(const QVariantList& values);

private:
    SqlStatement statement;
};
