#pragma once

#include <QList>
#include <QString>

// The import template: a workbook whose one row holds the captions of a table's columns in use,
// mandatory ones in red, the others in black.
namespace ImportTemplate {
struct Column {
    QString caption;
    bool mandatory = false;
};
void write(const QList<Column>& columns, const QString& path);
}
