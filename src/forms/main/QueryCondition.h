#pragma once

#include <QChar>
#include <QDate>
#include <QHash>
#include <QPair>
#include <QString>

// What a query panel holds, by column code (AS01, AI02, AC03, AD01, ...).
struct QueryValues {
    QHash<QString, QString> texts;              // S, I and F columns: the text as typed
    QHash<QString, QString> codes;              // C columns: the code the drop-down yields ("" = none)
    QHash<QString, QPair<QDate, QDate>> dates;  // D columns: from, to (invalid = empty)
};

// The condition of a record query over the columns of the table letter, in the fixed column order
// (S01..S15, S50, I01..I04, F01..F04, C01..C10, D01..D04), each clause beginning with " and ";
// empty when no column holds a value. Texts are trimmed; strings match anywhere in the column.
// Throws AppError naming the column's caption when an integer or decimal text, or a code, is not
// a number of its kind.
QString BuildQueryCondition(QChar tableLetter, const QueryValues& values);

// The configured query columns of the table letter with their types, by slot number (INO).
QString QueryLayoutStatement(QChar tableLetter);

// The code list of a coded column (AC01): code and name, by code.
QString CodeListStatement(const QString& code);
