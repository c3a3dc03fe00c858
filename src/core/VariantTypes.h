#pragma once

#include <QVariant>

// How a QVariant is stored in the database: as a whole number, a floating number, bytes or text.
enum class StorageClass { Null, Integer, Real, Blob, Text };

inline StorageClass storageClassOf(const QVariant& value)
{
    if (value.isNull())
        return StorageClass::Null;
    switch (value.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Short:
    case QMetaType::UShort: return StorageClass::Integer;
    case QMetaType::Double:
    case QMetaType::Float: return StorageClass::Real;
    case QMetaType::QByteArray: return StorageClass::Blob;
    default: return StorageClass::Text;
    }
}
