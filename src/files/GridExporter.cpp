#include "GridExporter.h"

#include "GridSource.h"
#include "XlsWriter.h"
#include "core/AppError.h"

#include <QSaveFile>
#include <QStringBuilder>

namespace {

// Text cells of a document: line breaks and tabs become blanks only where the format needs it.
QString plainCell(QString text)
{
    text.replace(QLatin1Char('\t'), QLatin1Char(' '));
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

QByteArray htmlCell(const QString& text)
{
    QString escaped = text.toHtmlEscaped();
    escaped.replace(QLatin1Char('\''), QLatin1String("&#39;"));
    escaped.replace(QLatin1String("\r\n"), QLatin1String("<br>"));
    escaped.replace(QLatin1Char('\n'), QLatin1String("<br>"));
    return escaped.toUtf8();
}

// RTF is 7-bit: control characters are escaped, everything beyond ASCII is written as \uN?.
QByteArray rtfText(const QString& text)
{
    QByteArray out;
    out.reserve(text.size() * 2);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c == u'\\' || c == u'{' || c == u'}') {
            out += '\\';
            out += char(c);
        } else if (c == u'\n') {
            if (i == 0 || text[i - 1] != QLatin1Char('\r'))
                out += "\\line ";
        } else if (c == u'\r') {
            out += "\\line ";
        } else if (c == u'\t') {
            out += "\\tab ";
        } else if (c < 0x20) {
            out += ' ';
        } else if (c < 0x80) {
            out += char(c);
        } else {
            out += "\\u";
            out += QByteArray::number(qint16(c));
            out += '?';
        }
    }
    return out;
}

class OutputFile {
public:
    explicit OutputFile(const QString& path) : file(path)
    {
        if (!file.open(QIODevice::WriteOnly))
            fail();
    }
    void write(const QByteArray& bytes)
    {
        if (file.write(bytes) != bytes.size())
            fail();
    }
    void commit()
    {
        if (!file.commit())
            fail();
    }

private:
    [[noreturn]] void fail()
    {
        const QString reason = file.errorString();
        file.cancelWriting();
        throw AppError(QStringLiteral("无法写入文件 %1：%2").arg(file.fileName(), reason));
    }
    QSaveFile file;
};

void writeTxt(const GridSource& source, OutputFile& out)
{
    QByteArray buffer("\xEF\xBB\xBF");  // lets spreadsheet programs see UTF-8
    auto line = [&](auto cellAt) {
        for (int c = 0; c < source.columnCount(); ++c) {
            if (c > 0)
                buffer += '\t';
            buffer += plainCell(cellAt(c)).toUtf8();
        }
        buffer += "\n";
        if (buffer.size() > (1 << 20)) {
            out.write(buffer);
            buffer.clear();
        }
    };
    line([&](int c) { return source.title(c); });
    for (int r = 0; r < source.rowCount(); ++r)
        line([&](int c) { return source.cellText(r, c); });
    out.write(buffer);
}

void writeHtm(const GridSource& source, OutputFile& out)
{
    QByteArray buffer("<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>表格导出</title>\n"
                      "<style>table{border-collapse:collapse}th,td{border:1px solid #999;padding:2px 6px}"
                      "th{background:#eee}</style>\n</head>\n<body>\n<table>\n<tr>");
    for (int c = 0; c < source.columnCount(); ++c)
        buffer += "<th>" + htmlCell(source.title(c)) + "</th>";
    buffer += "</tr>\n";
    for (int r = 0; r < source.rowCount(); ++r) {
        buffer += "<tr>";
        for (int c = 0; c < source.columnCount(); ++c)
            buffer += "<td>" + htmlCell(source.cellText(r, c)) + "</td>";
        buffer += "</tr>\n";
        if (buffer.size() > (1 << 20)) {
            out.write(buffer);
            buffer.clear();
        }
    }
    buffer += "</table>\n</body>\n</html>\n";
    out.write(buffer);
}

