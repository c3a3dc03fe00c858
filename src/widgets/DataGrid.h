#pragma once

#include "GridHeader.h"
#include "ListFillers.h"

#include <QByteArray>
#include <QColor>
#include <QStringList>
#include <QTableView>

#include <map>

class Dataset;
class GridFooter;
class GridModel;

// The grid of every browse window and editor: one column per field of a dataset, the current
// row kept in step with the dataset's, sort markers on the titles, an optional row of sums.
// Columns are addressed by field name without regard to case; what is set for a field that is
// not open yet applies when it opens, and a re-opened dataset shows each field as it was left.
class DataGrid : public QTableView {
    Q_OBJECT
public:
    explicit DataGrid(QWidget* parent = nullptr);

    // The dataset is not owned.
    void setDataset(Dataset* dataset);
    Dataset* dataset() const;

    void setColumnTitle(const QString& field, const QString& title);
    QString columnTitle(const QString& field) const;
    void setColumnVisible(const QString& field, bool visible);
    bool isColumnVisible(const QString& field) const;
    using QTableView::columnWidth;
    using QTableView::setColumnWidth;
    // Widths outside 1..10000 pixels are ignored.
    void setColumnWidth(const QString& field, int width);
    int columnWidth(const QString& field) const;
    // Moves the column to a visual position (0 is the leftmost; hidden columns count).
    void moveColumn(const QString& field, int position);
    // Names of the shown columns from left to right, as the dataset spells them.
    QStringList visibleColumnsInOrder() const;
    // The column shows the item of each stored key and edits with a drop-down of the items; a
    // list without keys removes it.
    void setPickList(const QString& field, const PickList& pickList);
    // A flag column: checked when the value is exactly 1; editing writes 1 or 0.
    void setCheckBoxColumn(const QString& field, bool on);
    bool isCheckBoxColumn(const QString& field) const;
    // What the grid shows in the cell (a pick-list item, a date as the dataset gives it); the
    // stored value for a check-box column. Empty for an unknown field or row.
    QString cellText(int row, const QString& field) const;

    // Titles, widths, visibility and order by field name. A state that cannot be read is ignored
    // and restoreState returns false.
    QByteArray saveState() const;
    bool restoreState(const QByteArray& state);

    // A title click steps the column's marker none -> descending -> ascending -> none and sorts
    // the dataset in memory (none returns to the query's order). On by default.
    void setTitleClickSorting(bool on) { sortOnTitleClick = on; }
    bool titleClickSorting() const { return sortOnTitleClick; }
    SortMarker sortMarker(const QString& field) const;

    void setFooterSumFields(const QStringList& fields);
    QStringList footerSumFields() const;
    void setFooterVisible(bool visible);
    bool isFooterVisible() const { return footerShown; }
    QString footerText(const QString& field) const;

    // The current row is painted in this colour with white text; navy by default.
    void setSelectedRowColor(const QColor& color);
    QColor selectedRowColor() const;
    // Rows counted from 1: odd rows (1, 3, ...) and even rows (2, 4, ...).
    void setRowColors(const QColor& odd, const QColor& even);
    // Background of the titles, row numbers and sums; an invalid colour uses the palette.
    void setFixedColor(const QColor& color);
    QColor fixedColor() const;
    // Row height in pixels; 0 (the default) follows the font.
    void setRowHeight(int height);
    int rowHeight() const { return fixedRowHeight; }
    void setTitleHeight(int height);
    int titleHeight() const;
    void setRowNumbersVisible(bool visible);
    bool rowNumbersVisible() const;

    // Read-only by default; editing needs a dataset that can write to its table.
    void setEditable(bool editable);
    bool isEditable() const;

signals:
    // Sent for every title click, whether or not the click sorts.
    void titleClicked(const QString& field);

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void updateGeometries() override;
    void changeEvent(QEvent* event) override;

private:
    struct ColumnLayout {
        int width = -1;  // -1: the default width
        bool hidden = false;
        int position = -1;  // visual position when last laid out; -1: none
    };

    void onTitleClicked(int section);
    void onModelReset();
    void onAfterScroll();
    void onSectionResized(int section, int oldSize, int newSize);
    void rememberPositions();
    void applyLayout();
    void syncFromDataset();
    void placeFooter();
    void updateRowHeight();
    int sectionOf(const QString& field) const;
    QStringList openFields() const;

    GridModel* gridModel;
    GridHeader* titles;
    GridHeader* rowNumbers;
    GridFooter* footer;
    QList<QMetaObject::Connection> datasetConnections;
    std::map<QString, ColumnLayout> layouts;  // by upper-case field name
    QStringList shownFields;                   // upper-case names of the laid-out columns
    int fixedRowHeight = 0;
    bool sortOnTitleClick = true;
    bool footerShown = false;
    bool syncing = false;
    bool applyingLayout = false;
};
