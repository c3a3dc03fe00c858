#include "TreeStatements.h"

#include "core/DateText.h"
#include "core/SqlText.h"

#include <QStringList>

namespace {

bool isPlainType(const QString& type)
{
    return type == QLatin1String("S") || type == QLatin1String("I") || type == QLatin1String("F")
        || type == QLatin1String("D");
}

bool isCodeType(const QString& type)
{
    return type == QLatin1String("C");
}

// "a.F1=v1", "a.F2=v2", ... for the levels above the given one (1-based).
QStringList pathConditions(const TreeLevels& levels, int level, const TreeNodeKeys& keys)
{
    QStringList conditions;
    for (int k = 1; k < level; ++k) {
        const DataModule::TreeLevel& known = levels[size_t(k - 1)];
        conditions << QStringLiteral("a.") + known.field + QLatin1Char('=') + TreeKeySqlValue(keys.at(k), known.type);
    }
    return conditions;
}

// " and c1 and c2 ...".
QString andEach(const QStringList& conditions)
{
    QString result;
    for (const QString& condition : conditions)
        result += QStringLiteral(" and ") + condition;
    return result;
}

}

QString TreeKeySqlValue(const QString& key, const QString& type)
{
    if (type == QLatin1String("S"))
        return SqlText::quoted(key);
    if (type == QLatin1String("D")) {
        const QDateTime date = DateText::parse(key);
        if (date.isValid())
            return DateToSqlText(date);
    }
    return SqlText::isNumber(key) ? key : SqlText::quoted(key);
}

QString FirstLevelStatement(const TreeLevels& levels)
{
    const QString& f1 = levels[0].field;
    if (isPlainType(levels[0].type))
        return QStringLiteral("select distinct a.") + f1 + QStringLiteral(",a.") + f1
            + QStringLiteral(" as a1,'null','null','null' from Q_A a where a.") + f1 + QStringLiteral(" is not null")
            + QStringLiteral(" order by ") + f1;
    if (isCodeType(levels[0].type))
        return QStringLiteral("select distinct b.") + f1 + QStringLiteral("NAME,a.") + f1
            + QStringLiteral(",'null','null','null'") + QStringLiteral(" from Q_A a , Q_") + f1 + QStringLiteral(" b ")
            + QStringLiteral(" where a.") + f1 + QStringLiteral("=b.") + f1 + QStringLiteral(" order by a.") + f1;
    return {};
}

QString ExpansionStatement(const TreeLevels& levels, int depth, const TreeNodeKeys& keys)
{
    if (depth < 0 || depth > 2)
        return {};
    const int level = depth + 2;
    const DataModule::TreeLevel& next = levels[size_t(level - 1)];
    const QString& f = next.field;

    QString known;
    for (int k = 1; k < level; ++k)
        known += QLatin1Char(',') + SqlText::quoted(keys.at(k));
    const QString nulls = QStringLiteral(",'null'").repeated(4 - level);
    const QStringList path = pathConditions(levels, level, keys);

    if (isPlainType(next.type))
        return QStringLiteral("select distinct a.") + f + known + QStringLiteral(",a.") + f + QStringLiteral(" as a1")
            + nulls + QStringLiteral(" from Q_A a") + QStringLiteral(" where ") + path.join(QStringLiteral(" and "))
            + QStringLiteral(" and a.") + f + QStringLiteral(" is not null") + QStringLiteral(" order by ") + f;
    if (isCodeType(next.type))
        return QStringLiteral("select distinct b.") + f + QStringLiteral("NAME") + known + QStringLiteral(",a.") + f
            + nulls + QStringLiteral(" from Q_A a, Q_") + f + QStringLiteral(" b ") + QStringLiteral(" where a.") + f
            + QStringLiteral("=b.") + f + andEach(path) + QStringLiteral(" order by a.") + f;
    return {};
}

QString LevelCountStatement(const TreeLevels& levels, int depth, const TreeNodeKeys& keys)
{
    if (depth < 0 || depth > 3)
        return {};
    const int level = depth + 1;
    const DataModule::TreeLevel& counted = levels[size_t(depth)];
    const QString& f = counted.field;
    const QString path = andEach(pathConditions(levels, level, keys));
    if (isPlainType(counted.type))
        return QStringLiteral("select a.") + f + QStringLiteral(" as a1,count(*) from Q_A a where a.") + f
            + QStringLiteral(" is not null") + path + QStringLiteral(" group by a.") + f;
    if (isCodeType(counted.type))
        return QStringLiteral("select a.") + f + QStringLiteral(",count(*) from Q_A a, Q_") + f
            + QStringLiteral(" b where a.") + f + QStringLiteral("=b.") + f + path + QStringLiteral(" group by a.") + f;
    return {};
}
