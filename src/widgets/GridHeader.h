#pragma once

#include <QColor>
#include <QHash>
#include <QHeaderView>

// The sort marker of a grid column's title.
enum class SortMarker { None, Descending, Ascending };

// A grid's title row (or row-number column) with its own painting: the fixed colour as
// background and a sort marker for every section that has one, so that several columns can show
// markers at once.
class GridHeader : public QHeaderView {
    Q_OBJECT
public:
    explicit GridHeader(Qt::Orientation orientation, QWidget* parent = nullptr);

    // An invalid colour paints with the palette's button colour.
    void setFixedColor(const QColor& color);
    QColor fixedColor() const { return background; }
    QColor backgroundColor() const;

    SortMarker marker(int logicalIndex) const { return markers.value(logicalIndex, SortMarker::None); }
    void setMarker(int logicalIndex, SortMarker marker);
    void clearMarkers();
    // Where a section's marker is drawn, in the header's viewport.
    QRect markerRect(int logicalIndex) const;

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    QSize sectionSizeFromContents(int logicalIndex) const override;

private:
    QRect markerRectIn(const QRect& section) const;

    QColor background;
    QHash<int, SortMarker> markers;
};
