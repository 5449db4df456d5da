// Every guarded action through its own service, as each of the four roles:
// allowed exactly where the office's table of roles allows it; a refusal
// names the role(s) needed and writes nothing but its audit row.

#include "db/AuditLog.h"
#include "db/DemoData.h"
#include "db/Schema.h"
#include "db/Users.h"
#include "rules/Calculation.h"
#include "services/Accounts.h"
#include "services/ApprovalMemo.h"
#include "services/AuditView.h"
#include "services/Backup.h"
#include "services/CalculationChecks.h"
#include "services/CalculationService.h"
#include "services/CancelService.h"
#include "services/ImportJobs.h"
#include "services/MonthEndRun.h"
#include "services/OfficeSettings.h"
#include "services/ReportExports.h"
#include "services/ReportQueries.h"
#include "services/Rights.h"
#include "services/SavedCalculations.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>

#include <functional>

namespace velmora::test {
namespace {

using rights::Action;
using rights::Role;

struct Outcome
{
    bool ok = false;
    QString error;
};

Outcome of(bool ok, const QString& error)
{
    return {ok, error};
}

Outcome of(bool ok, const std::string& error)
{
    return {ok, QString::fromStdString(error)};
}

const QString kPassword = QStringLiteral("pass-word1");
const QString kMonth = QStringLiteral("12/2026");
const QString kWaiting = QStringLiteral("10000001"); // saved by officer1, not checked
const QString kChecked = QStringLiteral("10000002"); // saved by officer1, checked by checker1

// One user per role ("administrator-user" ...), each holding that role only.
QString userOf(Role role)
{
    return rights::roleName(role) + QStringLiteral("-user");
}

void actAs(const QString& user, const QList<Role>& roles)
{
    rights::setLogin({user, roles});
}

void save(TestDatabase& t, const QString& sapid)
{
    calc::Calculation_Input in;
    std::string error;
    ASSERT_TRUE(calc::Load_Calculation_Input(
        t.db(), sapid.toStdString(), kMonth.toStdString(), std::nullopt, std::nullopt, &in, &error))
        << error;
    ASSERT_TRUE(calc::Save_Calculation(t.db(), in, calc::Run_Calculation(in), "09/12/2569", &error)) << error;
}

// The demo data, the four users, one waiting and one checked calculation.
void prepare(TestDatabase& t)
{
    QString error;
    ASSERT_TRUE(db::addDemoData(t.db(), QDate(2026, 12, 9), &error)) << error.toStdString();
    for (Role r : rights::allRoles())
        ASSERT_TRUE(db::addUser(t.db(), userOf(r), kPassword, QString(), QString(), &error, {rights::roleName(r)}))
            << error.toStdString();
    actAs(QStringLiteral("officer1"), {Role::Officer});
    save(t, kWaiting);
    save(t, kChecked);
    actAs(QStringLiteral("checker1"), {Role::Checker});
    int checked = 0;
    ASSERT_TRUE(checks::verifyCalculations(t.db(), {kChecked}, &checked, &error)) << error.toStdString();
}

// Every row of every table but the audit trail, in a fixed order.
QString contents(TestDatabase& t)
{
    QString out;
    for (const QString& table : db::originalTables() + db::addedTables()) {
        if (table.startsWith(QLatin1String("EP_Audit")))
            continue;
        QSqlQuery q = t->query();
        EXPECT_TRUE(q.exec(QStringLiteral("SELECT * FROM ") + table)) << table.toStdString();
        QStringList rows;
        while (q.next()) {
            QStringList cells;
            for (int i = 0; i < q.record().count(); ++i)
                cells << q.value(i).toString();
            rows << cells.join(QLatin1Char('|'));
        }
        rows.sort();
        out += table + QLatin1Char('\n') + rows.join(QLatin1Char('\n')) + QLatin1Char('\n');
    }
    return out;
}

struct ActionCase
{
    const char* name;
    Action action;
    QList<Role> allowed; // the office's table of roles, as the users were promised it
    std::function<Outcome(TestDatabase&, const QString& folder)> run;
};

reports::ReportGrid oneLine(const QString& sapid)
{
    reports::ReportGrid selection;
    selection.titles = reports::selectionTitles();
    selection.rows = {{QStringLiteral("1"), QLatin1Char('\'') + sapid, QStringLiteral("x"), QStringLiteral("1.00")},
        {QString(), QString(), reports::grandTotalCaption(), QStringLiteral("1.00")}};
    return selection;
}

const QList<Role> kReaders = {Role::Officer, Role::Checker, Role::Auditor};

const ActionCase kCases[] = {
    {"ImportEmployees", Action::ImportEmployees, {Role::Officer},
        [](TestDatabase& t, const QString&) {
            import::EmployeeSaveCounts counts;
            QString e;
            const bool ok = import::importEmployeeWorkbook(
                t.db(), QStringLiteral(VELMORA_FIXTURES "/employees_openpyxl.xlsx"), &counts, &e);
            return of(ok, e);
        }},
    {"ImportHistory", Action::ImportHistory, {Role::Officer},
        [](TestDatabase& t, const QString&) {
            import::TableCounts counts;
            QString e;
            const bool ok = import::importHistoryWorkbook(
                t.db(), QStringLiteral(VELMORA_FIXTURES "/history_openpyxl.xlsx"), &counts, &e);
            return of(ok, e);
        }},
    {"Calculate", Action::Calculate, {Role::Officer},
        [](TestDatabase& t, const QString&) {
            calc::Calculation_Input in;
            std::string e;
            return of(
                calc::Load_Calculation_Input(t.db(), "10000003", "12/2026", std::nullopt, std::nullopt, &in, &e), e);
        }},
    {"SaveCalculation", Action::SaveCalculation, {Role::Officer},
        [](TestDatabase& t, const QString&) {
            calc::Calculation_Input in;
            std::string e;
            if (!calc::Gather_Calculation_Input(t.db(), "10000003", "12/2026", std::nullopt, std::nullopt, &in, &e))
                return of(false, e);
            return of(calc::Save_Calculation(t.db(), in, calc::Run_Calculation(in), "09/12/2569", &e), e);
        }},
    {"PreviewRun", Action::PreviewRun, {Role::Officer},
        [](TestDatabase& t, const QString&) {
            run::Run_Choice choice;
            choice.request_month = "12/2026";
            choice.ends_month = "12/2026";
            run::Run_Preview preview;
            std::string e;
            return of(run::Preview_Run(t.db(), choice, &preview, &e), e);
        }},
    {"CancelUnchecked", Action::CancelUnchecked, {Role::Officer},
        [](TestDatabase& t, const QString&) {
            std::string e;
            return of(calc::Cancel_Calculation(t.db(), kWaiting.toStdString(), false, &e), e);
        }},
    {"CancelChecked", Action::CancelChecked, {Role::Checker},
        [](TestDatabase& t, const QString&) {
            std::string e;
            return of(calc::Cancel_Calculation(t.db(), kChecked.toStdString(), false, &e), e);
        }},
    {"CheckCalculation", Action::CheckCalculation, {Role::Checker},
        [](TestDatabase& t, const QString&) {
            int checked = 0;
            QString e;
            return of(checks::verifyCalculations(t.db(), {kWaiting}, &checked, &e), e);
        }},
    {"ReturnCalculation", Action::ReturnCalculation, {Role::Checker},
        [](TestDatabase& t, const QString&) {
            QString e;
            return of(checks::returnCalculations(t.db(), {kWaiting}, QStringLiteral("เงินเดือนผิด"), &e), e);
        }},
    {"PrintMemo", Action::PrintMemo, {Role::Checker},
        [](TestDatabase& t, const QString&) {
            const reports::ApprovalMemo memo = reports::prepareApprovalMemo(t.db(), oneLine(kChecked), std::nullopt);
            return of(memo.ok, memo.error);
        }},
    {"Report", Action::Report, kReaders,
        [](TestDatabase& t, const QString&) {
            const reports::ReportResult r = reports::queryContractEnd(t.db(), {});
            return of(r.ok, r.error);
        }},
    {"Export", Action::Export, kReaders,
        [](TestDatabase& t, const QString& folder) {
            QString e;
            reports::ReportGrid grid;
            grid.titles = {QStringLiteral("a")};
            const QString path = reports::exportReport(
                &t.db(), grid, reports::contractEndExport(), {}, {QString(), folder, QDateTime::currentDateTime()}, &e);
            return of(!path.isEmpty(), e);
        }},
    {"PrintPage", Action::PrintPage, kReaders,
        [](TestDatabase& t, const QString&) {
            print::AnnexDocument d;
            QString e;
            return of(print::readAnnexDocument(t.db(), kChecked, &d, &e), e);
        }},
    {"ReadAuditTrail", Action::ReadAuditTrail, {Role::Administrator, Role::Auditor},
        [](TestDatabase& t, const QString&) {
            std::vector<audit::Entry> entries;
            QString e;
            return of(audit::listAuditTrail(t.db(), {}, false, &entries, &e), e);
        }},
    {"VerifyAuditTrail", Action::VerifyAuditTrail, {Role::Administrator, Role::Auditor},
        [](TestDatabase& t, const QString&) {
            const audit::VerifyResult r = audit::verifyAuditTrail(t.db());
            return of(r.ok, r.problem);
        }},
    {"ListUsers", Action::ListUsers, {Role::Administrator, Role::Auditor},
        [](TestDatabase& t, const QString&) {
            std::vector<accounts::Account> list;
            QString e;
            return of(accounts::listAccounts(t.db(), &list, &e), e);
        }},
    {"ManageUsers", Action::ManageUsers, {Role::Administrator},
        [](TestDatabase& t, const QString&) {
            QString e;
            return of(accounts::addAccount(
                          t.db(), QStringLiteral("somsak"), QStringLiteral("สมศักดิ์ ดี"), {Role::Officer}, kPassword, &e),
                e);
        }},
    {"OrganisationSettings", Action::OrganisationSettings, {Role::Administrator},
        [](TestDatabase& t, const QString& folder) {
            QString e;
            const bool ok = office::recordOrganisationChange(
                t.db(), {},
                [&](QString*) { return QFile(folder + QStringLiteral("/changed")).open(QIODevice::WriteOnly); }, &e);
            return of(ok, e);
        }},
    {"FourEyesSetting", Action::FourEyesSetting, {Role::Administrator},
        [](TestDatabase& t, const QString&) {
            QString e;
            return of(office::setFourEyesRequired(t.db(), false, &e), e);
        }},
    {"Backup", Action::Backup, {Role::Administrator, Role::Officer},
        [](TestDatabase& t, const QString& folder) {
            static int made = 0;
            const backup::BackupReport r = backup::backupDatabase(
                t.db(), folder + QStringLiteral("/backup-%1.sqlite").arg(++made), backup::Check::Quick);
            return of(r.ok, r.error);
        }},
    // the restore replaces the database's file, which this test holds open:
    // its right is asked as the command asks it, before anything is read
    {"Restore", Action::Restore, {Role::Administrator},
        [](TestDatabase& t, const QString&) {
            QString e;
            return of(rights::allowed(t.db(), Action::Restore, &e), e);
        }},
    {"CopyDatabase", Action::CopyDatabase, {Role::Administrator},
        [](TestDatabase& t, const QString& folder) {
            static int made = 0;
            const backup::CopyReport r = backup::copyDatabase(
                t.db(), QStringLiteral("sqlite:") + folder + QStringLiteral("/copy-%1.sqlite").arg(++made));
            return of(r.ok, r.error);
        }},
    {"ChangeOwnPassword", Action::ChangeOwnPassword, rights::allRoles(),
        [](TestDatabase& t, const QString&) {
            const db::PasswordChangeResult r = accounts::changeOwnPassword(
                t.db(), kPassword, QStringLiteral("new-pass-1"), QStringLiteral("new-pass-1"));
            return of(r.status == db::PasswordChangeResult::Changed, r.error);
        }},
};

class Rights_Matrix : public ::testing::TestWithParam<ActionCase>
{
protected:
    void TearDown() override { rights::setLogin({QStringLiteral("tester"), rights::allRoles()}); }
};

TEST_P(Rights_Matrix, EachRoleAllowedOrRefusedWithNothingWritten)
{
    const ActionCase& c = GetParam();
    TestDatabase t;
    prepare(t);
    QTemporaryDir folder;
    // the refused roles first: each must leave the database as it was
    QList<Role> order;
    for (Role r : rights::allRoles())
        if (!c.allowed.contains(r))
            order << r;
    order << c.allowed;
    for (Role r : order) {
        const bool expected = c.allowed.contains(r);
        actAs(userOf(r), {r});
        const QString before = contents(t);
        const auto rowsBefore = t.scalar(QStringLiteral("SELECT COUNT(*) FROM EP_Audit_Log")).toInt();
        const Outcome o = c.run(t, folder.path());
        const QString role = rights::roleName(r);
        if (expected) {
            EXPECT_TRUE(o.ok) << c.name << " as " << role.toStdString() << ": " << o.error.toStdString();
            EXPECT_EQ(t.scalar(QStringLiteral("SELECT COUNT(*) FROM EP_Audit_Log WHERE Event_Kind = ?"),
                           {QLatin1String(audit::kind::kActionRefused)})
                          .toInt(),
                int(rights::allRoles().size() - c.allowed.size()))
                << c.name << " as " << role.toStdString() << " was refused";
            continue;
        }
        EXPECT_FALSE(o.ok) << c.name << " as " << role.toStdString();
        EXPECT_EQ(o.error, rights::refusalMessage(c.action)) << c.name << " as " << role.toStdString();
        for (Role needed : c.allowed)
            EXPECT_TRUE(o.error.contains(rights::roleTitle(needed))) << o.error.toStdString();
        EXPECT_EQ(contents(t), before) << c.name << " as " << role.toStdString() << " wrote";
        EXPECT_TRUE(QDir(folder.path()).isEmpty()) << c.name << " as " << role.toStdString() << " wrote a file";
        // one row more: the refusal, naming the action and the user
        std::vector<audit::Entry> rows;
        QString error;
        ASSERT_TRUE(audit::listEntries(t.db(), {}, true, &rows, &error)) << error.toStdString();
        ASSERT_EQ(int(rows.size()), rowsBefore + 1) << c.name << " as " << role.toStdString();
        EXPECT_EQ(rows.front().kind, QLatin1String(audit::kind::kActionRefused));
        EXPECT_EQ(rows.front().user, userOf(r));
        EXPECT_TRUE(rows.front().details.contains(rights::actionName(c.action))) << rows.front().details.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Actions, Rights_Matrix, ::testing::ValuesIn(kCases),
    [](const ::testing::TestParamInfo<ActionCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace velmora::test
