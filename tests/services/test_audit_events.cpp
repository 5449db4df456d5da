// Each money-changing action leaves its audit-log row in its own transaction:
// the row is there when the change is, and neither is when either fails.

#include "CalcTestData.h"

#include "db/AuditLog.h"
#include "db/Users.h"
#include "rules/AmountText.h"
#include "rules/CalculationJson.h"
#include "services/AuditEvents.h"
#include "services/AuditView.h"
#include "services/CalculationService.h"
#include "services/CancelService.h"
#include "services/FundSource.h"
#include "services/ImportJobs.h"
#include "services/ReportExports.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

using namespace velmora;
using namespace velmora::calc;
using velmora::test::TestDatabase;

namespace {

const audit::Actor kOfficer {QStringLiteral("finance01"), QStringLiteral("velmora"), QStringLiteral("10.1.2.3")};

class Audit_Events : public testing::Test
{
protected:
    void SetUp() override { audit::setActor(kOfficer); }
    void TearDown() override { audit::setActor({}); }
};

std::vector<audit::Entry> Rows(TestDatabase& t, const QString& kind = {})
{
    audit::Filter f;
    f.kind = kind;
    std::vector<audit::Entry> rows;
    QString error;
    EXPECT_TRUE(audit::listEntries(t.db(), f, false, &rows, &error)) << error.toStdString();
    return rows;
}

QJsonObject Details(const audit::Entry& e)
{
    return QJsonDocument::fromJson(e.details.toUtf8()).object();
}

QString Fixture(const char* name)
{
    return QStringLiteral(VELMORA_FIXTURES "/") + QLatin1String(name);
}

struct Saved
{
    Calculation_Input input;
    Calculation calculation;
};

// The worked example with two earlier payments, calculated and saved.
Saved Save_Worked_Example(TestDatabase& t, std::string* error)
{
    test::Add_Worked_Example(t);
    const QString ssn = QStringLiteral("3100100000011");
    test::Add_Saved(t, QStringLiteral("09000001"), ssn, QStringLiteral("12/2010"), 1, 0, 0, 3, 10000);
    test::Add_Saved(t, QStringLiteral("09000002"), ssn, QStringLiteral("03/2011"), 1, 2, 3, 3, 12000);
    Saved s;
    if (!Load_Calculation_Input(t.db(), "10000001", "10/2012", std::nullopt, std::nullopt, &s.input, error))
        return s;
    s.calculation = Run_Calculation(s.input);
    if (!Save_Calculation(t.db(), s.input, s.calculation, "09/12/2569", error))
        s.calculation.error = *error;
    return s;
}

} // namespace

TEST_F(Audit_Events, CalculationSavedKeepsTheKeyFiguresAndTheActor)
{
    TestDatabase t;
    std::string error;
    const Saved s = Save_Worked_Example(t, &error);
    ASSERT_TRUE(s.calculation.ok()) << error;
    const auto rows = Rows(t, QStringLiteral("calculation-saved"));
    ASSERT_EQ(rows.size(), 1u);
    const audit::Entry& e = rows[0];
    EXPECT_EQ(e.user, kOfficer.user);
    EXPECT_EQ(e.machine, kOfficer.machine);
    EXPECT_EQ(e.sapid, QStringLiteral("10000001"));
    const QJsonObject d = Details(e);
    const QJsonObject shown =
        QJsonDocument::fromJson(QByteArray::fromStdString(Calculation_Json(s.input, s.calculation))).object();
    EXPECT_EQ(d, shown);
    EXPECT_EQ(d.value(QStringLiteral("net")).toString(), QString::fromStdString(s.calculation.money.net_text));
    EXPECT_EQ(d.value(QStringLiteral("request_month")).toString(), QStringLiteral("10/2012"));
    // The viewer's reading of it names the net in Thai.
    EXPECT_TRUE(audit::readableDetails(e).contains(
        QStringLiteral("สุทธิ: ") + QString::fromStdString(s.calculation.money.net_text) + QStringLiteral(" บาท")));
    EXPECT_TRUE(audit::verifyAuditLog(t.db()).ok);
}

struct Cancel_Case
{
    const char* name;
    bool with_history;
};

class Audit_Cancel : public testing::TestWithParam<Cancel_Case>
{
protected:
    void SetUp() override { audit::setActor(kOfficer); }
    void TearDown() override { audit::setActor({}); }
};

