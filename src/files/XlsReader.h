#pragma once

#include "files/CompoundFile.h"
#include "files/Workbook.h"

#include <QByteArray>
#include <QIODevice>
#include <QStringList>

#include <map>
#include <vector>

namespace velmora::import {

// The cells of an .xls workbook as the helper process sends them.
struct XlsCells
{
    struct Sheet
    {
        unsigned char state = 0; // 0 read, 1 beyond the limits, 2 damaged
        Worksheet sheet;
    };
    WorkbookLimits limits; // what the reader accepts
    unsigned char refusal = 0; // 0 none, 1 damaged, 2 encrypted, 3 older than BIFF8
    QString refusalDetail;
    std::vector<Sheet> sheets;
    bool complete = false;
};

// An .xls workbook (BIFF inside a compound file). The compound file and the
// chain of BIFF records are checked here first. The cells are then read with
// FreeXL, which reads past its own buffers on some damaged files, so it runs
// in a helper process (velmora-cli xls-cells, next to the program, or the one
// VELMORA_XLS_HELPER names) whose crash, hang or malformed output only makes
// the workbook refused as damaged. The helper corrects what FreeXL 1.0.6 gives
// wrong or not at all:
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
    static std::unique_ptr<Workbook> open(const QString& path, QString* error, const WorkbookLimits& limits);

    int sheetCount() const override;
    bool readSheet(int index, Worksheet& out, QString* error) override;

private:
    explicit XlsReader(QString path)
        : m_path(std::move(path))
    { }

    QString m_path;
    XlsCells m_cells;
};

// The helper's work: `args` are "xls-cells MAX_ROWS MAX_COLUMNS MAX_CELLS PATH";
// reads PATH with FreeXL in this process and writes every sheet's cells to
// `out` in frames (a 5-byte head of tag and length, then the body). Returns
// the exit status: 0 written (a refusal included), 1 not written, 2 bad arguments.
int writeXlsCells(const QStringList& args, QIODevice* out);

// The program's side: the helper's frames to sheets, within out->limits (set
// before the call). False, with what is wrong in *detail, on any frame that is
// malformed, out of place or beyond the limits, or output cut short.
bool readXlsCells(const QByteArray& frames, XlsCells* out, QString* detail);

// The day number behind a date text "YYYY-MM-DD..." written by FreeXL 1.0.6
// (its calendar starts at 01/01/1900, or 02/01/1904, as day 1 and takes every
// year divisible by 4 as a leap year). Returns no value for texts that do not
// come from that calendar or that two day numbers share (its first day).
std::optional<double> serialFromFreeXlText(const char* text, bool date1904);

// The FORMULA/BOOLERR cells of each worksheet of a BIFF8 workbook stream, by
// sheet number from 1. Returns false if the stream cannot be followed.
bool scanRecordedCells(const QByteArray& stream, int* sheets, std::map<int, std::map<std::pair<int, int>, Cell>>* out);

} // namespace velmora::import
