#pragma once

// The small print at the foot of every request document, annex page and
// approval memo: the audit trail's row at the moment of printing and the first
// digits of its chain value, so that the paper in the file can later be
// checked against the trail (`velmora-cli audit verify --printed SEQ:HEX`).

#include "pages/PageLayout.h"
#include "services/AuditView.h" // audit::PrintedValue

#include <QString>

namespace velmora::print {

// The item's name and its size (points of the document's typeface; about
// 7 points of an ordinary face).
inline constexpr const char* kPrintedMarkItem = "lblPrintedMark";
inline constexpr double kPrintedMarkSize = 10;

// "ลำดับบันทึกตรวจสอบ 12 ค่าตรวจสอบ 0123456789abcdef".
QString printedMarkText(const audit::PrintedValue& value);

// Adds the small print on the band's last line, right-aligned; with `frame`
// (the name of a box of the page that runs to the band's foot), on the last
// line inside that box instead. A trail with no row yet (seq 0) prints none.
void addPrintedMark(PageLayout& page, const audit::PrintedValue& value, const QString& frame = {});

} // namespace velmora::print