// The cancel's row holds every figure of the deleted rows: the calculation as
// `calc --json` showed it before the cancel can be read back from it.
TEST_P(Audit_Cancel, RowRebuildsTheDeletedCalculation)
{
    TestDatabase t;
    std::string error;
    const Saved s = Save_Worked_Example(t, &error);
    ASSERT_TRUE(s.calculation.ok()) << error;
    const QJsonObject before =
        QJsonDocument::fromJson(QByteArray::fromStdString(Calculation_Json(s.input, s.calculation))).object();
    ASSERT_TRUE(Cancel_Calculation(t.db(), "10000001", GetParam().with_history, &error)) << error;

    const auto rows = Rows(t, QStringLiteral("calculation-cancelled"));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].sapid, QStringLiteral("10000001"));
    const QJsonObject d = Details(rows[0]);
    const QJsonArray summary = d.value(QStringLiteral("summary")).toArray();
    ASSERT_EQ(summary.size(), 1);
    const QJsonObject sum = summary.at(0).toObject();
    auto money = [](const QJsonValue& v) { return QString::fromStdString(Amount_Text(v.toDouble())); };
    const QJsonObject span = before.value(QStringLiteral("span")).toObject();
    EXPECT_EQ(sum.value(QStringLiteral("MMYYYY_Recieve")).toString(),
        before.value(QStringLiteral("request_month")).toString());
    EXPECT_EQ(sum.value(QStringLiteral("Date_Beg_Cal")).toString(), span.value(QStringLiteral("start")).toString());
    EXPECT_EQ(sum.value(QStringLiteral("Date_End_Cal")).toString(), span.value(QStringLiteral("end")).toString());
    EXPECT_EQ(sum.value(QStringLiteral("N_T")).toInt(), before.value(QStringLiteral("multiplier")).toInt());
    EXPECT_EQ(money(sum.value(QStringLiteral("Last_Salary"))), before.value(QStringLiteral("salary")).toString());
    EXPECT_EQ(
        money(sum.value(QStringLiteral("His_Rec_Money"))), before.value(QStringLiteral("paid_earlier")).toString());
    EXPECT_EQ(money(sum.value(QStringLiteral("Net_Money_Recieve"))), before.value(QStringLiteral("net")).toString());
    const QJsonObject current =
        before.value(QStringLiteral("service")).toObject().value(QStringLiteral("current")).toObject();
    EXPECT_EQ(sum.value(QStringLiteral("No_Year")).toInt(), current.value(QStringLiteral("years")).toInt());
    EXPECT_EQ(sum.value(QStringLiteral("No_Month")).toInt(), current.value(QStringLiteral("months")).toInt());
    EXPECT_EQ(sum.value(QStringLiteral("No_Day")).toInt(), current.value(QStringLiteral("days")).toInt());
    const QJsonObject split = before.value(QStringLiteral("split")).toObject();
    EXPECT_EQ(sum.value(QStringLiteral("Fact_No_Date")).toInt(),
        split.value(QStringLiteral("department")).toObject().value(QStringLiteral("days")).toInt());
    EXPECT_EQ(sum.value(QStringLiteral("KV_No_Date")).toInt(),
        split.value(QStringLiteral("university")).toObject().value(QStringLiteral("days")).toInt());

    // One detail row per period of the calculation, same days and weights.
    const QJsonArray periods = before.value(QStringLiteral("periods")).toArray();
    const QJsonArray details = d.value(QStringLiteral("details")).toArray();
    ASSERT_EQ(details.size(), periods.size());
    for (qsizetype i = 0; i < periods.size(); ++i) {
        const QJsonObject p = periods.at(i).toObject();
        bool found = false;
        for (const QJsonValue& v : details) {
            const QJsonObject r = v.toObject();
            if (r.value(QStringLiteral("Date_B_cal")).toString() == p.value(QStringLiteral("calc_begin")).toString()) {
                found = true;
                EXPECT_EQ(r.value(QStringLiteral("Date_E_Cal")).toString(), p.value(QStringLiteral("end")).toString());
                EXPECT_EQ(r.value(QStringLiteral("Sum_Day")).toInt(), p.value(QStringLiteral("total_days")).toInt());
                EXPECT_EQ(
                    r.value(QStringLiteral("Sum_Month")).toInt(), p.value(QStringLiteral("whole_months")).toInt());
                EXPECT_EQ(QString::number(r.value(QStringLiteral("Sum_Month_Weight")).toDouble(), 'f', 2),
                    p.value(QStringLiteral("weight")).toString());
            }
        }
        EXPECT_TRUE(found) << "period " << i;
    }
    // The earlier payments in their order with their nets.
    const QJsonArray earlierBefore = before.value(QStringLiteral("earlier")).toArray();
    const QJsonArray earlier = d.value(QStringLiteral("earlier")).toArray();
    ASSERT_EQ(earlier.size(), earlierBefore.size());
    ASSERT_EQ(earlier.size(), 2);
    for (qsizetype i = 0; i < earlier.size(); ++i) {
        EXPECT_EQ(earlier.at(i).toObject().value(QStringLiteral("SapID")).toString(),
            earlierBefore.at(i).toObject().value(QStringLiteral("sapid")).toString());
        EXPECT_EQ(money(earlier.at(i).toObject().value(QStringLiteral("Net_Money_Recieve"))),
            earlierBefore.at(i).toObject().value(QStringLiteral("net")).toString());
    }
    EXPECT_EQ(d.value(QStringLiteral("history_removed")).toBool(), GetParam().with_history);
    EXPECT_EQ(d.value(QStringLiteral("removed_periods")).toArray().size(), GetParam().with_history ? 2 : 0);
    EXPECT_TRUE(audit::verifyAuditLog(t.db()).ok);
}

