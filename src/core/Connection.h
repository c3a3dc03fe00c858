#pragma once

#include <QString>

struct sqlite3;

// The shared database connection. Opens an existing file read-write and never creates one;
// other processes may use the same file and are waited for a few seconds when busy.
class Connection {
public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // False with lastError() holding the engine's message when the file cannot be opened.
    bool open(const QString& databaseFile);
    void close();
    bool isOpen() const;
    QString lastError() const { return error; }
    QString databaseFile() const { return file; }

    sqlite3* handle() const;

    // Runs a statement that returns no rows; throws DbError.
    void execute(const QString& sql);
    qint64 lastInsertId() const;
    int changes() const;

    void beginTransaction();
    void commit();
    // Never throws; does nothing outside a transaction.
    void rollback();
    bool inTransaction() const;

private:
    QString name;
    QString file;
    QString error;
};
