#include "QueryPanel.h"

#include "core/DataModule.h"
#include "core/DateText.h"
#include "core/Dataset.h"
#include "core/QueryRunners.h"
#include "widgets/KeyFilters.h"
#include "widgets/ListFillers.h"
#include "widgets/MappedComboBox.h"
#include "widgets/NullableDateEdit.h"

#include <QLabel>
#include <QLineEdit>

namespace {

constexpr int panelTag = 8;
constexpr int labelHeight = 17;
constexpr int inputHeight = 21;

struct Slot {
    int top;
    int left;
};

// Slots of INO 1..9, three to a row.
constexpr Slot slotPlaces[] = {{0, 0}, {0, 300}, {0, 600}, {23, 0}, {23, 300}, {23, 600}, {46, 0}, {46, 300}, {46, 600}};

template <typename Control>
Control* tagged(Control* control, const QString& name)
{
    control->setObjectName(name);
    control->setProperty("tag", panelTag);
    control->hide();
    return control;
}

void place(QWidget* control, int left, int top, int width, int height)
{
    control->setGeometry(left, top, width, height);
    control->show();
}

// The date the box shows, so that a typed date counts before the box has lost the focus.
QDate shownDate(const NullableDateEdit* box)
{
    const QString text = box->lineEdit()->text().trimmed();
    if (text.isEmpty())
        return {};
    const QDateTime typed = DateText::parse(text);
    return typed.isValid() ? typed.date() : box->date();
}

}

PanelForm PanelFormFor(int m)
{
    if (m <= 3)
        return {30, QRect(891, 3, 58, 23), QStringLiteral("查询"), QRect(950, 3, 58, 23), QStringLiteral("清除"), 1};
    return {m <= 6 ? 53 : 76, QRect(906, 27, 90, 25), QStringLiteral("执行查询"), QRect(906, 2, 90, 25),
            QStringLiteral("清除条件"), 4};
}

QueryPanel::QueryPanel(QWidget* parent, QChar tableLetter)
    : QWidget(parent), letter(tableLetter.toUpper())
{
    setObjectName(QStringLiteral("queryPanel"));
    for (const QString& code : FieldCodes::codes(letter))
        createColumn(code);
}

void QueryPanel::createColumn(const QString& code)
{
    Column c;
    c.code = code;
    c.kind = FieldCodes::kindOf(code);
    c.label = tagged(new QLabel(code, this), QStringLiteral("lbl") + code);
    switch (c.kind) {
    case FieldKind::Text:
    case FieldKind::Integer:
    case FieldKind::Decimal:
        c.edit = tagged(new QLineEdit(this), QStringLiteral("dbed") + code);
        if (c.kind == FieldKind::Integer)
            KeyFilters::attachIntegerOnly(c.edit);
        else if (c.kind == FieldKind::Decimal)
            KeyFilters::attachDecimalOnly(c.edit);
        break;
    case FieldKind::Coded:
        c.combo = tagged(new MappedComboBox(this), QStringLiteral("dbcb") + code);
        c.combo->setMaxVisibleItems(8);
        break;
    case FieldKind::Date:
        c.from = tagged(new NullableDateEdit(this), QStringLiteral("dbdts") + code);
        c.dash = tagged(new QLabel(QStringLiteral("-"), this), QStringLiteral("lbl") + code + QLatin1Char('3'));
        c.to = tagged(new NullableDateEdit(this), QStringLiteral("dbdte") + code);
        break;
    case FieldKind::None:
        break;
    }
    columns << c;
}

const QueryPanel::Column* QueryPanel::column(const QString& code) const
{
    for (const Column& c : columns) {
        if (c.code == code)
            return &c;
    }
    return nullptr;
}

void QueryPanel::applyCaptions()
{
    const DataModule* dm = DataModule::instance();
    if (!dm)
        return;
    for (const Column& c : columns)
        c.label->setText(dm->fieldCaption(c.code));
}

void QueryPanel::fillCodeLists(Dataset& work)
{
    for (const Column& c : columns) {
        if (!c.combo)
            continue;
        FillListFromQuery(work, CodeListStatement(c.code), true, c.combo);
    }
}

int QueryPanel::LayoutQueryPanel(Dataset& work)
{
    hideAll();
    int m = 0;
    if (OpenQuery(work, QueryLayoutStatement(letter))) {
        int slot = 1;
        for (work.first(); !work.eof(); work.next()) {
            m = int(work.asInteger(0));
            if (m >= 1 && m <= 9)
                slot = m;
            if (const Column* c = column(work.asString(1)))
                placeColumn(*c, work.asString(2), slotPlaces[slot - 1].left, slotPlaces[slot - 1].top);
        }
    }
    coverShownControls();
    return m;
}

void QueryPanel::placeColumn(const Column& c, const QString& type, int left, int top)
{
    place(c.label, left, top + 6, 70, labelHeight);
    if (type == QLatin1String("S") || type == QLatin1String("I") || type == QLatin1String("F")) {
        if (c.edit)
            place(c.edit, left + 70, top + 4, 220, inputHeight);
    } else if (type == QLatin1String("D")) {
        if (c.from) {
            place(c.from, left + 70, top + 4, 105, inputHeight);
            place(c.dash, left + 178, top + 6, 5, labelHeight);
            place(c.to, left + 186, top + 4, 105, inputHeight);
        }
    } else if (type == QLatin1String("C")) {
        if (c.combo)
            place(c.combo, left + 70, top + 4, 220, inputHeight);
    }
}

void QueryPanel::hideAll()
{
    for (QWidget* child : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (child->property("tag").toInt() == panelTag)
            child->hide();
    }
}

void QueryPanel::coverShownControls()
{
    QRect covered;
    for (QWidget* child : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (!child->isHidden())
            covered |= child->geometry();
    }
    setMinimumSize(covered.isNull() ? QSize(0, 0) : QSize(covered.right() + 1, covered.bottom() + 1));
}

QueryValues QueryPanel::values() const
{
    QueryValues v;
    for (const Column& c : columns) {
        if (c.edit)
            v.texts.insert(c.code, c.edit->text());
        else if (c.combo)
            v.codes.insert(c.code, c.combo->value());
        else if (c.from)
            v.dates.insert(c.code, {shownDate(c.from), shownDate(c.to)});
    }
    return v;
}

void QueryPanel::setConditionValue(const QString& code, const QString& value)
{
    const Column* c = column(code.toUpper());
    if (!c)
        return;
    if (c->edit) {
        c->edit->setText(value);
    } else if (c->combo) {
        c->combo->setValue(value);
    } else if (c->from) {
        const QDate day = DateText::parse(value).date();
        c->from->setDate(day);
        c->to->setDate(day);
    }
}

MappedComboBox* QueryPanel::codeList(const QString& code) const
{
    const Column* c = column(code.toUpper());
    return c ? c->combo : nullptr;
}

void QueryPanel::clear()
{
    for (auto c = columns.crbegin(); c != columns.crend(); ++c) {
        if (c->edit && c->edit->isEnabled())
            c->edit->clear();
        if (c->combo && c->combo->isEnabled())
            c->combo->clearValue();
        if (c->to && c->to->isEnabled())
            c->to->clear();
        if (c->from && c->from->isEnabled())
            c->from->clear();
    }
}
