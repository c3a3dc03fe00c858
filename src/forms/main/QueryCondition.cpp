#include "QueryCondition.h"

#include "core/AppError.h"
#include "core/DataModule.h"
#include "core/DateText.h"
#include "core/FieldCodes.h"
#include "core/SqlText.h"

namespace {

QString captionOf(const QString& code)
{
    const DataModule* dm = DataModule::instance();
    const QString caption = dm ? dm->fieldCaption(code) : QString();
    return caption.isEmpty() ? code : caption;
}

QString textClause(const QString& code, const QString& text)
{
    return QStringLiteral(" and ") + code + QStringLiteral(" like '%") + SqlText::escaped(text) + QStringLiteral("%'");
}

// " and AI01=12"; the text must pass the check of its kind.
QString equalsClause(const QString& code, const QString& text, bool integer)
{
    if (integer ? !SqlText::isInteger(text) : !SqlText::isNumber(text))
        throw AppError(QStringLiteral("查询条件“%1”必须是%2，“%3”不是%2。")
                           .arg(captionOf(code), integer ? QStringLiteral("整数") : QStringLiteral("数字"), text));
    return QStringLiteral(" and ") + code + QLatin1Char('=') + text;
}

QString dateClause(const QString& code, const QDate& from, const QDate& to)
{
    const QString column = QStringLiteral(" and ") + code;
    if (from.isValid() && to.isValid())
        return column + QStringLiteral(" between ") + DateToSqlText(from) + QStringLiteral(" and ") + DateToSqlText(to);
    if (from.isValid())
        return column + QStringLiteral(" >= ") + DateToSqlText(from);
    if (to.isValid())
        return column + QStringLiteral(" <= ") + DateToSqlText(to);
    return {};
}

}

QString BuildQueryCondition(QChar tableLetter, const QueryValues& values)
{
    QString condition;
    for (const QString& code : FieldCodes::codes(tableLetter.toUpper())) {
        switch (FieldCodes::kindOf(code)) {
        case FieldKind::Text: {
            const QString text = values.texts.value(code).trimmed();
            if (!text.isEmpty())
                condition += textClause(code, text);
            break;
        }
        case FieldKind::Integer:
        case FieldKind::Decimal: {
            const QString text = values.texts.value(code).trimmed();
            if (!text.isEmpty())
                condition += equalsClause(code, text, FieldCodes::kindOf(code) == FieldKind::Integer);
            break;
        }
        case FieldKind::Coded: {
            const QString value = values.codes.value(code).trimmed();
            if (!value.isEmpty())
                condition += equalsClause(code, value, true);
            break;
        }
        case FieldKind::Date: {
            const QPair<QDate, QDate> range = values.dates.value(code);
            condition += dateClause(code, range.first, range.second);
            break;
        }
        case FieldKind::None:
            break;
        }
    }
    return condition;
}

QString QueryLayoutStatement(QChar tableLetter)
{
    return QStringLiteral("select a.ino,a.sfield,b.sfieldtype from s_query a, s_field b where a.sfield=b.sfield "
                          "and a.stable=b.stable and a.stable=")
        + SqlText::quoted(FieldCodes::tableName(tableLetter)) + QStringLiteral(" order by a.ino");
}

QString CodeListStatement(const QString& code)
{
    const QString field = code.toUpper();
    return QStringLiteral("select %1, %1NAME from Q_%1 order by %1").arg(field);
}
