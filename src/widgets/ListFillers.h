#pragma once

#include <QString>
#include <QStringList>

class Dataset;
class MappedComboBox;
class QAbstractButton;

// Enables save and undo while the dataset holds an unsaved edit or new row, disables them otherwise.
void SyncEditButtons(const Dataset& query, QAbstractButton* save, QAbstractButton* undo);

// Fills a drop-down list from a query: in mapped mode each item is column 1, TAB, column 0 (shown
// text and stored value); otherwise column 0, or "(空白)" for an empty value. False on an error.
bool FillListFromQuery(Dataset& query, const QString& sql, bool mapped, MappedComboBox* combo);

// A grid column's choices: the column stores keys and shows the matching items.
struct PickList {
    QStringList keys;
    QStringList items;

    // The shown text of a key; the key itself when it has no item.
    QString itemOf(const QString& key) const;
    // The key of a shown text; empty when there is none.
    QString keyOf(const QString& item) const;
};

// Keys from column 0 and items from column 1 of the query, blanks trimmed at both ends.
void FillColumnPickList(PickList& pickList, Dataset& query, const QString& sql);
// From items "display text, TAB, key" as the mapped drop-down lists hold them.
void FillColumnPickListFromItems(PickList& pickList, const QStringList& items);
