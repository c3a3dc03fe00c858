#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

// Kind of a generic column, from the type letter of its code (AS01, BI02, CF03, DC04, ED01).
enum class FieldKind { None, Text, Integer, Decimal, Coded, Date };

namespace FieldCodes {
// The record table letters A..E.
inline const QString tableLetters = QStringLiteral("ABCDE");

// The 38 column codes of a table letter in canonical order:
// S01..S15, S50, I01..I04, F01..F04, C01..C10, D01..D04.
QStringList codes(QChar letter);

// Kind of a column code; None when the text is not a generic column code.
FieldKind kindOf(const QString& code);

// "S", "I", "F", "C" or "D" for a kind; empty for None.
QString typeLetter(FieldKind kind);

// Widest text a text column holds: 250 for XS50, 50 for the others, 0 for non-text columns.
int textWidth(const QString& code);

// "Q_A" for letter A.
QString tableName(QChar letter);
}
