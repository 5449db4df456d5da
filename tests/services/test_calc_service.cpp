#include "CalcTestData.h"

#include "services/CalculationService.h"
#include "services/EmployeeService.h"

#include "db/ThaiCollation.h"

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::calc;
using velmora::test::Test_Employee;
using velmora::test::TestDatabase;

namespace {

std::vector<std::string> Sapids(const std::vector<Employee_List_Row>& rows)
{
    std::vector<std::string> ids;
    for (const auto& r : rows)
        ids.push_back(r.sapid);
    return ids;
}

class Employee_Search_Test : public testing::Test
{
protected:
    void SetUp() override
    {
        test::Add_Lookups(t);
        auto add = [&](const char* sapid, const char* first, const char* type, const char* depart, const char* begin,
                       const char* end, const char* status) {
            Test_Employee e;
            e.sapid = QLatin1String(sapid);
            e.firstName = QString::fromUtf8(first);
            e.typeCode = QLatin1String(type);
            e.depart = QLatin1String(depart);
            e.beginText = QLatin1String(begin);
            e.endText = QLatin1String(end);
            e.status = QLatin1String(status);
            test::Add_Employee(t, e);
        };
        add("1", "สมชาย", "2", "11", "01/01/2010", "31/01/2010", "A");
        add("2", "สมหญิง", "2", "01", "01/06/2015", "31/10/2024", "P");
        add("3", "Ann_a", "2", "11", "01/06/2015", "31/10/2024", "A");
        add("4", "Annxa", "2", "11", "01/06/2015", "15/10/2024", "A");
        add("5", "มานะ", "3", "11", "01/06/2015", "31/10/2024", "A");
        add("6", "มานี", "2", "11", "01/06/2015", "30/11/2024", "A");
    }
    TestDatabase t;
};

TEST_F(Employee_Search_Test, ByTypeAndContractEndMonth)
{
    Employee_Search s;
    s.work_type = "พนักงานมหาวิทยาลัย";
    s.end_filter = Employee_Search::End_Filter::Month;
    s.month_year = "10/2024";
    std::vector<Employee_List_Row> rows;
    std::string error;
    ASSERT_TRUE(Search_Employees(t.db(), s, &rows, &error)) << error;
    // Ordered by department, type, first name.
    EXPECT_EQ(Sapids(rows), (std::vector<std::string> {"2", "3", "4"}));
    EXPECT_EQ(rows[0].status, "P");
    EXPECT_EQ(rows[0].depart_name, "สำนักงานอธิการบดี");
    EXPECT_EQ(rows[0].full_name, "นายสมหญิง ใจดี");
}

TEST_F(Employee_Search_Test, ByYearAllAndFirstName)
{
    Employee_Search s;
    s.work_type = " พนักงานมหาวิทยาลัย ";
    s.end_filter = Employee_Search::End_Filter::Year;
    s.year = "2024";
    std::vector<Employee_List_Row> rows;
    std::string error;
    ASSERT_TRUE(Search_Employees(t.db(), s, &rows, &error)) << error;
    EXPECT_EQ(rows.size(), 4u);

    s.end_filter = Employee_Search::End_Filter::All;
    ASSERT_TRUE(Search_Employees(t.db(), s, &rows, &error)) << error;
    EXPECT_EQ(rows.size(), 5u);

    s.by_first_name = true;
    s.first_name = "มาน";
    ASSERT_TRUE(Search_Employees(t.db(), s, &rows, &error)) << error;
    EXPECT_EQ(Sapids(rows), (std::vector<std::string> {"6"}));

    // The typed text is matched as it stands: "_" is no wildcard.
    s.first_name = "Ann_";
    ASSERT_TRUE(Search_Employees(t.db(), s, &rows, &error)) << error;
    EXPECT_EQ(Sapids(rows), (std::vector<std::string> {"3"}));
    s.first_name = "'; DROP TABLE EP_Emp_Main; --";
    ASSERT_TRUE(Search_Employees(t.db(), s, &rows, &error)) << error;
    EXPECT_TRUE(rows.empty());
}

TEST_F(Employee_Search_Test, DayCountHasNoDayAddedAndDatesCarryAnApostrophe)
{
    Employee_Search s;
    s.work_type = "พนักงานมหาวิทยาลัย";
    s.end_filter = Employee_Search::End_Filter::Month;
    s.month_year = "01/2010";
    std::vector<Employee_List_Row> rows;
    std::string error;
    ASSERT_TRUE(Search_Employees(t.db(), s, &rows, &error)) << error;
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].days, 30);
    const auto cells = Employee_Grid_Cells(rows[0], 1);
    EXPECT_EQ(cells[3], "'01/01/2010");
    EXPECT_EQ(cells[5], "'31/01/2010");
    EXPECT_EQ(cells[7], "30");
    EXPECT_EQ(cells[8], "A");
}

