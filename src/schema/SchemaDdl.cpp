#include "SchemaDdl.h"

#include "TableRegistry.h"

namespace {

QString quotedName(const QString& name)
{
    return QLatin1Char('"') + name + QLatin1Char('"');
}

QString typeName(ColumnType type)
{
    switch (type) {
    case ColumnType::Integer: return QStringLiteral("INTEGER");
    case ColumnType::Real: return QStringLiteral("REAL");
    case ColumnType::Text: return QStringLiteral("TEXT");
    }
    return {};
}

QString columnDefinition(const TableDef& table, const ColumnDef& column)
{
    const QString name = quotedName(column.name);
    if (column.autoKey)
        return name + QStringLiteral(" INTEGER PRIMARY KEY AUTOINCREMENT");

    QString result = name + QLatin1Char(' ') + typeName(column.type);
    const QString qualified = table.name + QLatin1Char('.') + column.name;
    if (column.type == ColumnType::Text && column.maxLength > 0)
        result += QStringLiteral(" CONSTRAINT %1 CHECK (length(%2) <= %3)")
                      .arg(quotedName(QStringLiteral("%1 长度不能超过%2个字符").arg(qualified).arg(column.maxLength)),
                           name)
                      .arg(column.maxLength);
    if (column.type == ColumnType::Integer && column.int32)
        result += QStringLiteral(" CONSTRAINT %1 CHECK (%2 BETWEEN -2147483648 AND 2147483647)")
                      .arg(quotedName(qualified + QStringLiteral(" 超出整数范围")), name);
    return result;
}

QString createTable(const TableDef& table)
{
    QStringList parts;
    for (const ColumnDef& column : table.columns)
        parts << columnDefinition(table, column);
    if (!table.keyColumns.isEmpty() && !table.hasAutoKey()) {
        QStringList keys;
        for (const QString& key : table.keyColumns)
            keys << quotedName(key);
        parts << QStringLiteral("PRIMARY KEY (%1)").arg(keys.join(QLatin1Char(',')));
    }
    return QStringLiteral("CREATE TABLE %1 (%2) STRICT").arg(quotedName(table.name), parts.join(QStringLiteral(", ")));
}

QString createIndex(const TableDef& table, const QString& column)
{
    return QStringLiteral("CREATE INDEX %1 ON %2 (%3)")
        .arg(quotedName(QStringLiteral("IX_%1_%2").arg(table.name, column)), quotedName(table.name),
             quotedName(column));
}

}

namespace SchemaDdl {

QStringList createStatements()
{
    QStringList statements;
    for (const TableDef& table : TableRegistry::tables())
        statements << createTable(table);
    for (const TableDef& table : TableRegistry::tables())
        for (const QString& column : table.indexedColumns)
            statements << createIndex(table, column);
    return statements;
}

}
