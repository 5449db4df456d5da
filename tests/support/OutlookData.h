#pragma once

// The employees of the contract-end outlook tests: contract ends around the
// worked example (the outlook runs 09/2012 to 08/2013).

#include "CalcTestData.h"
#include "ReportData.h"

namespace velmora::test {

inline Test_Employee Person(const char* sapid, const char* depart, const char* type, const char* end)
{
    Test_Employee e;
    e.sapid = QString::fromLatin1(sapid);
    e.ssn = QStringLiteral("31001") + e.sapid;
    e.depart = QString::fromLatin1(depart);
    e.typeCode = QString::fromLatin1(type);
    e.endText = QString::fromLatin1(end);
    return e;
}

// Counted: 10000001 (09/2012, คณะวิทยาศาสตร์, 120,000.00), 10000002 (03/2013,
// คณะวิทยาศาสตร์, 60,000.00), 10000003 (09/2012, สำนักงานอธิการบดี, 12,000.00).
// Refused: 10000004 (no period), 10000007 (no such date), 10000008 (no reason).
// Left out: 10000005 (already calculated), 10000006 (after the twelve months).
inline void Add_Contract_End_Outlook(const TestDatabase& t)
{
    Add_Lookups(t);
    Test_Employee w = Person("10000001", "11", "2", "30/09/2012"); // the worked example: 120,000.00
    Add_Employee(t, w);
    Add_Period(t, w.sapid, w.ssn, "3", "01/10/2549", "30/09/2551");
    Add_Period(t, w.sapid, w.ssn, "2", "01/10/2551", "30/09/2555");

    // Three years as a department employee at 15,000 (6 salaries), less an
    // earlier payment of 3 x 10,000 under another SAP ID: 60,000.00.
    Test_Employee b = Person("10000002", "11", "3", "31/03/2013");
    b.salary = 15000;
    Add_Employee(t, b);
    Add_Period(t, b.sapid, b.ssn, "3", "01/04/2553", "31/03/2556");
    Add_Saved(t, "09000002", b.ssn, "03/2010", 1, 0, 0, 3, 10000);

    // 351 days: one salary, 12,000.00.
    Test_Employee c = Person("10000003", "01", "2", "15/09/2012");
    c.salary = 12000;
    Add_Employee(t, c);
    Add_Period(t, c.sapid, c.ssn, "2", "01/10/2554", "15/09/2555");

    Add_Employee(t, Person("10000004", "01", "3", "31/10/2012")); // no period: refused

    Test_Employee paid = Person("10000005", "11", "2", "30/09/2012"); // already calculated
    paid.status = "P";
    Add_Employee(t, paid);
    Add_Period(t, paid.sapid, paid.ssn, "2", "01/10/2551", "30/09/2555");

    Test_Employee later = Person("10000006", "11", "2", "30/09/2013"); // after the twelve months
    Add_Employee(t, later);
    Add_Period(t, later.sapid, later.ssn, "2", "01/10/2551", "30/09/2556");

    Add_Employee(t, Person("10000007", "01", "2", "31/02/2013")); // no such date

    Test_Employee noReason = Person("10000008", "11", "2", "30/11/2012");
    noReason.reason.clear();
    Add_Employee(t, noReason);
    Add_Period(t, noReason.sapid, noReason.ssn, "2", "01/10/2551", "30/11/2555");
}

} // namespace velmora::test