TEST(Load_Employee, WithAndWithoutReason)
{
    TestDatabase t;
    test::Add_Worked_Example(t);
    Test_Employee other;
    other.sapid = QStringLiteral("10000005");
    other.reason.clear();
    other.salary = 18500;
    test::Add_Employee(t, other);

    std::string error;
    auto e = Load_Employee(t.db(), "10000001", &error);
    ASSERT_TRUE(e) << error;
    EXPECT_EQ(e->ssn, "3100100000011");
    EXPECT_EQ(e->salary_text, "20,000.00");
    EXPECT_EQ(e->reason, "ครบกำหนดระยะเวลาการจ้างตามสัญญา");
    EXPECT_EQ(e->work_type_name, "พนักงานมหาวิทยาลัย");
    EXPECT_EQ(e->depart_name, "คณะวิทยาศาสตร์");
    EXPECT_EQ(e->contract_end, "30/09/2012");
    EXPECT_EQ(e->status, "A");

    e = Load_Employee(t.db(), "10000005", &error);
    ASSERT_TRUE(e) << error;
    EXPECT_EQ(e->reason, "");
    EXPECT_EQ(e->salary_text, "18,500.00");

    EXPECT_FALSE(Load_Employee(t.db(), "99999999", &error));
    EXPECT_EQ(error, "");
}

TEST(Work_Periods, OrderedByStartDateNotByText)
{
    TestDatabase t;
    const QString sap = QStringLiteral("1"), ssn = QStringLiteral("9");
    test::Add_Period(t, sap, ssn, QStringLiteral("2"), QStringLiteral("01/01/2553"), QStringLiteral("31/12/2553"));
    test::Add_Period(t, sap, ssn, QStringLiteral("3"), QStringLiteral("15/03/2551"), QStringLiteral("31/12/2552"));
    test::Add_Period(t, sap, ssn, QStringLiteral("2"), QStringLiteral("20/10/2550"), QStringLiteral("14/03/2551"));
    test::Add_Period(t, QStringLiteral("other"), ssn, QStringLiteral("2"), QStringLiteral("01/01/2540"),
        QStringLiteral("31/12/2560"));
    std::vector<Work_Period> periods;
    std::string error;
    ASSERT_TRUE(Load_Work_Periods(t.db(), "1", &periods, &error)) << error;
    ASSERT_EQ(periods.size(), 3u);
    EXPECT_EQ(periods[0].begin, "20/10/2550");
    EXPECT_EQ(periods[1].begin, "15/03/2551");
    EXPECT_EQ(periods[2].begin, "01/01/2553");
    EXPECT_EQ(periods[1].code, "3");
    EXPECT_EQ(periods[1].type_name, "พนักงานส่วนงาน");
}

