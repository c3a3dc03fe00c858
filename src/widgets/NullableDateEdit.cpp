#include "NullableDateEdit.h"

#include "core/DateText.h"
#include "core/Messages.h"

#include <QCalendarWidget>
#include <QFrame>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>

NullableDateEdit::NullableDateEdit(QWidget* parent)
    : QWidget(parent)
    , edit(new QLineEdit(this))
    , calendarButton(new QToolButton(this))
{
    edit->setObjectName(QStringLiteral("edit"));
    calendarButton->setObjectName(QStringLiteral("calendarButton"));
    calendarButton->setText(QStringLiteral("▼"));
    calendarButton->setFocusPolicy(Qt::NoFocus);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(edit);
    layout->addWidget(calendarButton);

    setFocusProxy(edit);
    setSizePolicy(edit->sizePolicy());

    connect(edit, &QLineEdit::editingFinished, this, &NullableDateEdit::commitText);
    connect(calendarButton, &QToolButton::clicked, this, &NullableDateEdit::showCalendar);
}

void NullableDateEdit::setDate(const QDate& date)
{
    const QDate stored = date.isValid() ? date : QDate();
    const QString text = DateText::format(stored);
    if (edit->text() != text)
        edit->setText(text);
    if (stored == current)
        return;
    current = stored;
    emit dateChanged(current);
}

void NullableDateEdit::commitText()
{
    const QString text = edit->text().trimmed();
    if (text.isEmpty()) {
        setDate(QDate());
        return;
    }
    const QDateTime parsed = DateText::parse(text);
    if (!parsed.isValid()) {
        // Restored before the warning, whose box takes the focus and finishes editing again.
        edit->setText(DateText::format(current));
        ShowWarning(QStringLiteral("日期格式不正确，请按 yyyy-mm-dd 格式输入，例如 2024-03-05"));
        return;
    }
    setDate(parsed.date());
}

void NullableDateEdit::showCalendar()
{
    commitText();
    if (!popup)
        createPopup();
    calendar->setSelectedDate(current.isValid() ? current : QDate::currentDate());
    popup->adjustSize();

    QPoint position = mapToGlobal(QPoint(0, height()));
    if (const QScreen* shownOn = screen()) {
        const QRect area = shownOn->availableGeometry();
        if (position.y() + popup->height() > area.bottom())
            position.setY(mapToGlobal(QPoint(0, 0)).y() - popup->height());
        position.setX(qMax(area.left(), qMin(position.x(), area.right() - popup->width())));
    }
    popup->move(position);
    popup->show();
    calendar->setFocus(Qt::PopupFocusReason);
}

void NullableDateEdit::createPopup()
{
    popup = new QFrame(this, Qt::Popup);
    popup->setObjectName(QStringLiteral("calendarPopup"));
    popup->setFrameShape(QFrame::StyledPanel);

    calendar = new QCalendarWidget(popup);
    calendar->setObjectName(QStringLiteral("calendar"));
    auto* clearButton = new QPushButton(QStringLiteral("清空"), popup);
    clearButton->setObjectName(QStringLiteral("clearButton"));
    clearButton->setFocusPolicy(Qt::NoFocus);

    auto* layout = new QVBoxLayout(popup);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(calendar);
    layout->addWidget(clearButton, 0, Qt::AlignRight);

    connect(calendar, &QCalendarWidget::clicked, this, &NullableDateEdit::pickDate);
    connect(calendar, &QCalendarWidget::activated, this, &NullableDateEdit::pickDate);
    connect(clearButton, &QPushButton::clicked, this, [this] { pickDate(QDate()); });
}

void NullableDateEdit::pickDate(const QDate& date)
{
    popup->hide();
    setDate(date);
}
