#pragma once

#include "widgets/FileChooser.h"

#include <QQueue>

// Answers file dialogs from a script instead of showing them; installed for its lifetime.
class ScriptedFileChooser : public FileChooser {
public:
    struct SaveAnswer {
        QString fileName;  // empty: the dialog is cancelled
        int typeIndex = 1;
    };

    ScriptedFileChooser() { install(this); }
    ~ScriptedFileChooser() override { install(nullptr); }

    void answerSave(const QString& fileName, int typeIndex) { saves.enqueue({fileName, typeIndex}); }
    void answerOpen(const QStringList& files) { opens.enqueue(files); }

    bool chooseSaveFile(QWidget*, const QString& title, const QList<FileType>& types, QString& fileName,
                        int& typeIndex) override
    {
        lastTitle = title;
        lastTypes = types;
        presetName = fileName;
        presetType = typeIndex;
        const SaveAnswer answer = saves.isEmpty() ? SaveAnswer{} : saves.dequeue();
        if (answer.fileName.isEmpty())
            return false;
        fileName = answer.fileName;
        typeIndex = answer.typeIndex;
        return true;
    }

    QStringList chooseOpenFiles(QWidget*, const QString& title, const QList<FileType>& types, bool) override
    {
        lastTitle = title;
        lastTypes = types;
        return opens.isEmpty() ? QStringList() : opens.dequeue();
    }

    QString lastTitle;
    QList<FileType> lastTypes;
    QString presetName;
    int presetType = 0;

private:
    QQueue<SaveAnswer> saves;
    QQueue<QStringList> opens;
};
