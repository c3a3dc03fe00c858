#include "NewDatabase.h"

#include "DemoData.h"
#include "InitialContents.h"
#include "SchemaDdl.h"

#include "core/AppError.h"
#include "core/AppInfo.h"
#include "core/Connection.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <memory>

namespace {

// The file the database is built in; removed again unless kept.
class TemporaryDatabase {
public:
    explicit TemporaryDatabase(const QString& path) : filePath(path) { removeFiles(); }
    ~TemporaryDatabase()
    {
        if (!kept)
            removeFiles();
    }
    TemporaryDatabase(const TemporaryDatabase&) = delete;
    TemporaryDatabase& operator=(const TemporaryDatabase&) = delete;

    const QString& path() const { return filePath; }
    void keep() { kept = true; }

private:
    // A journal left by an earlier run under the same name would be rolled back into the new file.
    void removeFiles()
    {
        QFile::remove(filePath);
        QFile::remove(filePath + QStringLiteral("-journal"));
    }

    QString filePath;
    bool kept = false;
};

struct EngineCloser {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
using EngineHandle = std::unique_ptr<sqlite3, EngineCloser>;

void createSchema(const QString& file)
{
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(file.toUtf8().constData(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    const EngineHandle db(raw);
    if (rc != SQLITE_OK)
        throw AppError(QStringLiteral("无法创建数据库文件 %1：%2")
                           .arg(file, db ? QString::fromUtf8(sqlite3_errmsg(db.get())) : QString::fromUtf8(sqlite3_errstr(rc))));

    auto execute = [&](const QString& sql) {
        if (sqlite3_exec(db.get(), sql.toUtf8().constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
            throw AppError(QStringLiteral("创建数据库表失败：%1").arg(QString::fromUtf8(sqlite3_errmsg(db.get()))));
    };
    execute(QStringLiteral("BEGIN"));
    for (const QString& statement : SchemaDdl::createStatements())
        execute(statement);
    execute(QStringLiteral("COMMIT"));
}

void fillContents(const QString& file, int demoCustomers)
{
    Connection connection;
    if (!connection.open(file))
        throw AppError(QStringLiteral("无法打开新数据库：%1").arg(connection.lastError()));
    try {
        connection.beginTransaction();
        InitialContents::fill(connection);
        if (demoCustomers > 0)
            DemoData::fill(connection, demoCustomers);
        connection.commit();
    } catch (const AppError& e) {
        connection.rollback();
        throw AppError(QStringLiteral("写入新数据库的内容失败：%1").arg(e.message()));
    } catch (const std::exception& e) {
        connection.rollback();
        throw AppError(QStringLiteral("写入新数据库的内容失败：%1").arg(QString::fromLocal8Bit(e.what())));
    }
}

}

namespace NewDatabase {

void create(const QString& programFolder, int demoCustomers)
{
    const QDir folder(programFolder);
    const QString target = folder.absoluteFilePath(AppInfo::databaseFileName);
    if (QFileInfo::exists(target))
        throw AppError(QStringLiteral("数据库文件已存在：%1").arg(target));
    if (!QDir().mkpath(folder.absolutePath()))
        throw AppError(QStringLiteral("无法创建文件夹：%1").arg(folder.absolutePath()));

    TemporaryDatabase temporary(
        QStringLiteral("%1.new-%2").arg(target).arg(QCoreApplication::applicationPid()));
    createSchema(temporary.path());
    fillContents(temporary.path(), demoCustomers);

    const QString attachments = folder.absoluteFilePath(AppInfo::attachmentFolderName);
    if (!folder.mkpath(AppInfo::attachmentFolderName))
        throw AppError(QStringLiteral("无法创建附件文件夹：%1").arg(attachments));
    if (!QFile::rename(temporary.path(), target))
        throw AppError(QStringLiteral("无法将新数据库改名为 %1").arg(target));
    temporary.keep();
}

}
