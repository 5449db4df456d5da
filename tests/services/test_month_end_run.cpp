#include "CalcTestData.h"

#include "rules/CalculationJson.h"
#include "services/CalculationService.h"
#include "services/MonthEndRun.h"

#include <gtest/gtest.h>

#include <atomic>
#include <barrier>
#include <thread>

using namespace velmora;
using namespace velmora::run;
using velmora::test::Test_Employee;
using velmora::test::TestDatabase;

namespace {

// Four contracts ending 30/09/2012: ready, already saved ("P"), no work
// history, no reason for leaving; ordered by department then type.
void Add_Four(const TestDatabase& t)
{
    test::Add_Lookups(t);
    Test_Employee ready; // the worked example: 120,000.00
    ready.depart = QStringLiteral("01");
    test::Add_Employee(t, ready);
    test::Add_Period(
        t, ready.sapid, ready.ssn, QStringLiteral("3"), QStringLiteral("01/10/2549"), QStringLiteral("30/09/2551"));
    test::Add_Period(
        t, ready.sapid, ready.ssn, QStringLiteral("2"), QStringLiteral("01/10/2551"), QStringLiteral("30/09/2555"));

    Test_Employee saved;
    saved.sapid = QStringLiteral("10000002");
    saved.ssn = QStringLiteral("3100100000022");
    saved.firstName = QStringLiteral("สุดา");
    saved.depart = QStringLiteral("01");
    saved.typeCode = QStringLiteral("3");
    saved.status = QStringLiteral("P");
    test::Add_Employee(t, saved);
    test::Add_Period(
        t, saved.sapid, saved.ssn, QStringLiteral("3"), QStringLiteral("01/10/2551"), QStringLiteral("30/09/2555"));

    Test_Employee noHistory;
    noHistory.sapid = QStringLiteral("10000003");
    noHistory.ssn = QStringLiteral("3100100000033");
    noHistory.firstName = QStringLiteral("มาลี");
    noHistory.depart = QStringLiteral("11");
    test::Add_Employee(t, noHistory);

    Test_Employee noReason;
    noReason.sapid = QStringLiteral("10000004");
    noReason.ssn = QStringLiteral("3100100000044");
    noReason.firstName = QStringLiteral("ประเสริฐ");
    noReason.depart = QStringLiteral("11");
    noReason.typeCode = QStringLiteral("3");
    noReason.reason.clear();
    test::Add_Employee(t, noReason);
    test::Add_Period(t, noReason.sapid, noReason.ssn, QStringLiteral("2"), QStringLiteral("01/10/2551"),
        QStringLiteral("30/09/2555"));

    // ends in another month: never chosen
    Test_Employee other;
    other.sapid = QStringLiteral("10000005");
    other.ssn = QStringLiteral("3100100000055");
    other.endText = QStringLiteral("31/10/2012");
    test::Add_Employee(t, other);
}

Run_Choice Month_Choice()
{
    Run_Choice c;
    c.request_month = "10/2012";
    c.ends_month = "09/2012";
    return c;
}

int Saved_Count(const TestDatabase& t)
{
    return t.scalar(QStringLiteral("SELECT COUNT(*) FROM EP_mRec_Money_Chodchoy")).toInt();
}

QString Status(const TestDatabase& t, const QString& sapid)
{
    return t.scalar(QStringLiteral("SELECT Emp_RecMChod_Status FROM EP_Emp_Main WHERE SapID = ?"), {sapid}).toString();
}

// A number that fails its check digit marks its line for the officer to
// check, in the grid (CSV, workbook) and the JSON, but the line is computed
// and saved as any other; a valid number marks nothing.
TEST(Month_End_Run, AnSsnFailingItsCheckDigitMarksTheLineOnly)
{
    TestDatabase t;
    test::Add_Lookups(t);
    Test_Employee mistyped; // 3100100000011: its check digit would be 4
    Test_Employee valid = mistyped;
    valid.sapid = QStringLiteral("10000009");
    valid.ssn = QStringLiteral("3100100000014");
    for (const Test_Employee& e : {mistyped, valid}) {
        test::Add_Employee(t, e);
        test::Add_Period(t, e.sapid, e.ssn, QStringLiteral("3"), QStringLiteral("01/10/2549"), QStringLiteral("30/09/2551"));
        test::Add_Period(t, e.sapid, e.ssn, QStringLiteral("2"), QStringLiteral("01/10/2551"), QStringLiteral("30/09/2555"));
    }
    Run_Preview p;
    std::string error;
    ASSERT_TRUE(Preview_Run(t.db(), Month_Choice(), &p, &error)) << error;
    ASSERT_EQ(p.lines.size(), 2u);
    for (const Run_Line& l : p.lines) {
        SCOPED_TRACE(l.sapid);
        EXPECT_EQ(l.state, Line_State::Ready);
        EXPECT_EQ(l.reason, "");
        EXPECT_EQ(l.calculation.money.net_text, "120,000.00");
        const bool bad = l.sapid == "10000001";
        EXPECT_EQ(Line_Note(l), bad ? "ตรวจสอบเลขประจำตัวประชาชน" : "");
        EXPECT_EQ(Run_Grid_Cells(l, 1).back(), Line_Note(l));
    }
    const std::string json = Run_Json(p.request_month, p.lines);
    EXPECT_NE(json.find("\"note\": \"ตรวจสอบเลขประจำตัวประชาชน\""), std::string::npos) << json;
    EXPECT_NE(json.find("\"note\": null"), std::string::npos) << json;
    const Save_Outcome saved = Save_Run(t.db(), p, Ready_Marks(p));
    EXPECT_EQ(saved.saved, 2);
    EXPECT_EQ(Saved_Count(t), 2);
}

TEST(Month_End_Run, FourEmployeesPreviewSaveAndSecondSave)
{
    TestDatabase t;
    Add_Four(t);
    Run_Preview p;
    std::string error;
    ASSERT_TRUE(Preview_Run(t.db(), Month_Choice(), &p, &error)) << error;

    struct Expected
    {
        const char* sapid;
        Line_State state;
        const char* reason;
    };
    const Expected expected[] = {
        {"10000001", Line_State::Ready, ""},
        {"10000002", Line_State::Refused, calc::kMessage_Already_Calculated},
        {"10000003", Line_State::Refused, calc::kMessage_No_Periods},
        {"10000004", Line_State::Refused, calc::kMessage_No_Reason},
    };
    ASSERT_EQ(p.lines.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(expected[i].sapid);
        EXPECT_EQ(p.lines[i].sapid, expected[i].sapid);
        EXPECT_EQ(p.lines[i].state, expected[i].state);
        EXPECT_EQ(p.lines[i].reason, expected[i].reason);
    }
    EXPECT_EQ(p.lines[0].name, "นายสมชาย ใจดี");
    EXPECT_EQ(p.lines[0].department, "สำนักงานอธิการบดี");
    EXPECT_EQ(p.lines[2].department, "คณะวิทยาศาสตร์");

    const std::vector<std::string> cells = Run_Grid_Cells(p.lines[0], 1);
    const std::vector<std::string> want = {"1", "10000001", "นายสมชาย ใจดี", "สำนักงานอธิการบดี", "17/10/2550 - 30/09/2555",
        "4 ปี 11 เดือน 15 วัน", "6", "20,000.00", "120,000.00", "0.00", "120,000.00", "23,160.00", "96,840.00", "พร้อมบันทึก",
        "ตรวจสอบเลขประจำตัวประชาชน"}; // 3100100000011 fails its check digit: marked, still computed
    EXPECT_EQ(cells, want);
    EXPECT_EQ(Run_Grid_Cells(p.lines[3], 4)[4], ""); // a refused line shows no figure

    const Run_Totals totals = Compute_Run_Totals(p.lines);
    EXPECT_EQ(totals.ready, 1);
    EXPECT_EQ(totals.refused, 3);
    EXPECT_EQ(totals.saved, 0);
    EXPECT_DOUBLE_EQ(totals.net, 120000.0);
    EXPECT_DOUBLE_EQ(totals.department, 23160.0);
    EXPECT_DOUBLE_EQ(totals.university, 96840.0);

    // the preview wrote nothing
    EXPECT_EQ(Saved_Count(t), 0);
    EXPECT_EQ(Status(t, QStringLiteral("10000001")), QStringLiteral("A"));

    Run_Preview stale = p; // a second officer's preview of the same month
    // marking a refused line does not save it
    std::vector<bool> marks(p.lines.size(), true);
    const Save_Outcome first = Save_Run(t.db(), p, marks);
    EXPECT_EQ(first.saved, 1);
    EXPECT_EQ(first.refused, 0);
    EXPECT_FALSE(first.stopped);
    EXPECT_EQ(p.lines[0].state, Line_State::Saved);
    EXPECT_EQ(p.lines[1].reason, calc::kMessage_Already_Calculated);
    EXPECT_EQ(Saved_Count(t), 1);
    EXPECT_EQ(
        test::Count(t, QStringLiteral("EP_mRec_Money_Detail"), QStringLiteral("SapID"), QStringLiteral("10000001")), 2);
    EXPECT_EQ(Status(t, QStringLiteral("10000001")), QStringLiteral("P"));
    EXPECT_EQ(Status(t, QStringLiteral("10000003")), QStringLiteral("A"));
    EXPECT_EQ(Status(t, QStringLiteral("10000004")), QStringLiteral("A"));

    const Save_Outcome second = Save_Run(t.db(), stale, Ready_Marks(stale));
    EXPECT_EQ(second.saved, 0);
    EXPECT_EQ(second.refused, 1);
    EXPECT_EQ(stale.lines[0].state, Line_State::Refused);
    EXPECT_EQ(stale.lines[0].reason, calc::kMessage_Already_Calculated);
    EXPECT_EQ(Saved_Count(t), 1);

    Run_Preview again;
    ASSERT_TRUE(Preview_Run(t.db(), Month_Choice(), &again, &error)) << error;
    for (const Run_Line& l : again.lines)
        EXPECT_EQ(l.state, Line_State::Refused) << l.sapid;
    EXPECT_EQ(again.lines[0].reason, calc::kMessage_Already_Calculated);
}

// Every ready line carries exactly what the calculation gives that employee.
TEST(Month_End_Run, ReadyLinesAgreeWithTheCalculation)
{
    TestDatabase t;
    Add_Four(t);
    // an earlier payment under another SAP ID for a second ready employee
    Test_Employee e;
    e.sapid = QStringLiteral("20000002");
    e.ssn = QStringLiteral("3100100000066");
    e.salary = 30000.0;
    e.depart = QStringLiteral("11");
    test::Add_Employee(t, e);
    test::Add_Period(
        t, e.sapid, e.ssn, QStringLiteral("2"), QStringLiteral("01/04/2551"), QStringLiteral("30/09/2555"));
    test::Add_Saved(t, QStringLiteral("20000001"), e.ssn, QStringLiteral("03/2011"), 3, 5, 15, 6, 15000.0);

    Run_Choice choice = Month_Choice();
    Run_Preview p;
    std::string error;
    ASSERT_TRUE(Preview_Run(t.db(), choice, &p, &error)) << error;
    int ready = 0;
    for (const Run_Line& l : p.lines) {
        if (l.state != Line_State::Ready)
            continue;
        ++ready;
        calc::Calculation_Input in;
        ASSERT_TRUE(calc::Load_Calculation_Input(t.db(), l.sapid, "10/2012", std::nullopt, std::nullopt, &in, &error));
        EXPECT_EQ(calc::Calculation_Json(l.input, l.calculation), calc::Calculation_Json(in, calc::Run_Calculation(in)))
            << l.sapid;
    }
    EXPECT_EQ(ready, 2);
    const Run_Line* withEarlier = nullptr;
    for (const Run_Line& l : p.lines)
        if (l.sapid == "20000002")
            withEarlier = &l;
    ASSERT_NE(withEarlier, nullptr);
    EXPECT_EQ(withEarlier->calculation.money.paid_earlier_text, "90,000.00");
}

TEST(Month_End_Run, ChoicesAndBadInput)
{
    TestDatabase t;
    Add_Four(t);
    struct Case
    {
        const char* name;
        Run_Choice choice;
        std::vector<std::string> sapids; // chosen, in order; empty: refused with `message`
        std::string message;
    };
    auto choice = [](std::string month, std::string ends, std::vector<std::string> ids, std::string depart = {},
                      std::string type = {}) {
        Run_Choice c;
        c.request_month = std::move(month);
        c.ends_month = std::move(ends);
        c.sapids = std::move(ids);
        c.department = std::move(depart);
        c.work_type = std::move(type);
        return c;
    };
    const Case cases[] = {
        {"department", choice("10/2012", "09/2012", {}, "คณะวิทยาศาสตร์"), {"10000003", "10000004"}, {}},
        {"type", choice("10/2012", "09/2012", {}, {}, "3"), {"10000002", "10000004"}, {}},
        {"both", choice("10/2012", "09/2012", {}, "สำนักงานอธิการบดี", "2"), {"10000001"}, {}},
        {"list keeps its order, once each", choice("10/2012", {}, {"10000004", " 99999999 ", "10000001", "10000004"}),
            {"10000004", "99999999", "10000001"}, {}},
        {"bad request month", choice("13/2012", "09/2012", {}), {},
            "เดือนปีที่ขอรับเงินชดเชยไม่ถูกต้อง: \"13/2012\" (ต้องเป็น ดด/ปปปป ปีเป็นคริสต์ศักราช เช่น 09/2012)"},
        {"bad contract-end month", choice("10/2012", "9/2012", {}), {},
            "เดือนปีที่ครบสัญญาไม่ถูกต้อง: \"9/2012\" (ต้องเป็น ดด/ปปปป ปีเป็นคริสต์ศักราช เช่น 09/2012)"},
        {"nothing chosen", choice("10/2012", {}, {}), {},
            "กรุณาระบุเดือนปีที่ครบสัญญา หรือรายการ SAP ID ของพนักงานที่ต้องการประมวลผล"},
        {"blank list", choice("10/2012", {}, {" ", ""}), {}, "กรุณาระบุ SAP ID ของพนักงานที่ต้องการประมวลผลอย่างน้อยหนึ่งรายการ"},
        {"unknown department", choice("10/2012", "09/2012", {}, "คณะ'ไม่มี"), {}, "ไม่พบส่วนงานชื่อ \"คณะ'ไม่มี\""},
        {"unknown type", choice("10/2012", "09/2012", {}, {}, "9"), {}, "ไม่พบประเภทการจ้างรหัส \"9\""},
        {"empty month", choice("10/2012", "01/2013", {}), {}, "ไม่พบพนักงานที่ครบสัญญาในเดือน 01/2013"},
        {"department with nobody that month", choice("10/2012", "10/2012", {}, "สำนักงานอธิการบดี"), {},
            "ไม่พบพนักงานที่ครบสัญญาในเดือน 10/2012 ส่วนงาน สำนักงานอธิการบดี"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Run_Preview p;
        std::string error;
        const bool ok = Preview_Run(t.db(), c.choice, &p, &error);
        EXPECT_EQ(ok, c.message.empty());
        EXPECT_EQ(error, c.message);
        std::vector<std::string> ids;
        for (const Run_Line& l : p.lines)
            ids.push_back(l.sapid);
        EXPECT_EQ(ids, c.sapids);
    }
    Run_Preview p;
    std::string error;
    ASSERT_TRUE(Preview_Run(t.db(), choice("10/2012", {}, {"99999999"}), &p, &error));
    EXPECT_EQ(p.lines[0].state, Line_State::Refused);
    EXPECT_EQ(p.lines[0].reason, "ไม่พบพนักงาน");
    EXPECT_EQ(Saved_Count(t), 0);
}

// Unreadable stored dates refuse with the calculation's own message.
TEST(Month_End_Run, UnreadableStoredDateIsRefused)
{
    TestDatabase t;
    test::Add_Lookups(t);
    Test_Employee e;
    test::Add_Employee(t, e);
    test::Add_Period(
        t, e.sapid, e.ssn, QStringLiteral("2"), QStringLiteral("31/02/2551"), QStringLiteral("30/09/2555"));
    Run_Preview p;
    std::string error;
    ASSERT_TRUE(Preview_Run(t.db(), Month_Choice(), &p, &error)) << error;
    ASSERT_EQ(p.lines.size(), 1u);
    EXPECT_EQ(p.lines[0].state, Line_State::Refused);
    EXPECT_EQ(p.lines[0].reason,
        calc::Run_Calculation([&] {
            calc::Calculation_Input in;
            std::string e2;
            EXPECT_TRUE(
                calc::Load_Calculation_Input(t.db(), "10000001", "10/2012", std::nullopt, std::nullopt, &in, &e2));
            return in;
        }())
            .error);
    EXPECT_NE(p.lines[0].reason.find("31/02/2551"), std::string::npos) << p.lines[0].reason;
}

// A failure in the middle: the employee rolled back and reported, the ones
// before kept; the officer chooses to stop or go on.
TEST(Month_End_Run, FailureMidRunStopsOrGoesOnAsChosen)
{
    for (const bool goOn : {false, true}) {
        SCOPED_TRACE(goOn ? "go on" : "stop");
        TestDatabase t;
        test::Add_Lookups(t);
        for (int i = 1; i <= 3; ++i) {
            Test_Employee e;
            e.sapid = QStringLiteral("3000000%1").arg(i);
            e.ssn = QStringLiteral("SSN%1").arg(i);
            test::Add_Employee(t, e);
            test::Add_Period(
                t, e.sapid, e.ssn, QStringLiteral("2"), QStringLiteral("01/10/2551"), QStringLiteral("30/09/2555"));
        }
        Run_Choice c = Month_Choice();
        c.sapids = {"30000001", "30000002", "30000003"};
        Run_Preview p;
        std::string error;
        ASSERT_TRUE(Preview_Run(t.db(), c, &p, &error)) << error;
        int failures = 0;
        Save_Control control;
        control.go_on = [&](int done, int) {
            // the detail table disappears after the first save: the second fails at its detail row
            if (done == 1)
                t.exec(QStringLiteral("ALTER TABLE EP_mRec_Money_Detail RENAME TO EP_Detail_Gone"));
            if (done == 2 && goOn)
                t.exec(QStringLiteral("ALTER TABLE EP_Detail_Gone RENAME TO EP_mRec_Money_Detail"));
            return true;
        };
        control.go_on_after_failure = [&](const Run_Line&) {
            ++failures;
            return goOn;
        };
        const Save_Outcome o = Save_Run(t.db(), p, Ready_Marks(p), control);
        EXPECT_EQ(failures, 1);
        EXPECT_EQ(o.saved, goOn ? 2 : 1);
        EXPECT_EQ(o.refused, 1);
        EXPECT_EQ(o.stopped, !goOn);
        EXPECT_EQ(p.lines[1].state, Line_State::Refused);
        EXPECT_NE(p.lines[1].reason.find("บันทึกรายละเอียดช่วงการทำงาน"), std::string::npos) << p.lines[1].reason;
        // the failed employee: nothing written, still "A"
        EXPECT_EQ(Status(t, QStringLiteral("30000002")), QStringLiteral("A"));
        EXPECT_EQ(test::Count(
                      t, QStringLiteral("EP_mRec_Money_Chodchoy"), QStringLiteral("SapID"), QStringLiteral("30000002")),
            0);
        EXPECT_EQ(Status(t, QStringLiteral("30000001")), QStringLiteral("P"));
        EXPECT_EQ(Status(t, QStringLiteral("30000003")), goOn ? QStringLiteral("P") : QStringLiteral("A"));
        EXPECT_EQ(p.lines[2].state, goOn ? Line_State::Saved : Line_State::Ready);
    }
}

// The officer cancels after the first line: it stays complete, the rest untouched.
TEST(Month_End_Run, CancelledRunKeepsSavedLinesWhole)
{
    TestDatabase t;
    Add_Four(t);
    Test_Employee e;
    e.sapid = QStringLiteral("10000006");
    e.ssn = QStringLiteral("3100100000066");
    test::Add_Employee(t, e);
    test::Add_Period(
        t, e.sapid, e.ssn, QStringLiteral("2"), QStringLiteral("01/10/2551"), QStringLiteral("30/09/2555"));
    Run_Preview p;
    std::string error;
    ASSERT_TRUE(Preview_Run(t.db(), Month_Choice(), &p, &error)) << error;
    ASSERT_EQ(Compute_Run_Totals(p.lines).ready, 2);
    Save_Control control;
    control.go_on = [](int done, int) { return done < 1; };
    const Save_Outcome o = Save_Run(t.db(), p, Ready_Marks(p), control);
    EXPECT_TRUE(o.stopped);
    EXPECT_EQ(o.saved, 1);
    EXPECT_EQ(Saved_Count(t), 1);
    EXPECT_EQ(
        test::Count(t, QStringLiteral("EP_mRec_Money_Detail"), QStringLiteral("SapID"), QStringLiteral("10000001")), 2);
    EXPECT_EQ(Status(t, QStringLiteral("10000006")), QStringLiteral("A"));
}

// Two officers run overlapping choices at once, each on a connection of its
// own: every employee is saved exactly once, by one of them.
TEST(Month_End_Run, TwoConcurrentRunsSaveEachEmployeeOnce)
{
    TestDatabase t;
    test::Add_Lookups(t);
    constexpr int kEmployees = 12;
    std::vector<std::string> all;
    for (int i = 0; i < kEmployees; ++i) {
        Test_Employee e;
        e.sapid = QStringLiteral("400000%1").arg(i, 2, 10, QLatin1Char('0'));
        e.ssn = QStringLiteral("SSN4%1").arg(i);
        test::Add_Employee(t, e);
        test::Add_Period(
            t, e.sapid, e.ssn, QStringLiteral("2"), QStringLiteral("01/10/2551"), QStringLiteral("30/09/2555"));
        all.push_back(e.sapid.toStdString());
    }
    // officer 0: the first eight; officer 1: the last eight, in reverse
    const std::vector<std::string> choices[2] = {{all.begin(), all.begin() + 8}, {all.rbegin(), all.rbegin() + 8}};
    std::barrier ready(2);
    Save_Outcome outcomes[2];
    std::string errors[2];
    Run_Preview previews[2];
    auto officer = [&](int who) {
        QString openError;
        auto db = db::Database::open(t.url(), &openError);
        Run_Choice c = Month_Choice();
        c.sapids = choices[who];
        const bool ok = db && Preview_Run(*db, c, &previews[who], &errors[who]);
        ready.arrive_and_wait();
        if (!ok)
            return;
        outcomes[who] = Save_Run(*db, previews[who], Ready_Marks(previews[who]));
    };
    std::thread a(officer, 0), b(officer, 1);
    a.join();
    b.join();
    ASSERT_TRUE(errors[0].empty() && errors[1].empty()) << errors[0] << errors[1];
    EXPECT_EQ(outcomes[0].saved + outcomes[1].saved, kEmployees) << outcomes[0].error << " / " << outcomes[1].error;
    EXPECT_EQ(outcomes[0].refused + outcomes[1].refused, 4); // the four both chose
    for (int who = 0; who < 2; ++who) {
        for (const Run_Line& l : previews[who].lines) {
            if (l.state == Line_State::Refused) {
                EXPECT_EQ(l.reason, calc::kMessage_Already_Calculated) << l.sapid;
            }
        }
    }
    for (const std::string& id : all) {
        const QString key = QString::fromStdString(id);
        EXPECT_EQ(test::Count(t, QStringLiteral("EP_mRec_Money_Chodchoy"), QStringLiteral("SapID"), key), 1) << id;
        EXPECT_EQ(test::Count(t, QStringLiteral("EP_mRec_Money_Detail"), QStringLiteral("SapID"), key), 1) << id;
        EXPECT_EQ(Status(t, key), QStringLiteral("P"));
    }
}

} // namespace
