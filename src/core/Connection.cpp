#include "Connection.h"

#include "AppError.h"
#include "SqlStatement.h"

#include <QAtomicInt>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QUrl>

#include <sqlite3.h>

namespace {
QAtomicInt connectionCounter;
}

Connection::Connection() : name(QStringLiteral("qnrt-%1").arg(connectionCounter.fetchAndAddRelaxed(1)))
{
}

Connection::~Connection()
{
    close();
}

bool Connection::open(const QString& databaseFile)
{
    close();
    file = databaseFile;
    error.clear();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        QUrl url = QUrl::fromLocalFile(QFileInfo(databaseFile).absoluteFilePath());
        url.setQuery(QStringLiteral("mode=rw"));
        db.setDatabaseName(url.toString(QUrl::FullyEncoded));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=5000"));
        if (!db.open()) {
            error = db.lastError().driverText();
            const QString detail = db.lastError().databaseText();
            if (!detail.isEmpty())
                error += QStringLiteral(": ") + detail;
        }
    }
    if (error.isEmpty()) {
        // The open succeeds lazily on a file that is no database; reading the schema finds it.
        try {
            SqlStatement check(handle(), QStringLiteral("select count(*) from sqlite_master"));
            check.run();
        } catch (const DbError& e) {
            error = e.message();
        }
    }
    if (error.isEmpty())
        return true;
    error += QStringLiteral(" (") + databaseFile + QStringLiteral(")");
    close();
    return false;
}

void Connection::close()
{
    if (!QSqlDatabase::contains(name))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

bool Connection::isOpen() const
{
    return QSqlDatabase::contains(name) && QSqlDatabase::database(name, false).isOpen();
}

sqlite3* Connection::handle() const
{
    if (!isOpen())
        return nullptr;
    const QVariant h = QSqlDatabase::database(name, false).driver()->handle();
    return h.isValid() ? *static_cast<sqlite3* const*>(h.data()) : nullptr;
}

void Connection::execute(const QString& sql)
{
    SqlStatement statement(handle(), sql);
    statement.run();
}

qint64 Connection::lastInsertId() const
{
    return sqlite3_last_insert_rowid(handle());
}

int Connection::changes() const
{
    return sqlite3_changes(handle());
}

void Connection::beginTransaction()
{
    execute(QStringLiteral("BEGIN"));
}

void Connection::commit()
{
    execute(QStringLiteral("COMMIT"));
}

void Connection::rollback()
{
    if (!inTransaction())
        return;
    try {
        execute(QStringLiteral("ROLLBACK"));
    } catch (const std::exception&) {
        // The engine has already ended the transaction itself.
    }
}

bool Connection::inTransaction() const
{
    sqlite3* db = handle();
    return db && !sqlite3_get_autocommit(db);
}
