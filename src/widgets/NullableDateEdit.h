#pragma once

#include <QDate>
#include <QWidget>

class QCalendarWidget;
class QFrame;
class QLineEdit;
class QToolButton;

// A date field that may stay empty: a line edit showing "yyyy-mm-dd" and a button that opens a
// calendar (with a "清空" button that empties the field). Typed text is read when editing
// finishes; empty text empties the field and text that is no date is refused with a warning.
class NullableDateEdit : public QWidget {
    Q_OBJECT
public:
    explicit NullableDateEdit(QWidget* parent = nullptr);

    // Invalid when empty.
    QDate date() const { return current; }
    bool isEmpty() const { return !current.isValid(); }
    QLineEdit* lineEdit() const { return edit; }

public slots:
    // An invalid date empties the field.
    void setDate(const QDate& date);
    void clear() { setDate(QDate()); }

signals:
    // An invalid date when the field was emptied.
    void dateChanged(const QDate& date);

private:
    void commitText();
    void showCalendar();
    void createPopup();
    void pickDate(const QDate& date);

    QLineEdit* edit;
    QToolButton* calendarButton;
    QFrame* popup = nullptr;
    QCalendarWidget* calendar = nullptr;
    QDate current;
};
