#include "OutlookData.h"

#include "db/AuditLog.h"
#include "rules/AmountText.h"
#include "rules/Calculation.h"
#include "rules/CalculationJson.h"
#include "services/CalculationService.h"
#include "services/OutlookService.h"
#include "services/ReportQueries.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <map>
#include <tuple>

using namespace velmora;
using namespace velmora::outlook;
using namespace velmora::test;

namespace {

const QString sci = QStringLiteral("คณะวิทยาศาสตร์");
const QString office = QStringLiteral("สำนักงานอธิการบดี");
const QString uniType = QStringLiteral("พนักงานมหาวิทยาลัย");
const QString depType = QStringLiteral("พนักงานส่วนงาน");

// Contract ends around the worked example; the outlook runs 09/2012 to 08/2013.
class ContractEndOutlook : public ::testing::Test
{
protected:
    ContractEndOutlook() { Add_Contract_End_Outlook(t); }

    Outlook_Result Run(Outlook_Grouping by, std::optional<QString> department = std::nullopt)
    {
        Outlook_Criteria c;
        c.kind = Outlook_Kind::Contract_End;
        c.from = QStringLiteral("09/2012");
        c.by = by;
        c.department = department;
        Outlook_Result r = Run_Outlook(t.db(), c);
        EXPECT_TRUE(r.ok) << r.error.toStdString();
        return r;
    }

