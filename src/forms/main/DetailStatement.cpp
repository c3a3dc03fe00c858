#include "DetailStatement.h"

#include "core/Dataset.h"

QString DetailStatement(const QString& baseStatement, const Dataset& customers, const QString& sortClause)
{
    if (!customers.isOpen() || customers.isEmpty())
        return baseStatement + QStringLiteral(" and 1<>1");
    return baseStatement + QStringLiteral(" and a.AIID=") + QString::number(customers.asInteger(QStringLiteral("AIID")))
           + sortClause;
}
