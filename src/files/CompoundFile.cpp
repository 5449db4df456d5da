#include "files/CompoundFile.h"

#include "files/ByteOrder.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace velmora::import {

namespace {

// Sector numbers above this one are markers (end of chain, free, table sectors).
constexpr quint32 kLastRegularSector = 0xFFFFFFF9;
constexpr quint32 kEndOfChain = 0xFFFFFFFE;
constexpr qsizetype kHeaderBytes = 512;
constexpr qsizetype kMiniSectorBytes = 64;
constexpr quint32 kMiniStreamCutoff = 4096;
constexpr int kHeaderDifatEntries = 109;

class Reader
{
public:
    explicit Reader(const QByteArray& file)
        : m_file(file)
    { }

    bool open();
    bool find(const QString& name, QByteArray* out);
    QString why;

private:
    bool fail(const char* reason)
    {
        why = QString::fromLatin1(reason);
        return false;
    }
    qsizetype offset(quint32 sector) const { return (static_cast<qsizetype>(sector) + 1) * m_sectorSize; }
    // Follows a chain of regular sectors from `start`. With `bytes` set, exactly
    // the sectors that hold that many bytes are taken (the chain must have them);
    // otherwise the whole chain. Sector numbers outside the file and loops fail.
    bool chain(quint32 start, std::optional<quint64> bytes, QByteArray* out);
    bool miniChain(quint32 start, quint64 bytes, QByteArray* out);
    bool loadMiniStream();

