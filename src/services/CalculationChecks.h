#pragma once

// The second pair of eyes. A saved calculation stands "รอตรวจสอบ" until a
// checker who is not the user who saved it checks it ("ตรวจสอบแล้ว"), or
// returns it with a reason: a return cancels it as the cancel screen does and
// keeps the reason. The state lives in EP_Calc_Check (one row per SAP ID); a
// saved calculation without a row (saved before the check existed) waits too.
// While the office has turned the check off, every saved calculation counts as
// checked.

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace velmora::db {
class Database;
}

namespace velmora::checks {

enum class State { Waiting, Checked, Returned };

// "รอตรวจสอบ", "ตรวจสอบแล้ว", "ส่งคืน"
QString stateTitle(State state);

// The check of one SAP ID as stored.
struct CheckRow
{
    bool stored = false; // false: no row (a waiting calculation saved before the check existed)
    State state = State::Waiting;
    QString savedBy;
    QString savedAt; // "dd/mm/yyyy HH:mm", Buddhist era; empty when unknown
    QString checkedBy; // the checker of a check or a return
    QString checkedAt;
    QString reason; // a return's
};

// Code of a stored state ('W', 'C', 'R') to the state.
State stateOf(const QString& code);
// The server's date-time value as the lists show it: "dd/mm/yyyy HH:mm",
// Buddhist era.
QString shownTime(const QVariant& value);

// What a list shows for a saved calculation's check: the state's title, "ไม่ต้องตรวจสอบ"
// for a waiting one while the check is off, and for a return "ส่งคืน: " + the reason.
QString shownState(const CheckRow& row, bool fourEyes);
bool countsAsChecked(const CheckRow& row, bool fourEyes);

// The stored check of a SAP ID (no right is asked: the lists and pages that
// show it have asked theirs). False on a database error.
bool readCheck(const db::Database& db, const QString& sapid, CheckRow* row, QString* error);
// Whether the saved calculation of the SAP ID counts as checked now (the
// office's setting included); no value on a database error.
std::optional<bool> countsAsChecked(const db::Database& db, const QString& sapid, QString* error);

// Inside the save's transaction: the calculation waits for its check, saved by
// the logged-in user at the server's time (a returned one's row is replaced).
bool recordSavedWithin(const db::Database& db, const QString& sapid, QString* error);

// One calculation awaiting its check, as the check screen lists it.
struct Pending
{
    QString sapid;
    QString name;
    QString department;
    QString requestMonth;
    QString net; // amount text
    QString savedBy;
    QString savedAt;
};

// Every saved calculation still waiting, by first name (Thai order) and SAP ID.
bool listPending(const db::Database& db, std::vector<Pending>* pending, QString* error);

// Checks the saved calculations of the SAP IDs, all or none: each must be
// saved, still waiting, and saved by another user than the one logged in (a
// checker's own calculation is refused with its audit row). One audit row
// (calculation-checked) per calculation. *checked: how many.
bool verifyCalculations(const db::Database& db, const QStringList& sapids, int* checked, QString* error);

// Returns the waiting calculations of the SAP IDs with the reason, all or
// none, under the same conditions: each is cancelled as the cancel screen
// cancels it (its work history stays), the employee's status goes back to
// "A", and its row keeps the state "ส่งคืน", the checker and the reason; the
// audit row (calculation-returned) holds every figure that went and the reason.
bool returnCalculations(const db::Database& db, const QStringList& sapids, const QString& reason, QString* error);

} // namespace velmora::checks
