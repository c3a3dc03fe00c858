#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

// Font of a cell: weight and colour as 0xRRGGBB (0xFF0000 is red).
struct XlsCellStyle {
    bool bold = false;
    quint32 rgb = 0x000000;
    bool operator==(const XlsCellStyle&) const = default;
};

// Writes an Excel 97-2003 workbook: BIFF8 records in the "Workbook" stream of a compound file.
// Rows are encoded into cell records as they are added and texts go once into the shared string
// table, so a large export costs little more memory than the file it becomes.
class XlsWriter {
public:
    static constexpr int maxRowsPerSheet = 65536;
    static constexpr int maxColumns = 256;
    static constexpr int maxSheetNameLength = 31;
    static constexpr int maxTextLength = 32767;  // longer texts are cut

    // Starts a worksheet; later rows go to it. The title row, if any, is written first and again
    // at the top of every continuation sheet when a sheet is full (65,536 rows), named
    // "name (2)", "name (3)"... Names lose the characters []:*?/\ and are cut to 31 characters;
    // a name already used gets a number.
    void beginSheet(const QString& name, const QStringList& titles = {},
                    const QList<XlsCellStyle>& titleStyles = {});

    // One row: a text is a text cell (an empty text leaves the cell empty), a number (int,
    // qint64, double; bool as 1 or 0) a number cell, a null QVariant an empty cell; other values
    // are written as their text. Starts a sheet "Sheet1" if none was begun. More than 256 cells
    // throw AppError.
    void addRow(const QVariantList& cells);

    // Writes the file to a temporary file beside the target and renames it over the target. On
    // failure nothing is left under the target name (an existing file stays as it was) and
    // AppError is thrown with the system's reason.
    void save(const QString& path) const;

private:
    struct Sheet {
        QString name;
        QByteArray cells;  // LABELSST, RK and NUMBER records in row order
        int rowCount = 0;
        int firstRow = -1;
        int lastRow = -1;
        int firstColumn = -1;
        int lastColumn = -1;
    };

    void startSheet(const QString& name);
    void writeTitleRow();
    void writeText(int column, const QString& text, quint16 xf);
    void writeNumber(int column, double value);
    void markCell(int column);
    quint32 sharedStringIndex(const QString& text);
    void growStringSlots();
    quint16 xfForStyle(const XlsCellStyle& style);
    QString uniqueSheetName(const QString& base, int number) const;
    QByteArray globalsStream(const QList<Sheet>& allSheets, const QList<qint64>& sheetSizes) const;
    void appendSharedStrings(QByteArray& out) const;

    QList<Sheet> sheets;
    QString seriesName;  // name the current sheet was begun with; continuations are numbered
    int seriesNumber = 1;
    QStringList titles;
    QList<quint16> titleXfs;
    QList<XlsCellStyle> styles;  // distinct styles other than the default, in XF order

    // Shared string table: the encoded strings back to back, each string's offset by index, and
    // an open-addressing hash table whose slots hold hash << 32 | (index + 1), 0 when free.
    QByteArray stringPool;
    QList<quint32> stringOffsets;
    QList<quint64> stringSlots;
    quint32 stringReferences = 0;
    QByteArray encodeBuffer;
};