void writeRtf(const GridSource& source, OutputFile& out)
{
    // 宋体 with the GB2312 character set; every row repeats the cell boundaries, as RTF wants.
    QByteArray rowStart = "\\trowd\\trgaph60\\trleft0";
    const int width = source.columnCount() > 0 ? qMax(600, 13000 / source.columnCount()) : 600;
    for (int c = 0; c < source.columnCount(); ++c)
        rowStart += "\\clbrdrt\\brdrs\\clbrdrl\\brdrs\\clbrdrb\\brdrs\\clbrdrr\\brdrs\\cellx"
                    + QByteArray::number((c + 1) * width);
    rowStart += '\n';
    QByteArray buffer = "{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fnil\\fcharset134 " + rtfText(QStringLiteral("宋体"))
                        + ";}}\n\\paperw16838\\paperh11906\\landscape\\f0\\fs20\n";
    auto row = [&](auto cellAt, bool bold) {
        buffer += rowStart;
        for (int c = 0; c < source.columnCount(); ++c) {
            buffer += bold ? "\\pard\\intbl\\b " : "\\pard\\intbl ";
            buffer += rtfText(cellAt(c));
            buffer += bold ? "\\b0\\cell\n" : "\\cell\n";
        }
        buffer += "\\row\n";
        if (buffer.size() > (1 << 20)) {
            out.write(buffer);
            buffer.clear();
        }
    };
    row([&](int c) { return source.title(c); }, true);
    for (int r = 0; r < source.rowCount(); ++r)
        row([&](int c) { return source.cellText(r, c); }, false);
    buffer += "\\pard\\par\n}\n";
    out.write(buffer);
}

void writeXls(const GridSource& source, const QString& path)
{
    XlsWriter writer;
    QStringList titles;
    for (int c = 0; c < source.columnCount(); ++c)
        titles << source.title(c);
    writer.beginSheet(QStringLiteral("Sheet1"), titles);
    QVariantList cells;
    for (int r = 0; r < source.rowCount(); ++r) {
        cells.clear();
        for (int c = 0; c < source.columnCount(); ++c) {
            const QString text = source.cellText(r, c);
            bool ok = false;
            const double number = source.isNumeric(c) ? text.toDouble(&ok) : 0.0;
            cells << (ok ? QVariant(number) : QVariant(text));
        }
        writer.addRow(cells);
    }
    writer.save(path);
}

}

namespace GridExporter {

bool formatOfExtension(const QString& extension, ExportFormat* format)
{
    const QString ext = extension.startsWith(QLatin1Char('.')) ? extension.mid(1).toLower() : extension.toLower();
    static const struct { const char* ext; ExportFormat format; } known[] = {
        {"xls", ExportFormat::Xls}, {"rtf", ExportFormat::Rtf}, {"htm", ExportFormat::Htm}, {"txt", ExportFormat::Txt}};
    for (const auto& k : known) {
        if (ext == QLatin1String(k.ext)) {
            *format = k.format;
            return true;
        }
    }
    return false;
}

QString extensionOf(ExportFormat format)
{
    switch (format) {
    case ExportFormat::Xls: return QStringLiteral("xls");
    case ExportFormat::Rtf: return QStringLiteral("rtf");
    case ExportFormat::Htm: return QStringLiteral("htm");
    case ExportFormat::Txt: return QStringLiteral("txt");
    }
    return {};
}

void write(const GridSource& source, ExportFormat format, const QString& path)
{
    if (format == ExportFormat::Xls) {
        writeXls(source, path);
        return;
    }
    OutputFile out(path);
    switch (format) {
    case ExportFormat::Txt: writeTxt(source, out); break;
    case ExportFormat::Htm: writeHtm(source, out); break;
    case ExportFormat::Rtf: writeRtf(source, out); break;
    case ExportFormat::Xls: break;
    }
    out.commit();
}

}
