#pragma once

#include <QObject>

class QKeyEvent;
class QWidget;

// A window that wants the keys typed in its inputs (window-level shortcuts, page keys).
class WindowKeyHandler {
public:
    virtual ~WindowKeyHandler() = default;
    virtual void windowKeyPress(QKeyEvent* event) = 0;  // character keys
    virtual void windowKeyDown(QKeyEvent* event) = 0;   // every key but Up and Down
};

// The keyboard conventions an input can be given. Each filter is owned by the input it watches;
// an input made of several widgets (an editable combo box, a date picker) is watched as a whole.
namespace KeyFilters {
// Enter moves the focus to the next control in tab order, as Tab does, and never reaches the
// input; other character keys reach the window's own key-press handling first.
void attachKeyP(QWidget* input);
// Up and Down stay with the input; every other key reaches the window's key-down handling first.
void attachKeyD(QWidget* input);
// Only the digits 0-9 (and Backspace and control keys) can be typed.
void attachIntegerOnly(QWidget* input);
// Only the digits, the decimal point (and Backspace and control keys) can be typed.
void attachDecimalOnly(QWidget* input);

// Moves the focus from the widget to the next control in tab order, as Tab does.
void focusNextControl(QWidget* from);
}
