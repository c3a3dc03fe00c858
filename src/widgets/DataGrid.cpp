#include "DataGrid.h"

#include "GridDelegate.h"
#include "GridFooter.h"
#include "GridModel.h"
#include "core/AppError.h"
#include "core/Dataset.h"
#include "core/Messages.h"

#include <QEvent>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QScopedValueRollback>
#include <QScrollBar>

#include <algorithm>
#include <numeric>

namespace {
const QString stateKey = QStringLiteral("gridColumns");
constexpr int widestColumn = 10000;

SortMarker nextMarker(SortMarker marker)
{
    switch (marker) {
    case SortMarker::None: return SortMarker::Descending;
    case SortMarker::Descending: return SortMarker::Ascending;
    case SortMarker::Ascending: return SortMarker::None;
    }
    return SortMarker::None;
}
}

DataGrid::DataGrid(QWidget* parent)
    : QTableView(parent), gridModel(new GridModel(this)), titles(new GridHeader(Qt::Horizontal, this)),
      rowNumbers(new GridHeader(Qt::Vertical, this)), footer(new GridFooter(titles, this))
{
    setHorizontalHeader(titles);
    setVerticalHeader(rowNumbers);
    setModel(gridModel);
    setItemDelegate(new GridDelegate(gridModel, this));
    setSelectionBehavior(SelectRows);
    setSelectionMode(SingleSelection);
    setEditTriggers(NoEditTriggers);
    setWordWrap(false);
    setCornerButtonEnabled(false);

    titles->setSectionsClickable(true);
    titles->setSectionsMovable(true);
    titles->setSectionResizeMode(QHeaderView::Interactive);
    titles->setStretchLastSection(false);
    rowNumbers->setSectionsClickable(true);
    rowNumbers->setSectionResizeMode(QHeaderView::Fixed);
    rowNumbers->hide();
    footer->hide();
    updateRowHeight();
    setSelectedRowColor(QColor(0, 0, 128));

    connect(titles, &QHeaderView::sectionClicked, this, &DataGrid::onTitleClicked);
    connect(titles, &QHeaderView::sectionResized, this, &DataGrid::onSectionResized);
    connect(titles, &QHeaderView::sectionMoved, this, [this] {
        if (!applyingLayout && !gridModel->isChangingRows())
            rememberPositions();
        footer->update();
    });
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, footer, qOverload<>(&QWidget::update));
    connect(gridModel, &QAbstractItemModel::modelReset, this, &DataGrid::onModelReset);
    connect(gridModel, &GridModel::rowsReplaced, this, &DataGrid::onModelReset);
}

void DataGrid::setDataset(Dataset* dataset)
{
    if (dataset == gridModel->dataset())
        return;
    for (const QMetaObject::Connection& connection : std::as_const(datasetConnections))
        disconnect(connection);
    datasetConnections.clear();
    titles->clearMarkers();
    footer->setDataset(dataset);
    if (dataset) {
        datasetConnections << connect(dataset, &Dataset::afterScroll, this, &DataGrid::onAfterScroll);
        datasetConnections << connect(dataset, &Dataset::afterOpen, titles, &GridHeader::clearMarkers);
        datasetConnections << connect(dataset, &Dataset::stateChanged, this, [this](Dataset::State state) {
            if (state == Dataset::State::Inactive)
                titles->clearMarkers();
        });
        datasetConnections << connect(dataset, &Dataset::rowInserted, footer, &GridFooter::invalidate);
        datasetConnections << connect(dataset, &Dataset::rowRemoved, footer, &GridFooter::invalidate);
        datasetConnections << connect(dataset, &Dataset::rowChanged, footer, &GridFooter::invalidate);
    }
    gridModel->setDataset(dataset);
}

Dataset* DataGrid::dataset() const
{
    return gridModel->dataset();
}

// ---- columns ----

int DataGrid::sectionOf(const QString& field) const
{
    const Dataset* source = dataset();
    const int index = source && source->isOpen() ? source->fieldIndex(field) : -1;
    return index < gridModel->columnCount() ? index : -1;
}

QStringList DataGrid::openFields() const
{
    QStringList names;
    for (int i = 0; i < gridModel->columnCount(); ++i)
        names << gridModel->fieldName(i).toUpper();
    return names;
}

