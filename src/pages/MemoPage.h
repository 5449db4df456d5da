#pragma once

// The approval memo ("บันทึกข้อความ") for a batch of compensation payments:
// one A4 page asking the finance vice-president to approve paying the
// selected employees, with the reason, the count, the department, the total
// in figures and in Thai words, and the routing of the approved memo.

#include "pages/OrganisationSettings.h"
#include "pages/PageLayout.h"
#include "services/ApprovalMemo.h"

#include <QString>

namespace velmora::print {

// Where the approved memo goes.
enum class MemoRouting {
    Payroll, // "เพื่อประมวลผลผ่าน Payroll"
    Faculty, // "ส่งคืนคณะ"
};

// Why the employees left.
enum class MemoReason {
    ContractEnd, // "ครบกำหนดระยะเวลาการจ้างตามสัญญา"
    Retirement, // "เกษียณอายุงาน ตามข้อบังคับมหาวิทยาลัยกาวิลัน"
};

struct MemoContent
{
    int count = 0; // selected lines
    QString department; // as the department box shows it
    QString totalText; // the selection's total as amount text ("25,000.00")
    MemoRouting routing = MemoRouting::Payroll;
    MemoReason reason = MemoReason::ContractEnd;
    audit::PrintedValue printed {}; // the audit row of the memo's marking, in small print
};

// The memo of a prepared approval: its count, department, total and audit row.
MemoContent memoContent(const reports::ApprovalMemo& memo, MemoRouting routing, MemoReason reason);

// The department whose approved memos go to the human-resources division.
QString presidentOfficeName(); // "สำนักงานอธิการบดี"

// The set texts of the page.
QString memoReasonLine(MemoReason reason);
QString memoRoutingLine(MemoRouting routing, const QString& department);
// " (" + the total in Thai words + ")" + " จากกองทุนเงินชดเชย พนักงานมหาวิทยาลัยพ้นสภาพ";
// the total text is read with its thousands separators removed.
QString memoWordsLine(const QString& totalText);

// The page's layout: every fixed item and the organisation's data; the set
// items (QRLabel10, 11, 13, 15, 17 and 6) empty. Positions in millimetres
// from the corner of the printable area (A4, margins 5 mm top and bottom,
// 15 mm left and right).
PageLayout memoPageLayout(const OrganisationData& organisation);

// The memo with its set items filled.
PageLayout buildMemoPage(const MemoContent& content, const OrganisationData& organisation);

} // namespace velmora::print
