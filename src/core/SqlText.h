#pragma once

#include <QString>

// Writing user or file values into SQL text. Every value goes through these, so a quote in a
// value never breaks or changes a statement; numbers are checked before they are written bare.
namespace SqlText {
// The value with every single quote doubled, for use inside '...' (also inside like '%...%').
QString escaped(const QString& value);
// The value as a quoted SQL string literal: 'O''Brien'.
QString quoted(const QString& value);
// True when the text (blanks around it allowed) is a whole number in the 32-bit range.
bool isInteger(const QString& text);
// True when the text (blanks around it allowed) is a plain decimal number such as -12.5 or 3.
bool isNumber(const QString& text);
}
