#include "InitialContents.h"

#include "RowInserter.h"
#include "TableRegistry.h"

#include "core/FieldCodes.h"

#include <initializer_list>
#include <span>

namespace {

// INEWTYPE: the preset a new record gets.
enum class Preset { Repeat = 1, Increment = 2, None = 3 };

// One column in use in the first-installation layout, in display order.
struct FieldLayout {
    const char* code;
    const char* caption;
    bool mandatory = false;
    Preset preset = Preset::None;
    bool quickValues = false;
};

const FieldLayout customerFields[] = {
    {"AS01", "客户编号", true, Preset::Increment},
    {"AS02", "客户名称", true},
    {"AC01", "客户类型", false, Preset::Repeat},
    {"AC05", "客户等级"},
    {"AC02", "所属行业"},
    {"AC03", "所在地区"},
    {"AC04", "客户来源"},
    {"AS03", "联系人"},
    {"AS04", "手机"},
    {"AS05", "电话"},
    {"AS06", "传真"},
    {"AS07", "电子邮箱"},
    {"AS08", "网址"},
    {"AS11", "微信"},
    {"AS09", "地址", false, Preset::None, true},
    {"AS10", "邮编"},
    {"AI01", "员工人数"},
    {"AF01", "年采购额"},
    {"AD01", "建档日期", false, Preset::Repeat},
    {"AD02", "最近联系日期"},
    {"AS50", "备注", false, Preset::None, true},
};

const FieldLayout contactPersonFields[] = {
    {"BS01", "姓名", true},
    {"BC01", "性别"},
    {"BS02", "职务"},
    {"BS03", "部门"},
    {"BS04", "手机"},
    {"BS05", "电话"},
    {"BS06", "电子邮箱"},
    {"BS07", "微信"},
    {"BD01", "生日"},
    {"BS50", "备注"},
};

const FieldLayout contactRecordFields[] = {
    {"CD01", "联系日期", true, Preset::Repeat},
    {"CC01", "联系方式"},
    {"CS01", "联系人"},
    {"CS02", "跟进人"},
    {"CS50", "联系内容", false, Preset::None, true},
    {"CD02", "下次联系日期"},
};

const FieldLayout serviceRecordFields[] = {
    {"DD01", "服务日期", true},
    {"DC01", "服务类型"},
    {"DC02", "处理状态"},
    {"DS01", "服务人员"},
    {"DF01", "服务费用"},
    {"DS50", "服务内容"},
};

const FieldLayout otherRecordFields[] = {
    {"ES01", "标题", true},
    {"ED01", "日期"},
    {"ES50", "内容"},
};

struct TableLayout {
    char letter;
    std::span<const FieldLayout> fields;
};

const TableLayout layouts[] = {
    {'A', customerFields},
    {'B', contactPersonFields},
    {'C', contactRecordFields},
    {'D', serviceRecordFields},
    {'E', otherRecordFields},
};

struct CodeList {
    const char* table;
    std::initializer_list<const char*> names;  // in code order 1, 2, 3, ...
};

const CodeList codeLists[] = {
    {"Q_AC01", {"潜在客户", "意向客户", "成交客户", "流失客户"}},
    {"Q_AC02", {"制造业", "批发零售", "信息技术", "建筑工程", "服务业", "其他"}},
    {"Q_AC03", {"华北", "华东", "华南", "华中", "西南", "西北", "东北"}},
    {"Q_AC04", {"电话营销", "网络推广", "展会", "客户介绍", "其他"}},
    {"Q_AC05", {"A级", "B级", "C级"}},
    {"Q_BC01", {"男", "女"}},
    {"Q_CC01", {"电话", "上门拜访", "微信", "电子邮件", "其他"}},
    {"Q_DC01", {"售前咨询", "安装调试", "维修保养", "培训", "投诉处理"}},
    {"Q_DC02", {"待处理", "处理中", "已完成"}},
};

struct TableColumn {
    const char* table;
    int number;
    const char* field;
};

const TableColumn treeLevels[] = {
    {"Q_A", 1, "AC03"}, {"Q_A", 2, "AC02"}, {"Q_A", 3, "AC01"}, {"Q_A", 4, ""},
};

const TableColumn queryFields[] = {
    {"Q_A", 1, "AS01"}, {"Q_A", 2, "AS02"}, {"Q_A", 3, "AC01"}, {"Q_A", 4, "AS03"}, {"Q_A", 5, "AS04"},
    {"Q_A", 6, "AD01"}, {"Q_B", 1, "BS01"}, {"Q_B", 2, "BS04"}, {"Q_C", 1, "CD01"}, {"Q_C", 2, "CC01"},
    {"Q_D", 1, "DD01"}, {"Q_D", 2, "DC01"}, {"Q_E", 1, "ES01"},
};

const char* const sortKeys[] = {"Q_A", "Q_B", "Q_AB", "Q_C", "Q_AC", "Q_D", "Q_AD", "Q_E", "Q_AE"};
constexpr int sortRowsPerKey = 5;

struct SortColumn {
    const char* key;
    const char* field;
    const char* direction;
};

// The first sort row of these keys; every other row is empty.
const SortColumn presetSorts[] = {
    {"Q_A", "AS01", "ASC"},
    {"Q_C", "CD01", "DESC"},
    {"Q_D", "DD01", "DESC"},
};

struct QuickValue {
    const char* table;
    const char* field;
    const char* shortCode;
    const char* value;
};

const QuickValue quickValues[] = {
    {"Q_A", "AS09", "bj", "北京市"},
    {"Q_A", "AS09", "sh", "上海市"},
};

QString text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

QString numberOf(const QString& code)
{
    return QString::number(code.mid(2).toInt());
}

QString systemName(const QString& code)
{
    switch (FieldCodes::kindOf(code)) {
    case FieldKind::Text:
        return FieldCodes::textWidth(code) > 50 ? QStringLiteral("长文本字段") : QStringLiteral("文本字段") + code.mid(2);
    case FieldKind::Integer: return QStringLiteral("整数字段") + code.mid(2);
    case FieldKind::Decimal: return QStringLiteral("小数字段") + code.mid(2);
    case FieldKind::Coded: return QStringLiteral("代码字段") + code.mid(2);
    case FieldKind::Date: return QStringLiteral("日期字段") + code.mid(2);
    case FieldKind::None: break;
    }
    return {};
}

QString spareCaption(const QString& code)
{
    switch (FieldCodes::kindOf(code)) {
    case FieldKind::Text:
        return FieldCodes::textWidth(code) > 50 ? QStringLiteral("备用长文本") : QStringLiteral("备用文本") + numberOf(code);
    case FieldKind::Integer: return QStringLiteral("备用整数") + numberOf(code);
    case FieldKind::Decimal: return QStringLiteral("备用小数") + numberOf(code);
    case FieldKind::Coded: return QStringLiteral("备用代码") + numberOf(code);
    case FieldKind::Date: return QStringLiteral("备用日期") + numberOf(code);
    case FieldKind::None: break;
    }
    return {};
}

QString usageNote(const QString& code)
{
    switch (FieldCodes::kindOf(code)) {
    case FieldKind::Text: return QStringLiteral("%1，最多%2个字符")
            .arg(FieldCodes::textWidth(code) > 50 ? QStringLiteral("长文本") : QStringLiteral("文本"))
            .arg(FieldCodes::textWidth(code));
    case FieldKind::Integer: return QStringLiteral("整数");
    case FieldKind::Decimal: return QStringLiteral("小数");
    case FieldKind::Coded: return QStringLiteral("代码，取值来自代码表Q_") + code;
    case FieldKind::Date: return QStringLiteral("日期，格式yyyy-mm-dd");
    case FieldKind::None: break;
    }
    return {};
}

void fillFields(Connection& connection)
{
    RowInserter fields(connection, QStringLiteral("S_FIELD"),
                       {QStringLiteral("STABLE"), QStringLiteral("SFIELD"), QStringLiteral("SFIELDTYPE"),
                        QStringLiteral("SFIELDNAME"), QStringLiteral("SFIELDNAME1"), QStringLiteral("IDISPLAY"),
                        QStringLiteral("INOTNULL"), QStringLiteral("INEWTYPE"), QStringLiteral("IEASY"),
                        QStringLiteral("INO"), QStringLiteral("SREMARK")});
    for (const TableLayout& layout : layouts) {
        const QChar letter = QLatin1Char(layout.letter);
        const QString table = FieldCodes::tableName(letter);
        QStringList spare = FieldCodes::codes(letter);
        int number = 0;
        auto insert = [&](const QString& code, const QString& caption, bool inUse, const FieldLayout& field) {
            fields.insert({table, code, code.mid(1, 1), systemName(code), caption, int(inUse), int(field.mandatory),
                           int(field.preset), int(field.quickValues), ++number, usageNote(code)});
        };
        for (const FieldLayout& field : layout.fields) {
            const QString code = text(field.code);
            spare.removeOne(code);
            insert(code, text(field.caption), true, field);
        }
        for (const QString& code : spare)
            insert(code, spareCaption(code), false, FieldLayout{});
    }
}

void fillCodeLists(Connection& connection)
{
    for (const CodeList& list : codeLists) {
        const QString table = text(list.table);
        RowInserter codes(connection, table, {table.mid(2) + QStringLiteral("NAME")});
        for (const char* name : list.names)
            codes.insert({text(name)});
    }
}

void fillAdministrator(Connection& connection)
{
    const TableDef* users = TableRegistry::find(QStringLiteral("S_USER"));
    QStringList columns{QStringLiteral("SUSERID"), QStringLiteral("SUSERNAME"), QStringLiteral("SPASSWORD")};
    QVariantList values{QStringLiteral("0000"), QStringLiteral("系统管理员"), QStringLiteral("")};
    for (const ColumnDef& column : users->columns) {
        if (column.type == ColumnType::Integer) {
            columns << column.name;
            values << 1;
        }
    }
    RowInserter(connection, users->name, columns).insert(values);
}

void fillTableColumns(Connection& connection, const QString& table, std::span<const TableColumn> rows)
{
    RowInserter inserter(connection, table, {QStringLiteral("STABLE"), QStringLiteral("INO"), QStringLiteral("SFIELD")});
    for (const TableColumn& row : rows)
        inserter.insert({text(row.table), row.number, text(row.field)});
}

void fillSortOrders(Connection& connection)
{
    RowInserter orders(connection, QStringLiteral("S_ORDER"),
                       {QStringLiteral("STABLE"), QStringLiteral("INO"), QStringLiteral("SFIELD"),
                        QStringLiteral("STYPE")});
    for (const char* key : sortKeys) {
        for (int number = 1; number <= sortRowsPerKey; ++number) {
            QString field = QStringLiteral("");
            QString direction = QStringLiteral("");
            for (const SortColumn& preset : presetSorts) {
                if (number == 1 && qstrcmp(preset.key, key) == 0) {
                    field = text(preset.field);
                    direction = text(preset.direction);
                }
            }
            orders.insert({text(key), number, field, direction});
        }
    }
}

void fillQuickValues(Connection& connection)
{
    RowInserter easy(connection, QStringLiteral("S_EASY"),
                     {QStringLiteral("STABLE"), QStringLiteral("SFIELD"), QStringLiteral("SEASY"),
                      QStringLiteral("SVALUE")});
    for (const QuickValue& row : quickValues)
        easy.insert({text(row.table), text(row.field), text(row.shortCode), text(row.value)});
}

}

namespace InitialContents {

void fill(Connection& connection)
{
    fillFields(connection);
    fillCodeLists(connection);
    fillAdministrator(connection);
    fillTableColumns(connection, QStringLiteral("S_TREE"), treeLevels);
    fillTableColumns(connection, QStringLiteral("S_QUERY"), queryFields);
    fillSortOrders(connection);
    fillQuickValues(connection);
}

}
