#include "KeyFilters.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QWidget>

namespace {

enum class Convention { KeyP, KeyD, IntegerOnly, DecimalOnly };

bool isCharacter(const QKeyEvent* event)
{
    const QString text = event->text();
    return !text.isEmpty() && text[0].unicode() >= 0x20 && text[0].unicode() != 0x7f;
}

bool isEnter(const QKeyEvent* event)
{
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

WindowKeyHandler* handlerOf(QWidget* input)
{
    return dynamic_cast<WindowKeyHandler*>(input->window());
}

class KeyFilter : public QObject {
public:
    KeyFilter(Convention convention, QWidget* input) : QObject(input), convention(convention), input(input) {}

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        switch (convention) {
        case Convention::KeyP:
            if (isEnter(key)) {
                KeyFilters::focusNextControl(input);
                return true;
            }
            if (isCharacter(key))
                if (WindowKeyHandler* handler = handlerOf(input))
                    handler->windowKeyPress(key);
            return false;
        case Convention::KeyD:
            if (key->key() != Qt::Key_Up && key->key() != Qt::Key_Down)
                if (WindowKeyHandler* handler = handlerOf(input))
                    handler->windowKeyDown(key);
            return false;
        case Convention::IntegerOnly:
            return isCharacter(key) && !key->text()[0].isDigit();
        case Convention::DecimalOnly:
            return isCharacter(key) && !key->text()[0].isDigit() && key->text()[0] != QLatin1Char('.');
        }
        return false;
    }

private:
    Convention convention;
    QWidget* input;
};

void attach(Convention convention, QWidget* input)
{
    // Keys go to the end of the focus proxy chain (the inner editor of a composite input).
    QWidget* target = input;
    while (QWidget* proxy = target->focusProxy())
        target = proxy;
    target->installEventFilter(new KeyFilter(convention, input));
}

}

namespace KeyFilters {

void attachKeyP(QWidget* input) { attach(Convention::KeyP, input); }
void attachKeyD(QWidget* input) { attach(Convention::KeyD, input); }
void attachIntegerOnly(QWidget* input) { attach(Convention::IntegerOnly, input); }
void attachDecimalOnly(QWidget* input) { attach(Convention::DecimalOnly, input); }

void focusNextControl(QWidget* from)
{
    QWidget* window = from->window();
    QWidget* candidate = from;
    while (QWidget* proxy = candidate->focusProxy())
        candidate = proxy;
    for (QWidget* w = candidate->nextInFocusChain(); w && w != candidate; w = w->nextInFocusChain()) {
        if (w->window() == window && (w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(window) && w->isEnabled()
            && !from->isAncestorOf(w) && !w->focusProxy()) {
            w->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

}
