#pragma once

#include <QString>
#include <stdexcept>

// An error whose message is meant for the user; the action guard shows it.
class AppError : public std::runtime_error {
public:
    explicit AppError(const QString& message);
    QString message() const { return text; }

private:
    QString text;
};

// A statement or posting the database engine refused.
class DbError : public AppError {
public:
    DbError(const QString& engineMessage, const QString& sql = {});
    QString sql() const { return statement; }

private:
    QString statement;
};

// A text that cannot be read as the value it should be (an impossible date, say).
class ConversionError : public AppError {
public:
    using AppError::AppError;
};

// Ends the current operation without any message.
class SilentAbort : public std::exception {
public:
    const char* what() const noexcept override { return "operation aborted"; }
};
