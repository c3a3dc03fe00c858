#include "RowStore.h"

#include "VariantTypes.h"

#include <cstring>

void RowStore::reset(int columnCount)
{
    columns = columnCount;
    rows = 0;
    chunks.clear();
    blocks.clear();
    blockSizes.clear();
    currentBlock = -1;
    blockUsed = 0;
}

int RowStore::addRow()
{
    if (rows % rowsPerChunk == 0) {
        chunks.emplace_back();
        if (rows > 0)
            chunks.back().reserve(size_t(rowsPerChunk) * size_t(columns));
    }
    chunks.back().resize(chunks.back().size() + size_t(columns));
    return rows++;
}

RowStore::Cell& RowStore::cell(int row, int column)
{
    return chunks[size_t(row / rowsPerChunk)][size_t(row % rowsPerChunk) * size_t(columns) + size_t(column)];
}

const RowStore::Cell& RowStore::cell(int row, int column) const
{
    return chunks[size_t(row / rowsPerChunk)][size_t(row % rowsPerChunk) * size_t(columns) + size_t(column)];
}

void RowStore::setNull(int row, int column)
{
    cell(row, column) = Cell();
}

void RowStore::setInteger(int row, int column, qint64 value)
{
    Cell& c = cell(row, column);
    c.type = CellType::Integer;
    c.length = 0;
    c.i = value;
}

void RowStore::setReal(int row, int column, double value)
{
    Cell& c = cell(row, column);
    c.type = CellType::Real;
    c.length = 0;
    c.d = value;
}

quint64 RowStore::storeBytes(const char* data, qsizetype length)
{
    const bool ownBlock = length > blockSize / 4;  // large values keep the shared blocks dense
    if (ownBlock || currentBlock < 0 || blockUsed + length > blockSize) {
        const qsizetype size = ownBlock ? length : blockSize;
        blocks.push_back(std::make_unique<char[]>(size_t(size)));
        blockSizes.push_back(size);
        if (!ownBlock) {
            currentBlock = qsizetype(blocks.size()) - 1;
            blockUsed = 0;
        }
    }
    const qsizetype block = ownBlock ? qsizetype(blocks.size()) - 1 : currentBlock;
    const qsizetype position = ownBlock ? 0 : blockUsed;
    std::memcpy(blocks[size_t(block)].get() + position, data, size_t(length));
    if (!ownBlock)
        blockUsed += length;
    return (quint64(block) << 32) | quint64(position);
}

void RowStore::setText(int row, int column, const char* utf8, qsizetype length)
{
    const quint64 offset = length > 0 ? storeBytes(utf8, length) : 0;
    Cell& c = cell(row, column);
    c.type = CellType::Text;
    c.length = quint32(length);
    c.offset = offset;
}

void RowStore::setBlob(int row, int column, const void* data, qsizetype length)
{
    const quint64 offset = length > 0 ? storeBytes(static_cast<const char*>(data), length) : 0;
    Cell& c = cell(row, column);
    c.type = CellType::Blob;
    c.length = quint32(length);
    c.offset = offset;
}

void RowStore::setValue(int row, int column, const QVariant& value)
{
    switch (storageClassOf(value)) {
    case StorageClass::Null: setNull(row, column); break;
    case StorageClass::Integer: setInteger(row, column, value.toLongLong()); break;
    case StorageClass::Real: setReal(row, column, value.toDouble()); break;
    case StorageClass::Blob: {
        const QByteArray b = value.toByteArray();
        setBlob(row, column, b.constData(), b.size());
        break;
    }
    case StorageClass::Text: {
        const QByteArray utf8 = value.toString().toUtf8();
        setText(row, column, utf8.constData(), utf8.size());
    }
    }
}

qint64 RowStore::integer(int row, int column) const
{
    const Cell& c = cell(row, column);
    switch (c.type) {
    case CellType::Integer: return c.i;
    case CellType::Real: return qint64(c.d);
    case CellType::Text: return text(row, column).trimmed().toLongLong();
    default: return 0;
    }
}

double RowStore::real(int row, int column) const
{
    const Cell& c = cell(row, column);
    switch (c.type) {
    case CellType::Integer: return double(c.i);
    case CellType::Real: return c.d;
    case CellType::Text: return text(row, column).trimmed().toDouble();
    default: return 0;
    }
}

QByteArrayView RowStore::bytes(int row, int column) const
{
    const Cell& c = cell(row, column);
    if ((c.type != CellType::Text && c.type != CellType::Blob) || c.length == 0)
        return {};
    return QByteArrayView(blocks[size_t(c.offset >> 32)].get() + (c.offset & 0xffffffffu), qsizetype(c.length));
}

QString RowStore::text(int row, int column) const
{
    const Cell& c = cell(row, column);
    switch (c.type) {
    case CellType::Null: return {};
    case CellType::Integer: return QString::number(c.i);
    case CellType::Real: return QString::number(c.d, 'g', 15);
    case CellType::Text:
    case CellType::Blob: return QString::fromUtf8(bytes(row, column));
    }
    return {};
}

QVariant RowStore::value(int row, int column) const
{
    const Cell& c = cell(row, column);
    switch (c.type) {
    case CellType::Null: return {};
    case CellType::Integer: return QVariant(c.i);
    case CellType::Real: return QVariant(c.d);
    case CellType::Text: return QVariant(QString::fromUtf8(bytes(row, column)));
    case CellType::Blob: return QVariant(bytes(row, column).toByteArray());
    }
    return {};
}

qsizetype RowStore::memoryUsed() const
{
    qsizetype total = 0;
    for (const auto& chunk : chunks)
        total += qsizetype(chunk.capacity() * sizeof(Cell));
    for (qsizetype s : blockSizes)
        total += s;
    return total;
}
