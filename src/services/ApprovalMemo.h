#pragma once

// The approval memo's data work, shared by the fund-source screen and
// `velmora-cli print memo`: the department of the selected lines, the checks
// that keep a memo to one department, and the printed mark of every selected
// calculation, written in one transaction before the memo is shown.

#include "db/AuditLog.h"
#include "files/ReportGrid.h"
#include "services/FundSource.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace velmora::db {
class Database;
}

namespace velmora::reports {

// What the memo page prints from the selection.
struct ApprovalMemo
{
    bool ok = false; // false: `error` says why; nothing was marked
    QString error;
    int count = 0; // selected lines
    QString department; // the department of the selected lines
    QString totalText; // the selection's total as amount text
    audit::PrintedValue printed {}; // the audit row of the marking (the memo's small print)
};

// Checks the selection and marks its calculations printed (Is_Print_doc 'Y'),
// all of them or none. `department` is the department the officer named (the
// department box with the filter on "เฉพาะ", the command's --department); it
// must be a department of the department list and, when lines are selected,
// the department of those lines. Selected lines of several departments, or of
// a calculation without a department, are refused. An empty selection marks
// nothing and names the department given, if any.
// Every selected calculation must be checked by the second pair of eyes
// (unless the office turned the check off); those that are not are named and
// nothing is marked. `routing` ("payroll" or "faculty") goes into the audit
// log's row of the marking, written in the same transaction; that row is the
// one the memo prints in its small print.
ApprovalMemo prepareApprovalMemo(const db::Database& db, const ReportGrid& selection,
    const std::optional<QString>& department, const QString& routing = QString());

// The selection list of the lines of the fund-source search whose SAP ID is
// listed, as marking them on the screen and gathering would give. A listed SAP
// ID with no line is refused, naming it.
struct ListedSelection
{
    bool ok = false;
    QString error;
    ReportGrid selection;
};
ListedSelection selectListedLines(
    const db::Database& db, const FundSourceCriteria& criteria, const QStringList& sapIds);

} // namespace velmora::reports
