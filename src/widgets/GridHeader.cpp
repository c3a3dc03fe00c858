#include "GridHeader.h"

#include <QPainter>
#include <QPolygonF>

namespace {
constexpr int markerWidth = 9;
constexpr int markerHeight = 5;
constexpr int textMargin = 3;
}

GridHeader::GridHeader(Qt::Orientation orientation, QWidget* parent) : QHeaderView(orientation, parent)
{
    setHighlightSections(false);
}

void GridHeader::setFixedColor(const QColor& color)
{
    background = color;
    viewport()->update();
}

QColor GridHeader::backgroundColor() const
{
    return background.isValid() ? background : palette().color(QPalette::Button);
}

void GridHeader::setMarker(int logicalIndex, SortMarker marker)
{
    if (marker == SortMarker::None)
        markers.remove(logicalIndex);
    else
        markers.insert(logicalIndex, marker);
    updateSection(logicalIndex);
}

void GridHeader::clearMarkers()
{
    if (markers.isEmpty())
        return;
    markers.clear();
    viewport()->update();
}

QRect GridHeader::markerRect(int logicalIndex) const
{
    if (orientation() != Qt::Horizontal || isSectionHidden(logicalIndex))
        return {};
    return markerRectIn(QRect(sectionViewportPosition(logicalIndex), 0, sectionSize(logicalIndex), height()));
}

QRect GridHeader::markerRectIn(const QRect& section) const
{
    return QRect(section.right() - textMargin - markerWidth, section.center().y() - markerHeight / 2, markerWidth,
                 markerHeight);
}

void GridHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    if (!rect.isValid())
        return;
    painter->save();
    painter->fillRect(rect, backgroundColor());
    painter->setPen(palette().color(QPalette::Mid));
    painter->drawLine(rect.topRight(), rect.bottomRight());
    painter->drawLine(rect.bottomLeft(), rect.bottomRight());

    QRect textRect = rect.adjusted(textMargin, 0, -textMargin, 0);
    Qt::Alignment alignment = Qt::AlignCenter;
    if (orientation() == Qt::Horizontal) {
        // The marker's room is kept whether or not it shows, so titles do not shift when it comes.
        textRect.setRight(markerRectIn(rect).left() - textMargin);
        const SortMarker marker = this->marker(logicalIndex);
        if (marker != SortMarker::None) {
            const QRectF m(markerRectIn(rect));
            const QPolygonF triangle = marker == SortMarker::Descending
                ? QPolygonF({m.topLeft(), m.topRight(), QPointF(m.center().x(), m.bottom())})
                : QPolygonF({m.bottomLeft(), m.bottomRight(), QPointF(m.center().x(), m.top())});
            painter->setRenderHint(QPainter::Antialiasing);
            painter->setPen(Qt::NoPen);
            painter->setBrush(palette().color(QPalette::ButtonText));
            painter->drawPolygon(triangle);
        }
    } else {
        alignment = Qt::AlignRight | Qt::AlignVCenter;
    }
    const QString text = model() ? model()->headerData(logicalIndex, orientation()).toString() : QString();
    painter->setPen(palette().color(QPalette::ButtonText));
    painter->drawText(textRect, int(alignment), fontMetrics().elidedText(text, Qt::ElideRight, textRect.width()));
    painter->restore();
}

QSize GridHeader::sectionSizeFromContents(int logicalIndex) const
{
    const QString text = model() ? model()->headerData(logicalIndex, orientation()).toString() : QString();
    const QFontMetrics metrics = fontMetrics();
    int width = metrics.horizontalAdvance(text) + 2 * textMargin;
    if (orientation() == Qt::Horizontal)
        width += markerWidth + textMargin;
    return {width + 1, metrics.height() + 2 * textMargin};
}