    TestDatabase t;
};

// (period label, group) -> count and shown amount
using Expected = std::map<std::pair<QString, QString>, std::pair<int, QString>>;

Expected Cells(const Outlook_Result& r)
{
    Expected out;
    for (int p = 0; p < r.periods.size(); ++p)
        for (int g = 0; g < r.groups.size(); ++g) {
            const Outlook_Cell& c = r.cells[std::size_t(p)][std::size_t(g)];
            if (c.count > 0)
                out[{r.periods.at(p), r.groups.at(g)}] = {c.count, QString::fromStdString(Amount_Text(c.amount()))};
        }
    return out;
}

void Expect_Groups_Add_Up(const Outlook_Result& r)
{
    Outlook_Cell byPeriod, byGroup, byCell;
    for (std::size_t p = 0; p < r.period_totals.size(); ++p) {
        byPeriod.count += r.period_totals[p].count;
        byPeriod.satang += r.period_totals[p].satang;
        Outlook_Cell row;
        for (const Outlook_Cell& c : r.cells[p]) {
            row.count += c.count;
            row.satang += c.satang;
        }
        EXPECT_EQ(row.count, r.period_totals[p].count) << r.periods.at(int(p)).toStdString();
        EXPECT_EQ(row.satang, r.period_totals[p].satang) << r.periods.at(int(p)).toStdString();
        byCell.count += row.count;
        byCell.satang += row.satang;
    }
    for (const Outlook_Cell& c : r.group_totals) {
        byGroup.count += c.count;
        byGroup.satang += c.satang;
    }
    EXPECT_EQ(byPeriod.count, r.grand.count);
    EXPECT_EQ(byPeriod.satang, r.grand.satang);
    EXPECT_EQ(byGroup.count, r.grand.count);
    EXPECT_EQ(byGroup.satang, r.grand.satang);
    EXPECT_EQ(byCell.satang, r.grand.satang);
    EXPECT_EQ(int(r.counted.size()), r.grand.count);
}

struct Grouping_Case
{
    const char* name;
    Outlook_Grouping by;
    std::optional<QString> department;
    Expected cells;
    QString grand;
    QStringList refused; // SAP IDs
};

TEST_F(ContractEndOutlook, TotalsPerMonthAndGroupAreTheCalculationsOfTheContractEndMonth)
{
    const std::vector<Grouping_Case> cases = {
        {"by department", Outlook_Grouping::Department, std::nullopt,
            {{{"09/2012", sci}, {1, "120,000.00"}}, {{"09/2012", office}, {1, "12,000.00"}},
                {{"03/2013", sci}, {1, "60,000.00"}}},
            "192,000.00", {"10000004", "10000007", "10000008"}},
        {"by employment type", Outlook_Grouping::Work_Type, std::nullopt,
            {{{"09/2012", uniType}, {2, "132,000.00"}}, {{"03/2013", depType}, {1, "60,000.00"}}}, "192,000.00",
            {"10000004", "10000007", "10000008"}},
        {"one department", Outlook_Grouping::Department, sci,
            {{{"09/2012", sci}, {1, "120,000.00"}}, {{"03/2013", sci}, {1, "60,000.00"}}}, "180,000.00", {"10000008"}},
    };
    for (const Grouping_Case& k : cases) {
        SCOPED_TRACE(k.name);
        const Outlook_Result r = Run(k.by, k.department);
        ASSERT_EQ(r.periods.size(), 12);
        EXPECT_EQ(r.periods.first(), "09/2012");
        EXPECT_EQ(r.periods.last(), "08/2013");
        EXPECT_EQ(Cells(r), k.cells);
        EXPECT_EQ(Amount_Text(r.grand.amount()), k.grand.toStdString());
        QStringList refused;
        for (const Outlook_Line& l : r.refused)
            refused << l.sapid;
        refused.sort();
        EXPECT_EQ(refused, k.refused);
        Expect_Groups_Add_Up(r);

        // Each counted employee is exactly the calculation of the contract-end month.
        std::map<std::pair<QString, QString>, std::int64_t> sums;
        for (const Outlook_Line& l : r.counted) {
            calc::Calculation_Input in;
            std::string error;
            ASSERT_TRUE(calc::Load_Calculation_Input(
                t.db(), l.sapid.toStdString(), l.period.toStdString(), std::nullopt, std::nullopt, &in, &error))
                << error;
            const calc::Calculation c = calc::Run_Calculation(in);
            ASSERT_TRUE(c.ok()) << c.error;
            EXPECT_EQ(l.amount_text.toStdString(), c.money.net_text) << l.sapid.toStdString();
            sums[{l.period, l.group}] += std::llround(c.money.net * 100);
        }
        for (const auto& [key, cell] : k.cells)
            EXPECT_EQ(sums[key], std::llround(Parse_Number(cell.second.toStdString()).value() * 100));
    }
}

TEST_F(ContractEndOutlook, RefusalsCarryTheCalculationsOwnReason)
{
    const Outlook_Result r = Run(Outlook_Grouping::Department);
    std::map<QString, std::pair<QString, QString>> reasons; // sapid -> period, reason
    for (const Outlook_Line& l : r.refused)
        reasons[l.sapid] = {l.period, l.reason};
    EXPECT_EQ(reasons["10000004"], std::make_pair(QStringLiteral("10/2012"), QString(calc::kMessage_No_Periods)));
    EXPECT_EQ(reasons["10000008"], std::make_pair(QStringLiteral("11/2012"), QString(calc::kMessage_No_Reason)));
    EXPECT_EQ(reasons["10000007"].first, QString());
    EXPECT_EQ(reasons["10000007"].second, QStringLiteral("อ่านวันที่สิ้นสุดสัญญาไม่ได้: \"31/02/2013\""));

    // The same reason as the calculation gives for that month.
    const Employee_Calculation e = Calculate_Employee(t.db(), "10000004", "10/2012");
    EXPECT_FALSE(e.ok());
    EXPECT_EQ(e.reason, calc::kMessage_No_Periods);
}

TEST_F(ContractEndOutlook, GridHasAColumnPairPerGroupAndTheGrandTotalLast)
{
    const Outlook_Result r = Run(Outlook_Grouping::Department);
    const reports::ReportGrid g = Outlook_Grid(r);
    // คณะวิทยาศาสตร์ sorts before สำนักงานอธิการบดี.
    EXPECT_EQ(g.titles,
        QStringList({"ลำดับ", "เดือนที่สิ้นสุดสัญญา", sci + " (คน)", sci + " (บาท)", office + " (คน)", office + " (บาท)",
            "รวม (คน)", "รวม (บาท)"}));
    ASSERT_EQ(g.rows.size(), 13);
    EXPECT_EQ(g.rows.at(0), QStringList({"1", "09/2012", "1", "120,000.00", "1", "12,000.00", "2", "132,000.00"}));
    EXPECT_EQ(g.rows.at(1), QStringList({"2", "10/2012", "0", "0.00", "0", "0.00", "0", "0.00"}));
    EXPECT_EQ(g.rows.at(12), QStringList({"", "รวมทั้งสิ้น", "2", "180,000.00", "1", "12,000.00", "3", "192,000.00"}));
    const reports::ReportGrid refusals = Refusal_Grid(r);
    EXPECT_EQ(refusals.rows.size(), 3);
}

// The rows read for many employees at once give each exactly the calculation
// that the one-by-one loading gives (the command line's `calc`).
TEST_F(ContractEndOutlook, ReadingAllAtOnceGivesEachEmployeesOwnCalculation)
{
    // One more person sharing an identity-card number with 10000002: the
    // earlier payment is found for both.
    Test_Employee twin = Person("10000009", "01", "3", "28/02/2013");
    twin.ssn = QStringLiteral("3100110000002");
    Add_Employee(t, twin);
    Add_Period(t, twin.sapid, twin.ssn, "3", "01/03/2554", "28/02/2556");

    Outlook_Criteria c;
    c.from = QStringLiteral("09/2012");
    const Outlook_Plan plan = Check_Outlook_Criteria(c, QString());
    ASSERT_TRUE(plan.ok());
    std::vector<Due_Employee> due;
    std::vector<Outlook_Line> refused;
    QString error;
    ASSERT_TRUE(Find_Contract_Ends(t.db(), plan, &due, &refused, &error)) << error.toStdString();
    QStringList months;
    for (const Due_Employee& d : due)
        months << QString::fromStdString(d.employee.sapid + " " + d.request_month);
    EXPECT_EQ(months,
        QStringList({"10000001 09/2012", "10000002 03/2013", "10000003 09/2012", "10000004 10/2012", "10000008 11/2012",
            "10000009 02/2013"}));
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_EQ(refused[0].sapid, "10000007");

    std::vector<Employee_Calculation> all;
    ASSERT_TRUE(Calculate_Due(t.db(), due, &all, &error)) << error.toStdString();
    ASSERT_EQ(all.size(), due.size());
    int computed = 0;
    for (std::size_t i = 0; i < due.size(); ++i) {
        SCOPED_TRACE(due[i].employee.sapid);
        const Employee_Calculation one = Calculate_Employee(t.db(), due[i].employee.sapid, due[i].request_month);
        EXPECT_EQ(all[i].reason, one.reason);
        if (!one.ok())
            continue;
        ++computed;
        EXPECT_EQ(calc::Calculation_Json(all[i].input, all[i].result), calc::Calculation_Json(one.input, one.result));
        EXPECT_EQ(all[i].input.birth_day, one.input.birth_day);
        EXPECT_EQ(all[i].input.work_type_name, one.input.work_type_name);
        EXPECT_EQ(all[i].input.contract_begin, one.input.contract_begin);
        EXPECT_EQ(all[i].input.contract_end, one.input.contract_end);
        EXPECT_EQ(all[i].input.depart_code, one.input.depart_code);
        EXPECT_EQ(all[i].input.person_records.size(), one.input.person_records.size());
        EXPECT_EQ(all[i].input.brackets.size(), one.input.brackets.size());
    }
    EXPECT_EQ(computed, 4);
    // The twin's earlier payment is deducted as for 10000002.
    EXPECT_EQ(all[5].result.money.paid_earlier_text, "30,000.00");
}

// ---- Age 60 ----

class Age60Outlook : public ::testing::Test
{
protected:
    Age60Outlook()
    {
        addType(t, "2", uniType);
        addType(t, "3", depType);
        addDepart(t, "11", sci);
        addDepart(t, "01", office);
        // The forecast's worked example: 60 in 2563, 110,250.00 at 5 %.
        addEmployee(t, {"00000201", "ก", "15/03/1960", QDate(2005, 6, 1), QDate(2020, 9, 30), "2", "11", 10000});
        addEmployee(t, {"00000202", "ข", "01/01/1961", QDate(2012, 1, 1), QDate(2021, 9, 30), "3", "11", 17000});
        addEmployee(t, {"00000203", "ค", "30/12/1960", QDate(2001, 1, 1), QDate(2020, 9, 30), "3", "01", 23456.78});
        addEmployee(t, {"00000204", "ง", "01/07/1966", QDate(2010, 7, 1), QDate(2026, 9, 30), "2", "01", 31000});
        addEmployee(t, {"00000205", "จ", "01/07/1950", QDate(2010, 7, 1), QDate(2010, 9, 30), "2", "01", 9000}); // past
        addEmployee(
            t, {"00000206", "ฉ", "01/07/1980", QDate(2010, 7, 1), QDate(2040, 9, 30), "2", "01", 9000}); // later
        addEmployee(t, {"00000207", "ช", "99/99/1960", QDate(2010, 7, 1), QDate(2020, 9, 30), "2", "11", 9000});
    }

