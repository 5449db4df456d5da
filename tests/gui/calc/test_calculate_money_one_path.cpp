// One path: the calculation screen, walked through its six pages, shows
// exactly the figures and messages of Run_Calculation (what velmora-cli calc
// prints) for the same employee, periods, earlier payments and brackets.

#include "CalcScreenTest.h"

#include "rules/Calculation.h"
#include "services/CalculationService.h"
#include "support/CalcTestData.h"

#include <QComboBox>
#include <QLabel>
#include <QRadioButton>

#include <string>
#include <vector>

namespace velmora::test {
namespace {

struct Stored_Period
{
    const char* code;
    const char* begin; // Buddhist era, as stored
    const char* end;
};

struct Earlier_Payment
{
    const char* sapid;
    const char* month; // mm/yyyy
    int years, months, days, multiplier;
    double salary;
};

struct One_Path_Case
{
    const char* name;
    const char* sapid; // a demo employee, or a new one with the periods below
    const char* typeCode = "2";
    double salary = 20000.0;
    std::vector<Stored_Period> periods;
    std::vector<Earlier_Payment> earlier;
    int multiplier = -1; // the table row the case is about; -1: not pinned
};

void PrintTo(const One_Path_Case& c, std::ostream* os)
{
    *os << c.name;
}

QString q(const std::string& s)
{
    return QString::fromStdString(s);
}

QStringList cells(const std::vector<std::string>& v)
{
    QStringList out;
    for (const std::string& s : v)
        out << q(s);
    return out;
}

class OnePathTest : public CalcScreenTest, public ::testing::WithParamInterface<One_Path_Case>
{
protected:
    // Adds the case's employee (unless it is a demo one), then the same
    // calculation as velmora-cli calc runs it.
    calc::Calculation addAndRunService(const One_Path_Case& c)
    {
        const QString sapid = QLatin1String(c.sapid);
        const QString ssn = QStringLiteral("39") + sapid.right(11).rightJustified(11, QLatin1Char('0'));
        if (!c.periods.empty()) {
            Test_Employee e;
            e.sapid = sapid;
            e.ssn = ssn;
            e.typeCode = QLatin1String(c.typeCode);
            e.salary = c.salary;
            e.endText = QStringLiteral("31/12/2026");
            Add_Employee(tdb, e);
            for (const Stored_Period& p : c.periods)
                Add_Period(tdb, sapid, ssn, QLatin1String(p.code), QLatin1String(p.begin), QLatin1String(p.end));
            for (const Earlier_Payment& p : c.earlier)
                Add_Saved(tdb, QLatin1String(p.sapid), ssn, QLatin1String(p.month), p.years, p.months, p.days,
                    p.multiplier, p.salary);
        }
        calc::Calculation_Input input;
        std::string error;
        EXPECT_TRUE(
            calc::Load_Calculation_Input(tdb.db(), c.sapid, "12/2026", std::nullopt, std::nullopt, &input, &error))
            << error;
        return calc::Run_Calculation(input);
    }

