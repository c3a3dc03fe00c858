#include "Messages.h"

#include <cstdio>

namespace {

class StandardErrorSink : public MessageSink {
public:
    void show(const QString& title, const QString& text, MessageIcon) override
    {
        std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(text));
    }
    bool confirm(const QString& title, const QString& text) override
    {
        show(title, text, MessageIcon::Question);
        return false;
    }
};

StandardErrorSink standardErrorSink;
MessageSink* installed = nullptr;

}

void setMessageSink(MessageSink* sink)
{
    installed = sink;
}

MessageSink& messageSink()
{
    return installed ? *installed : standardErrorSink;
}

void ShowInfo(const QString& text)
{
    messageSink().show(QStringLiteral("提示"), text, MessageIcon::Information);
}

void ShowWarning(const QString& text)
{
    messageSink().show(QStringLiteral("警告"), text, MessageIcon::Warning);
}

void ShowError(const QString& text)
{
    messageSink().show(QStringLiteral("错误"), text, MessageIcon::Error);
}

bool AskConfirm(const QString& text)
{
    return messageSink().confirm(QStringLiteral("确认"), text);
}
