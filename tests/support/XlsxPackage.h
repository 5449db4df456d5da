#pragma once

// Workbook packages written here byte for byte (libzip), for tests that need
// what no spreadsheet program writes: rows out of order, a sheet far larger
// than memory should hold, damaged parts.

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

#include <map>
#include <string>

#include <gtest/gtest.h>
#include <zip.h>

namespace velmora::test {

using Parts = std::map<std::string, std::string>;

// Writes the parts as a deflated zip package.
inline void writePackage(const QString& path, const Parts& parts)
{
    int code = 0;
    zip_t* z = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    ASSERT_TRUE(z);
    for (const auto& [name, data] : parts) {
        zip_source_t* src = zip_source_buffer(z, data.data(), data.size(), 0);
        ASSERT_TRUE(src);
        ASSERT_GE(zip_file_add(z, name.c_str(), src, ZIP_FL_OVERWRITE), 0);
    }
    ASSERT_EQ(zip_close(z), 0) << zip_strerror(z);
}

inline const char* kRootRels = R"(<?xml version="1.0"?>
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">
<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/>
</Relationships>)";

inline const char* kWorkbook = R"(<?xml version="1.0"?>
<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">
<sheets><sheet name="S" sheetId="1" r:id="rId1"/></sheets></workbook>)";

inline std::string workbookRels(const std::string& sheetTarget)
{
    return R"(<?xml version="1.0"?>
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">
<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target=")"
        + sheetTarget + R"("/></Relationships>)";
}

inline std::string sheetXml(const std::string& sheetData)
{
    return R"(<?xml version="1.0"?><worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData>)"
        + sheetData + "</sheetData></worksheet>";
}

// A package of one sheet named "S" holding `sheetData` (the <row> elements).
inline Parts oneSheet(const std::string& sheetData)
{
    return {{"_rels/.rels", kRootRels}, {"xl/workbook.xml", kWorkbook},
        {"xl/_rels/workbook.xml.rels", workbookRels("worksheets/sheet1.xml")},
        {"xl/worksheets/sheet1.xml", sheetXml(sheetData)}};
}

// Current resident memory of this process in kB.
inline long residentKb()
{
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = f.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLong() * 4 : 0;
}

} // namespace velmora::test
