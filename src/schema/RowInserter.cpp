#include "RowInserter.h"

#include "core/Connection.h"

#include <sqlite3.h>

namespace {

QString insertText(const QString& table, const QStringList& columns)
{
    QStringList markers;
    markers.fill(QStringLiteral("?"), columns.size());
    return QStringLiteral("insert into %1(%2) values(%3)")
        .arg(table, columns.join(QLatin1Char(',')), markers.join(QLatin1Char(',')));
}

}

RowInserter::RowInserter(Connection& connection, const QString& table, const QStringList& columns)
    : statement(connection.handle(), insertText(table, columns))
{
}

void RowInserter::insert(const QVariantList& values)
{
    Q_ASSERT(values.size() == sqlite3_bind_parameter_count(statement.handle()));
    sqlite3_reset(statement.handle());
    for (int i = 0; i < values.size(); ++i)
        statement.bind(i + 1, values.at(i));
    statement.run();
}
