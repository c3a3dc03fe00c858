#include "XlsReader.h"

#include "core/AppError.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <freexl.h>

#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstring>
#include <functional>
#include <memory>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

// FreeXL is not safe against damaged files: a few wrong bytes can make it free memory twice.
// So it runs in a forked child that streams the rows back through a pipe; a child that dies
// means a damaged workbook, not a crashed program.

namespace {

struct FreeXlCloser {
    void operator()(const void* handle) const { freexl_close(handle); }
};
using FreeXlHandle = std::unique_ptr<const void, FreeXlCloser>;

// Tags of the child's stream: a row follows, the end, an error message follows.
constexpr qint8 tagRow = 1;
constexpr qint8 tagEnd = 0;
constexpr qint8 tagError = 2;

AppError damagedError(const QString& shownPath)
{
    return AppError(QStringLiteral("工作簿已损坏，无法读取：%1").arg(shownPath));
}

AppError unreadableError(const QString& shownPath, const QString& reason)
{
    return AppError(QStringLiteral("无法读取文件：%1（%2）").arg(shownPath, reason));
}

AppError notWorkbookError(const QString& shownPath)
{
    return AppError(QStringLiteral("不是 Excel 97-2003 工作簿（.xls）：%1").arg(shownPath));
}

QString numberText(double value)
{
    if (value == std::trunc(value) && std::fabs(value) < 9007199254740992.0)  // 2^53: exact
        return QString::number(qint64(value));
    return QString::number(value, 'f', QLocale::FloatingPointShortest);
}

QString cellText(const FreeXL_CellValue& cell)
{
    switch (cell.type) {
    case FREEXL_CELL_INT: return QString::number(cell.value.int_value);
    case FREEXL_CELL_DOUBLE: return numberText(cell.value.double_value);
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_DATETIME:
    case FREEXL_CELL_TIME: return QString::fromUtf8(cell.value.text_value);
    default: return {};
    }
}

// Hands the column names (row 1 without trailing empty cells) and then every following row,
// cut or padded to as many cells, to emitRow.
void readRows(const QString& path, int sheetIndex, const std::function<void(const QStringList&)>& emitRow)
{
    const QString shownPath = QDir::toNativeSeparators(path);
    const void* rawHandle = nullptr;
    const int opened = freexl_open(QFile::encodeName(path).constData(), &rawHandle);
    const FreeXlHandle handle(rawHandle);  // closed even when opening failed
    switch (opened) {
    case FREEXL_OK: break;
    case FREEXL_FILE_NOT_FOUND: throw AppError(QStringLiteral("无法读取文件：%1").arg(shownPath));
    case FREEXL_INVALID_CFBF_HEADER:
    case FREEXL_CFBF_INVALID_SIGNATURE:
    case FREEXL_BIFF_WORKBOOK_NOT_FOUND: throw notWorkbookError(shownPath);
    default: throw damagedError(shownPath);
    }
    if (!handle)
        throw damagedError(shownPath);  // FreeXL reports success without a handle for some string tables

    unsigned int value = 0;
    if (freexl_get_info(handle.get(), FREEXL_BIFF_PASSWORD, &value) != FREEXL_OK)
        throw damagedError(shownPath);
    if (value == FREEXL_BIFF_OBFUSCATED)
        throw AppError(QStringLiteral("工作簿有密码保护，无法读取：%1").arg(shownPath));
    if (freexl_get_info(handle.get(), FREEXL_BIFF_SHEET_COUNT, &value) != FREEXL_OK)
        throw damagedError(shownPath);
    if (value == 0)
        throw AppError(QStringLiteral("工作簿中没有工作表：%1").arg(shownPath));
    if (sheetIndex < 0 || unsigned(sheetIndex) >= value)
        throw AppError(QStringLiteral("工作簿中没有第 %1 个工作表：%2").arg(sheetIndex + 1).arg(shownPath));

    unsigned int rowCount = 0;
    unsigned short columnCount = 0;
    if (freexl_select_active_worksheet(handle.get(), static_cast<unsigned short>(sheetIndex)) != FREEXL_OK
        || freexl_worksheet_dimensions(handle.get(), &rowCount, &columnCount) != FREEXL_OK)
        throw damagedError(shownPath);
    if (rowCount == 0)
        return;

    QStringList cells;
    const auto readRow = [&](unsigned int row, unsigned short columns) {
        cells.clear();
        for (unsigned short column = 0; column < columns; ++column) {
            FreeXL_CellValue cell;
            if (freexl_get_cell_value(handle.get(), row, column, &cell) != FREEXL_OK)
                throw damagedError(shownPath);
            cells.append(cellText(cell));
        }
    };
    readRow(0, columnCount);
    while (!cells.isEmpty() && cells.last().isEmpty())
        cells.removeLast();
    emitRow(cells);
    const auto width = static_cast<unsigned short>(cells.size());
    for (unsigned int row = 1; row < rowCount; ++row) {
        readRow(row, width);
        emitRow(cells);
    }
}

// The child's whole life: read, stream the rows or the error, leave without running any of the
// parent's exit handlers.
[[noreturn]] void runReader(int fd, const QString& path, int sheetIndex)
{
    for (const int number : {SIGSEGV, SIGBUS, SIGABRT, SIGFPE, SIGILL})
        std::signal(number, SIG_DFL);  // no crash handler of the parent: just die
    if (const int devNull = ::open("/dev/null", O_WRONLY); devNull >= 0)
        ::dup2(devNull, STDERR_FILENO);
    QFile pipe;
    if (!pipe.open(fd, QIODevice::WriteOnly))
        ::_exit(1);
    QDataStream out(&pipe);
    out.setByteOrder(QDataStream::LittleEndian);  // texts as they are in memory
    try {
        readRows(path, sheetIndex, [&out](const QStringList& cells) { out << tagRow << cells; });
        out << tagEnd;
    } catch (const AppError& error) {
        out << tagError << error.message();
    } catch (...) {
        ::_exit(1);
    }
    ::_exit(pipe.flush() ? 0 : 1);
}

}  // namespace