void DataGrid::setColumnTitle(const QString& field, const QString& title)
{
    GridColumn column = gridModel->column(field);
    column.title = title;
    gridModel->setColumn(field, column);
    layouts[field.toUpper()];
}

QString DataGrid::columnTitle(const QString& field) const
{
    const QString title = gridModel->column(field).title;
    if (!title.isEmpty())
        return title;
    const int section = sectionOf(field);
    return section >= 0 ? gridModel->fieldName(section) : field;
}

void DataGrid::setColumnVisible(const QString& field, bool visible)
{
    layouts[field.toUpper()].hidden = !visible;
    const int section = sectionOf(field);
    if (section >= 0)
        titles->setSectionHidden(section, !visible);
    footer->update();
}

bool DataGrid::isColumnVisible(const QString& field) const
{
    const int section = sectionOf(field);
    if (section >= 0)
        return !titles->isSectionHidden(section);
    const auto it = layouts.find(field.toUpper());
    return it == layouts.end() || !it->second.hidden;
}

void DataGrid::setColumnWidth(const QString& field, int width)
{
    if (width <= 0 || width > widestColumn)
        return;
    layouts[field.toUpper()].width = width;
    const int section = sectionOf(field);
    if (section >= 0)
        titles->resizeSection(section, width);
}

int DataGrid::columnWidth(const QString& field) const
{
    const int section = sectionOf(field);
    if (section >= 0 && !titles->isSectionHidden(section))
        return titles->sectionSize(section);
    const auto it = layouts.find(field.toUpper());
    return it != layouts.end() && it->second.width > 0 ? it->second.width : titles->defaultSectionSize();
}

void DataGrid::moveColumn(const QString& field, int position)
{
    const int section = sectionOf(field);
    if (section < 0) {
        layouts[field.toUpper()].position = qMax(position, 0);
        return;
    }
    titles->moveSection(titles->visualIndex(section), std::clamp(position, 0, titles->count() - 1));
}

QStringList DataGrid::visibleColumnsInOrder() const
{
    QStringList names;
    for (int visual = 0; visual < titles->count(); ++visual) {
        const int section = titles->logicalIndex(visual);
        if (!titles->isSectionHidden(section))
            names << gridModel->fieldName(section);
    }
    return names;
}

void DataGrid::setPickList(const QString& field, const PickList& pickList)
{
    GridColumn column = gridModel->column(field);
    column.pickList = pickList;
    gridModel->setColumn(field, column);
}

void DataGrid::setCheckBoxColumn(const QString& field, bool on)
{
    GridColumn column = gridModel->column(field);
    column.checkBox = on;
    gridModel->setColumn(field, column);
}

bool DataGrid::isCheckBoxColumn(const QString& field) const
{
    return gridModel->column(field).checkBox;
}

QString DataGrid::cellText(int row, const QString& field) const
{
    return gridModel->cellText(row, sectionOf(field));
}

void DataGrid::onSectionResized(int section, int, int newSize)
{
    if (!applyingLayout && !gridModel->isChangingRows() && newSize > 0)
        layouts[gridModel->fieldName(section).toUpper()].width = newSize;
    footer->update();
}

void DataGrid::rememberPositions()
{
    for (int section = 0; section < titles->count(); ++section)
        layouts[gridModel->fieldName(section).toUpper()].position = titles->visualIndex(section);
}