INSTANTIATE_TEST_SUITE_P(Cancel, Audit_Cancel,
    testing::Values(Cancel_Case {"PeriodsKept", false}, Cancel_Case {"PeriodsRemoved", true}),
    [](const testing::TestParamInfo<Cancel_Case>& info) { return std::string(info.param.name); });

// Without the log table a change cannot be made: the save and the cancel fail
// with the Thai message and leave the data as it was.
TEST_F(Audit_Events, NoLogRowNoChange)
{
    TestDatabase t;
    std::string error;
    ASSERT_TRUE(Save_Worked_Example(t, &error).calculation.ok()) << error;
    t.exec(QStringLiteral("DROP TABLE EP_Audit_Log"));

    EXPECT_FALSE(Cancel_Calculation(t.db(), "10000001", true, &error));
    EXPECT_NE(error.find("บันทึกประวัติการใช้งาน"), std::string::npos) << error;
    EXPECT_EQ(
        test::Count(t, QStringLiteral("EP_mRec_Money_Chodchoy"), QStringLiteral("SapID"), QStringLiteral("10000001")),
        1);
    EXPECT_EQ(test::Count(t, QStringLiteral("EP_Work_Histry"), QStringLiteral("SapID"), QStringLiteral("10000001")), 2);

    test::Test_Employee other;
    other.sapid = QStringLiteral("10000009");
    other.ssn = QStringLiteral("3100100000099");
    test::Add_Employee(t, other);
    test::Add_Period(
        t, other.sapid, other.ssn, QStringLiteral("2"), QStringLiteral("01/10/2551"), QStringLiteral("30/09/2555"));
    Calculation_Input in;
    ASSERT_TRUE(Load_Calculation_Input(t.db(), "10000009", "10/2012", std::nullopt, std::nullopt, &in, &error))
        << error;
    error.clear();
    EXPECT_FALSE(Save_Calculation(t.db(), in, Run_Calculation(in), "09/12/2569", &error));
    EXPECT_NE(error.find("บันทึกประวัติการใช้งาน"), std::string::npos) << error;
    EXPECT_EQ(test::Count(t, QStringLiteral("EP_mRec_Money_Chodchoy"), QStringLiteral("SapID"), other.sapid), 0);
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT Emp_RecMChod_Status FROM EP_Emp_Main WHERE SapID = ?"), {other.sapid})
                  .toString(),
        QStringLiteral("A"));
}