    Outlook_Result Run(const QString& raise, Outlook_Grouping by, std::optional<QString> department = std::nullopt)
    {
        Outlook_Criteria c;
        c.kind = Outlook_Kind::Age60;
        c.from = QStringLiteral("2561");
        c.raise = raise;
        c.by = by;
        c.department = department;
        Outlook_Result r = Run_Outlook(t.db(), c);
        EXPECT_TRUE(r.ok) << r.error.toStdString();
        return r;
    }

    TestDatabase t;
};

TEST_F(Age60Outlook, EqualsTheForecastReportsRowsPerYearForTheSameRaise)
{
    const std::vector<std::tuple<QString, double, Outlook_Grouping, std::optional<QString>>> cases = {
        {"", 0.05, Outlook_Grouping::Department, std::nullopt},
        {"5", 0.05, Outlook_Grouping::Work_Type, std::nullopt},
        {"0", 0.0, Outlook_Grouping::Department, std::nullopt},
        {"3.25", 0.0325, Outlook_Grouping::Work_Type, std::nullopt},
        {"15", 0.15, Outlook_Grouping::Department, office},
    };
    for (const auto& [raise, rate, by, department] : cases) {
        SCOPED_TRACE(raise.toStdString());
        const Outlook_Result r = Run(raise, by, department);
        reports::ForecastCriteria fc;
        fc.calcYear = QStringLiteral("2561");
        fc.yearlyRaise = rate;
        fc.department = department;
        const reports::ReportResult report = reports::queryForecast(t.db(), fc);
        ASSERT_TRUE(report.ok);
        // Column 4: year of the 60th birthday; 12: amount; 15: department; type from the SAP ID.
        std::map<std::pair<QString, QString>, std::pair<int, std::int64_t>> fromReport;
        const std::map<QString, QString> typeOf = {{"'00000201", uniType}, {"'00000202", depType},
            {"'00000203", depType}, {"'00000204", uniType}, {"'00000205", uniType}, {"'00000206", uniType},
            {"'00000207", uniType}};
        for (const QStringList& row : report.grid.rows) {
            bool ok = false;
            const int year = row.at(4).toInt(&ok);
            if (!ok || year < 2561 || year > 2570)
                continue;
            const QString group = by == Outlook_Grouping::Department ? row.at(15) : typeOf.at(row.at(1));
            auto& cell = fromReport[{row.at(4), group}];
            cell.first += 1;
            cell.second += std::llround(Parse_Number(row.at(12).toStdString()).value() * 100);
        }
        std::map<std::pair<QString, QString>, std::pair<int, std::int64_t>> fromOutlook;
        for (int p = 0; p < r.periods.size(); ++p)
            for (int g = 0; g < r.groups.size(); ++g) {
                const Outlook_Cell& c = r.cells[std::size_t(p)][std::size_t(g)];
                if (c.count)
                    fromOutlook[{r.periods.at(p), r.groups.at(g)}] = {c.count, c.satang};
            }
        EXPECT_FALSE(fromReport.empty());
        EXPECT_EQ(fromOutlook, fromReport);
        Expect_Groups_Add_Up(r);
    }
}

TEST_F(Age60Outlook, WorkedExampleAndAZeroRaiseKeepsTheSalary)
{
    const struct
    {
        QString raise;
        const char* amount; // 00000201: 60 in 2563, 10 salaries
    } cases[] = {{"", "110,250.00"}, {"0", "100,000.00"}, {"0.00", "100,000.00"}, {"10", "121,000.00"}};
    for (const auto& k : cases) {
        SCOPED_TRACE(k.raise.toStdString());
        const Outlook_Result r = Run(k.raise, Outlook_Grouping::Department, sci);
        bool seen = false;
        for (const Outlook_Line& l : r.counted)
            if (l.sapid == "00000201") {
                seen = true;
                EXPECT_EQ(l.period, "2563");
                EXPECT_EQ(l.amount_text.toStdString(), k.amount);
            }
        EXPECT_TRUE(seen);
    }
    // 00000202 started in 2555 and turns 60 in 2564: S = 9, M = 8, salary kept at 0 %.
    const Outlook_Result zero = Run("0", Outlook_Grouping::Work_Type);
    bool seen = false;
    for (const Outlook_Line& l : zero.counted) {
        if (l.sapid == "00000202") {
            seen = true;
            EXPECT_EQ(l.amount_text, "136,000.00");
        }
    }
    EXPECT_TRUE(seen);
}

TEST_F(Age60Outlook, UnreadableBirthDatesAreListedWithTheReason)
{
    const Outlook_Result r = Run("5", Outlook_Grouping::Department);
    ASSERT_EQ(r.refused.size(), 1u);
    EXPECT_EQ(r.refused[0].sapid, "00000207");
    EXPECT_EQ(r.refused[0].reason, QStringLiteral("อ่านวันเดือนปีเกิดไม่ได้"));
    // Past and later sixtieth birthdays are outside the ten years.
    for (const Outlook_Line& l : r.counted) {
        EXPECT_NE(l.sapid, "00000205");
        EXPECT_NE(l.sapid, "00000206");
    }
    EXPECT_EQ(r.grand.count, 4);
}

// ---- Criteria ----

// The outlook's workbook goes through the logged export procedure like every
// other export: one audit row naming the outlook, its criteria, the file and
// the table's rows; without the log no file is left behind.
TEST_F(ContractEndOutlook, ExportWritesTheWorkbookAndItsAuditRow)
{
    audit::setActor({QStringLiteral("finance01"), QStringLiteral("velmora"), QStringLiteral("10.1.2.3")});
    const Outlook_Result r = Run(Outlook_Grouping::Department, sci);
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("outlook.xlsx"));
    QString error;
    ASSERT_EQ(Export_Outlook(&t.db(), r, {out, QString(), QDateTime()}, &error), out) << error.toStdString();
    EXPECT_TRUE(QFileInfo(out).size() > 0);