// Lays the open columns out as remembered: widths and visibility by field, and the remembered
// columns in their remembered order in the places they hold among the open fields; columns
// without a remembered position keep the dataset's order.
void DataGrid::applyLayout()
{
    const QScopedValueRollback guard(applyingLayout, true);
    const int count = gridModel->columnCount();
    std::vector<int> places;
    std::vector<int> remembered;
    for (int section = 0; section < count; ++section) {
        const auto it = layouts.find(gridModel->fieldName(section).toUpper());
        const ColumnLayout layout = it != layouts.end() ? it->second : ColumnLayout();
        titles->resizeSection(section, layout.width > 0 ? layout.width : titles->defaultSectionSize());
        titles->setSectionHidden(section, layout.hidden);
        if (layout.position >= 0) {
            places.push_back(section);
            remembered.push_back(section);
        }
    }
    std::stable_sort(remembered.begin(), remembered.end(), [this](int a, int b) {
        return layouts[gridModel->fieldName(a).toUpper()].position < layouts[gridModel->fieldName(b).toUpper()].position;
    });
    std::vector<int> order(static_cast<size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    for (size_t i = 0; i < places.size(); ++i)
        order[size_t(places[i])] = remembered[i];
    for (int visual = 0; visual < count; ++visual)
        titles->moveSection(titles->visualIndex(order[size_t(visual)]), visual);
    rememberPositions();
    footer->update();
}

QByteArray DataGrid::saveState() const
{
    QJsonArray columns;
    for (const auto& [key, layout] : layouts) {
        const int section = sectionOf(key);
        const bool open = section >= 0;
        const bool hidden = open ? titles->isSectionHidden(section) : layout.hidden;
        QJsonObject column;
        column.insert(QStringLiteral("field"), open ? gridModel->fieldName(section) : key);
        column.insert(QStringLiteral("title"), gridModel->column(key).title);
        column.insert(QStringLiteral("width"), open && !hidden ? titles->sectionSize(section) : layout.width);
        column.insert(QStringLiteral("visible"), !hidden);
        column.insert(QStringLiteral("position"), open ? titles->visualIndex(section) : layout.position);
        columns.append(column);
    }
    return QJsonDocument(QJsonObject{{stateKey, columns}}).toJson(QJsonDocument::Compact);
}

bool DataGrid::restoreState(const QByteArray& state)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(state, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return false;
    const QJsonValue list = document.object().value(stateKey);
    if (!list.isArray())
        return false;
    for (const QJsonValue& entry : list.toArray()) {
        const QJsonObject column = entry.toObject();
        const QString field = column.value(QStringLiteral("field")).toString().trimmed();
        if (field.isEmpty())
            continue;
        ColumnLayout& layout = layouts[field.toUpper()];
        if (const QJsonValue title = column.value(QStringLiteral("title")); title.isString()) {
            GridColumn settings = gridModel->column(field);
            settings.title = title.toString();
            gridModel->setColumn(field, settings);
        }
        if (const int width = column.value(QStringLiteral("width")).toInt(-1); width > 0 && width <= widestColumn)
            layout.width = width;
        if (const QJsonValue visible = column.value(QStringLiteral("visible")); visible.isBool())
            layout.hidden = !visible.toBool();
        if (const int position = column.value(QStringLiteral("position")).toInt(-1); position >= 0)
            layout.position = position;
    }
    applyLayout();
    return true;
}

// ---- sorting ----

SortMarker DataGrid::sortMarker(const QString& field) const
{
    const int section = sectionOf(field);
    return section >= 0 ? titles->marker(section) : SortMarker::None;
}

void DataGrid::onTitleClicked(int section)
{
    const QString field = gridModel->fieldName(section);
    if (field.isEmpty())
        return;
    Dataset* source = dataset();
    if (sortOnTitleClick && source && source->isOpen() && !source->isEmpty()) {
        const SortMarker marker = nextMarker(titles->marker(section));
        try {
            if (marker == SortMarker::None)
                source->unsort();
            else
                source->sortBy(field, marker == SortMarker::Descending ? Qt::DescendingOrder : Qt::AscendingOrder);
            titles->setMarker(section, marker);
        } catch (const AppError& e) {
            ShowError(e.message());
        }
    }
    emit titleClicked(field);
}

// ---- footer ----

void DataGrid::setFooterSumFields(const QStringList& fields)
{
    footer->setSumFields(fields);
}

QStringList DataGrid::footerSumFields() const
{
    return footer->sumFields();
}

void DataGrid::setFooterVisible(bool visible)
{
    footerShown = visible;
    footer->setVisible(visible);
    updateGeometries();
}

QString DataGrid::footerText(const QString& field) const
{
    return footer->text(field);
}

void DataGrid::updateGeometries()
{
    QTableView::updateGeometries();
    placeFooter();
}

// The base class lays the viewport out without a bottom margin; the footer takes one row's
// height under it. The layout settles in one nested pass: the viewport resize that the base's
// margins cause comes back here while the base is still blocked against recursion.
void DataGrid::placeFooter()
{
    const int height = footerShown ? rowNumbers->defaultSectionSize() : 0;
    const QMargins margins = viewportMargins();
    if (margins.bottom() != height)
        setViewportMargins(margins.left(), margins.top(), margins.right(), height);
    if (!footerShown)
        return;
    const QRect area = viewport()->geometry();
    const int indent = rowNumbers->isHidden() ? 0 : margins.left();
    footer->setIndent(indent);
    footer->setGeometry(area.left() - indent, area.bottom() + 1, area.width() + indent, height);
}

// ---- colours and look ----

void DataGrid::setSelectedRowColor(const QColor& color)
{
    QPalette colors = palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        colors.setColor(group, QPalette::Highlight, color);
        colors.setColor(group, QPalette::HighlightedText, Qt::white);
    }
    setPalette(colors);
}

