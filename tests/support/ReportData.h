#pragma once

#include "support/TestDatabase.h"

#include <QDate>
#include <QDateTime>
#include <QString>

namespace velmora::test {

// Rows for the report tests, written with bound values.
inline void addType(const TestDatabase& t, const QString& code, const QString& name)
{
    t.exec(QStringLiteral("INSERT INTO EP_TR_Work_Type (Work_Type_Code, Work_Type) VALUES (?, ?)"), {code, name});
}

inline void addDepart(const TestDatabase& t, const QString& code, const QString& name)
{
    t.exec(QStringLiteral("INSERT INTO EP_TR_Depart (Depart_Code, Dapart_Name) VALUES (?, ?)"), {code, name});
}

struct Employee
{
    QString sapId;
    QString first;
    QString birth; // dd/mm/yyyy, Christian era
    QDate begin;
    QDate end;
    QString type;
    QString depart;
    double rate = 10000;
    QString title = QStringLiteral("นาย");
    QString last = QStringLiteral("ทดสอบ");
};

inline void addEmployee(const TestDatabase& t, const Employee& e)
{
    auto dt = [](const QDate& d) { return d.isValid() ? QVariant(QDateTime(d, QTime(0, 0))) : QVariant(); };
    auto tx = [](const QDate& d) { return d.isValid() ? d.toString(QStringLiteral("dd/MM/yyyy")) : QString(); };
    t.exec(QStringLiteral("INSERT INTO EP_Emp_Main (SapID, SSN, Surname, F_Name, L_Name, Emp_BirthDay, "
                          "Work_Begin_Date, Work_Begin_Date_Text, Work_Type_Code, Work_End_Date, Work_End_Date_Text, "
                          "Depart_Code, Money_Rate, Emp_RecMChod_Status) "
                          "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
        {e.sapId, QStringLiteral("3") + e.sapId, e.title, e.first, e.last, e.birth, dt(e.begin), tx(e.begin), e.type,
            dt(e.end), tx(e.end), e.depart, e.rate, QStringLiteral("A")});
}

struct Saved
{
    QString sapId;
    QString month; // mm/yyyy
    QString depart;
    double lastSalary = 15000;
    int nt = 10;
    double earlier = 0;
    double net = 0;
};

inline void addSaved(const TestDatabase& t, const Saved& s)
{
    t.exec(QStringLiteral("INSERT INTO EP_mRec_Money_Chodchoy (SapID, SSN, MMYYYY_Recieve, Date_Entry, Date_Beg_Cal, "
                          "Date_End_Cal, Total_Day, No_Year, No_Month, No_Day, Last_Salary, N_T, Emp_Surname, "
                          "Emp_F_Name, Emp_L_Name, His_Rec_Money, Net_Money_Recieve, Depart_Code, Depart_Name, "
                          "Rec_Status) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
        {s.sapId, QStringLiteral("3") + s.sapId, s.month, QStringLiteral("09/12/2569"), QStringLiteral("01/10/2549"),
            QStringLiteral("30/09/2559"), 3653, 10, 0, 0, s.lastSalary, s.nt, QStringLiteral("นาย"),
            QStringLiteral("ชื่อ") + s.sapId, QStringLiteral("สกุล"), s.earlier, s.net, QStringLiteral("11"), s.depart,
            QStringLiteral("FC")});
}

} // namespace velmora::test
