#pragma once

#include <QString>

class Dataset;

// Replaces the query's statement and opens it on its first row. On failure shows "错误" with the
// engine's message, a line feed, a carriage return and the statement, leaves it closed, returns false.
bool OpenQuery(Dataset& query, const QString& sql);

// Replaces the query's statement and runs it as one that returns no rows. On failure shows the
// same error box and then throws the DbError on, abandoning the caller's operation.
bool ExecSql(Dataset& query, const QString& sql);

// The ORDER BY clause of a sort key from S_ORDER (" order by AS01 DESC,AS02 "), or empty.
QString BuildOrderBy(Dataset& query, const QString& sortKey);

// When the dataset holds an unsaved edit or new row: asks "数据已修改，要保存吗?", posts on OK and
// cancels otherwise, and returns true. Otherwise returns false and does nothing.
bool ConfirmPendingEdit(Dataset& dataset);

// The error box text of a failed statement.
QString StatementErrorText(const QString& engineMessage, const QString& sql);
