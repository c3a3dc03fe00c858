#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// Storage type of a column.
enum class ColumnType { Integer, Real, Text };

struct ColumnDef {
    QString name;
    ColumnType type = ColumnType::Text;
    int maxLength = 0;        // widest text accepted; 0 = no limit
    bool int32 = false;       // integer limited to the 32-bit range
    bool autoKey = false;     // INTEGER PRIMARY KEY AUTOINCREMENT
};

struct TableDef {
    QString name;
    QList<ColumnDef> columns;
    QStringList keyColumns;      // empty: rows cannot be addressed for update or delete
    QStringList indexedColumns;  // one single-column index each

    const ColumnDef* column(const QString& columnName) const;  // case-insensitive
    bool hasAutoKey() const;

    QHash<QString, int> columnsByName;  // upper-case name -> position in columns
};

// Every table of the database: record tables, code tables, attachments, metadata and users.
namespace TableRegistry {
const QList<TableDef>& tables();
const TableDef* find(const QString& tableName);  // case-insensitive; nullptr when unknown
}
