#include "TableRegistry.h"

#include "core/FieldCodes.h"

namespace {

ColumnDef text(const QString& name, int maxLength = 0) { return {name, ColumnType::Text, maxLength, false, false}; }
ColumnDef int32(const QString& name) { return {name, ColumnType::Integer, 0, true, false}; }
ColumnDef real(const QString& name) { return {name, ColumnType::Real, 0, false, false}; }
ColumnDef autoKey(const QString& name) { return {name, ColumnType::Integer, 0, false, true}; }

// Surrogate key of the tables that have no natural one; no statement of the program names it.
const QString surrogateKey = QStringLiteral("ROWKEY");

TableDef recordTable(QChar letter)
{
    TableDef t;
    t.name = FieldCodes::tableName(letter);
    const QString key = QString(letter) + QStringLiteral("IID");
    t.columns << autoKey(key);
    if (letter != QChar('A')) {
        t.columns << int32(QStringLiteral("AIID"));
        t.indexedColumns << QStringLiteral("AIID");
    }
    for (const QString& code : FieldCodes::codes(letter)) {
        switch (FieldCodes::kindOf(code)) {
        case FieldKind::Text: t.columns << text(code, FieldCodes::textWidth(code)); break;
        case FieldKind::Integer:
        case FieldKind::Coded: t.columns << int32(code); break;
        case FieldKind::Decimal:
        case FieldKind::Date: t.columns << real(code); break;
        case FieldKind::None: break;
        }
    }
    t.keyColumns << key;
    return t;
}

TableDef codeTable(const QString& code)
{
    return {QStringLiteral("Q_") + code, {autoKey(code), text(code + QStringLiteral("NAME"))}, {code}, {}};
}

QList<TableDef> buildTables()
{
    QList<TableDef> all;
    for (QChar letter : FieldCodes::tableLetters)
        all << recordTable(letter);
    for (QChar letter : FieldCodes::tableLetters)
        for (const QString& code : FieldCodes::codes(letter))
            if (FieldCodes::kindOf(code) == FieldKind::Coded)
                all << codeTable(code);

    all << TableDef{QStringLiteral("Q_BIN"),
                    {autoKey(QStringLiteral("IID")), int32(QStringLiteral("IFID")),
                     text(QStringLiteral("SFILENAME")), text(QStringLiteral("SFILEEXT"))},
                    {QStringLiteral("IID")}, {QStringLiteral("IFID")}};
    all << TableDef{QStringLiteral("Q_BBORROW"), {autoKey(surrogateKey), int32(QStringLiteral("AIID"))},
                    {surrogateKey}, {}};
    all << TableDef{QStringLiteral("Q_F"), {autoKey(surrogateKey), int32(QStringLiteral("AIID"))},
                    {surrogateKey}, {}};

    all << TableDef{QStringLiteral("S_FIELD"),
                    {text(QStringLiteral("STABLE")), text(QStringLiteral("SFIELD")),
                     text(QStringLiteral("SFIELDTYPE")), text(QStringLiteral("SFIELDNAME")),
                     text(QStringLiteral("SFIELDNAME1")), int32(QStringLiteral("IDISPLAY")),
                     int32(QStringLiteral("INOTNULL")), int32(QStringLiteral("INEWTYPE")),
                     int32(QStringLiteral("IEASY")), int32(QStringLiteral("INO")),
                     text(QStringLiteral("SREMARK"))},
                    {QStringLiteral("STABLE"), QStringLiteral("SFIELD")}, {}};
    all << TableDef{QStringLiteral("S_NEWVALUE"),
                    {text(QStringLiteral("SUSERID")), text(QStringLiteral("STABLE")),
                     text(QStringLiteral("SFIELD")), text(QStringLiteral("SNEWVALUE"))},
                    {QStringLiteral("SUSERID"), QStringLiteral("STABLE"), QStringLiteral("SFIELD")}, {}};
    for (const char* name : {"S_TREE", "S_QUERY"})
        all << TableDef{QString::fromLatin1(name),
                        {autoKey(surrogateKey), text(QStringLiteral("STABLE")), int32(QStringLiteral("INO")),
                         text(QStringLiteral("SFIELD"))},
                        {surrogateKey}, {}};
    all << TableDef{QStringLiteral("S_ORDER"),
                    {autoKey(surrogateKey), text(QStringLiteral("STABLE")), int32(QStringLiteral("INO")),
                     text(QStringLiteral("SFIELD")), text(QStringLiteral("STYPE"))},
                    {surrogateKey}, {}};
    all << TableDef{QStringLiteral("S_EASY"),
                    {autoKey(surrogateKey), text(QStringLiteral("STABLE")), text(QStringLiteral("SFIELD")),
                     text(QStringLiteral("SEASY")), text(QStringLiteral("SVALUE"))},
                    {surrogateKey}, {}};

    TableDef users{QStringLiteral("S_USER"),
                   {text(QStringLiteral("SUSERID")), text(QStringLiteral("SUSERNAME")),
                    text(QStringLiteral("SPASSWORD"))},
                   {QStringLiteral("SUSERID")}, {}};
    for (const char* flag : {"IRADD", "IREDIT", "IRDEL", "IRBATCH", "IRINPUT", "IREXPORT", "IRPRINT", "IRSET",
                             "IRBIN", "IR1", "IR2", "IR3", "IRBORROW", "IRJ", "IRK", "IRL", "IRM", "IRN", "IRO",
                             "IRP", "IRQ", "IRR", "IRT", "IRU", "IRV", "IRW", "IRX", "IRY", "IRZ", "IR4", "IR5",
                             "IR6"})
        users.columns << int32(QString::fromLatin1(flag));
    all << users;
    for (TableDef& t : all)
        for (int i = 0; i < t.columns.size(); ++i)
            t.columnsByName.insert(t.columns[i].name.toUpper(), i);
    return all;
}

}

const ColumnDef* TableDef::column(const QString& columnName) const
{
    const auto found = columnsByName.constFind(columnName.toUpper());
    return found == columnsByName.cend() ? nullptr : &columns[*found];
}

bool TableDef::hasAutoKey() const
{
    return keyColumns.size() == 1 && column(keyColumns.first()) && column(keyColumns.first())->autoKey;
}

namespace TableRegistry {

const QList<TableDef>& tables()
{
    static const QList<TableDef> all = buildTables();
    return all;
}

const TableDef* find(const QString& tableName)
{
    static const QHash<QString, const TableDef*> byName = [] {
        QHash<QString, const TableDef*> index;
        for (const TableDef& t : tables())
            index.insert(t.name.toUpper(), &t);
        return index;
    }();
    return byName.value(tableName.toUpper());
}

}
