#pragma once

#include <QByteArrayView>
#include <QVariant>

#include <memory>
#include <vector>

// Compact, append-only storage of a result set's cells: 16 bytes a cell, texts as UTF-8 in
// large shared blocks. Rows are never moved; callers keep their own order of row indexes.
class RowStore {
public:
    enum class CellType : quint8 { Null, Integer, Real, Text, Blob };

    void reset(int columnCount);
    int columnCount() const { return columns; }
    int rowCount() const { return rows; }

    // Appends a row of NULLs and returns its index.
    int addRow();

    void setNull(int row, int column);
    void setInteger(int row, int column, qint64 value);
    void setReal(int row, int column, double value);
    void setText(int row, int column, const char* utf8, qsizetype length);
    void setBlob(int row, int column, const void* data, qsizetype length);
    // Stores a QVariant by its type: null, integral, floating, byte array or (otherwise) text.
    void setValue(int row, int column, const QVariant& value);

    CellType type(int row, int column) const { return cell(row, column).type; }
    bool isNull(int row, int column) const { return type(row, column) == CellType::Null; }
    qint64 integer(int row, int column) const;
    double real(int row, int column) const;
    QByteArrayView bytes(int row, int column) const;
    QString text(int row, int column) const;
    QVariant value(int row, int column) const;

    // Bytes held, for measuring.
    qsizetype memoryUsed() const;

private:
    struct Cell {
        CellType type = CellType::Null;
        quint32 length = 0;
        union {
            qint64 i;
            double d;
            quint64 offset;  // block index << 32 | position in block
        };
        Cell() : i(0) {}
    };

    static constexpr int rowsPerChunk = 1024;
    static constexpr qsizetype blockSize = 256 * 1024;

    Cell& cell(int row, int column);
    const Cell& cell(int row, int column) const;
    quint64 storeBytes(const char* data, qsizetype length);

    int columns = 0;
    int rows = 0;
    std::vector<std::vector<Cell>> chunks;  // rowsPerChunk rows each; the last one grows
    std::vector<std::unique_ptr<char[]>> blocks;
    std::vector<qsizetype> blockSizes;
    qsizetype currentBlock = -1;
    qsizetype blockUsed = 0;
};
