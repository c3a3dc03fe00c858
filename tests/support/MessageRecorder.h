#pragma once

#include "core/Messages.h"

#include <QList>
#include <QQueue>
#include <QString>

// Records every message instead of showing it and answers confirmations from a queue (Cancel
// when the queue is empty). Installed for its lifetime.
class MessageRecorder : public MessageSink {
public:
    struct Message {
        QString title;
        QString text;
        MessageIcon icon;
    };

    MessageRecorder();
    ~MessageRecorder() override;

    void show(const QString& title, const QString& text, MessageIcon icon) override;
    bool confirm(const QString& title, const QString& text) override;

    void answerNext(bool ok) { answers.enqueue(ok); }
    const QList<Message>& messages() const { return recorded; }
    QStringList texts() const;
    void clear() { recorded.clear(); }

private:
    QList<Message> recorded;
    QQueue<bool> answers;
};
