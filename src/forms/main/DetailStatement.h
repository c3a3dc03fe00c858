#pragma once

#include <QString>

class Dataset;

// The statement of a detail page for the customer query's current customer: the page's base
// statement, " and a.AIID=" and the customer's key, then the sort clause; with no customer the
// base statement and " and 1<>1", an empty page.
QString DetailStatement(const QString& baseStatement, const Dataset& customers, const QString& sortClause);
