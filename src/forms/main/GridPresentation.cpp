#include "GridPresentation.h"

#include "core/DataModule.h"
#include "core/Dataset.h"
#include "core/FieldCodes.h"
#include "core/QueryRunners.h"
#include "core/SqlText.h"
#include "widgets/DataGrid.h"
#include "widgets/ListFillers.h"

#include <QHeaderView>

namespace GridPresentation {

void SetUpRecordGrid(DataGrid* grid, QChar tableLetter, int rowHeight, int titleHeight)
{
    QStringList sums;
    for (const QString& code : FieldCodes::codes(tableLetter)) {
        grid->setColumnWidth(code, 75);
        const FieldKind kind = FieldCodes::kindOf(code);
        if (kind == FieldKind::Integer || kind == FieldKind::Decimal)
            sums << code;
    }
    grid->setColumnVisible(QString(tableLetter) + QStringLiteral("IID"), false);
    if (tableLetter != QChar('A'))
        grid->setColumnVisible(QStringLiteral("AIID"), false);
    grid->setFooterSumFields(sums);
    grid->setRowHeight(rowHeight);
    grid->setTitleHeight(titleHeight);
}

void ApplyFieldCaptions(DataGrid* grid, QChar tableLetter)
{
    const DataModule* dm = DataModule::instance();
    if (!dm)
        return;
    for (const QString& code : FieldCodes::codes(tableLetter))
        grid->setColumnTitle(code, dm->fieldCaption(code));
}

void ApplyColumnDisplay(DataGrid* grid, QChar tableLetter, Dataset& work)
{
    if (!OpenQuery(work, QStringLiteral("select * from S_FIELD where STABLE=") + SqlText::quoted(FieldCodes::tableName(tableLetter))))
        return;
    for (work.first(); !work.eof(); work.next())
        grid->setColumnVisible(work.asString("SFIELD"), work.asInteger("IDISPLAY") == 1);
}

void FillCodedColumnsFromItems(DataGrid* grid, QChar tableLetter, const QHash<QString, QStringList>& itemsByCode)
{
    for (const QString& code : FieldCodes::codes(tableLetter)) {
        if (FieldCodes::kindOf(code) != FieldKind::Coded)
            continue;
        PickList pick;
        FillColumnPickListFromItems(pick, itemsByCode.value(code));
        grid->setPickList(code, pick);
    }
}

void FillCodedColumnsFromTables(DataGrid* grid, QChar tableLetter, Dataset& work)
{
    for (const QString& code : FieldCodes::codes(tableLetter)) {
        if (FieldCodes::kindOf(code) != FieldKind::Coded)
            continue;
        PickList pick;
        FillColumnPickList(pick, work, QStringLiteral("select %1, %1NAME from Q_%1 order by %1").arg(code));
        grid->setPickList(code, pick);
    }
}

void CopyLook(const DataGrid* from, DataGrid* to)
{
    to->setTitleHeight(from->titleHeight());
    to->setFixedColor(from->fixedColor());
    to->setFont(from->font());
    to->horizontalHeader()->setFont(from->horizontalHeader()->font());
    to->setPalette(from->palette());
    to->setAlternatingRowColors(from->alternatingRowColors());
}

}
