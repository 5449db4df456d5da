#include "services/import/EmployeeSave.h"

#include "db/Schema.h"

#include <QDateTime>

#include <optional>

namespace velmora::import {

namespace {

using db::bindsNull;

// The columns an update writes as the grid shows them (an insert trims them).
const ColumnRule kUpdatedAsShown[] = {
    {3, "Surname", true}, {4, "F_Name", true}, {5, "L_Name", true}, {9, "Work_End_Date_Text", true}};

const QString kStoredEmployeeColumns = QStringLiteral(
    "Emp_RecMChod_Status, Surname, F_Name, L_Name, CAST(Work_Begin_Date AS VARCHAR(40)), Work_Begin_Date_Text, "
    "Work_Type_Code, CAST(Work_End_Date AS VARCHAR(40)), Work_End_Date_Text, Depart_Code, Money_Rate");

// The columns of an employee the audit log names when an import changes them,
// with their places among the values an update writes.
const std::pair<int, const char*> kLoggedEmployeeColumns[] = {{0, "Surname"}, {1, "F_Name"}, {2, "L_Name"},
    {4, "Work_Begin_Date_Text"}, {5, "Work_Type_Code"}, {7, "Work_End_Date_Text"}, {8, "Depart_Code"},
    {9, "Money_Rate"}};
const int kMoneyValue = 9;

// "dd/mm/yyyy" to the day of the date-time column, year as in the text. An
// empty text is the servers' base date, 01/01/1900, written explicitly.
std::optional<QDate> dateTimeOf(const QString& text)
{
    if (text.isEmpty())
        return QDate(1900, 1, 1);
    if (text.size() < 10)
        return std::nullopt;
    bool ok1 = false, ok2 = false, ok3 = false;
    const int year = QStringView(text).mid(6, 4).toInt(&ok1);
    const int month = QStringView(text).mid(3, 2).toInt(&ok2);
    const int day = QStringView(text).mid(0, 2).toInt(&ok3);
    const QDate date(year, month, day);
    if (!ok1 || !ok2 || !ok3 || !date.isValid())
        return std::nullopt;
    return date;
}

// A day at midnight as the driver should receive it for a date-time column,
// made without the time-zone database (a local date-time per value costs a
// look at the zone file each time). SQLite keeps the text its driver would
// make of a date-time; PostgreSQL reads its own timestamp text (the same
// instant a local date-time at midnight gave when server and program share
// their zone, and exactly midnight when they do not); the ODBC driver takes
// the date and time of the value as they are.
QVariant dateTimeValue(const db::Database& db, const QDate& d)
{
    if (db.backend() == db::Backend::SqlServer)
        return QDateTime(d, QTime(0, 0), Qt::UTC);
    // "yyyy-mm-ddT00:00:00.000" (SQLite) or "yyyy-mm-dd 00:00:00" (PostgreSQL)
    const bool sqlite = db.backend() == db::Backend::Sqlite;
    if (d.year() < 1 || d.year() > 9999) // never from a checked date text; written as printf would
        return QString::asprintf(
            sqlite ? "%04d-%02d-%02dT00:00:00.000" : "%04d-%02d-%02d 00:00:00", d.year(), d.month(), d.day());
    QString text = sqlite ? QStringLiteral("0000-00-00T00:00:00.000") : QStringLiteral("0000-00-00 00:00:00");
    QChar* c = text.data();
    auto put = [&](int at, int value, int digits) {
        for (int i = digits - 1; i >= 0; --i, value /= 10)
            c[at + i] = QLatin1Char(char('0' + value % 10));
    };
    put(0, d.year(), 4);
    put(5, d.month(), 2);
    put(8, d.day(), 2);
    return text;
}

} // namespace

EmployeeSave::EmployeeSave(const db::Database& db, const QString& sheetName, bool fast, int maximum,
    const Progress& progress, QString* error, bool* databaseFault, audit::ImportChanges* changes)
    : SheetSave(db, 1, sheetName, fast,
        RowCheck("EP_Emp_Main",
            {{1, "SapID", false}, {2, "SSN", false}, {3, "Surname", false}, {4, "F_Name", false}, {5, "L_Name", false},
                {6, "Emp_BirthDay", false}, {7, "Work_Begin_Date_Text", false}, {8, "Work_Type_Code", false},
                {9, "Work_End_Date_Text", false}, {10, "Depart_Code", false}},
            11),
        maximum, progress, error, databaseFault, true)
    , m_changes(changes)
    , m_insert(db, QStringLiteral("EP_Emp_Main"),
          {QStringLiteral("SapID"), QStringLiteral("SSN"), QStringLiteral("Surname"), QStringLiteral("F_Name"),
              QStringLiteral("L_Name"), QStringLiteral("Emp_BirthDay"), QStringLiteral("Work_Begin_Date"),
              QStringLiteral("Work_Begin_Date_Text"), QStringLiteral("Work_Type_Code"), QStringLiteral("Work_End_Date"),
              QStringLiteral("Work_End_Date_Text"), QStringLiteral("Depart_Code"), QStringLiteral("Money_Rate"),
              QStringLiteral("Emp_RecMChod_Status")},
          fast ? 100 : 1, QStringLiteral("เพิ่มข้อมูลพนักงาน"))
{
    m_batch = &m_insert;
}

bool EmployeeSave::prepareStatements(QString* error)
{
    return prepareSearch(QStringLiteral("SELECT SapID, %1 FROM EP_Emp_Main").arg(kStoredEmployeeColumns),
               QStringLiteral("SELECT %1 FROM EP_Emp_Main WHERE SapID = ?").arg(kStoredEmployeeColumns),
               QStringLiteral("ค้นหาพนักงาน"), error)
        && prepare(m_db, &m_update,
            QStringLiteral("UPDATE EP_Emp_Main SET Surname = ?, F_Name = ?, L_Name = ?, Work_Begin_Date = ?, "
                           "Work_Begin_Date_Text = ?, Work_Type_Code = ?, Work_End_Date = ?, "
                           "Work_End_Date_Text = ?, Depart_Code = ?, Money_Rate = ? "
                           "WHERE SapID = ? AND Emp_RecMChod_Status = ?"),
            QStringLiteral("แก้ไขข้อมูลพนักงาน"), error);
}

bool EmployeeSave::readStored(const std::vector<QStringList>& chunk)
{
    m_stored.clear();
    m_insertedHere.clear();
    QString why;
    const bool ok = m_reader.read(
        m_db, keysOf(chunk),
        [&](const db::Prepared& q) {
            StoredRow& row = m_stored[q.value(0).toString()];
            row.status = q.value(1).toString();
            row.values.clear();
            row.values.reserve(10);
            for (int c = 2; c < 12; ++c)
                row.values << q.value(c);
        },
        &why);
    return ok || failInDatabase(QStringLiteral("ค้นหาพนักงาน"), why);
}

bool EmployeeSave::saveRow(const QStringList& r, int row, const QString& sapId)
{
    const QString begin = trimmed(r.at(7));
    const QString end = trimmed(r.at(9));
    const auto beginValue = dateTimeOf(begin);
    if (!beginValue)
        return fail(msg::dateNotStorable(where(row, 7), begin));
    const auto endValue = dateTimeOf(end);
    if (!endValue)
        return fail(msg::dateNotStorable(where(row, 9), end));
    const auto salary = Parse_Number(Remove_Commas(trimmed(r.at(11)).toStdString()));
    if (!salary)
        return fail(msg::notANumber(where(row, 11), r.at(11)));
    bool found = false;
    QString status;
    QString why;
    const StoredRow* known = nullptr;
    StoredRow searched;
    if (m_fast) {
        const auto it = m_stored.constFind(sapId);
        found = it != m_stored.constEnd();
        if (found)
            known = &*it;
    } else {
        QVariantList columns;
        if (!run(m_find, {sapId}, &why, &found, &columns, 11))
            return failInDatabase(whereRow(row), why);
        if (found) {
            searched.status = columns.value(0).toString();
            searched.values = columns.mid(1);
            known = &searched;
        }
    }
    if (known)
        status = known->status;
    const QString statusA = QStringLiteral("A");
    // What an update writes: title, names and the end-date text as the
    // grid shows them.
    const QVariantList written = {r.at(3), r.at(4), r.at(5), dateTimeValue(m_db, *beginValue), begin, trimmed(r.at(8)),
        dateTimeValue(m_db, *endValue), r.at(9), trimmed(r.at(10)), *salary};
    if (found && status == statusA && m_fast && sameValues(known->values, written, kMoneyValue)) {
        ++counts.unchanged;
    } else if (found) {
        if (status != statusA) {
            ++counts.leftAlone;
            return true;
        }
        for (const ColumnRule& rule : kUpdatedAsShown) {
            const QString& shown = r.at(rule.gridColumn);
            const int maximum = db::textColumnLength("EP_Emp_Main", rule.column);
            if (maximum > 0 && shown.size() > maximum)
                return fail(msg::textTooLong(where(row, rule.gridColumn), shown, maximum));
        }
        // The row may still wait in the insert batch: send that first.
        if (!flushInserts())
            return false;
        // The status is checked again in the write itself: a calculation
        // saved since it was read leaves the employee as it is.
        int affected = 0;
        if (!runWrite(m_update, written + QVariantList {sapId, statusA}, &why, &affected))
            return failInDatabase(whereRow(row), why);
        if (affected > 0) {
            ++counts.updated;
            if (!m_insertedHere.contains(sapId))
                noteChange(sapId, known->values, written);
            if (m_fast)
                m_stored[sapId] = {statusA, asStored(written)};
        } else {
            ++counts.leftAlone;
        }
    } else {
        int failedRow = row;
        if (!m_insert.add({sapId, trimmed(r.at(2)), trimmed(r.at(3)), trimmed(r.at(4)), trimmed(r.at(5)),
                              trimmed(r.at(6)), dateTimeValue(m_db, *beginValue), begin, trimmed(r.at(8)),
                              dateTimeValue(m_db, *endValue), end, trimmed(r.at(10)), *salary, statusA},
                row, &why, &failedRow))
            return failInDatabase(whereRow(failedRow), why);
        if (m_fast) {
            // an insert trims the names and the end-date text
            QVariantList values = written;
            for (int c : {0, 1, 2, 7})
                values[c] = trimmed(values[c].toString());
            m_stored.insert(sapId, {statusA, asStored(values)});
        }
        m_insertedHere.insert(sapId);
        ++counts.inserted;
    }
    return true;
}

void EmployeeSave::noteChange(const QString& sapId, const QVariantList& old, const QVariantList& now)
{
    std::vector<audit::ImportChanges::ColumnChange> changed;
    int logged = 0;
    for (const auto& [place, column] : kLoggedEmployeeColumns) {
        const QVariant a = old.value(place);
        const QVariant b = now.value(place);
        const bool money = place == kMoneyValue;
        if (!money || bindsNull(a) || bindsNull(b) || a.toDouble() != b.toDouble()) {
            QString before = loggedText(a, money);
            QString after = loggedText(b, money);
            if (before != after)
                changed.push_back({logged, std::move(before), std::move(after)});
        }
        ++logged;
    }
    m_changes->note({sapId}, std::move(changed));
}

audit::ImportChanges employeeChanges()
{
    QStringList columns;
    for (const auto& [place, column] : kLoggedEmployeeColumns)
        columns << QLatin1String(column);
    return audit::ImportChanges({QStringLiteral("SapID")}, columns);
}

} // namespace velmora::import
