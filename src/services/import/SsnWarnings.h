#pragma once

// The warning of a saved row whose SSN (column 2) fails its check digit.

#include <QString>
#include <QStringList>

namespace velmora::import {

// "แผ่นงานที่ 1 (ชื่อ) แถวที่ 5 คอลัมน์ B: SAP ID … เลขประจำตัวประชาชน "…" " and
// what is wrong with it, or empty when the number passes.
QString ssnWarning(int sheet, const QString& sheetName, int row, const QStringList& r);

} // namespace velmora::import
