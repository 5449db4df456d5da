#pragma once

#include "files/Workbook.h"

#include <QStringList>

struct zip;

namespace velmora::import {

class SaxHandler;

// An .xlsx workbook (Office Open XML): each part is inflated by libzip straight
// into an expat parser, so a sheet is never held whole, in UTF-8 or UTF-16;
// the shared strings are the only table kept for the workbook. Shared strings
// (with rich-text runs), inline strings, formula results as stored, cells and
// rows written without a reference, the 1904 date system, and date formats
// (built-in ids and custom codes) are understood. No DTD is accepted, so no
// entity is ever expanded; relationship targets stay inside the package.
class XlsxReader : public Workbook
{
public:
    ~XlsxReader() override;
    static std::unique_ptr<Workbook> open(const QString& path, QString* error, const WorkbookLimits& limits);

    int sheetCount() const override { return static_cast<int>(m_sheets.size()); }
    bool readSheet(int index, Worksheet& out, QString* error) override;
    bool readRows(int index, QString* sheetName, const RowSink& sink, QString* error) override;

private:
    XlsxReader(QString path, WorkbookLimits limits)
        : m_path(std::move(path))
        , m_limits(limits)
    { }

    // Streams one part through the handler. `bulky` parts (sheets, shared
    // strings) are bounded by the inflate ratio only, the others also by
    // maxPartBytes. `where` names the part in messages.
    bool parsePart(const QString& name, bool optional, bool bulky, SaxHandler& handler, const QString& where,
        QString* error) const;
    bool readStructure(QString* error);
    bool readStyles(const QString& part, QString* error);
    bool readSharedStrings(const QString& part, QString* error);

    struct SheetRef
    {
        QString name;
        QString part;
    };

    QString m_path;
    WorkbookLimits m_limits;
    zip* m_zip = nullptr;
    std::vector<SheetRef> m_sheets;
    std::vector<QString> m_shared;
    std::vector<bool> m_dateStyle; // by cell format index
    bool m_date1904 = false;
};

// True if a number format shows a date or a time: built-in ids 14-22, 27-36,
// 45-47, 50-58 and the Thai 71-81, or a code with date or time tokens outside
// quotes, brackets and escapes.
bool isDateFormat(int numFmtId, const QString& code);

} // namespace velmora::import
