#include "GridFooter.h"

#include "GridHeader.h"
#include "core/Dataset.h"

#include <QPainter>

namespace {
QString decimalText(double sum)
{
    QString text = QString::number(sum, 'f', 2);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}
}

GridFooter::GridFooter(GridHeader* titles, QWidget* parent) : QWidget(parent), header(titles)
{
}

void GridFooter::setDataset(Dataset* dataset)
{
    source = dataset;
    invalidate();
}

void GridFooter::setSumFields(const QStringList& fields)
{
    summed = fields;
    invalidate();
}

void GridFooter::setIndent(int width)
{
    if (width == indent)
        return;
    indent = width;
    update();
}

void GridFooter::invalidate()
{
    stale = true;
    update();
}

void GridFooter::ensureSums() const
{
    if (!stale)
        return;
    stale = false;
    texts.assign(source ? size_t(source->fieldCount()) : 0, QString());
    if (!source || !source->isOpen())
        return;
    for (const QString& name : summed) {
        const int field = source->fieldIndex(name);
        if (field < 0)
            continue;
        qint64 wholeSum = 0;
        double decimalSum = 0.0;
        bool whole = true;
        for (int row = 0; row < source->rowCount(); ++row) {
            const QVariant value = source->valueAt(row, field);
            switch (value.typeId()) {
            case QMetaType::LongLong:
            case QMetaType::Int: wholeSum += value.toLongLong(); break;
            case QMetaType::Double:
                decimalSum += value.toDouble();
                whole = false;
                break;
            case QMetaType::QString: {
                bool ok = false;
                const qint64 n = value.toString().toLongLong(&ok);
                if (ok) {
                    wholeSum += n;
                } else if (const double d = value.toString().toDouble(&ok); ok) {
                    decimalSum += d;
                    whole = false;
                }
                break;
            }
            default: break;
            }
        }
        texts[size_t(field)] = whole ? QString::number(wholeSum) : decimalText(double(wholeSum) + decimalSum);
    }
}

QString GridFooter::text(const QString& field) const
{
    ensureSums();
    const int index = source ? source->fieldIndex(field) : -1;
    return index >= 0 && index < int(texts.size()) ? texts[size_t(index)] : QString();
}

void GridFooter::paintEvent(QPaintEvent*)
{
    ensureSums();
    QPainter painter(this);
    painter.fillRect(rect(), header->backgroundColor());
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(rect().topLeft(), rect().topRight());
    painter.setClipRect(QRect(indent, 0, width() - indent, height()));
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (header->isSectionHidden(logical))
            continue;
        const QRect cell(indent + header->sectionViewportPosition(logical), 0, header->sectionSize(logical), height());
        if (cell.right() < indent || cell.left() > width())
            continue;
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawLine(cell.topRight(), cell.bottomRight());
        if (logical < int(texts.size()) && !texts[size_t(logical)].isEmpty()) {
            painter.setPen(palette().color(QPalette::ButtonText));
            const QRect textRect = cell.adjusted(3, 0, -4, 0);
            painter.drawText(textRect, int(Qt::AlignRight | Qt::AlignVCenter),
                             fontMetrics().elidedText(texts[size_t(logical)], Qt::ElideLeft, textRect.width()));
        }
    }
}
