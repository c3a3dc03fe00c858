#include "XlsWriter.h"

#include "core/AppError.h"
#include "core/VariantTypes.h"

#include <QDir>
#include <QSaveFile>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <utility>

namespace {

// BIFF8 record types.
constexpr quint16 recBof = 0x0809;
constexpr quint16 recEof = 0x000A;
constexpr quint16 recCodePage = 0x0042;
constexpr quint16 recWindow1 = 0x003D;
constexpr quint16 recDateMode = 0x0022;
constexpr quint16 recFont = 0x0031;
constexpr quint16 recXf = 0x00E0;
constexpr quint16 recStyle = 0x0293;
constexpr quint16 recPalette = 0x0092;
constexpr quint16 recBoundSheet = 0x0085;
constexpr quint16 recSst = 0x00FC;
constexpr quint16 recContinue = 0x003C;
constexpr quint16 recExtSst = 0x00FF;
constexpr quint16 recDimensions = 0x0200;
constexpr quint16 recLabelSst = 0x00FD;
constexpr quint16 recRk = 0x027E;
constexpr quint16 recNumber = 0x0203;
constexpr quint16 recWindow2 = 0x023E;

constexpr qsizetype maxRecordData = 8224;
constexpr quint16 defaultXf = 15;
constexpr int firstStyleXf = 21;
constexpr int firstStyleFont = 5;  // font index 4 does not exist in BIFF
constexpr quint16 automaticColour = 0x7FFF;
constexpr quint16 fontHeight = 240;  // twips: 12 points
constexpr quint8 gb2312Charset = 0x86;
constexpr double minRk = -536870912.0;  // RK holds 30-bit integers
constexpr double maxRk = 536870911.0;

// Colours 8..63 of the standard BIFF8 palette.
constexpr std::array<quint32, 56> defaultPalette = {
    0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF,
    0x800000, 0x008000, 0x000080, 0x808000, 0x800080, 0x008080, 0xC0C0C0, 0x808080,
    0x9999FF, 0x993366, 0xFFFFCC, 0xCCFFFF, 0x660066, 0xFF8080, 0x0066CC, 0xCCCCFF,
    0x000080, 0xFF00FF, 0xFFFF00, 0x00FFFF, 0x800080, 0x800000, 0x008080, 0x0000FF,
    0x00CCFF, 0xCCFFFF, 0xCCFFCC, 0xFFFF99, 0x99CCFF, 0xFF99CC, 0xCC99FF, 0xFFCC99,
    0x3366FF, 0x33CCCC, 0x99CC00, 0xFFCC00, 0xFF9900, 0xFF6600, 0x666699, 0x969696,
    0x003366, 0x339966, 0x003300, 0x333300, 0x993300, 0x993366, 0x333399, 0x333333,
};
constexpr quint16 firstPaletteIndex = 8;

// Compound file.
constexpr quint32 freeSector = 0xFFFFFFFF;
constexpr quint32 endOfChain = 0xFFFFFFFE;
constexpr quint32 fatSectorMark = 0xFFFFFFFD;
constexpr quint32 difatSectorMark = 0xFFFFFFFC;
constexpr quint32 noStream = 0xFFFFFFFF;
constexpr qint64 sectorSize = 512;
constexpr qint64 miniSectorSize = 64;
constexpr qint64 miniStreamCutoff = 4096;
constexpr quint32 idsPerSector = 128;
constexpr quint32 headerDifatEntries = 109;
constexpr qint64 maxStreamSize = 0xFFFFF000;  // stream sizes and sheet offsets are 32-bit

// Appends raw bytes; the cell and string buffers take millions of small pieces, so this avoids
// QByteArray::append's general insert path and grows the buffer geometrically.
void appendRaw(QByteArray& out, const char* bytes, qsizetype size)
{
    const qsizetype old = out.size();
    if (out.capacity() < old + size)
        out.reserve(qMax(old + size, out.capacity() * 2));
    out.resize(old + size);
    std::memcpy(out.data() + old, bytes, size_t(size));
}

template <typename T>
void put(QByteArray& out, T value)
{
    char bytes[sizeof(T)];
    qToLittleEndian(value, bytes);
    out.append(bytes, sizeof(T));
}

void putUtf16(QByteArray& out, QStringView text)
{
    for (const QChar c : text)
        put<quint16>(out, c.unicode());
}

// Opens a record with a zero length; endRecord fills the length in.
qsizetype beginRecord(QByteArray& out, quint16 type)
{
    const qsizetype at = out.size();
    put<quint16>(out, type);
    put<quint16>(out, 0);
    return at;
}

void endRecord(QByteArray& out, qsizetype at)
{
    qToLittleEndian<quint16>(quint16(out.size() - at - 4), out.data() + at + 2);
}

void appendBof(QByteArray& out, quint16 substreamType)
{
    const qsizetype at = beginRecord(out, recBof);
    put<quint16>(out, 0x0600);  // BIFF8
    put<quint16>(out, substreamType);
    put<quint16>(out, 0x0DBB);  // build
    put<quint16>(out, 0x07CC);  // build year
    put<quint32>(out, 0);
    put<quint32>(out, 6);  // lowest version that can read the file
    endRecord(out, at);
}

void appendEof(QByteArray& out)
{
    endRecord(out, beginRecord(out, recEof));
}

// Cuts a text to at most max UTF-16 units without splitting a surrogate pair.
QStringView cutText(QStringView text, qsizetype max)
{
    if (text.size() <= max)
        return text;
    return text.left(text.at(max - 1).isHighSurrogate() ? max - 1 : max);
}

void appendFont(QByteArray& out, bool bold, quint16 colour)
{
    static const QString fontName = QStringLiteral("宋体");
    const qsizetype at = beginRecord(out, recFont);
    put<quint16>(out, fontHeight);
    put<quint16>(out, 0);  // not italic, not struck out
    put<quint16>(out, colour);
    put<quint16>(out, bold ? 700 : 400);
    put<quint16>(out, 0);  // no superscript or subscript
    put<quint8>(out, 0);   // not underlined
    put<quint8>(out, 0);   // font family
    put<quint8>(out, gb2312Charset);
    put<quint8>(out, 0);
    put<quint8>(out, quint8(fontName.size()));
    put<quint8>(out, 1);  // UTF-16 characters
    putUtf16(out, fontName);
    endRecord(out, at);
}

void appendXf(QByteArray& out, quint16 font, quint16 format, bool styleXf, quint8 usedAttributes)
{
    const qsizetype at = beginRecord(out, recXf);
    put<quint16>(out, font);
    put<quint16>(out, format);
    put<quint16>(out, styleXf ? 0xFFF5 : 0x0001);  // locked; a style XF has no parent, a cell XF has XF 0
    put<quint8>(out, 0x20);                         // bottom aligned
    put<quint8>(out, 0);                            // no rotation
    put<quint8>(out, 0);                            // no indent
    put<quint8>(out, usedAttributes);
    put<quint32>(out, 0);  // no borders
    put<quint32>(out, 0);
    put<quint16>(out, 0x20C0);  // pattern colours: system foreground and background
    endRecord(out, at);
}

// The 21 XFs every workbook has: 15 style XFs, the default cell XF and 5 built-in styles.
void appendDefaultXfs(QByteArray& out)
{
    appendXf(out, 0, 0, true, 0x00);
    for (const quint16 font : {1, 1, 2, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0})
        appendXf(out, font, 0, true, 0xF4);
    appendXf(out, 0, 0, false, 0x00);
    for (const quint16 format : {43, 41, 44, 42, 9})
        appendXf(out, 1, format, true, 0xF8);
}

void appendDefaultStyles(QByteArray& out)
{
    // (XF, built-in style): Normal, Comma, Comma [0], Currency, Currency [0], Percent
    static constexpr std::array<std::pair<quint16, quint8>, 6> builtIns = {
        {{0, 0}, {16, 3}, {17, 6}, {18, 4}, {19, 7}, {20, 5}}};
    for (const auto& [xf, style] : builtIns) {
        const qsizetype at = beginRecord(out, recStyle);
        put<quint16>(out, 0x8000 | xf);
        put<quint8>(out, style);
        put<quint8>(out, 0xFF);
        endRecord(out, at);
    }
}

int nearestColour(const std::array<quint32, 56>& palette, quint32 rgb)
{
    const auto distance = [rgb](quint32 other) {
        const int dr = int((rgb >> 16) & 0xFF) - int((other >> 16) & 0xFF);
        const int dg = int((rgb >> 8) & 0xFF) - int((other >> 8) & 0xFF);
        const int db = int(rgb & 0xFF) - int(other & 0xFF);
        return dr * dr + dg * dg + db * db;
    };
    return int(std::min_element(palette.begin(), palette.end(),
                                [&](quint32 a, quint32 b) { return distance(a) < distance(b); })
               - palette.begin());
}

// Palette indexes of the style colours. Colours the standard palette lacks replace entries from
// its end that no style uses; when none is left, the nearest colour is taken.
QList<quint16> assignColours(const QList<XlsCellStyle>& styles, std::array<quint32, 56>& palette)
{
    palette = defaultPalette;
    QList<quint16> indexes(styles.size(), 0);
    std::array<bool, 56> taken{};
    QList<qsizetype> missing;
    for (qsizetype i = 0; i < styles.size(); ++i) {
        const quint32 rgb = styles[i].rgb & 0xFFFFFF;
        const auto hit = std::find(defaultPalette.begin(), defaultPalette.end(), rgb);
        if (hit == defaultPalette.end()) {
            missing.append(i);
            continue;
        }
        taken[hit - defaultPalette.begin()] = true;
        indexes[i] = quint16(firstPaletteIndex + (hit - defaultPalette.begin()));
    }
    int freeEntry = int(palette.size()) - 1;
    for (const qsizetype i : missing) {
        const quint32 rgb = styles[i].rgb & 0xFFFFFF;
        int entry = int(std::find(palette.begin(), palette.end(), rgb) - palette.begin());
        if (entry == int(palette.size())) {
            while (freeEntry >= 0 && taken[freeEntry])
                --freeEntry;
            if (freeEntry >= 0) {
                entry = freeEntry;
                palette[entry] = rgb;
                taken[entry] = true;
            } else {
                entry = nearestColour(palette, rgb);
            }
        }
        indexes[i] = quint16(firstPaletteIndex + entry);
    }
    return indexes;
}

void appendPalette(QByteArray& out, const std::array<quint32, 56>& palette)
{
    const qsizetype at = beginRecord(out, recPalette);
    put<quint16>(out, quint16(palette.size()));
    for (const quint32 rgb : palette) {
        put<quint8>(out, quint8(rgb >> 16));
        put<quint8>(out, quint8(rgb >> 8));
        put<quint8>(out, quint8(rgb));
        put<quint8>(out, 0);
    }
    endRecord(out, at);
}

QByteArray sheetHead(int firstRow, int lastRow, int firstColumn, int lastColumn)
{
    QByteArray out;
    appendBof(out, 0x0010);
    const qsizetype at = beginRecord(out, recDimensions);
    const bool empty = lastRow < 0;
    put<quint32>(out, empty ? 0 : quint32(firstRow));
    put<quint32>(out, empty ? 0 : quint32(lastRow + 1));
    put<quint16>(out, empty ? 0 : quint16(firstColumn));
    put<quint16>(out, empty ? 0 : quint16(lastColumn + 1));
    put<quint16>(out, 0);
    endRecord(out, at);
    return out;
}

QByteArray sheetTail(bool selected)
{
    QByteArray out;
    const qsizetype at = beginRecord(out, recWindow2);
    // Grid lines, headers, zeros, outline symbols; the first sheet is the selected one.
    put<quint16>(out, selected ? 0x06B6 : 0x00B6);
    put<quint16>(out, 0);   // top row
    put<quint16>(out, 0);   // left column
    put<quint16>(out, 64);  // grid line colour: automatic
    put<quint16>(out, 0);
    put<quint16>(out, 0);  // page break preview zoom: default
    put<quint16>(out, 0);  // normal zoom: default
    put<quint32>(out, 0);
    endRecord(out, at);
    appendEof(out);
    return out;
}

void putDirectoryEntry(char* entry, QStringView name, quint8 type, quint32 child, quint32 start,
                       quint32 size)
{
    for (qsizetype i = 0; i < name.size(); ++i)
        qToLittleEndian<quint16>(name[i].unicode(), entry + 2 * i);
    qToLittleEndian<quint16>(quint16((name.size() + 1) * 2), entry + 64);
    entry[66] = char(type);
    entry[67] = 1;  // black
    qToLittleEndian<quint32>(noStream, entry + 68);
    qToLittleEndian<quint32>(noStream, entry + 72);
    qToLittleEndian<quint32>(child, entry + 76);
    qToLittleEndian<quint32>(start, entry + 116);
    qToLittleEndian<quint32>(size, entry + 120);
}

// Writes a compound file (version 3, 512-byte sectors) whose only stream, "Workbook", is the
// concatenation of parts. Its layout: FAT sectors, DIFAT sectors, the directory, the mini FAT
// (small streams only), then the stream's sectors in one chain.
void writeCompoundFile(QIODevice& out, const QList<QByteArray>& parts)
{
    qint64 streamSize = 0;
    for (const QByteArray& part : parts)
        streamSize += part.size();
    const bool small = streamSize < miniStreamCutoff;
    const quint32 miniSectors = small ? quint32((streamSize + miniSectorSize - 1) / miniSectorSize) : 0;
    const quint32 dataSectors = quint32(
        ((small ? miniSectors * miniSectorSize : streamSize) + sectorSize - 1) / sectorSize);
    const quint32 miniFatSectors = small ? 1 : 0;  // a small stream has at most 64 mini sectors

    quint32 fatSectors = 0;
    quint32 difatSectors = 0;
    for (;;) {
        const quint32 total = fatSectors + difatSectors + 1 + miniFatSectors + dataSectors;
        const quint32 neededFat = (total + idsPerSector - 1) / idsPerSector;
        const quint32 neededDifat = neededFat > headerDifatEntries
            ? (neededFat - headerDifatEntries + idsPerSector - 2) / (idsPerSector - 1)
            : 0;
        if (neededFat == fatSectors && neededDifat == difatSectors)
            break;
        fatSectors = neededFat;
        difatSectors = neededDifat;
    }
    const quint32 directorySector = fatSectors + difatSectors;
    const quint32 miniFatSector = directorySector + 1;
    const quint32 firstDataSector = miniFatSector + miniFatSectors;

    QByteArray header(sectorSize, '\0');
    char* h = header.data();
    std::memcpy(h, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    qToLittleEndian<quint16>(0x003E, h + 24);  // minor version
    qToLittleEndian<quint16>(3, h + 26);       // major version
    qToLittleEndian<quint16>(0xFFFE, h + 28);  // little-endian
    qToLittleEndian<quint16>(9, h + 30);       // 2^9-byte sectors
    qToLittleEndian<quint16>(6, h + 32);       // 2^6-byte mini sectors
    qToLittleEndian<quint32>(fatSectors, h + 44);
    qToLittleEndian<quint32>(directorySector, h + 48);
    qToLittleEndian<quint32>(quint32(miniStreamCutoff), h + 56);
    qToLittleEndian<quint32>(small ? miniFatSector : endOfChain, h + 60);
    qToLittleEndian<quint32>(miniFatSectors, h + 64);
    qToLittleEndian<quint32>(difatSectors > 0 ? fatSectors : endOfChain, h + 68);
    qToLittleEndian<quint32>(difatSectors, h + 72);
    for (quint32 i = 0; i < headerDifatEntries; ++i)
        qToLittleEndian<quint32>(i < fatSectors ? i : freeSector, h + 76 + 4 * i);

    QByteArray fat(qsizetype(fatSectors) * sectorSize, '\xFF');
    const auto link = [&fat](quint32 sector, quint32 next) {
        qToLittleEndian<quint32>(next, fat.data() + 4 * qsizetype(sector));
    };
    for (quint32 i = 0; i < fatSectors; ++i)
        link(i, fatSectorMark);
    for (quint32 i = 0; i < difatSectors; ++i)
        link(fatSectors + i, difatSectorMark);
    link(directorySector, endOfChain);
    if (small)
        link(miniFatSector, endOfChain);
    for (quint32 i = 0; i < dataSectors; ++i)
        link(firstDataSector + i, i + 1 < dataSectors ? firstDataSector + i + 1 : endOfChain);

    // Each DIFAT sector lists 127 more FAT sectors and then the next DIFAT sector.
    QByteArray difat(qsizetype(difatSectors) * sectorSize, '\xFF');
    for (quint32 k = 0; k < difatSectors; ++k) {
        char* sector = difat.data() + k * sectorSize;
        for (quint32 j = 0; j < idsPerSector - 1; ++j) {
            const quint32 fatIndex = headerDifatEntries + k * (idsPerSector - 1) + j;
            if (fatIndex < fatSectors)
                qToLittleEndian<quint32>(fatIndex, sector + 4 * j);
        }
        qToLittleEndian<quint32>(k + 1 < difatSectors ? fatSectors + k + 1 : endOfChain,
                                 sector + 4 * (idsPerSector - 1));
    }

    QByteArray directory(sectorSize, '\0');
    putDirectoryEntry(directory.data(), u"Root Entry", 5, 1, small ? firstDataSector : endOfChain,
                      small ? miniSectors * quint32(miniSectorSize) : 0);
    putDirectoryEntry(directory.data() + 128, u"Workbook", 2, noStream, small ? 0 : firstDataSector,
                      quint32(streamSize));
    for (const int unused : {2, 3}) {
        char* entry = directory.data() + 128 * unused;
        for (const int field : {68, 72, 76})
            qToLittleEndian<quint32>(noStream, entry + field);
    }

    out.write(header);
    out.write(fat);
    out.write(difat);
    out.write(directory);
    if (small) {
        QByteArray miniFat(sectorSize, '\xFF');
        for (quint32 i = 0; i < miniSectors; ++i)
            qToLittleEndian<quint32>(i + 1 < miniSectors ? i + 1 : endOfChain, miniFat.data() + 4 * i);
        out.write(miniFat);
    }
    for (const QByteArray& part : parts)
        out.write(part);
    const qint64 padding = qint64(dataSectors) * sectorSize - streamSize;
    out.write(QByteArray(padding, '\0'));
}

}  // namespace

void XlsWriter::beginSheet(const QString& name, const QStringList& titleTexts,
                           const QList<XlsCellStyle>& titleStyles)
{
    if (titleTexts.size() > maxColumns)
        throw AppError(QStringLiteral("工作表最多 %1 列，标题有 %2 列。").arg(maxColumns).arg(titleTexts.size()));
    seriesName = name;
    seriesNumber = 1;
    titles = titleTexts;
    titleXfs.clear();
    for (qsizetype i = 0; i < titles.size(); ++i)
        titleXfs.append(i < titleStyles.size() ? xfForStyle(titleStyles[i]) : defaultXf);
    startSheet(uniqueSheetName(name, seriesNumber));
    writeTitleRow();
}

void XlsWriter::addRow(const QVariantList& cells)
{
    if (cells.size() > maxColumns)
        throw AppError(QStringLiteral("工作表最多 %1 列，这一行有 %2 列。").arg(maxColumns).arg(cells.size()));
    if (sheets.isEmpty())
        beginSheet(QStringLiteral("Sheet1"));
    if (sheets.last().rowCount == maxRowsPerSheet) {
        startSheet(uniqueSheetName(seriesName, ++seriesNumber));
        writeTitleRow();
    }
    for (qsizetype column = 0; column < cells.size(); ++column) {
        const QVariant& cell = cells[column];
        switch (storageClassOf(cell)) {
        case StorageClass::Null: break;
        case StorageClass::Integer:
        case StorageClass::Real: writeNumber(int(column), cell.toDouble()); break;
        case StorageClass::Blob:
        case StorageClass::Text:
            if (const QString text = cell.toString(); !text.isEmpty())
                writeText(int(column), text, defaultXf);
            break;
        }
    }
    ++sheets.last().rowCount;
}

void XlsWriter::save(const QString& path) const
{
    QList<Sheet> allSheets = sheets;
    if (allSheets.isEmpty()) {
        Sheet empty;
        empty.name = QStringLiteral("Sheet1");
        allSheets.append(empty);
    }

    QList<QByteArray> heads;
    QList<QByteArray> tails;
    QList<qint64> sizes;
    for (qsizetype i = 0; i < allSheets.size(); ++i) {
        const Sheet& sheet = allSheets[i];
        heads.append(sheetHead(sheet.firstRow, sheet.lastRow, sheet.firstColumn, sheet.lastColumn));
        tails.append(sheetTail(i == 0));
        sizes.append(heads[i].size() + sheet.cells.size() + tails[i].size());
    }
    QList<QByteArray> parts{globalsStream(allSheets, sizes)};
    qint64 streamSize = parts.first().size();
    for (qsizetype i = 0; i < allSheets.size(); ++i) {
        parts << heads[i] << allSheets[i].cells << tails[i];
        streamSize += sizes[i];
    }

    const QString shownPath = QDir::toNativeSeparators(path);
    if (streamSize > maxStreamSize)
        throw AppError(QStringLiteral("无法保存文件“%1”：数据太多，超出 Excel 97-2003 工作簿的大小上限。").arg(shownPath));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw AppError(QStringLiteral("无法保存文件“%1”：%2").arg(shownPath, file.errorString()));
    writeCompoundFile(file, parts);
    if (!file.commit())
        throw AppError(QStringLiteral("无法保存文件“%1”：%2").arg(shownPath, file.errorString()));
}

void XlsWriter::startSheet(const QString& name)
{
    Sheet sheet;
    sheet.name = name;
    sheets.append(sheet);
}

void XlsWriter::writeTitleRow()
{
    if (titles.isEmpty())
        return;
    for (qsizetype column = 0; column < titles.size(); ++column) {
        if (!titles[column].isEmpty())
            writeText(int(column), titles[column], titleXfs[column]);
    }
    ++sheets.last().rowCount;
}

void XlsWriter::writeText(int column, const QString& text, quint16 xf)
{
    const quint32 index = sharedStringIndex(text);
    char record[14];
    qToLittleEndian<quint16>(recLabelSst, record);
    qToLittleEndian<quint16>(10, record + 2);
    qToLittleEndian<quint16>(quint16(sheets.last().rowCount), record + 4);
    qToLittleEndian<quint16>(quint16(column), record + 6);
    qToLittleEndian<quint16>(xf, record + 8);
    qToLittleEndian<quint32>(index, record + 10);
    appendRaw(sheets.last().cells, record, sizeof record);
    markCell(column);
}

void XlsWriter::writeNumber(int column, double value)
{
    if (!std::isfinite(value))
        return;  // no cell can hold it
    char record[18];
    qToLittleEndian<quint16>(quint16(sheets.last().rowCount), record + 4);
    qToLittleEndian<quint16>(quint16(column), record + 6);
    qToLittleEndian<quint16>(defaultXf, record + 8);
    qsizetype size = 0;
    if (value == std::trunc(value) && value >= minRk && value <= maxRk) {
        qToLittleEndian<quint16>(recRk, record);
        qToLittleEndian<quint16>(10, record + 2);
        qToLittleEndian<quint32>((quint32(qint32(value)) << 2) | 2, record + 10);  // integer, not /100
        size = 14;
    } else {
        qToLittleEndian<quint16>(recNumber, record);
        qToLittleEndian<quint16>(14, record + 2);
        qToLittleEndian<quint64>(std::bit_cast<quint64>(value), record + 10);
        size = 18;
    }
    appendRaw(sheets.last().cells, record, size);
    markCell(column);
}

void XlsWriter::markCell(int column)
{
    Sheet& sheet = sheets.last();
    if (sheet.firstRow < 0)
        sheet.firstRow = sheet.rowCount;
    sheet.lastRow = sheet.rowCount;
    if (sheet.firstColumn < 0 || column < sheet.firstColumn)
        sheet.firstColumn = column;
    sheet.lastColumn = std::max(sheet.lastColumn, column);
}

quint32 XlsWriter::sharedStringIndex(const QString& text)
{
    ++stringReferences;

    // Encoded as in the table: length, flags, then Latin-1 bytes or UTF-16LE units.
    const QStringView chars = cutText(text, maxTextLength);
    const bool wide = std::any_of(chars.begin(), chars.end(), [](QChar c) { return c.unicode() > 0xFF; });
    encodeBuffer.resize(3 + chars.size() * (wide ? 2 : 1));
    char* out = encodeBuffer.data();
    qToLittleEndian<quint16>(quint16(chars.size()), out);
    out[2] = wide ? 1 : 0;
    out += 3;
    for (const QChar c : chars) {
        if (wide) {
            qToLittleEndian<quint16>(c.unicode(), out);
            out += 2;
        } else {
            *out++ = char(c.unicode());
        }
    }

    if ((stringOffsets.size() + 1) * 2 > stringSlots.size())
        growStringSlots();
    const quint32 hash = quint32(qHashBits(encodeBuffer.constData(), encodeBuffer.size()));
    const size_t mask = size_t(stringSlots.size()) - 1;
    for (size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const quint64 entry = stringSlots[slot];
        if (entry == 0) {
            const quint32 index = quint32(stringOffsets.size());
            stringSlots[slot] = quint64(hash) << 32 | (index + 1);
            stringOffsets.append(quint32(stringPool.size()));
            appendRaw(stringPool, encodeBuffer.constData(), encodeBuffer.size());
            return index;
        }
        if (entry >> 32 != hash)
            continue;
        // The encoding starts with length and flags, so equal bytes mean equal strings.
        const quint32 index = quint32(entry) - 1;
        const qsizetype offset = stringOffsets[index];
        if (offset + encodeBuffer.size() <= stringPool.size()
            && std::memcmp(stringPool.constData() + offset, encodeBuffer.constData(), encodeBuffer.size()) == 0)
            return index;
    }
}

void XlsWriter::growStringSlots()
{
    const qsizetype size = std::max<qsizetype>(1024, stringSlots.size() * 2);
    const QList<quint64> old = std::exchange(stringSlots, QList<quint64>(size, 0));
    const size_t mask = size_t(stringSlots.size()) - 1;
    for (const quint64 entry : old) {
        if (entry == 0)
            continue;
        size_t slot = (entry >> 32) & mask;
        while (stringSlots[slot] != 0)
            slot = (slot + 1) & mask;
        stringSlots[slot] = entry;
    }
}

quint16 XlsWriter::xfForStyle(const XlsCellStyle& style)
{
    if (style == XlsCellStyle{})
        return defaultXf;
    qsizetype index = styles.indexOf(style);
    if (index < 0) {
        index = styles.size();
        styles.append(style);
    }
    return quint16(firstStyleXf + index);
}

QString XlsWriter::uniqueSheetName(const QString& base, int number) const
{
    QString clean = base;
    clean.removeIf([](QChar c) { return QStringView(u"[]:*?/\\").contains(c); });
    while (clean.startsWith(u'\''))
        clean.remove(0, 1);
    while (clean.endsWith(u'\''))
        clean.chop(1);
    if (clean.trimmed().isEmpty())
        clean = QStringLiteral("Sheet%1").arg(sheets.size() + 1);
    for (;; ++number) {
        const QString suffix = number > 1 ? QStringLiteral(" (%1)").arg(number) : QString();
        const QString candidate = cutText(clean, maxSheetNameLength - suffix.size()).toString() + suffix;
        const bool used = std::any_of(sheets.begin(), sheets.end(), [&](const Sheet& sheet) {
            return sheet.name.compare(candidate, Qt::CaseInsensitive) == 0;
        });
        if (!used)
            return candidate;
    }
}

QByteArray XlsWriter::globalsStream(const QList<Sheet>& allSheets, const QList<qint64>& sheetSizes) const
{
    QByteArray out;
    out.reserve(stringPool.size() + stringPool.size() / 1000 + 8192);
    appendBof(out, 0x0005);
    qsizetype at = beginRecord(out, recCodePage);
    put<quint16>(out, 1200);  // UTF-16
    endRecord(out, at);

    at = beginRecord(out, recWindow1);
    for (const quint16 value : {0, 0, 0x4000, 0x2000})  // position and size
        put<quint16>(out, value);
    put<quint16>(out, 0x0038);  // horizontal and vertical scroll bars, sheet tabs
    put<quint16>(out, 0);       // active sheet
    put<quint16>(out, 0);       // first visible tab
    put<quint16>(out, 1);       // selected sheets
    put<quint16>(out, 600);     // tab bar width ratio
    endRecord(out, at);

    at = beginRecord(out, recDateMode);
    put<quint16>(out, 0);  // dates count from 1900
    endRecord(out, at);

    std::array<quint32, 56> palette;
    const QList<quint16> colours = assignColours(styles, palette);
    for (int i = 0; i < 4; ++i)
        appendFont(out, false, automaticColour);
    for (qsizetype i = 0; i < styles.size(); ++i)
        appendFont(out, styles[i].bold, colours[i]);

    appendDefaultXfs(out);
    for (qsizetype i = 0; i < styles.size(); ++i)
        appendXf(out, quint16(firstStyleFont + i), 0, false, 0x08);  // the font differs from Normal
    appendDefaultStyles(out);
    if (palette != defaultPalette)
        appendPalette(out, palette);

    QList<qsizetype> offsetFields;
    for (const Sheet& sheet : allSheets) {
        at = beginRecord(out, recBoundSheet);
        offsetFields.append(out.size());
        put<quint32>(out, 0);  // stream position of the sheet's BOF, filled in below
        put<quint8>(out, 0);   // visible
        put<quint8>(out, 0);   // worksheet
        put<quint8>(out, quint8(sheet.name.size()));
        put<quint8>(out, 1);  // UTF-16 characters
        putUtf16(out, sheet.name);
        endRecord(out, at);
    }

    appendSharedStrings(out);
    appendEof(out);

    qint64 position = out.size();
    for (qsizetype i = 0; i < allSheets.size(); ++i) {
        qToLittleEndian<quint32>(quint32(position), out.data() + offsetFields[i]);
        position += sheetSizes[i];
    }
    return out;
}

// SST with CONTINUE records, then EXTSST. A string's header and first character stay in one
// record; a string cut at a record's end goes on in the next after a byte repeating its flags.
void XlsWriter::appendSharedStrings(QByteArray& out) const
{
    const quint32 count = quint32(stringOffsets.size());
    const quint32 bucketSize = std::max<quint32>(8, (count + 127) / 128);
    QByteArray buckets;
    qsizetype record = beginRecord(out, recSst);
    put<quint32>(out, stringReferences);
    put<quint32>(out, count);
    for (quint32 i = 0; i < count; ++i) {
        const char* entry = stringPool.constData() + stringOffsets[i];
        const quint8 flags = quint8(entry[2]);
        const qsizetype charSize = (flags & 1) ? 2 : 1;
        if (out.size() - record - 4 + 3 + charSize > maxRecordData) {
            endRecord(out, record);
            record = beginRecord(out, recContinue);
        }
        if (i % bucketSize == 0) {
            put<quint32>(buckets, quint32(out.size()));
            put<quint16>(buckets, quint16(out.size() - record));
            put<quint16>(buckets, 0);
        }
        out.append(entry, 3);
        const char* chars = entry + 3;
        qsizetype remaining = qFromLittleEndian<quint16>(entry) * charSize;
        for (;;) {
            const qsizetype room = (maxRecordData - (out.size() - record - 4)) / charSize * charSize;
            const qsizetype part = std::min(room, remaining);
            out.append(chars, part);
            chars += part;
            remaining -= part;
            if (remaining == 0)
                break;
            endRecord(out, record);
            record = beginRecord(out, recContinue);
            put<quint8>(out, flags & 1);
        }
    }
    endRecord(out, record);

    if (bucketSize > 0xFFFF)
        return;  // the index is optional; it cannot describe this many strings
    record = beginRecord(out, recExtSst);
    put<quint16>(out, quint16(bucketSize));
    out.append(buckets);
    endRecord(out, record);
}
