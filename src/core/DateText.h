#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

// Dates are day numbers since 1899-12-30, the time of day as the fraction; they are shown and
// typed as "yyyy-mm-dd".
namespace DateText {
inline const QString displayFormat = QStringLiteral("yyyy-MM-dd");

double toDayNumber(const QDateTime& dateTime);
double toDayNumber(const QDate& date);
QDateTime fromDayNumber(double dayNumber);

// "2024-03-05", with " hh:mm:ss" when the value has a time of day; empty for an invalid value.
QString format(const QDateTime& dateTime);
QString format(const QDate& date);

// Reads "yyyy-mm-dd" (also with "/" and an optional time "hh:mm[:ss]"); two-digit years are
// 1950..2049. Returns an invalid QDateTime when the text is no date.
QDateTime parse(const QString& text);
}

// Eight characters are read as yyyymmdd (non-digits as 0; an impossible date throws
// ConversionError); any other text as a date in the "yyyy-mm-dd" form, or SilentAbort.
QDateTime ParseDateText(const QString& text);

// The date's day number as SQL text: general format, at most 15 significant digits (45356).
QString DateToSqlText(const QDateTime& dateTime);
QString DateToSqlText(const QDate& date);
