#pragma once

#include <QElapsedTimer>
#include <QFile>
#include <QString>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <functional>

// Shared pieces of the benchmarks: timing, the plain baseline through the SQLite C API, memory.
namespace bench {

// Best of n runs, in milliseconds.
inline double bestOf(int n, const std::function<void()>& work)
{
    double best = 1e300;
    for (int i = 0; i < n; ++i) {
        QElapsedTimer t;
        t.start();
        work();
        best = std::min(best, t.nsecsElapsed() / 1e6);
    }
    return best;
}

// Steps the statement and reads every column of every row by its type; returns a checksum.
inline quint64 stepAll(sqlite3* db, const QString& sql)
{
    sqlite3_stmt* stmt = nullptr;
    const QByteArray utf8 = sql.toUtf8();
    if (sqlite3_prepare_v2(db, utf8.constData(), -1, &stmt, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "baseline: %s\n", sqlite3_errmsg(db));
        return 0;
    }
    quint64 sum = 0;
    const int columns = sqlite3_column_count(stmt);
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        for (int i = 0; i < columns; ++i) {
            switch (sqlite3_column_type(stmt, i)) {
            case SQLITE_INTEGER: sum += quint64(sqlite3_column_int64(stmt, i)); break;
            case SQLITE_FLOAT: sum += quint64(sqlite3_column_double(stmt, i)); break;
            case SQLITE_TEXT: {
                const unsigned char* text = sqlite3_column_text(stmt, i);
                sum += quint64(sqlite3_column_bytes(stmt, i)) + (text ? text[0] : 0);
                break;
            }
            default: break;
            }
        }
    }
    sqlite3_finalize(stmt);
    return sum;
}

// Peak resident memory of the process so far, in MB.
inline double peakResidentMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return 0;
}

inline void report(const char* name, double ms, double baselineMs, const char* goal)
{
    std::printf("%-44s %9.1f ms  baseline %9.1f ms  ratio %5.2f  (goal %s)\n", name, ms, baselineMs,
                baselineMs > 0 ? ms / baselineMs : 0.0, goal);
}

}
