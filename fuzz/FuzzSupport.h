#pragma once

// What the fuzz targets share: the input as a file for the readers that take a
// path, and limits small enough that one input cannot take the machine.

#include "files/CellText.h"
#include "files/Workbook.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace velmora::fuzz {

// Writes the input to a file of this process (in a private temporary folder)
// and returns its path.
inline QString inputFile(const uint8_t* data, size_t size, const char* suffix)
{
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/velmora-fuzz-XXXXXX"));
    const QString path = dir.filePath(QStringLiteral("input") + QLatin1String(suffix));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) != static_cast<qint64>(size))
        std::abort(); // the machine, not the input: stop rather than test nothing
    return path;
}

inline import::WorkbookLimits fuzzLimits()
{
    import::WorkbookLimits limits;
    limits.maxFileBytes = 4 * 1024 * 1024;
    limits.maxPartBytes = 32 * 1024 * 1024;
    limits.maxRows = 20000;
    limits.maxColumns = 256;
    limits.maxCells = 200000;
    limits.splitAbove = 64 * 1024; // the two-halves path on middle-sized sheets
    return limits;
}

// Opens the workbook and reads every sheet and every cell as the imports do.
// A refusal must come with a message.
inline void readWholeWorkbook(const QString& path)
{
    QString error;
    auto book = import::openWorkbook(path, &error, fuzzLimits());
    if (!book) {
        if (error.isEmpty())
            std::abort();
        return;
    }
    const int sheets = book->sheetCount();
    for (int index = 1; index <= sheets && index <= 64; ++index) {
        import::Worksheet sheet;
        error.clear();
        if (!book->readSheet(index, sheet, &error)) {
            if (error.isEmpty())
                std::abort();
            continue;
        }
        for (int r = 1; r <= sheet.rowCount(); ++r) {
            const auto& row = sheet.rows[static_cast<size_t>(r - 1)];
            for (int c = 1; c <= static_cast<int>(row.size()); ++c) {
                const import::Cell& cell = sheet.cell(r, c);
                (void)import::cellAsText(cell);
                QString why;
                (void)import::cellAsDateText(cell, &why);
            }
        }
    }
    // A sheet beyond the last is refused, never read.
    import::Worksheet beyond;
    error.clear();
    if (book->readSheet(sheets + 1, beyond, &error) || error.isEmpty())
        std::abort();
}

} // namespace velmora::fuzz
