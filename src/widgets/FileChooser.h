#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

// File dialogs go through one replaceable chooser: the program shows the system's dialogs, tests
// answer from a script.
class FileChooser {
public:
    struct FileType {
        QString name;     // "Excel文件"
        QString pattern;  // "*.XLS"
    };

    virtual ~FileChooser() = default;
    // Save dialog. fileName holds the preset name and receives the chosen one; typeIndex (1-based)
    // holds the preset type and receives the chosen one. False when cancelled.
    virtual bool chooseSaveFile(QWidget* parent, const QString& title, const QList<FileType>& types,
                                QString& fileName, int& typeIndex) = 0;
    // Open dialog for one or several files; empty when cancelled.
    virtual QStringList chooseOpenFiles(QWidget* parent, const QString& title, const QList<FileType>& types,
                                        bool multiple) = 0;

    // The chooser in use (the system dialogs unless one was installed).
    static FileChooser& current();
    // Installs a chooser (not owned); nullptr restores the system dialogs.
    static void install(FileChooser* chooser);
};