    void startScreen(const One_Path_Case& c)
    {
        child<QComboBox>("cmbWork_Type")->setCurrentIndex(std::string(c.typeCode) == "3" ? 1 : 0);
        child<QRadioButton>("RadioButton3")->setChecked(true);
        startCalculation(QLatin1String(c.sapid));
    }
};

TEST_P(OnePathTest, ScreenShowsTheServiceFigures)
{
    const One_Path_Case& c = GetParam();
    const calc::Calculation s = addAndRunService(c);
    ASSERT_TRUE(s.ok()) << s.error;
    if (c.multiplier >= 0) {
        EXPECT_EQ(s.money.multiplier, c.multiplier);
    }

    startScreen(c);
    nextThrough(5);
    ASSERT_EQ(currentPage(), 6);
    EXPECT_TRUE(prompter.messages.isEmpty()) << prompter.messages.join(" | ").toStdString();

    // Page 1.
    EXPECT_EQ(text("edtMoney_Rate2"), q(s.salary_text));

    // Page 2: every period row and the span.
    ASSERT_EQ(rows("StringGrid2"), int(s.periods.size()));
    for (size_t i = 0; i < s.periods.size(); ++i)
        EXPECT_EQ(row("StringGrid2", int(i)), cells(calc::Period_Grid_Cells(s.periods[i], int(i) + 1))) << i;
    EXPECT_EQ(text("edtCal_Beg_Date2"), q(s.span.start));
    EXPECT_EQ(text("edtCal_End_Date2"), q(s.span.end));

    // Page 3: the earlier payments that count (one empty row when none).
    if (s.earlier.empty()) {
        EXPECT_EQ(rows("StringGrid3"), 1);
        EXPECT_EQ(cell("StringGrid3", 0, 1), QString());
    } else {
        ASSERT_EQ(rows("StringGrid3"), int(s.earlier.size()));
        for (size_t i = 0; i < s.earlier.size(); ++i)
            EXPECT_EQ(row("StringGrid3", int(i)), cells(calc::Earlier_Grid_Cells(s.earlier[i]))) << i;
    }

    // Page 4.
    EXPECT_EQ(child<QLabel>("Label27")->text(), q(s.span_figures.label27));
    EXPECT_EQ(child<QLabel>("Label25")->text(), q(s.span_figures.label25));
    const calc::Service_Totals& v = s.service;
    const QStringList service = {text("edtTotal_day2"), text("edtPart_Year2"), text("edtPart_M2"), text("edtPart_D2"),
        text("edtCal_Y2"), text("edtCal_M2"), text("edtCal_D2"), text("edtTotal_Year2"), text("edtTotal_M2"),
        text("edtTotal_D2")};
    const QStringList expectedService = {QString::number(s.span_figures.total_days), QString::number(v.earlier.years),
        QString::number(v.earlier.months), QString::number(v.earlier.days), QString::number(v.current.years),
        QString::number(v.current.months), QString::number(v.current.days), QString::number(v.total.years),
        QString::number(v.total.months), QString::number(v.total.days)};
    EXPECT_EQ(service, expectedService);

    // Page 5.
    const QStringList money = {
        text("edtN_Money2"), text("edtCal_Sum_M2"), text("edtHis_Rec_Money"), text("edtSum_Rec_Money2")};
    EXPECT_EQ(money,
        (QStringList {QString::number(s.money.multiplier), q(s.money.compensation_text), q(s.money.paid_earlier_text),
            q(s.money.net_text)}));

    // Page 6.
    const calc::Split& p = s.split;
    const QStringList split = {text("edtTotal_day6"), text("edtTotal_Month6"), text("edtCal_Sum_M6"),
        text("edtSum_Day_Fact6"), text("edtSum_Month_Fact6"), text("edtPer_Fact6"), text("edtSum_Money_Fact6"),
        text("edtSum_Day_KV6"), text("edtSum_Month_KV6"), text("edtPer_KV6"), text("edtSum_Money_KV6")};
    EXPECT_EQ(split,
        (QStringList {QString::number(s.span_figures.total_days), q(p.total_months_text), q(s.money.net_text),
            QString::number(p.department.days), q(p.department.months_text), q(p.department.percent_text),
            q(p.department.amount_text), QString::number(p.university.days), q(p.university.months_text),
            q(p.university.percent_text), q(p.university.amount_text)}));
}

INSTANTIATE_TEST_SUITE_P(Fixtures, OnePathTest,
    ::testing::Values(
        // The worked example: floor date raises the first period's start; codes 3 then 2.
        One_Path_Case {"worked_example", "10000001", "2", 0, {}, {}, 6},
        // Earlier payment under another SAP ID of the same person.
        One_Path_Case {"earlier_payment_demo", "20000002", "2", 0, {}, {}, 10},
        // Total days around the fixed rule: 119 → 0, 120 and 364 → 1.
        One_Path_Case {"days_119", "30000001", "2", 15350.5, {{"2", "01/01/2560", "29/04/2560"}}, {}, 0},
        One_Path_Case {"days_120", "30000002", "2", 15350.5, {{"2", "01/01/2560", "30/04/2560"}}, {}, 1},
        One_Path_Case {"days_364", "30000003", "3", 15350.5, {{"3", "01/01/2560", "30/12/2560"}}, {}, 1},
        // 365 days: the table with the years; one whole year is the row 1 to 3.
        One_Path_Case {"days_365_one_year", "30000004", "3", 18000, {{"3", "01/01/2560", "31/12/2560"}}, {}, 3},
        // 365 days that count 0 years 11 months 30 days: no table row for 0 years.
        One_Path_Case {"days_365_zero_years", "30000005", "2", 18000, {{"2", "17/10/2550", "15/10/2551"}}, {}, 0},
        // Exactly 3 years: the row from 3 (inclusive) to 6.
        One_Path_Case {"three_years", "30000006", "2", 21130.25, {{"2", "01/01/2557", "31/12/2559"}}, {}, 6},
        // Overlapping periods of the two codes.
        One_Path_Case {"overlapping_codes", "30000007", "3", 24780.75,
            {{"3", "01/01/2555", "31/12/2558"}, {"2", "01/06/2558", "31/12/2560"}}, {}, -1},
        // One period wholly before the floor date, one raised to it: 9 whole
        // years from 17/10/2550 give the row 6 to 10.
        One_Path_Case {"before_floor", "30000008", "2", 19999.99,
            {{"2", "01/01/2545", "30/09/2550"}, {"3", "01/10/2550", "30/09/2560"}}, {}, 8},
        // Two earlier payments (year before month: 03/2013 is the later one), a
        // code of neither side, and a payment of this month that does not count.
        One_Path_Case {"two_earlier_payments", "30000009", "2", 17000,
            {{"2", "01/04/2556", "31/03/2560"}, {"4", "01/04/2560", "31/03/2561"}, {"3", "01/04/2561", "30/11/2569"}},
            {{"30000019", "12/2010", 2, 3, 10, 3, 9000}, {"30000029", "03/2013", 1, 11, 20, 3, 12000},
                {"30000039", "12/2026", 1, 0, 0, 3, 5000}},
            -1}),
    [](const ::testing::TestParamInfo<One_Path_Case>& info) { return std::string(info.param.name); });

// A stored period whose dates cannot be read: the screen stops step 1 with
// the message the service gives, row number included.
TEST_F(CalcScreenTest, UnreadableStoredPeriodGivesTheServiceMessage)
{
    const One_Path_Case c {"unreadable", "30000010", "2", 20000,
        {{"2", "01/01/2558", "31/12/2559"}, {"2", "32/01/2560", "31/12/2560"}}, {}, -1};
    Test_Employee e;
    e.sapid = QLatin1String(c.sapid);
    e.ssn = QStringLiteral("3900000000010");
    e.endText = QStringLiteral("31/12/2026");
    Add_Employee(tdb, e);
    for (const Stored_Period& p : c.periods)
        Add_Period(tdb, e.sapid, e.ssn, QLatin1String(p.code), QLatin1String(p.begin), QLatin1String(p.end));
    calc::Calculation_Input input;
    std::string error;
    ASSERT_TRUE(calc::Load_Calculation_Input(tdb.db(), c.sapid, "12/2026", std::nullopt, std::nullopt, &input, &error));
    const calc::Calculation s = calc::Run_Calculation(input);
    ASSERT_FALSE(s.ok());
    EXPECT_EQ(s.error.rfind("ประวัติการทำงานแถวที่ 2: ", 0), 0u) << s.error;

    child<QRadioButton>("RadioButton3")->setChecked(true);
    startCalculation(e.sapid);
    click("btnNext1");
    ASSERT_EQ(currentPage(), 2);
    click("btnNext2");
    EXPECT_EQ(currentPage(), 2);
    EXPECT_EQ(prompter.messages, QStringList {q(s.error)});
}

} // namespace
} // namespace velmora::test
