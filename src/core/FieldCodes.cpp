#include "FieldCodes.h"

namespace FieldCodes {

QStringList codes(QChar letter)
{
    static const struct { char type; int first; int last; } groups[] = {
        {'S', 1, 15}, {'S', 50, 50}, {'I', 1, 4}, {'F', 1, 4}, {'C', 1, 10}, {'D', 1, 4}};
    QStringList result;
    result.reserve(38);
    for (const auto& g : groups)
        for (int n = g.first; n <= g.last; ++n)
            result << QStringLiteral("%1%2%3").arg(letter).arg(QChar(g.type)).arg(n, 2, 10, QChar('0'));
    return result;
}

FieldKind kindOf(const QString& code)
{
    if (code.size() != 4 || !tableLetters.contains(code[0].toUpper()) || !code[2].isDigit() || !code[3].isDigit())
        return FieldKind::None;
    const int n = code.mid(2).toInt();
    switch (code[1].toUpper().toLatin1()) {
    case 'S': return (n >= 1 && n <= 15) || n == 50 ? FieldKind::Text : FieldKind::None;
    case 'I': return n >= 1 && n <= 4 ? FieldKind::Integer : FieldKind::None;
    case 'F': return n >= 1 && n <= 4 ? FieldKind::Decimal : FieldKind::None;
    case 'C': return n >= 1 && n <= 10 ? FieldKind::Coded : FieldKind::None;
    case 'D': return n >= 1 && n <= 4 ? FieldKind::Date : FieldKind::None;
    default: return FieldKind::None;
    }
}

QString typeLetter(FieldKind kind)
{
    switch (kind) {
    case FieldKind::Text: return QStringLiteral("S");
    case FieldKind::Integer: return QStringLiteral("I");
    case FieldKind::Decimal: return QStringLiteral("F");
    case FieldKind::Coded: return QStringLiteral("C");
    case FieldKind::Date: return QStringLiteral("D");
    case FieldKind::None: break;
    }
    return {};
}

int textWidth(const QString& code)
{
    if (kindOf(code) != FieldKind::Text)
        return 0;
    return code.mid(2) == QLatin1String("50") ? 250 : 50;
}

QString tableName(QChar letter)
{
    return QStringLiteral("Q_") + letter.toUpper();
}

}
