#include "BaseForm.h"

#include <QGuiApplication>
#include <QScreen>

BaseForm::BaseForm(QWidget* parent) : QDialog(parent)
{
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(13);
    setFont(font);
    QPalette p = palette();
    p.setColor(QPalette::WindowText, Qt::black);
    p.setColor(QPalette::Window, p.color(QPalette::Button));
    setPalette(p);
    setAutoFillBackground(true);
}

void BaseForm::showEvent(QShowEvent* event)
{
    if (!centred) {
        centred = true;
        const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
        if (screen) {
            QRect frame = frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            move(frame.topLeft());
        }
    }
    QDialog::showEvent(event);
}
