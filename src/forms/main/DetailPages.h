#pragma once

#include <QString>
#include <QTabWidget>

#include <array>

class DataGrid;
class Dataset;
class QListWidget;
class QWidget;

// The page set under the customer grid (pgc1): page 0 the attachment list, pages 1..4 the current
// customer's contact persons, contact records, service records and other records. The four
// detail queries are reopened from scratch for every customer.
class DetailPages : public QTabWidget {
    Q_OBJECT
public:
    explicit DetailPages(QWidget* parent = nullptr);

    static constexpr int pageCount = 4;
    // Page 1..4: its query, grid and table letter (B..E).
    Dataset& query(int page) const { return *queries[size_t(page - 1)]; }
    DataGrid* grid(int page) const { return grids[size_t(page - 1)]; }
    static QChar tableLetter(int page) { return QChar('A' + page); }
    QString baseStatement(int page) const { return statements[size_t(page - 1)]; }
    QListWidget* attachmentList() const { return lv1; }
    QWidget* attachmentPanel() const { return pnlfj; }

    // Reopens all four detail queries for the customer query's current customer.
    void refreshAll(const Dataset& customers);
    // Reopens the query of the page shown, when it is a detail page.
    void refreshShownPage(const Dataset& customers);

private:
    void refresh(int page, const Dataset& customers);

    std::array<Dataset*, pageCount> queries{};
    std::array<DataGrid*, pageCount> grids{};
    std::array<QString, pageCount> statements;
    QWidget* pnlfj;
    QListWidget* lv1;
};
