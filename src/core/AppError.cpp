#include "AppError.h"

AppError::AppError(const QString& message)
    : std::runtime_error(message.toStdString()), text(message)
{
}

DbError::DbError(const QString& engineMessage, const QString& sql)
    : AppError(engineMessage), statement(sql)
{
}
