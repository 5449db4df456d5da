#pragma once

// Rows for the calculation's database tests.

#include "support/TestDatabase.h"

#include <QString>

namespace velmora::test {

struct Test_Employee
{
    QString sapid = QStringLiteral("10000001");
    QString ssn = QStringLiteral("3100100000011");
    QString prefix = QStringLiteral("นาย");
    QString firstName = QStringLiteral("สมชาย");
    QString lastName = QStringLiteral("ใจดี");
    QString typeCode = QStringLiteral("2");
    QString beginText = QStringLiteral("01/10/2006");
    QString endText = QStringLiteral("30/09/2012");
    QString depart = QStringLiteral("11");
    double salary = 20000.0;
    QString status = QStringLiteral("A");
    QString reason = QStringLiteral("ครบกำหนดระยะเวลาการจ้างตามสัญญา"); // empty: no reason row
};

// Departments 01 and 11, the two employment types.
void Add_Lookups(const TestDatabase& t);
void Add_Employee(const TestDatabase& t, const Test_Employee& e);
void Add_Period(const TestDatabase& t, const QString& sapid, const QString& ssn, const QString& code,
    const QString& begin, const QString& end);
// A saved calculation (summary row only) as an earlier payment.
void Add_Saved(const TestDatabase& t, const QString& sapid, const QString& ssn, const QString& month, int years,
    int months, int days, int multiplier, double salary);
// The worked example's employee with its two periods.
void Add_Worked_Example(const TestDatabase& t);

int Count(const TestDatabase& t, const QString& table, const QString& sapidColumn, const QString& sapid);

} // namespace velmora::test
