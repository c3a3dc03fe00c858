#pragma once

#include <QString>
#include <QStringList>

// What the command line asks for.
struct CommandLine {
    QString folder;          // --folder DIR; empty: the executable's folder
    bool initDatabase = false;
    int demoCustomers = 0;   // --demo N, only with --init-database
    QString exportTable;     // --export TABLE FILE
    QString exportFile;
    bool help = false;
    QString error;           // a bad command line, to be reported before anything else happens

    static CommandLine parse(const QStringList& arguments);
    static QString helpText();

    // True when the command runs without windows.
    bool isConsoleCommand() const { return help || initDatabase || !exportTable.isEmpty() || !error.isEmpty(); }
};
