#include "DetailPages.h"

#include "DetailStatement.h"
#include "core/DataModule.h"
#include "core/Dataset.h"
#include "core/QueryRunners.h"
#include "widgets/DataGrid.h"

#include <QListWidget>
#include <QVBoxLayout>

DetailPages::DetailPages(QWidget* parent) : QTabWidget(parent)
{
    setObjectName(QStringLiteral("pgc1"));
    pnlfj = new QWidget(this);
    pnlfj->setObjectName(QStringLiteral("pnlfj"));
    auto* attachments = new QVBoxLayout(pnlfj);
    attachments->setContentsMargins(0, 0, 0, 0);
    lv1 = new QListWidget(pnlfj);
    lv1->setObjectName(QStringLiteral("lv1"));
    lv1->setViewMode(QListView::IconMode);
    attachments->addWidget(lv1);
    addTab(pnlfj, QStringLiteral("文档资料"));

    static const char* const captions[pageCount] = {"联系人记录", "联系记录", "服务记录", "其它记录"};
    Connection* connection = DataModule::instance() ? &DataModule::instance()->conPublic() : nullptr;
    for (int page = 1; page <= pageCount; ++page) {
        const QChar letter = tableLetter(page);
        // Base statements as written in the window; the other-records one has two blanks before where.
        statements[size_t(page - 1)] = QStringLiteral("select * from   Q_%1 a %2where 1=1\n")
                                           .arg(letter)
                                           .arg(page == 4 ? QStringLiteral(" ") : QString());
        auto* query = new Dataset(connection, this);
        query->setObjectName(QStringLiteral("Qry%1").arg(page + 1));
        queries[size_t(page - 1)] = query;
        auto* grid = new DataGrid(this);
        grid->setObjectName(QStringLiteral("dbgrid%1").arg(page + 1));
        grid->setDataset(query);
        grid->setTitleClickSorting(page == 1);  // only the contact person grid sorts by title clicks
        grids[size_t(page - 1)] = grid;
        addTab(grid, QString::fromUtf8(captions[page - 1]));
    }
}

void DetailPages::refresh(int page, const Dataset& customers)
{
    const QString sortClause = DataModule::instance() ? DataModule::instance()->sortClause(QStringLiteral("Q_") + tableLetter(page))
                                                      : QString();
    const bool hasCustomer = customers.isOpen() && !customers.isEmpty();
    OpenQuery(query(page), DetailStatement(baseStatement(page), customers, hasCustomer ? sortClause : QString()));
}

void DetailPages::refreshAll(const Dataset& customers)
{
    for (int page = 1; page <= pageCount; ++page)
        refresh(page, customers);
}

void DetailPages::refreshShownPage(const Dataset& customers)
{
    if (currentIndex() >= 1 && currentIndex() <= pageCount)
        refresh(currentIndex(), customers);
}
