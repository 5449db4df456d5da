#pragma once

// Little-endian fields of a binary file held in memory (the compound file,
// the workbook stream's records, the .xls helper's frames). The caller has
// checked that the bytes are there.

#include <QByteArray>

namespace velmora::import {

inline quint16 u16(const QByteArray& b, qsizetype at)
{
    return static_cast<quint16>(static_cast<unsigned char>(b[at]) | (static_cast<unsigned char>(b[at + 1]) << 8));
}

inline quint32 u32(const QByteArray& b, qsizetype at)
{
    return static_cast<quint32>(u16(b, at)) | (static_cast<quint32>(u16(b, at + 2)) << 16);
}

} // namespace velmora::import
