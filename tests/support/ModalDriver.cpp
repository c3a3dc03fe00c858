#include "ModalDriver.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <memory>

void WhenModalShows(const std::function<void(QWidget* dialog)>& act, int timeoutMs)
{
    auto* poll = new QTimer(qApp);
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, clock, act, timeoutMs] {
        if (QWidget* dialog = QApplication::activeModalWidget(); dialog && dialog->isVisible()) {
            poll->stop();
            poll->deleteLater();
            act(dialog);
        } else if (clock->elapsed() > timeoutMs) {
            poll->stop();
            poll->deleteLater();
            QFAIL("no modal dialog was shown");
        }
    });
    poll->start();
}