TEST(Work_Periods, AddIsCheckedAndDeleteNeedsAllFourValues)
{
    TestDatabase t;
    std::string error;
    EXPECT_FALSE(Add_Work_Period(t.db(), "1", "9", "2 พนักงานมหาวิทยาลัย", "01/10/2555", "30/09/2551", &error));
    EXPECT_EQ(error, "วันที่สิ้นสุดสัญญาต้องไม่อยู่ก่อนวันที่เริ่มปฎิบัติงาน");
    EXPECT_FALSE(Add_Work_Period(t.db(), "1", "9", "2 พนักงานมหาวิทยาลัย", "  /  /    ", "30/09/2551", &error));
    EXPECT_EQ(error, "กรุณาใส่ข้อมูลวันที่เริ่มปฎิบัติงาน");
    EXPECT_EQ(test::Count(t, QStringLiteral("EP_Work_Histry"), QStringLiteral("SapID"), QStringLiteral("1")), 0);

    ASSERT_TRUE(Add_Work_Period(t.db(), "1", "9", "2 พนักงานมหาวิทยาลัย", "01/10/2551", "30/09/2555", &error)) << error;
    // identical periods, as an import may store them
    test::Add_Period(t, QStringLiteral("1"), QStringLiteral("9"), QStringLiteral("2"), QStringLiteral("01/10/2551"),
        QStringLiteral("30/09/2555"));
    test::Add_Period(t, QStringLiteral("1"), QStringLiteral("9"), QStringLiteral("3"), QStringLiteral("01/10/2551"),
        QStringLiteral("30/09/2555"));
    std::vector<Work_Period> periods;
    ASSERT_TRUE(Load_Work_Periods(t.db(), "1", &periods, &error));
    ASSERT_EQ(periods.size(), 3u);
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT SSN FROM EP_Work_Histry WHERE Work_Type_Code = ?"), {QStringLiteral("3")})
                  .toString(),
        QStringLiteral("9"));

    EXPECT_EQ(Delete_Work_Period(t.db(), "1", "2", "01/10/2551", "30/09/2554", &error), 0);
    EXPECT_EQ(Delete_Work_Period(t.db(), "1", "", "01/10/2551", "30/09/2555", &error), -1);
    EXPECT_EQ(error, "ไม่มีข้อมูลที่ต้องการลบ");
    // Two identical periods go together; the other type stays.
    EXPECT_EQ(Delete_Work_Period(t.db(), "1", "2", "01/10/2551", "30/09/2555", &error), 2);
    ASSERT_TRUE(Load_Work_Periods(t.db(), "1", &periods, &error));
    ASSERT_EQ(periods.size(), 1u);
    EXPECT_EQ(periods[0].code, "3");
}

TEST(Work_Periods, APeriodOverlappingAStoredOneIsRefusedNamingIt)
{
    TestDatabase t;
    std::string error;
    ASSERT_TRUE(Add_Work_Period(t.db(), "1", "9", "2 พนักงานมหาวิทยาลัย", "01/10/2551", "30/09/2555", &error)) << error;
    struct Case
    {
        const char* type;
        const char* begin;
        const char* end;
        bool refused;
    };
    // before, each of the refused ones was written and its service counted twice
    for (const Case& c : {Case {"3 พนักงานส่วนงาน", "01/10/2555", "30/09/2556", false},
             Case {"3 พนักงานส่วนงาน", "30/09/2555", "30/09/2556", true}, // one shared day
             Case {"3 พนักงานส่วนงาน", "01/01/2550", "01/10/2551", true},
             Case {"2 พนักงานมหาวิทยาลัย", "01/01/2552", "31/12/2552", true}, // inside
             Case {"2 พนักงานมหาวิทยาลัย", "01/01/2540", "31/12/2560", true}}) { // around
        const bool added = Add_Work_Period(t.db(), "1", "9", c.type, c.begin, c.end, &error);
        EXPECT_EQ(added, !c.refused) << c.begin << " " << error;
        if (c.refused) {
            EXPECT_EQ(error,
                std::string("ช่วงเวลาที่เพิ่ม ") + c.begin + " - " + c.end
                    + " ทับกับช่วงที่บันทึกไว้แล้ว 2 พนักงานมหาวิทยาลัย 01/10/2551 - 30/09/2555"
                      " อายุงานจะถูกนับซ้ำ จึงไม่บันทึก กรุณาตรวจสอบวันที่");
        }
    }
    // another employee's periods do not count
    EXPECT_TRUE(Add_Work_Period(t.db(), "2", "8", "2 พนักงานมหาวิทยาลัย", "01/10/2551", "30/09/2555", &error)) << error;
    EXPECT_EQ(test::Count(t, QStringLiteral("EP_Work_Histry"), QStringLiteral("SapID"), QStringLiteral("1")), 2);
}