    const QByteArray& m_file;
    qsizetype m_sectorSize = 0;
    quint32 m_sectors = 0; // whole sectors after the header
    int m_major = 0;
    std::vector<quint32> m_fat;
    QByteArray m_directory;
    QByteArray m_miniStream;
    std::vector<quint32> m_miniFat;
    bool m_miniLoaded = false;
    quint32 m_firstMiniFat = kEndOfChain;
};

bool Reader::open()
{
    if (m_file.size() < kHeaderBytes || !m_file.startsWith(QByteArray::fromHex("D0CF11E0A1B11AE1")))
        return fail("no compound file signature");
    if (u16(m_file, 0x1C) != 0xFFFE)
        return fail("byte order mark");
    m_major = u16(m_file, 0x1A);
    const int shift = u16(m_file, 0x1E);
    // Version 3 has 512-byte sectors, version 4 has 4096-byte sectors; nothing else.
    if (!((m_major == 3 && shift == 9) || (m_major == 4 && shift == 12)))
        return fail("version and sector size");
    if (u16(m_file, 0x20) != 6)
        return fail("mini sector size");
    if (m_major == 3 && u32(m_file, 0x28) != 0)
        return fail("directory sector count of version 3");
    if (u32(m_file, 0x38) != kMiniStreamCutoff)
        return fail("mini stream cutoff");
    m_sectorSize = qsizetype(1) << shift;
    if (m_file.size() < m_sectorSize)
        return fail("shorter than its header");
    const qsizetype whole = m_file.size() / m_sectorSize - 1;
    m_sectors = static_cast<quint32>(std::min<qsizetype>(whole, kLastRegularSector));

    const quint32 fatSectors = u32(m_file, 0x2C);
    const quint32 difatSectors = u32(m_file, 0x48);
    if (fatSectors == 0 || fatSectors > m_sectors)
        return fail("allocation table sector count");
    if (difatSectors > m_sectors)
        return fail("allocation index sector count");

    // The sectors of the allocation table: 109 in the header, then a chain of
    // index sectors, each ending with the number of the next.
    std::vector<quint32> fatList;
    fatList.reserve(fatSectors);
    for (int i = 0; i < kHeaderDifatEntries && fatList.size() < fatSectors; ++i)
        fatList.push_back(u32(m_file, 0x4C + i * 4));
    std::vector<bool> seen(m_sectors, false);
    quint32 difat = u32(m_file, 0x44);
    quint32 difatRead = 0;
    const qsizetype perDifat = m_sectorSize / 4 - 1;
    while (fatList.size() < fatSectors) {
        if (difat >= m_sectors || seen[difat] || ++difatRead > difatSectors)
            return fail("allocation index chain");
        seen[difat] = true;
        const qsizetype at = offset(difat);
        for (qsizetype i = 0; i < perDifat && fatList.size() < fatSectors; ++i)
            fatList.push_back(u32(m_file, at + i * 4));
        difat = u32(m_file, at + perDifat * 4);
    }
    m_fat.reserve(static_cast<size_t>(fatSectors) * static_cast<size_t>(m_sectorSize / 4));
    for (quint32 s : fatList) {
        if (s >= m_sectors)
            return fail("allocation table sector outside the file");
        const qsizetype at = offset(s);
        for (qsizetype i = 0; i < m_sectorSize / 4; ++i)
            m_fat.push_back(u32(m_file, at + i * 4));
    }
    m_firstMiniFat = u32(m_file, 0x3C);
    if (!chain(u32(m_file, 0x30), std::nullopt, &m_directory) || m_directory.isEmpty())
        return fail("directory chain");
    // The first entry is the root; it owns the mini stream.
    if (static_cast<unsigned char>(m_directory[0x42]) != 5)
        return fail("root entry");
    return true;
}

bool Reader::chain(quint32 start, std::optional<quint64> bytes, QByteArray* out)
{
    out->clear();
    if (bytes) {
        if (*bytes > static_cast<quint64>(m_sectors) * static_cast<quint64>(m_sectorSize))
            return false;
        out->reserve(static_cast<qsizetype>(*bytes));
    }
    std::vector<bool> seen(m_sectors, false);
    quint32 s = start;
    while (!bytes || static_cast<quint64>(out->size()) < *bytes) {
        if (s == kEndOfChain && !bytes)
            return true;
        if (s >= m_sectors || s >= m_fat.size() || seen[s])
            return false;
        seen[s] = true;
        out->append(m_file.constData() + offset(s), m_sectorSize);
        s = m_fat[s];
    }
    out->truncate(static_cast<qsizetype>(*bytes));
    return true;
}

bool Reader::loadMiniStream()
{
    if (m_miniLoaded)
        return true;
    const quint64 rootSize =
        m_major == 3 ? u32(m_directory, 0x78) : (quint64(u32(m_directory, 0x7C)) << 32) | u32(m_directory, 0x78);
    if (!chain(u32(m_directory, 0x74), rootSize, &m_miniStream))
        return fail("mini stream chain");
    QByteArray table;
    if (!chain(m_firstMiniFat, std::nullopt, &table))
        return fail("mini allocation table chain");
    m_miniFat.resize(static_cast<size_t>(table.size() / 4));
    for (size_t i = 0; i < m_miniFat.size(); ++i)
        m_miniFat[i] = u32(table, static_cast<qsizetype>(i) * 4);
    m_miniLoaded = true;
    return true;
}

bool Reader::miniChain(quint32 start, quint64 bytes, QByteArray* out)
{
    out->clear();
    const quint64 miniSectors = static_cast<quint64>(m_miniStream.size()) / kMiniSectorBytes;
    if (bytes > miniSectors * kMiniSectorBytes)
        return false;
    out->reserve(static_cast<qsizetype>(bytes));
    std::vector<bool> seen(static_cast<size_t>(miniSectors), false);
    quint32 s = start;
    while (static_cast<quint64>(out->size()) < bytes) {
        if (s >= miniSectors || s >= m_miniFat.size() || seen[s])
            return false;
        seen[s] = true;
        out->append(m_miniStream.constData() + static_cast<qsizetype>(s) * kMiniSectorBytes, kMiniSectorBytes);
        s = m_miniFat[s];
    }
    out->truncate(static_cast<qsizetype>(bytes));
    return true;
}

bool Reader::find(const QString& name, QByteArray* out)
{
    for (qsizetype at = 128; at + 128 <= m_directory.size(); at += 128) {
        const int type = static_cast<unsigned char>(m_directory[at + 0x42]);
        if (type != 2) // storages, the root and unused entries hold no stream of their own
            continue;
        const int nameBytes = u16(m_directory, at + 0x40);
        if (nameBytes < 2 || nameBytes > 64 || nameBytes % 2 != 0)
            continue;
        QString entryName;
        for (int i = 0; i + 2 < nameBytes; i += 2)
            entryName.append(QChar(u16(m_directory, at + i)));
        if (entryName.compare(name, Qt::CaseInsensitive) != 0)
            continue;
        const quint32 start = u32(m_directory, at + 0x74);
        const quint64 size = m_major == 3 ? u32(m_directory, at + 0x78)
                                          : (quint64(u32(m_directory, at + 0x7C)) << 32) | u32(m_directory, at + 0x78);
        if (size == 0) {
            out->clear();
            return true;
        }
        if (size >= kMiniStreamCutoff)
            return chain(start, size, out) || fail("stream chain");
        if (!loadMiniStream())
            return false;
        return miniChain(start, size, out) || fail("mini stream chain of the stream");
    }
    return fail("no such stream");
}

} // namespace

bool readCompoundStream(const QByteArray& file, const QString& streamName, QByteArray* out, QString* why)
{
    Reader reader(file);
    const bool ok = reader.open() && reader.find(streamName, out);
    if (!ok) {
        out->clear();
        if (why)
            *why = reader.why;
    }
    return ok;
}

} // namespace velmora::import