XlsTable ReadWorksheet(const QString& path, int sheetIndex)
{
    const QString shownPath = QDir::toNativeSeparators(path);
    const QFileInfo info(path);
    if (!info.exists())
        throw AppError(QStringLiteral("文件不存在：%1").arg(shownPath));
    if (!info.isFile())
        throw notWorkbookError(shownPath);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw unreadableError(shownPath, file.errorString());
    if (file.read(8) != QByteArrayLiteral("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"))
        throw notWorkbookError(shownPath);  // not a compound file
    file.close();

    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        throw unreadableError(shownPath, QString::fromLocal8Bit(std::strerror(errno)));
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(fds[0]);
        runReader(fds[1], path, sheetIndex);
    }
    const int forkError = errno;
    ::close(fds[1]);
    QFile pipe;
    pipe.open(fds[0], QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    if (child < 0)
        throw unreadableError(shownPath, QString::fromLocal8Bit(std::strerror(forkError)));

    XlsTable table;
    QString error;
    bool complete = false;
    QDataStream in(&pipe);
    in.setByteOrder(QDataStream::LittleEndian);
    for (bool first = true; !complete;) {
        qint8 tag = -1;
        in >> tag;
        if (tag == tagRow) {
            QStringList cells;
            in >> cells;
            if (first)
                table.columns = cells;
            else
                table.rows.append(cells);
            first = false;
        } else if (tag == tagError) {
            in >> error;
        } else if (tag != tagEnd) {
            break;
        }
        if (in.status() != QDataStream::Ok)
            break;
        complete = tag != tagRow;
    }
    pipe.close();  // a child still writing gets a broken pipe and ends

    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!complete || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw damagedError(shownPath);
    if (!error.isEmpty())
        throw AppError(error);
    return table;
}
