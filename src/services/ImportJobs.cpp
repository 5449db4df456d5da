// The jobs: each save in one transaction with its audit-log row, run again
// row by row after a fault in the database so that the message names the
// row; the command line's imports read the workbook as they save it. The
// steps are under services/import/: the sheets' layouts, sheet to grid rows,
// the stored rows, one save per kind of table on one base, the pipeline that
// hands the rows over, the counts.

#include "services/ImportJobs.h"

#include "services/AuditEvents.h"
#include "services/Backup.h"
#include "services/CrashReport.h"
#include "services/Rights.h"
#include "services/import/CodeTableSave.h"
#include "services/import/Counts.h"
#include "services/import/EmployeeSave.h"
#include "services/import/HistorySave.h"
#include "services/import/ReasonSave.h"
#include "services/import/RowPipeline.h"

namespace velmora::import {

namespace {

// One attempt at saving the employee workbook. `fast` answers the searches
// from keys read beforehand and sends inserts in batches; when such an attempt
// fails in the database, the save is run again row by row (after the rollback)
// so that the message can name the row at fault.
bool saveEmployeesOnce(const db::Database& db, const RowSource& source, const QString& path, const QString& sha256,
    EmployeeSaveCounts* counts, QString* error, const Progress& progress, bool fast, bool* databaseFault,
    bool* unordered)
{
    *counts = EmployeeSaveCounts();
    *databaseFault = false;
    db::Transaction transaction(db);
    if (!transaction.active()) {
        *error = transaction.error();
        return false;
    }
    audit::ImportChanges changes = employeeChanges();
    QString names[4];
    EmployeeSave employees(db, names[0], fast, source.count(1), progress, error, databaseFault, &changes);
    ReasonSave reasons(db, names[1], fast, source.count(2), progress, error, databaseFault);
    CodeTableSave types(db, 3, names[2], "EP_TR_Work_Type", "Work_Type_Code", "Work_Type", source.count(3), progress,
        error, databaseFault);
    CodeTableSave departs(
        db, 4, names[3], "EP_TR_Depart", "Depart_Code", "Dapart_Name", source.count(4), progress, error, databaseFault);
    if (!employees.prepareStatements(error) || !reasons.prepareStatements(error) || !types.prepareStatements(error)
        || !departs.prepareStatements(error)) {
        *databaseFault = true;
        return false;
    }
    SheetSave* sheets[] = {&employees, &reasons, &types, &departs};
    for (int sheet = 1; sheet <= 4; ++sheet) {
        if (!feed(source, sheet, &names[sheet - 1], *sheets[sheet - 1], unordered))
            return false;
    }
    counts->employees = employees.counts;
    counts->reasons = reasons.counts;
    counts->types = types.counts;
    counts->departs = departs.counts;
    if (!audit::recordImport(db, QLatin1String(audit::kind::kImportEmployees), path, sha256,
            auditCounts({{QStringLiteral("employees"), counts->employees}, {QStringLiteral("reasons"), counts->reasons},
                {QStringLiteral("types"), counts->types}, {QStringLiteral("departs"), counts->departs}}),
            changes, error))
        return false;
    QString why;
    if (!transaction.commit(&why)) {
        *error = msg::databaseFailure(QStringLiteral("ยืนยันการบันทึก"), why);
        return false;
    }
    return true;
}

bool saveHistoryOnce(const db::Database& db, const RowSource& source, const QString& path, const QString& sha256,
    TableCounts* counts, QString* error, const Progress& progress, bool fast, bool* databaseFault, bool* unordered)
{
    *counts = TableCounts();
    *databaseFault = false;
    db::Transaction transaction(db);
    if (!transaction.active()) {
        *error = transaction.error();
        return false;
    }
    audit::ImportChanges changes = historyChanges();
    QString name;
    HistorySave periods(db, name, fast, source.count(1), progress, error, databaseFault, &changes);
    if (!periods.prepareStatements(error)) {
        *databaseFault = true;
        return false;
    }
    if (!feed(source, 1, &name, periods, unordered))
        return false;
    *counts = periods.counts;
    if (!audit::recordImport(db, QLatin1String(audit::kind::kImportHistory), path, sha256,
            auditCounts({{QStringLiteral("periods"), *counts}}), changes, error))
        return false;
    QString why;
    if (!transaction.commit(&why)) {
        *error = msg::databaseFailure(QStringLiteral("ยืนยันการบันทึก"), why);
        return false;
    }
    return true;
}

// A save with its row-by-row replay: `once` is one attempt (fast or not).
// Nothing of a failed attempt was kept; a retry that fails without reaching a
// row (the server is gone) keeps the first attempt's reason.
template <typename Once>
bool saveWithReplay(const db::Database& db, QString* error, bool* unordered, Once once)
{
    bool databaseFault = false;
    const bool fast = fastPath(db);
    if (once(fast, error, &databaseFault))
        return true;
    if (!fast || !databaseFault || *unordered)
        return false;
    QString retryError;
    if (once(false, &retryError, &databaseFault))
        return true;
    if (databaseFault)
        *error = retryError;
    return false;
}

bool saveEmployees(const db::Database& db, const RowSource& source, const QString& path, const QString& sha256,
    EmployeeSaveCounts* counts, QString* error, const Progress& progress, bool* unordered)
{
    return saveWithReplay(db, error, unordered, [&](bool fast, QString* why, bool* databaseFault) {
        return saveEmployeesOnce(db, source, path, sha256, counts, why, progress, fast, databaseFault, unordered);
    });
}

bool saveHistory(const db::Database& db, const RowSource& source, const QString& path, const QString& sha256,
    TableCounts* counts, QString* error, const Progress& progress, bool* unordered)
{
    return saveWithReplay(db, error, unordered, [&](bool fast, QString* why, bool* databaseFault) {
        return saveHistoryOnce(db, source, path, sha256, counts, why, progress, fast, databaseFault, unordered);
    });
}

bool saveEmployeeGrids(const db::Database& db, const EmployeeWorkbook& book, EmployeeSaveCounts* counts,
    QString* error, const Progress& progress)
{
    bool unordered = false;
    return saveEmployees(db, gridSource({&book.employees, &book.reasons, &book.types, &book.departs}, book.sheetNames),
        book.sourcePath, book.sourceSha256, counts, error, progress, &unordered);
}

bool saveHistoryGrid(
    const db::Database& db, const HistoryWorkbook& book, TableCounts* counts, QString* error, const Progress& progress)
{
    bool unordered = false;
    return saveHistory(db, gridSource({&book.periods}, {book.sheetName}), book.sourcePath, book.sourceSha256, counts,
        error, progress, &unordered);
}

} // namespace

bool saveEmployeeWorkbook(const db::Database& db, const EmployeeWorkbook& book, EmployeeSaveCounts* counts,
    QString* error, const Progress& progress)
{
    if (!rights::allowed(db, rights::Action::ImportEmployees, error))
        return false;
    const crash::ActionInProgress action(QStringLiteral("import-employees ") + book.sourcePath);
    return backup::backupBeforeAction(db, error) && saveEmployeeGrids(db, book, counts, error, progress);
}

bool saveHistoryWorkbook(
    const db::Database& db, const HistoryWorkbook& book, TableCounts* counts, QString* error, const Progress& progress)
{
    if (!rights::allowed(db, rights::Action::ImportHistory, error))
        return false;
    const crash::ActionInProgress action(QStringLiteral("import-history ") + book.sourcePath);
    return backup::backupBeforeAction(db, error) && saveHistoryGrid(db, book, counts, error, progress);
}

bool importEmployeeWorkbook(const db::Database& db, const QString& path, EmployeeSaveCounts* counts, QString* error)
{
    if (!rights::allowed(db, rights::Action::ImportEmployees, error))
        return false;
    const crash::ActionInProgress action(QStringLiteral("import-employees ") + path);
    if (!backup::backupBeforeAction(db, error))
        return false;
    auto book = openWith(path, 4, error);
    if (!book)
        return false;
    static const SheetShape* const shapes[] = {&kEmployeeShape, &kCodeShape, &kCodeShape, &kCodeShape};
    bool unordered = false;
    if (saveEmployees(
            db, streamSource(*book, shapes, true, error), path, audit::fileSha256(path), counts, error, {}, &unordered))
        return true;
    if (!unordered)
        return false;
    EmployeeWorkbook whole; // rows stored out of order: read each sheet whole
    return loadEmployeeWorkbook(path, &whole, error) && saveEmployeeGrids(db, whole, counts, error, {});
}

bool importHistoryWorkbook(const db::Database& db, const QString& path, TableCounts* counts, QString* error)
{
    if (!rights::allowed(db, rights::Action::ImportHistory, error))
        return false;
    const crash::ActionInProgress action(QStringLiteral("import-history ") + path);
    if (!backup::backupBeforeAction(db, error))
        return false;
    auto book = openWith(path, 1, error);
    if (!book)
        return false;
    static const SheetShape* const shapes[] = {&kPeriodShape};
    bool unordered = false;
    if (saveHistory(db, streamSource(*book, shapes, false, error), path, audit::fileSha256(path), counts, error, {},
            &unordered))
        return true;
    if (!unordered)
        return false;
    HistoryWorkbook whole;
    return loadHistoryWorkbook(path, &whole, error) && saveHistoryGrid(db, whole, counts, error, {});
}

} // namespace velmora::import