TEST_F(Audit_Events, EmployeeImportNamesFileHashCountsAndChangedColumns)
{
    TestDatabase t;
    import::EmployeeWorkbook book;
    QString error;
    ASSERT_TRUE(import::loadEmployeeWorkbook(Fixture("employees_openpyxl.xlsx"), &book, &error)) << error.toStdString();
    QFile f(Fixture("employees_openpyxl.xlsx"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString sha = QString::fromLatin1(QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256).toHex());

    import::EmployeeSaveCounts counts;
    ASSERT_TRUE(import::saveEmployeeWorkbook(t.db(), book, &counts, &error)) << error.toStdString();
    // The second workbook renames one employee and raises another's salary.
    book.employees[0][4] = QStringLiteral("สมชาย 'ใหม่'");
    book.employees[3][11] = QStringLiteral("18,000.00");
    ASSERT_TRUE(import::saveEmployeeWorkbook(t.db(), book, &counts, &error)) << error.toStdString();

    const auto rows = Rows(t, QStringLiteral("import-employees"));
    ASSERT_EQ(rows.size(), 2u);
    const QJsonObject first = Details(rows[0]);
    EXPECT_EQ(first.value(QStringLiteral("file")).toString(), QStringLiteral("employees_openpyxl.xlsx"));
    EXPECT_EQ(first.value(QStringLiteral("sha256")).toString(), sha);
    EXPECT_EQ(first.value(QStringLiteral("changed")).toArray().size(), 0);
    const QJsonObject firstCounts =
        first.value(QStringLiteral("counts")).toObject().value(QStringLiteral("employees")).toObject();
    EXPECT_EQ(firstCounts.value(QStringLiteral("inserted")).toInt(), 4);
    EXPECT_EQ(firstCounts.value(QStringLiteral("skipped")).toInt(), 1);

    const QJsonObject second = Details(rows[1]);
    EXPECT_EQ(second.value(QStringLiteral("counts"))
                  .toObject()
                  .value(QStringLiteral("employees"))
                  .toObject()
                  .value(QStringLiteral("updated")),
        2); // the other two are unchanged and left alone
    const QJsonArray changed = second.value(QStringLiteral("changed")).toArray();
    ASSERT_EQ(changed.size(), 2);
    const QJsonObject renamed = changed.at(0).toObject();
    EXPECT_EQ(renamed.value(QStringLiteral("sapid")).toString(), QStringLiteral("10000001"));
    const QJsonObject nameChange =
        renamed.value(QStringLiteral("changes")).toObject().value(QStringLiteral("F_Name")).toObject();
    EXPECT_EQ(nameChange.value(QStringLiteral("old")).toString(), QStringLiteral("สมชาย"));
    EXPECT_EQ(nameChange.value(QStringLiteral("new")).toString(), QStringLiteral("สมชาย 'ใหม่'"));
    EXPECT_EQ(renamed.value(QStringLiteral("changes")).toObject().size(), 1);
    const QJsonObject raised = changed.at(1).toObject();
    EXPECT_EQ(raised.value(QStringLiteral("sapid")).toString(), QStringLiteral("10000004"));
    const QJsonObject salary =
        raised.value(QStringLiteral("changes")).toObject().value(QStringLiteral("Money_Rate")).toObject();
    EXPECT_EQ(salary.value(QStringLiteral("old")).toString().toDouble(), 17500.5);
    EXPECT_EQ(salary.value(QStringLiteral("new")).toString().toDouble(), 18000.0);
    EXPECT_TRUE(audit::readableDetails(rows[1]).contains(QStringLiteral("จาก \"สมชาย\" เป็น \"สมชาย 'ใหม่'\"")));

    // A save that fails part-way leaves neither the change nor a row.
    book.employees[2][11] = QStringLiteral("not a number");
    book.employees[0][4] = QStringLiteral("ไม่ควรถูกบันทึก");
    EXPECT_FALSE(import::saveEmployeeWorkbook(t.db(), book, &counts, &error));
    EXPECT_EQ(Rows(t, QStringLiteral("import-employees")).size(), 2u);
    EXPECT_TRUE(audit::verifyAuditLog(t.db()).ok);
}

TEST_F(Audit_Events, HistoryImportIsRecorded)
{
    TestDatabase t;
    import::HistoryWorkbook book;
    QString error;
    ASSERT_TRUE(import::loadHistoryWorkbook(Fixture("history_openpyxl.xlsx"), &book, &error)) << error.toStdString();
    import::TableCounts counts;
    ASSERT_TRUE(import::saveHistoryWorkbook(t.db(), book, &counts, &error)) << error.toStdString();
    const auto rows = Rows(t, QStringLiteral("import-history"));
    ASSERT_EQ(rows.size(), 1u);
    const QJsonObject periods =
        Details(rows[0]).value(QStringLiteral("counts")).toObject().value(QStringLiteral("periods")).toObject();
    EXPECT_EQ(periods.value(QStringLiteral("inserted")).toInt(), counts.inserted);
    EXPECT_EQ(Details(rows[0]).value(QStringLiteral("sha256")).toString().size(), 64);
}

TEST_F(Audit_Events, LoginsAndPasswordChangeNeverHoldThePassword)
{
    TestDatabase t;
    QString error;
    ASSERT_TRUE(db::addUser(t.db(), QStringLiteral("somsri"), QStringLiteral("S3cret!pw"), QStringLiteral("สมศรี"),
        QStringLiteral("ดี"), &error));
    EXPECT_EQ(
        db::checkLogin(t.db(), QStringLiteral("somsri"), QStringLiteral("S3cret!pw")).status, db::LoginResult::Ok);
    EXPECT_EQ(db::checkLogin(t.db(), QStringLiteral("somsri"), QStringLiteral("wrong-guess")).status,
        db::LoginResult::WrongPassword);
    EXPECT_EQ(
        db::checkLogin(t.db(), QStringLiteral("nobody"), QStringLiteral("x")).status, db::LoginResult::NoSuchUser);
    EXPECT_EQ(db::changePassword(t.db(), QStringLiteral("somsri"), QStringLiteral("S3cret!pw"),
                  QStringLiteral("N3w!pw"), QStringLiteral("N3w!pw"))
                  .status,
        db::PasswordChangeResult::Changed);
    const auto rows = Rows(t);
    ASSERT_EQ(rows.size(), 4u);
    const QStringList kinds = {QStringLiteral("login"), QStringLiteral("login-refused"),
        QStringLiteral("login-refused"), QStringLiteral("password-changed")};
    const QStringList users = {
        QStringLiteral("somsri"), QStringLiteral("somsri"), QStringLiteral("nobody"), kOfficer.user};
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].kind, kinds[int(i)]);
        EXPECT_EQ(rows[i].user, users[int(i)]);
        for (const char* secret : {"S3cret", "wrong-guess", "N3w!pw"})
            EXPECT_FALSE(rows[i].details.contains(QLatin1String(secret))) << rows[i].details.toStdString();
    }
    EXPECT_EQ(Details(rows[1]).value(QStringLiteral("reason")).toString(), QStringLiteral("wrong-password"));

    // A password change whose row cannot be written does not happen.
    t.exec(QStringLiteral("DROP TABLE EP_Audit_Log"));
    EXPECT_EQ(db::changePassword(t.db(), QStringLiteral("somsri"), QStringLiteral("N3w!pw"), QStringLiteral("other"),
                  QStringLiteral("other"))
                  .status,
        db::PasswordChangeResult::Error);
    EXPECT_EQ(db::checkLogin(t.db(), QStringLiteral("somsri"), QStringLiteral("other")).status,
        db::LoginResult::WrongPassword);
}

