#include "SqlText.h"

#include <QRegularExpression>

namespace SqlText {

QString escaped(const QString& value)
{
    QString result = value;
    result.replace(QLatin1Char('\''), QLatin1String("''"));
    return result;
}

QString quoted(const QString& value)
{
    return QLatin1Char('\'') + escaped(value) + QLatin1Char('\'');
}

bool isInteger(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^[+-]?[0-9]+$"));
    const QString t = text.trimmed();
    if (!pattern.match(t).hasMatch())
        return false;
    bool ok = false;
    const qlonglong v = t.toLongLong(&ok);
    return ok && v >= -2147483648LL && v <= 2147483647LL;
}

bool isNumber(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)$"));
    return pattern.match(text.trimmed()).hasMatch();
}

}
