#pragma once

#include <QString>

enum class MessageIcon { Information, Warning, Error, Question };

// Where messages for the user go. The program shows message boxes; tests record them.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void show(const QString& title, const QString& text, MessageIcon icon) = 0;
    // OK/Cancel question; true when OK is chosen.
    virtual bool confirm(const QString& title, const QString& text) = 0;
};

// Installs the sink (not owned); nullptr restores the default, which writes to standard error
// and answers every question with Cancel.
void setMessageSink(MessageSink* sink);
MessageSink& messageSink();

void ShowInfo(const QString& text);
void ShowWarning(const QString& text);
void ShowError(const QString& text);
bool AskConfirm(const QString& text);
