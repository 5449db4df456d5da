#include "CalcTestData.h"

#include <QDateTime>

namespace velmora::test {

void Add_Lookups(const TestDatabase& t)
{
    t.exec(QStringLiteral("INSERT INTO EP_TR_Depart (Depart_Code, Dapart_Name) VALUES (?, ?)"),
        {QStringLiteral("01"), QStringLiteral("สำนักงานอธิการบดี")});
    t.exec(QStringLiteral("INSERT INTO EP_TR_Depart (Depart_Code, Dapart_Name) VALUES (?, ?)"),
        {QStringLiteral("11"), QStringLiteral("คณะวิทยาศาสตร์")});
    t.exec(QStringLiteral("INSERT INTO EP_TR_Work_Type (Work_Type_Code, Work_Type) VALUES (?, ?)"),
        {QStringLiteral("2"), QStringLiteral("พนักงานมหาวิทยาลัย")});
    t.exec(QStringLiteral("INSERT INTO EP_TR_Work_Type (Work_Type_Code, Work_Type) VALUES (?, ?)"),
        {QStringLiteral("3"), QStringLiteral("พนักงานส่วนงาน")});
}

void Add_Employee(const TestDatabase& t, const Test_Employee& e)
{
    const QDate begin = QDate::fromString(e.beginText, QStringLiteral("dd/MM/yyyy"));
    const QDate end = QDate::fromString(e.endText, QStringLiteral("dd/MM/yyyy"));
    t.exec(QStringLiteral(
               "INSERT INTO EP_Emp_Main (SapID, SSN, Surname, F_Name, L_Name, Emp_BirthDay, "
               "Work_Begin_Date, Work_Begin_Date_Text, Work_Type_Code, Work_End_Date, Work_End_Date_Text, "
               "Depart_Code, Money_Rate, Emp_RecMChod_Status) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
        {e.sapid, e.ssn, e.prefix, e.firstName, e.lastName, QStringLiteral("15/03/1975"), QDateTime(begin, QTime(0, 0)),
            e.beginText, e.typeCode, QDateTime(end, QTime(0, 0)), e.endText, e.depart, e.salary, e.status});
    if (!e.reason.isEmpty())
        t.exec(QStringLiteral("INSERT INTO EP_Reason_out (SapID, Event_out) VALUES (?, ?)"), {e.sapid, e.reason});
}

void Add_Period(const TestDatabase& t, const QString& sapid, const QString& ssn, const QString& code,
    const QString& begin, const QString& end)
{
    const QString name =
        code == QLatin1String("3") ? QStringLiteral("พนักงานส่วนงาน") : QStringLiteral("พนักงานมหาวิทยาลัย");
    t.exec(
        QStringLiteral("INSERT INTO EP_Work_Histry (SapID, SSN, Work_Type_Code, Work_Type, Work_B_Date, Work_E_Date) "
                       "VALUES (?, ?, ?, ?, ?, ?)"),
        {sapid, ssn, code, name, begin, end});
}

void Add_Saved(const TestDatabase& t, const QString& sapid, const QString& ssn, const QString& month, int years,
    int months, int days, int multiplier, double salary)
{
    t.exec(QStringLiteral("INSERT INTO EP_mRec_Money_Chodchoy (SapID, SSN, MMYYYY_Recieve, Date_Entry, Date_Beg_Cal, "
                          "Date_End_Cal, Total_Day, No_Year, No_Month, No_Day, Last_Salary, N_T, His_Rec_Money, "
                          "Net_Money_Recieve, Depart_Code, Depart_Name, Rec_Status) "
                          "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
        {sapid, ssn, month, QStringLiteral("01/01/2556"), QStringLiteral("17/10/2550"), QStringLiteral("31/03/2556"),
            1000, years, months, days, salary, multiplier, 0.0, multiplier * salary, QStringLiteral("01"),
            QStringLiteral("สำนักงานอธิการบดี"), QStringLiteral("FC")});
}

void Add_Worked_Example(const TestDatabase& t)
{
    Add_Lookups(t);
    Test_Employee e;
    Add_Employee(t, e);
    Add_Period(t, e.sapid, e.ssn, QStringLiteral("3"), QStringLiteral("01/10/2549"), QStringLiteral("30/09/2551"));
    Add_Period(t, e.sapid, e.ssn, QStringLiteral("2"), QStringLiteral("01/10/2551"), QStringLiteral("30/09/2555"));
}

int Count(const TestDatabase& t, const QString& table, const QString& sapidColumn, const QString& sapid)
{
    return t.scalar(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2 = ?").arg(table, sapidColumn), {sapid}).toInt();
}

} // namespace velmora::test
