#include "QueryRunners.h"

#include "AppError.h"
#include "Dataset.h"
#include "Messages.h"
#include "SqlText.h"

QString StatementErrorText(const QString& engineMessage, const QString& sql)
{
    return engineMessage + QStringLiteral("\n\r") + sql;
}

bool OpenQuery(Dataset& query, const QString& sql)
{
    query.setSql(sql);
    try {
        query.open();
        return true;
    } catch (const AppError& e) {
        query.close();
        ShowError(StatementErrorText(e.message(), sql));
        return false;
    }
}

bool ExecSql(Dataset& query, const QString& sql)
{
    query.close();
    query.setSql(sql);
    try {
        query.execute();
    } catch (const AppError& e) {
        ShowError(StatementErrorText(e.message(), sql));
        throw;
    }
    return true;
}

QString BuildOrderBy(Dataset& query, const QString& sortKey)
{
    if (!OpenQuery(query, QStringLiteral("select sfield, stype from  s_order where stable=") + SqlText::quoted(sortKey)
                              + QStringLiteral(" order by ino")))
        return {};
    QString columns;
    for (query.first(); !query.eof(); query.next()) {
        const QString field = query.asString(0);
        if (field.isEmpty())
            continue;
        columns += field + (query.asString(1) == QLatin1String("DESC") ? QStringLiteral(" DESC,") : QStringLiteral(" ,"));
    }
    if (columns.isEmpty())
        return {};
    columns.chop(1);
    return QStringLiteral(" order by ") + columns;
}

bool ConfirmPendingEdit(Dataset& dataset)
{
    if (!dataset.isEditing())
        return false;
    if (AskConfirm(QStringLiteral("数据已修改，要保存吗?")))
        dataset.post();
    else
        dataset.cancel();
    return true;
}
