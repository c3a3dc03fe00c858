#include "ListFillers.h"

#include "MappedComboBox.h"
#include "core/AppError.h"
#include "core/Dataset.h"
#include "core/Messages.h"
#include "core/QueryRunners.h"

#include <QAbstractButton>

void SyncEditButtons(const Dataset& query, QAbstractButton* save, QAbstractButton* undo)
{
    const bool editing = query.isEditing();
    save->setEnabled(editing);
    undo->setEnabled(editing);
}

bool FillListFromQuery(Dataset& query, const QString& sql, bool mapped, MappedComboBox* combo)
{
    try {
        const bool opened = OpenQuery(query, sql);
        combo->clearItems();
        combo->setMapped(mapped);
        if (!opened)
            return false;
        QStringList items;
        for (query.first(); !query.eof(); query.next()) {
            if (mapped)
                items << query.asString(1) + QLatin1Char('\t') + query.asString(0);
            else
                items << (query.asString(0).isEmpty() ? QStringLiteral("(空白)") : query.asString(0));
        }
        combo->setItemTexts(items);
        return true;
    } catch (const AppError& e) {
        ShowError(e.message());
        return false;
    }
}

QString PickList::itemOf(const QString& key) const
{
    const qsizetype i = keys.indexOf(key);
    return i >= 0 && i < items.size() ? items[i] : key;
}

QString PickList::keyOf(const QString& item) const
{
    const qsizetype i = items.indexOf(item);
    return i >= 0 && i < keys.size() ? keys[i] : QString();
}

void FillColumnPickList(PickList& pickList, Dataset& query, const QString& sql)
{
    pickList.keys.clear();
    pickList.items.clear();
    if (!OpenQuery(query, sql))
        return;
    for (query.first(); !query.eof(); query.next()) {
        pickList.keys << query.asString(0).trimmed();
        pickList.items << query.asString(1).trimmed();
    }
}

void FillColumnPickListFromItems(PickList& pickList, const QStringList& items)
{
    pickList.keys.clear();
    pickList.items.clear();
    for (const QString& item : items) {
        const qsizetype tab = item.indexOf(QLatin1Char('\t'));
        pickList.items << item.left(tab < 0 ? item.size() : tab);
        pickList.keys << item.mid(tab + 1);
    }
}