TEST_F(Audit_Events, MemoMarkingAndExportAreRecorded)
{
    TestDatabase t;
    std::string error;
    ASSERT_TRUE(Save_Worked_Example(t, &error).calculation.ok()) << error;
    QString message;
    const QJsonObject memo {{QStringLiteral("amount"), QStringLiteral("1,234.00")},
        {QStringLiteral("department"), QStringLiteral("คณะวิทยาศาสตร์")},
        {QStringLiteral("routing"), QStringLiteral("faculty")}};
    ASSERT_TRUE(reports::markMemoPrinted(t.db(), {QStringLiteral("10000001")}, &message, memo))
        << message.toStdString();
    auto rows = Rows(t, QStringLiteral("memo-printed"));
    ASSERT_EQ(rows.size(), 1u);
    const QJsonObject d = Details(rows[0]);
    EXPECT_EQ(d.value(QStringLiteral("sapids")).toArray(), QJsonArray {QStringLiteral("10000001")});
    EXPECT_EQ(d.value(QStringLiteral("department")).toString(), QStringLiteral("คณะวิทยาศาสตร์"));
    EXPECT_EQ(d.value(QStringLiteral("amount")).toString(), QStringLiteral("1,234.00"));

    QTemporaryDir dir;
    reports::ReportGrid grid;
    grid.titles = {QStringLiteral("No."), QStringLiteral("SAP ID")};
    grid.rows = {{QStringLiteral("1"), QStringLiteral("'10000001")}};
    const QString out = dir.filePath(QStringLiteral("report.xlsx"));
    const QString written = reports::exportReport(&t.db(), grid, reports::contractEndExport(),
        QJsonObject {{QStringLiteral("department"), QStringLiteral("11")}}, {out, QString(), QDateTime()}, &message);
    ASSERT_EQ(written, out) << message.toStdString();
    rows = Rows(t, QStringLiteral("report-exported"));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(Details(rows[0]).value(QStringLiteral("file")).toString(), out);
    EXPECT_EQ(Details(rows[0]).value(QStringLiteral("rows")).toInt(), 1);

    // Without the log the file is not left behind, and nothing is marked.
    t.exec(QStringLiteral("DROP TABLE EP_Audit_Log"));
    const QString second = dir.filePath(QStringLiteral("second.xlsx"));
    EXPECT_TRUE(reports::exportReport(
        &t.db(), grid, reports::contractEndExport(), {}, {second, QString(), QDateTime()}, &message)
                    .isEmpty());
    EXPECT_FALSE(QFile::exists(second));
    t.exec(QStringLiteral("UPDATE EP_mRec_Money_Chodchoy SET Is_Print_doc = NULL"));
    EXPECT_FALSE(reports::markMemoPrinted(t.db(), {QStringLiteral("10000001")}, &message, memo));
    EXPECT_TRUE(t.scalar(QStringLiteral("SELECT Is_Print_doc FROM EP_mRec_Money_Chodchoy WHERE SapID = ?"),
                     {QStringLiteral("10000001")})
                    .toString()
                    .isEmpty());
}

