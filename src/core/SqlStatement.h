#pragma once

#include <QString>
#include <QVariant>

struct sqlite3;
struct sqlite3_stmt;

// One prepared statement on the engine's native handle; finalized when it goes out of scope.
// Every failure throws DbError with the engine's message and the statement text.
class SqlStatement {
public:
    SqlStatement(sqlite3* db, const QString& sql);
    ~SqlStatement();
    SqlStatement(const SqlStatement&) = delete;
    SqlStatement& operator=(const SqlStatement&) = delete;

    // Binds a value to the 1-based parameter; a null QVariant binds NULL.
    void bind(int index, const QVariant& value);
    // Steps once; true while a row is available.
    bool step();
    // Steps until done.
    void run();

    int columnCount() const;
    sqlite3_stmt* handle() const { return stmt; }
    const QString& sql() const { return text; }

private:
    [[noreturn]] void fail() const;

    sqlite3* db;
    sqlite3_stmt* stmt = nullptr;
    QString text;
};
