#pragma once

// The audit log: one row per money-changing action (and per login), written in
// the transaction of the change it records, chained by SHA-256 so that a row
// changed, deleted or inserted afterwards is found by verifyAuditLog().
//
// The chain value of row n is SHA-256 over the chain value of row n - 1 (the
// empty text before the first row) and the canonical content of row n (its
// sequence number, time, user, origin, machine address, kind, SAP ID and the
// details text exactly as stored). EP_Audit_Head keeps the last sequence
// number and chain value; every writer locks that one row first, so two
// writers on a shared server never fork the chain.

#include "db/Database.h"

#include <QDate>
#include <QJsonObject>
#include <QSqlQuery>
#include <QString>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace velmora::audit {

// Event kinds as stored in Event_Kind.
namespace kind {
inline constexpr const char* kLogin = "login";
inline constexpr const char* kLoginRefused = "login-refused";
inline constexpr const char* kPasswordChanged = "password-changed";
inline constexpr const char* kImportEmployees = "import-employees";
inline constexpr const char* kImportHistory = "import-history";
inline constexpr const char* kCalculationSaved = "calculation-saved";
inline constexpr const char* kCalculationCancelled = "calculation-cancelled";
inline constexpr const char* kMemoPrinted = "memo-printed";
inline constexpr const char* kSettingsChanged = "settings-changed";
inline constexpr const char* kReportExported = "report-exported";
inline constexpr const char* kLoginThrottled = "login-throttled";
inline constexpr const char* kUserAdded = "user-added";
inline constexpr const char* kUserDisabled = "user-disabled";
inline constexpr const char* kUserEnabled = "user-enabled";
inline constexpr const char* kRolesChanged = "roles-changed";
inline constexpr const char* kPasswordReset = "password-reset";
inline constexpr const char* kUsersUpgraded = "users-upgraded";
inline constexpr const char* kActionRefused = "action-refused";
inline constexpr const char* kCalculationChecked = "calculation-checked";
inline constexpr const char* kCalculationReturned = "calculation-returned";
inline constexpr const char* kFourEyesChanged = "four-eyes-changed";
// Written by the server's triggers: a money table changed outside the program.
inline constexpr const char* kDirectChange = "direct-change";
} // namespace kind

// Every kind above, in the order the viewer lists them.
const std::vector<QString>& allKinds();
// The Thai name of a kind ("บันทึกการคำนวณเงินชดเชย"); the kind itself when unknown.
QString kindTitle(const QString& kind);

// Who acts: the logged-in user of the desktop program or of the command line
// (origin "velmora-cli"); the machine's network address. On the command line
// the operating system's account stays beside the address ("ADDRESS (account)").
struct Actor
{
    QString user;
    QString origin;
    QString machine;
};

inline constexpr const char* kOriginDesktop = "velmora";
inline constexpr const char* kOriginCli = "velmora-cli";

// The actor of this process (set at login and by the command line at start).
void setActor(const Actor& actor);
Actor currentActor();
// The operating system's account name of this process ("" when unknown).
QString operatingSystemUser();
// The machine of a command-line row: "ADDRESS (account)", cut to the 60
// characters Machine_Address holds.
QString cliMachine(const QString& address, const QString& osUser);

// The message a change fails with when its log row cannot be written.
QString writeFailureMessage(const QString& driverText);

// Writes one row inside the caller's open transaction. On a PostgreSQL
// database set up for server roles the server's function velmora_audit_append
// writes it: the user is the connection's login (session_user), the time and
// the chain value are the server's, and the actor's user is not sent. `actor` overrides the
// process's actor (a login records the name typed). False with the Thai
// message in *error; the caller then rolls its change back.
bool record(const db::Database& db, const QString& kind, const QString& sapid, const QJsonObject& details,
    QString* error, const Actor* actor = nullptr);
bool record(const db::Database& db, const QString& kind, const QString& sapid, const QJsonObject& details,
    std::string* error, const Actor* actor = nullptr);
// The same with the details already written as one compact JSON object in
// UTF-8 (stored exactly as given).
bool recordJson(const db::Database& db, const QString& kind, const QString& sapid, const QByteArray& detailsJson,
    QString* error, const Actor* actor = nullptr);
bool recordJson(const db::Database& db, const QString& kind, const QString& sapid, const QByteArray& detailsJson,
    std::string* error, const Actor* actor = nullptr);

// For a change outside the database (a settings file, an exported file): runs
// `change` and writes the row in one transaction; the row is kept only when
// `change` succeeds, and `change` is not run when the row cannot be written.
bool recordAround(const db::Database& db, const QString& kind, const QString& sapid, const QJsonObject& details,
    const std::function<bool(QString* error)>& change, QString* error, const Actor* actor = nullptr);

// One stored row.
struct Entry
{
    qint64 seq = 0;
    QString time; // "yyyy-MM-dd HH:mm:ss", the server's local time
    QString user;
    QString origin;
    QString machine;
    QString kind;
    QString sapid;
    QString details; // JSON text
    QString chain; // 64 hex digits
};

// The bytes the chain value covers, and the chain value itself.
QByteArray canonicalContent(const Entry& entry);
QString chainValue(const QString& previousChain, const Entry& entry);

struct Filter
{
    std::optional<QDate> from; // first day included
    std::optional<QDate> to; // last day included
    QString user; // exact, empty for all
    QString kind;
    QString sapid;
};

// The rows matching the filter, oldest first or newest first.
bool listEntries(
    const db::Database& db, const Filter& filter, bool newestFirst, std::vector<Entry>* entries, QString* error);

struct VerifyResult
{
    bool ok = false;
    qint64 count = 0; // rows read
    qint64 badSeq = 0; // the first row at fault
    QString problem; // Thai, naming the row; empty when ok
};

// Walks the whole log in sequence order. A database error gives ok = false
// with badSeq 0 and the error in problem. `eachRow` sees every row read
// (all its columns in the table's order) before it is checked: a copy's
// figures taken in the same pass.
VerifyResult verifyAuditLog(const db::Database& db, const std::function<void(const QSqlQuery&)>& eachRow = {});

// The latest sequence number and chain value (EP_Audit_Head), to print or mail.
bool chainHead(const db::Database& db, qint64* seq, QString* chain, QString* error);

// What a printed document carries in its small print: a row of the trail and
// the first digits of its chain value, written "SEQ:HEX". Once the paper is in
// the file, a history rewritten at or before that row no longer matches it.
struct PrintedValue
{
    qint64 seq = 0; // 0: the trail was empty, nothing to print
    QString hex; // lower-case hexadecimal digits
};

// The digits a document prints.
inline constexpr int kPrintedDigits = 16;

// The trail's last row at this moment, as a document prints it (the first
// kPrintedDigits of its chain value). Called inside a transaction that has
// just written a row, it is that row.
bool printedValueNow(const db::Database& db, PrintedValue* value, QString* error);
// "SEQ:HEX".
QString printedText(const PrintedValue& value);
// "SEQ:HEX" as an auditor types it: SEQ a whole number from 1, HEX from
// kPrintedDigits to 64 hexadecimal digits (either case). No value, with *why
// in English, when malformed.
std::optional<PrintedValue> parsePrintedValue(const QString& text, QString* why);
// The chain verifies from the first row up to value.seq and that row's chain
// value starts with value.hex. ok false naming the row otherwise: missing,
// changed before it, or its value not the one printed.
VerifyResult verifyPrintedValue(const db::Database& db, const PrintedValue& value);

} // namespace velmora::audit