// What an import's row says when the same key is written more than once in
// one import: each column keeps its first old value and its last new one; a
// column changed and changed back is not named; a row left as it was is not
// listed; keys are listed in order, whatever order they were written in.
struct NoteCase
{
    const char* name;
    std::vector<std::tuple<QString, QStringList, QStringList>> notes; // key, old, new
    const char* expected; // the JSON array
};

class Audit_ImportChanges : public testing::TestWithParam<NoteCase>
{
};

TEST_P(Audit_ImportChanges, FirstOldLastNew)
{
    audit::ImportChanges changes({QStringLiteral("SapID")}, {QStringLiteral("Surname"), QStringLiteral("Money_Rate")});
    for (const auto& [key, old, now] : GetParam().notes)
        changes.note({key}, old, now);
    EXPECT_EQ(changes.rowsJson().toStdString(), GetParam().expected);
    // the JSON reads back
    QJsonParseError error;
    QJsonDocument::fromJson(changes.rowsJson(), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError);
}

INSTANTIATE_TEST_SUITE_P(Notes, Audit_ImportChanges,
    testing::Values(
        NoteCase {"Nothing", {}, "[]"},
        NoteCase {"Unchanged", {{"2", {"นาย", "1.00"}, {"นาย", "1.00"}}}, "[]"},
        NoteCase {"OneColumn", {{"2", {"นาย", "1.00"}, {"นาย", "2.00"}}},
            R"([{"changes":{"Money_Rate":{"new":"2.00","old":"1.00"}},"sapid":"2"}])"},
        NoteCase {"SortedByKeyAndColumnName",
            {{"2", {"นาย", "1.00"}, {"นาง", "2.00"}}, {"1", {"a\"b", "1.00"}, {"c\\d", "1.00"}}},
            R"([{"changes":{"Surname":{"new":"c\\d","old":"a\"b"}},"sapid":"1"},)"
            R"({"changes":{"Money_Rate":{"new":"2.00","old":"1.00"},"Surname":{"new":"นาง","old":"นาย"}},"sapid":"2"}])"},
        NoteCase {"WrittenTwiceFirstOldLastNew",
            {{"7", {"นาย", "1.00"}, {"นาย", "2.00"}}, {"7", {"นาย", "2.00"}, {"นาง", "3.00"}}},
            R"([{"changes":{"Money_Rate":{"new":"3.00","old":"1.00"},"Surname":{"new":"นาง","old":"นาย"}},"sapid":"7"}])"},
        NoteCase {"UnchangedThenChanged", {{"7", {"นาย", "1.00"}, {"นาย", "1.00"}}, {"7", {"นาย", "1.00"}, {"นาย", "5.00"}}},
            R"([{"changes":{"Money_Rate":{"new":"5.00","old":"1.00"}},"sapid":"7"}])"},
        NoteCase {"ChangedBack", {{"7", {"นาย", "1.00"}, {"นาง", "2.00"}}, {"7", {"นาง", "2.00"}, {"นาย", "2.00"}}},
            R"([{"changes":{"Money_Rate":{"new":"2.00","old":"1.00"}},"sapid":"7"}])"},
        NoteCase {"AllChangedBack", {{"7", {"นาย", "1.00"}, {"นาง", "2.00"}}, {"7", {"นาง", "2.00"}, {"นาย", "1.00"}}},
            "[]"}),
    [](const testing::TestParamInfo<NoteCase>& info) { return std::string(info.param.name); });
