#pragma once

#include "files/Workbook.h"

#include <QByteArray>

#include <map>

namespace velmora::import {

// An .xls workbook (BIFF inside a compound file) read with FreeXL, with two
// corrections for what FreeXL 1.0.6 gives wrong or not at all:
// - date cells come as text from a calendar that counts every fourth year as a
//   leap year (wrong after 28/02/2100, so a Buddhist-era 2550 is four days off);
//   that calendar is undone to get the day number back, and the real date is
//   computed from it;
// - formula and boolean cells come back empty; their stored results are read
//   from the workbook stream directly (FORMULA, STRING, BOOLERR records).
// A cell whose value still cannot be known exactly is kept as Unreadable.
class XlsReader : public Workbook
{
public:
    ~XlsReader() override;
    static std::unique_ptr<Workbook> open(const QString& path, QString* error, const WorkbookLimits& limits);

    int sheetCount() const override { return m_sheetCount; }
    bool readSheet(int index, Worksheet& out, QString* error) override;

private:
    XlsReader(QString path, WorkbookLimits limits)
        : m_path(std::move(path))
        , m_limits(limits)
    { }

    QString m_path;
    WorkbookLimits m_limits;
    const void* m_handle = nullptr;
    int m_sheetCount = 0;
    bool m_date1904 = false;
    // Cells FreeXL leaves empty, by sheet (from 1), then (row, column) from 1.
    std::map<int, std::map<std::pair<int, int>, Cell>> m_recorded;
};

// The day number behind a date text "YYYY-MM-DD..." written by FreeXL 1.0.6
// (its calendar starts at 01/01/1900, or 02/01/1904, as day 1 and takes every
// year divisible by 4 as a leap year). Returns no value for texts that do not
// come from that calendar or that two day numbers share (its first day).
std::optional<double> serialFromFreeXlText(const char* text, bool date1904);

// Reads the streams of a compound file; exposed for tests.
bool readCompoundStream(const QByteArray& file, const QString& streamName, QByteArray* out);

// The FORMULA/BOOLERR cells of each worksheet of a BIFF8 workbook stream, by
// sheet number from 1. Returns false if the stream cannot be followed.
bool scanRecordedCells(const QByteArray& stream, int* sheets, std::map<int, std::map<std::pair<int, int>, Cell>>* out);

} // namespace velmora::import
