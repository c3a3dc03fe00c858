#pragma once

#include "core/Messages.h"

// Shows messages in modal message boxes owned by the active window.
class MessageBoxSink : public MessageSink {
public:
    void show(const QString& title, const QString& text, MessageIcon icon) override;
    bool confirm(const QString& title, const QString& text) override;
};