QColor DataGrid::selectedRowColor() const
{
    return palette().color(QPalette::Active, QPalette::Highlight);
}

void DataGrid::setRowColors(const QColor& odd, const QColor& even)
{
    QPalette colors = palette();
    colors.setColor(QPalette::Base, odd);
    colors.setColor(QPalette::AlternateBase, even);
    setPalette(colors);
    setAlternatingRowColors(true);
}

void DataGrid::setFixedColor(const QColor& color)
{
    titles->setFixedColor(color);
    rowNumbers->setFixedColor(color);
    footer->update();
}

QColor DataGrid::fixedColor() const
{
    return titles->fixedColor();
}

void DataGrid::setRowNumbersVisible(bool visible)
{
    rowNumbers->setVisible(visible);
    updateGeometries();
}

bool DataGrid::rowNumbersVisible() const
{
    return !rowNumbers->isHidden();
}

void DataGrid::setRowHeight(int height)
{
    fixedRowHeight = qMax(0, height);
    updateRowHeight();
}

void DataGrid::setTitleHeight(int height)
{
    titles->setFixedHeight(height);
    updateGeometries();
}

int DataGrid::titleHeight() const
{
    return titles->height();
}

void DataGrid::updateRowHeight()
{
    const int height = fixedRowHeight > 0 ? fixedRowHeight : fontMetrics().height() + 6;
    rowNumbers->setMinimumSectionSize(height);
    rowNumbers->setDefaultSectionSize(height);
    updateGeometries();
}

void DataGrid::changeEvent(QEvent* event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        updateRowHeight();
}

// ---- editing ----

void DataGrid::setEditable(bool editable)
{
    gridModel->setEditable(editable);
    setEditTriggers(editable ? DoubleClicked | EditKeyPressed | AnyKeyPressed : NoEditTriggers);
    viewport()->update();
}

bool DataGrid::isEditable() const
{
    return gridModel->isEditable();
}

// ---- current row ----

void DataGrid::onModelReset()
{
    const QStringList fields = openFields();
    if (fields != shownFields) {
        shownFields = fields;
        applyLayout();
    }
    footer->invalidate();
    syncFromDataset();
}

void DataGrid::onAfterScroll()
{
    if (!syncing)
        syncFromDataset();
}

void DataGrid::syncFromDataset()
{
    const QScopedValueRollback guard(syncing, true);
    const Dataset* source = dataset();
    if (!source || !source->isOpen() || source->currentRow() < 0 || source->currentRow() >= gridModel->rowCount()
        || gridModel->columnCount() == 0)
        return;
    int column = currentIndex().column();
    if (column < 0 || titles->isSectionHidden(column)) {
        column = 0;
        for (int visual = 0; visual < titles->count(); ++visual) {
            if (!titles->isSectionHidden(titles->logicalIndex(visual))) {
                column = titles->logicalIndex(visual);
                break;
            }
        }
    }
    const QModelIndex index = gridModel->index(source->currentRow(), column);
    if (index != currentIndex() || !selectionModel()->isRowSelected(index.row(), {}))
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void DataGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    // The base class first commits an open editor to the row it was on.
    QTableView::currentChanged(current, previous);
    Dataset* source = dataset();
    if (syncing || gridModel->isChangingRows() || !current.isValid() || !source || !source->isOpen()
        || current.row() == source->currentRow())
        return;
    try {
        const QScopedValueRollback guard(syncing, true);
        source->moveTo(current.row());
    } catch (const AppError& e) {
        // The dataset keeps its row (a refused post stays in edit mode); so does the grid. A
        // mouse press selects the clicked row after this returns, so the selection is put back
        // once more when the event is done.
        ShowError(e.message());
        syncFromDataset();
        QMetaObject::invokeMethod(this, &DataGrid::syncFromDataset, Qt::QueuedConnection);
    }
}
