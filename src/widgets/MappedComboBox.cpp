#include "MappedComboBox.h"

#include <QLineEdit>
#include <QScopedValueRollback>

namespace {
constexpr int rawTextRole = Qt::UserRole + 1;
constexpr Qt::MatchFlags exactText = Qt::MatchFixedString | Qt::MatchCaseSensitive;

struct ItemParts {
    QString display;
    QString value;
};

ItemParts splitItem(const QString& item, bool mapped)
{
    const qsizetype tab = mapped ? item.indexOf(QLatin1Char('\t')) : -1;
    if (tab < 0)
        return {item, item};
    return {item.left(tab), item.mid(tab + 1)};
}
}

MappedComboBox::MappedComboBox(QWidget* parent)
    : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    connect(this, &QComboBox::currentIndexChanged, this, &MappedComboBox::updateValue);
    connect(this, &QComboBox::editTextChanged, this, &MappedComboBox::updateValue);
}

void MappedComboBox::setMapped(bool on)
{
    if (mapped == on)
        return;
    mapped = on;
    {
        const QScopedValueRollback guard(changingItems, true);
        for (int i = 0; i < count(); ++i)
            setItemText(i, splitItem(rawText(i), mapped).display);
    }
    updateValue();
}

void MappedComboBox::addItemText(const QString& item)
{
    {
        const QScopedValueRollback guard(changingItems, true);
        appendItems({item});
    }
    updateValue();
}

void MappedComboBox::setItemTexts(const QStringList& items)
{
    const QString previous = value();
    {
        const QScopedValueRollback guard(changingItems, true);
        clear();
        appendItems(items);
        select(previous.isEmpty() ? -1 : indexOfValue(previous));
    }
    updateValue();
}

QStringList MappedComboBox::itemTexts() const
{
    QStringList items;
    items.reserve(count());
    for (int i = 0; i < count(); ++i)
        items << rawText(i);
    return items;
}

void MappedComboBox::clearItems()
{
    {
        const QScopedValueRollback guard(changingItems, true);
        clear();
        setEditText(QString());
    }
    updateValue();
}

QString MappedComboBox::value() const
{
    const int index = matchingIndex();
    return index < 0 ? QString() : splitItem(rawText(index), mapped).value;
}

void MappedComboBox::setValue(const QString& value)
{
    {
        const QScopedValueRollback guard(changingItems, true);
        select(indexOfValue(value));
    }
    updateValue();
}

void MappedComboBox::clearValue()
{
    {
        const QScopedValueRollback guard(changingItems, true);
        select(-1);
    }
    updateValue();
}

QString MappedComboBox::rawText(int index) const
{
    const QVariant raw = itemData(index, rawTextRole);
    return raw.isValid() ? raw.toString() : itemText(index);
}

int MappedComboBox::indexOfValue(const QString& value) const
{
    for (int i = 0; i < count(); ++i) {
        if (splitItem(rawText(i), mapped).value == value)
            return i;
    }
    return -1;
}

// The selected item when the shown text is still its display text, else the first item whose
// display text equals the shown text. Empty text selects nothing by itself.
int MappedComboBox::matchingIndex() const
{
    const QString text = currentText();
    const int index = currentIndex();
    if (index >= 0 && itemText(index) == text)
        return index;
    return text.isEmpty() ? -1 : findText(text, exactText);
}

void MappedComboBox::appendItems(const QStringList& items)
{
    const bool wasUnselected = currentIndex() < 0;
    const QString text = currentText();
    for (const QString& item : items) {
        addItem(splitItem(item, mapped).display);
        setItemData(count() - 1, item, rawTextRole);
    }
    // A combo box selects its first item when it is filled; ours stays without a selection.
    if (wasUnselected && currentIndex() >= 0) {
        setCurrentIndex(-1);
        setEditText(text);
    }
}

void MappedComboBox::select(int index)
{
    setCurrentIndex(index);
    setEditText(index < 0 ? QString() : itemText(index));
}

void MappedComboBox::updateValue()
{
    if (changingItems)
        return;
    const int index = matchingIndex();
    if (index >= 0 && index != currentIndex()) {
        const QScopedValueRollback guard(changingItems, true);
        setCurrentIndex(index);
    }
    const QString current = value();
    if (current == lastValue)
        return;
    lastValue = current;
    emit valueChanged(current);
}
