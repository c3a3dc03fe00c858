#include "ProgramEntry.h"

#include "CommandLine.h"
#include "LoginDialog.h"
#include "SingleInstance.h"
#include "core/AppError.h"
#include "core/AppInfo.h"
#include "core/DataModule.h"
#include "files/TableExport.h"
#include "forms/main/CustomerMainWindow.h"
#include "schema/NewDatabase.h"
#include "widgets/MessageBoxSink.h"

#include <QApplication>
#include <QDir>

#include <cstdio>

namespace {

QString programFolder(const CommandLine& command)
{
    const QString folder = command.folder.isEmpty() ? QCoreApplication::applicationDirPath() : command.folder;
    return QDir(folder).absolutePath();
}

void print(FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fputc('\n', stream);
}

int exportTable(const QString& folder, const CommandLine& command)
{
    Connection connection;
    if (!connection.open(QDir(folder).filePath(AppInfo::databaseFileName))) {
        print(stderr, QStringLiteral("无法打开数据库：%1").arg(connection.lastError()));
        return 1;
    }
    try {
        const int rows = ExportRecordTable(connection, command.exportTable, command.exportFile);
        print(stdout, QStringLiteral("已导出 %1 条记录到 %2").arg(rows).arg(command.exportFile));
    } catch (const AppError& e) {
        print(stderr, e.message());
        return 1;
    }
    return 0;
}

}

int runConsoleCommand(int argc, char** argv, const CommandLine& command)
{
    QCoreApplication app(argc, argv);
    if (!command.error.isEmpty()) {
        print(stderr, command.error);
        print(stderr, CommandLine::helpText());
        return 2;
    }
    if (command.help) {
        print(stdout, CommandLine::helpText());
        return 0;
    }
    const QString folder = programFolder(command);
    if (!command.exportTable.isEmpty())
        return exportTable(folder, command);
    try {
        NewDatabase::create(folder, command.demoCustomers);
    } catch (const AppError& e) {
        print(stderr, e.message());
        return 1;
    }
    print(stdout, QStringLiteral("已创建数据库：%1").arg(QDir(folder).filePath(AppInfo::databaseFileName)));
    return 0;
}

int runDesktop(int argc, char** argv, const CommandLine& command)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(AppInfo::title);
    MessageBoxSink sink;
    setMessageSink(&sink);

    int result = 0;
    SingleInstance instance(AppInfo::title);
    if (!instance.acquire()) {
        messageSink().show(QStringLiteral("提示"), AppInfo::title + QStringLiteral("已运行！"), MessageIcon::Error);
    } else {
        DataModule dataModule(programFolder(command));
        LoginDialog login;
        if (login.exec() == QDialog::Accepted) {
            CustomerMainWindow mainWindow;
            // Closing the main window, by its close box too, ends the program.
            QObject::connect(&mainWindow, &QDialog::finished, &app, &QCoreApplication::quit);
            mainWindow.show();
            result = QApplication::exec();
            mainWindow.hide();  // a window still shown when the program ends writes its settings too
        }
    }
    setMessageSink(nullptr);
    return result;
}
