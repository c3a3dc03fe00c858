#include "SqlStatement.h"

#include "AppError.h"
#include "VariantTypes.h"

#include <sqlite3.h>

SqlStatement::SqlStatement(sqlite3* db, const QString& sql) : db(db), text(sql)
{
    if (!db)
        throw DbError(QStringLiteral("数据库没有打开"), sql);
    const QByteArray utf8 = sql.toUtf8();
    if (sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &stmt, nullptr) != SQLITE_OK)
        fail();
    if (!stmt)
        throw DbError(QStringLiteral("语句为空"), sql);
}

SqlStatement::~SqlStatement()
{
    sqlite3_finalize(stmt);
}

void SqlStatement::fail() const
{
    throw DbError(QString::fromUtf8(sqlite3_errmsg(db)), text);
}

void SqlStatement::bind(int index, const QVariant& value)
{
    int rc = SQLITE_OK;
    switch (storageClassOf(value)) {
    case StorageClass::Null: rc = sqlite3_bind_null(stmt, index); break;
    case StorageClass::Integer: rc = sqlite3_bind_int64(stmt, index, value.toLongLong()); break;
    case StorageClass::Real: rc = sqlite3_bind_double(stmt, index, value.toDouble()); break;
    case StorageClass::Blob: {
        const QByteArray bytes = value.toByteArray();
        rc = sqlite3_bind_blob64(stmt, index, bytes.constData(), sqlite3_uint64(bytes.size()), SQLITE_TRANSIENT);
        break;
    }
    case StorageClass::Text: {
        const QByteArray utf8 = value.toString().toUtf8();
        rc = sqlite3_bind_text64(stmt, index, utf8.constData(), sqlite3_uint64(utf8.size()), SQLITE_TRANSIENT,
                                 SQLITE_UTF8);
    }
    }
    if (rc != SQLITE_OK)
        fail();
}

bool SqlStatement::step()
{
    const int rc = sqlite3_step(stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    fail();
}

void SqlStatement::run()
{
    while (step()) {
    }
}

int SqlStatement::columnCount() const
{
    return sqlite3_column_count(stmt);
}
