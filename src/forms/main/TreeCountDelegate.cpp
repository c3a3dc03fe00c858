#include "TreeCountDelegate.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>

QString TreeCountDelegate::countText(const QModelIndex& index)
{
    const QVariant count = index.data(TreeNodeCountRole);
    return count.isValid() ? QStringLiteral(" (%1)").arg(count.toLongLong()) : QString();
}

void TreeCountDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyledItemDelegate::paint(painter, option, index);
    const QString text = countText(index);
    if (text.isEmpty())
        return;

    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QWidget* widget = opt.widget;
    const QStyle* style = widget ? widget->style() : QApplication::style();
    const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget);
    // The style draws the caption inside the text rectangle less its focus margin.
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const QRect countRect = textRect.adjusted(margin + opt.fontMetrics.horizontalAdvance(opt.text), 0, 0, 0);
    if (countRect.width() <= 0)
        return;

    const QPalette::ColorGroup group = opt.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
    QColor colour = opt.palette.color(group, QPalette::Mid);
    if (opt.state & QStyle::State_Selected) {
        colour = opt.palette.color(group, QPalette::HighlightedText);
        colour.setAlphaF(0.7f);
    }
    painter->save();
    painter->setFont(opt.font);
    painter->setPen(colour);
    painter->drawText(countRect, int(opt.displayAlignment) | Qt::TextSingleLine,
                      opt.fontMetrics.elidedText(text, Qt::ElideRight, countRect.width()));
    painter->restore();
}

QSize TreeCountDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    const QString text = countText(index);
    if (!text.isEmpty())
        size.rwidth() += option.fontMetrics.horizontalAdvance(text);
    return size;
}
