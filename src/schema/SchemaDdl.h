#pragma once

#include <QStringList>

// SQLite DDL for every table of the registry.
namespace SchemaDdl {
// CREATE TABLE ... STRICT for each table of TableRegistry::tables(), followed by one CREATE INDEX
// per indexed column. Text widths and the 32-bit integer range are named CHECK constraints, so the
// engine's refusal names the column and the rule ("Q_A.AS50 长度不能超过250个字符").
QStringList createStatements();
}
