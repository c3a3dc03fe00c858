#include "MessageRecorder.h"

MessageRecorder::MessageRecorder()
{
    setMessageSink(this);
}

MessageRecorder::~MessageRecorder()
{
    setMessageSink(nullptr);
}

void MessageRecorder::show(const QString& title, const QString& text, MessageIcon icon)
{
    recorded.append({title, text, icon});
}

bool MessageRecorder::confirm(const QString& title, const QString& text)
{
    recorded.append({title, text, MessageIcon::Question});
    return answers.isEmpty() ? false : answers.dequeue();
}

QStringList MessageRecorder::texts() const
{
    QStringList result;
    for (const Message& m : recorded)
        result << m.text;
    return result;
}
