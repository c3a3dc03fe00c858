#pragma once

#include <QComboBox>
#include <QStringList>

// An editable drop-down whose items are "display text<TAB>stored value". In mapped mode the box
// shows the part before the first TAB and yields the part after it; otherwise (and for an item
// without a TAB) an item's whole text is both shown and yielded.
// Typed text selects the first item whose display text it equals exactly; text that equals no
// display text has no value. There is no completion, so what is typed is what is matched.
class MappedComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit MappedComboBox(QWidget* parent = nullptr);

    bool isMapped() const { return mapped; }
    void setMapped(bool on);

    void addItemText(const QString& item);
    // Replaces the items; the current value stays selected when an item still has it.
    void setItemTexts(const QStringList& items);
    QStringList itemTexts() const;
    void clearItems();

    // Stored value of the selection; empty when nothing is selected.
    QString value() const;
    // Selects the item with this stored value; nothing (and empty text) when no item has it.
    void setValue(const QString& value);
    void clearValue();
    QString displayText() const { return currentText(); }

signals:
    void valueChanged(const QString& value);

private:
    QString rawText(int index) const;
    int indexOfValue(const QString& value) const;
    int matchingIndex() const;
    void appendItems(const QStringList& items);
    void select(int index);
    void updateValue();

    bool mapped = true;
    bool changingItems = false;
    QString lastValue;
};