    std::vector<audit::Entry> rows;
    audit::Filter f;
    f.kind = QLatin1String(audit::kind::kReportExported);
    ASSERT_TRUE(audit::listEntries(t.db(), f, false, &rows, &error)) << error.toStdString();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].user, QStringLiteral("finance01"));
    const QJsonObject d = QJsonDocument::fromJson(rows[0].details.toUtf8()).object();
    EXPECT_EQ(d.value(QStringLiteral("report")).toString(), Outlook_Title(r.plan));
    EXPECT_EQ(d.value(QStringLiteral("sheet")).toString(), QString::fromUtf8(kOutlookSheet));
    EXPECT_EQ(d.value(QStringLiteral("file")).toString(), out);
    EXPECT_EQ(d.value(QStringLiteral("rows")).toInt(), 13); // twelve months and the grand total
    const QJsonObject filters = d.value(QStringLiteral("filters")).toObject();
    EXPECT_EQ(filters.value(QStringLiteral("kind")).toString(), QStringLiteral("contract-end"));
    EXPECT_EQ(filters.value(QStringLiteral("from")).toString(), QStringLiteral("09/2012"));
    EXPECT_EQ(filters.value(QStringLiteral("months")).toInt(), 12);
    EXPECT_EQ(filters.value(QStringLiteral("by")).toString(), QStringLiteral("department"));
    EXPECT_EQ(filters.value(QStringLiteral("department")).toString(), sci);
    EXPECT_EQ(filters.value(QStringLiteral("refused")).toInt(), int(r.refused.size()));
    EXPECT_TRUE(audit::verifyAuditLog(t.db()).ok);

    // Into a folder: a new file named after the sheet, and the row names it.
    const QString written = Export_Outlook(
        &t.db(), r, {QString(), dir.filePath(QStringLiteral("exports")), QDateTime::currentDateTime()}, &error);
    ASSERT_FALSE(written.isEmpty()) << error.toStdString();
    EXPECT_TRUE(QFileInfo(written).fileName().startsWith(QString::fromUtf8(kOutlookSheet)));
    ASSERT_TRUE(audit::listEntries(t.db(), f, false, &rows, &error));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(
        QJsonDocument::fromJson(rows[1].details.toUtf8()).object().value(QStringLiteral("file")).toString(), written);

    // A row that cannot be written takes the file with it.
    t.exec(QStringLiteral("DROP TABLE EP_Audit_Log"));
    const QString second = dir.filePath(QStringLiteral("second.xlsx"));
    EXPECT_TRUE(Export_Outlook(&t.db(), r, {second, QString(), QDateTime()}, &error).isEmpty());
    EXPECT_TRUE(error.startsWith(QStringLiteral("บันทึกประวัติการใช้งาน"))) << error.toStdString();
    EXPECT_FALSE(QFile::exists(second));
    audit::setActor({});
}