TEST(Earlier_Records, QueryAndSelectionEndToEnd)
{
    TestDatabase t;
    const QString ssn = QStringLiteral("3100100000066");
    test::Add_Saved(t, QStringLiteral("20000002"), ssn, QStringLiteral("01/2012"), 1, 0, 0, 3, 9000); // own number
    test::Add_Saved(t, QStringLiteral("20000001"), ssn, QStringLiteral("03/2013"), 5, 5, 15, 6, 15000);
    test::Add_Saved(t, QStringLiteral("19999999"), ssn, QStringLiteral("12/2010"), 1, 2, 3, 3, 10000);
    test::Add_Saved(t, QStringLiteral("19999998"), ssn, QStringLiteral("10/2024"), 1, 0, 0, 3, 10000); // this month
    test::Add_Saved(t, QStringLiteral("30000000"), QStringLiteral("other"), QStringLiteral("01/2011"), 1, 0, 0, 3, 1);
    std::vector<Earlier_Record> records;
    std::string error;
    ASSERT_TRUE(Load_Person_Records(t.db(), ssn.toStdString(), &records, &error)) << error;
    EXPECT_EQ(records.size(), 4u);
    const auto rows = Build_Earlier_Rows(Select_Earlier_Records(records, ssn.toStdString(), "20000002", "10/2024"));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].record.sapid, "19999999");
    EXPECT_EQ(rows[1].record.sapid, "20000001");
    EXPECT_EQ(rows[1].compensation_text, "90,000.00");
    EXPECT_EQ(rows[1].record.years, 5);
    EXPECT_EQ(rows[1].record.days, 15);
    EXPECT_EQ(rows[1].last_salary_text, "15,000.00");

    ASSERT_TRUE(Load_Person_Records(t.db(), "", &records, &error));
    EXPECT_TRUE(records.empty());
}

TEST(Brackets, InstalledRowsAndReasons)
{
    TestDatabase t;
    std::vector<Bracket> brackets;
    std::string error;
    ASSERT_TRUE(Load_Brackets(t.db(), &brackets, &error)) << error;
    ASSERT_EQ(brackets.size(), 4u);
    EXPECT_EQ(Choose_Multiplier(1811, 4, brackets), 6);
    std::vector<std::string> reasons;
    ASSERT_TRUE(Load_Reasons(t.db(), &reasons, &error)) << error;
    EXPECT_FALSE(reasons.empty());
    // Thai dictionary order on every server
    EXPECT_TRUE(std::is_sorted(reasons.begin(), reasons.end(), [](const std::string& a, const std::string& b) {
        return db::compareThai(QString::fromStdString(a), QString::fromStdString(b)) < 0;
    }));
}

TEST(Load_Calculation_Input, RefusesUnknownAndCalculatedEmployees)
{
    TestDatabase t;
    test::Add_Worked_Example(t);
    Test_Employee done;
    done.sapid = QStringLiteral("10000002");
    done.status = QStringLiteral("P");
    test::Add_Employee(t, done);
    Calculation_Input in;
    std::string error;
    EXPECT_FALSE(Load_Calculation_Input(t.db(), "99999999", "10/2012", std::nullopt, std::nullopt, &in, &error));
    EXPECT_EQ(error, "ไม่พบข้อมูลพนักงานรหัส SAP ID 99999999");
    EXPECT_FALSE(Load_Calculation_Input(t.db(), "10000002", "10/2012", std::nullopt, std::nullopt, &in, &error));
    EXPECT_EQ(error, "รายการนี้มีการขอเงินชดเชยไปแล้วไม่สามารถทำได้อีก");

    ASSERT_TRUE(
        Load_Calculation_Input(t.db(), "10000001", "10/2012", std::string("25,000.00"), std::nullopt, &in, &error))
        << error;
    EXPECT_EQ(in.salary_text, "25,000.00");
    EXPECT_EQ(in.reason, "ครบกำหนดระยะเวลาการจ้างตามสัญญา");
    EXPECT_EQ(in.periods.size(), 2u);
    const Calculation c = Run_Calculation(in);
    ASSERT_TRUE(c.ok()) << c.error;
    EXPECT_EQ(c.money.compensation_text, "150,000.00");
}

} // namespace