TEST(OutlookCriteria, BadInputIsRefusedWithAThaiMessage)
{
    const QString today = QStringLiteral("15/06/2026");
    const struct
    {
        Outlook_Kind kind;
        const char* count;
        const char* raise;
        const char* from;
        const char* message; // empty: accepted
    } cases[] = {
        {Outlook_Kind::Contract_End, "", "", "", ""},
        {Outlook_Kind::Contract_End, "120", "", "01/2027", ""},
        {Outlook_Kind::Contract_End, "0", "", "", "จำนวนเดือนต้องเป็นตัวเลข 1 ถึง 120: \"0\""},
        {Outlook_Kind::Contract_End, "121", "", "", "จำนวนเดือนต้องเป็นตัวเลข 1 ถึง 120: \"121\""},
        {Outlook_Kind::Contract_End, "12x", "", "", "จำนวนเดือนต้องเป็นตัวเลข 1 ถึง 120: \"12x\""},
        {Outlook_Kind::Contract_End, "-3", "", "", "จำนวนเดือนต้องเป็นตัวเลข 1 ถึง 120: \"-3\""},
        {Outlook_Kind::Contract_End, "", "", "01/2570",
            "เดือนเริ่มต้นต้องใช้ปีคริสต์ศักราช เช่น 01/2027 (ไม่ใช่พุทธศักราช): \"01/2570\""},
        {Outlook_Kind::Contract_End, "", "", "13/2027",
            "เดือนเริ่มต้นไม่ถูกต้อง: \"13/2027\" (ต้องเป็น ดด/ปปปป ปีเป็นคริสต์ศักราช เช่น 01/2027)"},
        {Outlook_Kind::Age60, "40", "15", "2570", ""},
        {Outlook_Kind::Age60, "1", "0", "", ""},
        {Outlook_Kind::Age60, "41", "", "", "จำนวนปีต้องเป็นตัวเลข 1 ถึง 40: \"41\""},
        {Outlook_Kind::Age60, "", "15.01", "",
            "อัตราการขึ้นเงินเดือนต่อปีต้องเป็นตัวเลข 0 ถึง 15 (ร้อยละ) ทศนิยมไม่เกิน 2 ตำแหน่ง: \"15.01\""},
        {Outlook_Kind::Age60, "", "3.255", "",
            "อัตราการขึ้นเงินเดือนต่อปีต้องเป็นตัวเลข 0 ถึง 15 (ร้อยละ) ทศนิยมไม่เกิน 2 ตำแหน่ง: \"3.255\""},
        {Outlook_Kind::Age60, "", "-1", "",
            "อัตราการขึ้นเงินเดือนต่อปีต้องเป็นตัวเลข 0 ถึง 15 (ร้อยละ) ทศนิยมไม่เกิน 2 ตำแหน่ง: \"-1\""},
        {Outlook_Kind::Age60, "", "ห้า", "",
            "อัตราการขึ้นเงินเดือนต่อปีต้องเป็นตัวเลข 0 ถึง 15 (ร้อยละ) ทศนิยมไม่เกิน 2 ตำแหน่ง: \"ห้า\""},
        {Outlook_Kind::Age60, "", "", "2027", "ปีเริ่มต้นต้องเป็นปีพุทธศักราช เช่น 2570 (ไม่ใช่คริสต์ศักราช): \"2027\""},
        {Outlook_Kind::Age60, "", "", "25x0", "ปีเริ่มต้นไม่ถูกต้อง: \"25x0\" (ต้องเป็นปีพุทธศักราช 4 หลัก เช่น 2570)"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(std::string(k.count) + " | " + k.raise + " | " + k.from);
        Outlook_Criteria c;
        c.kind = k.kind;
        c.count = QString::fromUtf8(k.count);
        c.raise = QString::fromUtf8(k.raise);
        c.from = QString::fromUtf8(k.from);
        const Outlook_Plan plan = Check_Outlook_Criteria(c, today);
        EXPECT_EQ(plan.error.toStdString(), std::string(k.message));
    }
}

TEST(OutlookCriteria, DefaultsAndPeriods)
{
    Outlook_Criteria c;
    Outlook_Plan p = Check_Outlook_Criteria(c, QStringLiteral("15/06/2026"));
    ASSERT_TRUE(p.ok());
    EXPECT_EQ(p.period_labels(),
        QStringList({"06/2026", "07/2026", "08/2026", "09/2026", "10/2026", "11/2026", "12/2026", "01/2027", "02/2027",
            "03/2027", "04/2027", "05/2027"}));
    c.kind = Outlook_Kind::Age60;
    p = Check_Outlook_Criteria(c, QStringLiteral("15/06/2026"));
    ASSERT_TRUE(p.ok());
    EXPECT_EQ(p.count, 10);
    EXPECT_EQ(p.raise_hundredths, 500);
    EXPECT_EQ(p.yearly_raise(), 0.05); // the forecast's own 5 percent, bit for bit
    EXPECT_EQ(p.period_labels().first(), "2569");
    EXPECT_EQ(p.period_labels().last(), "2578");
    c.raise = QStringLiteral(" 3.5 ");
    EXPECT_EQ(Check_Outlook_Criteria(c, QStringLiteral("15/06/2026")).raise_hundredths, 350);
}

} // namespace
