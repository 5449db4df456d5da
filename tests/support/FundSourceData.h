#pragma once

#include "support/TestDatabase.h"

#include <QString>
#include <QVariant>

namespace velmora::test {

// A saved calculation as the fund-source report reads it; dates Buddhist era,
// Fact_Month_Weigth and Kv_Month_Weight the unit's and the university's months,
// Is_Print_doc null unless given ('N' or 'Y'). Saved by officer1 and checked
// by checker1, so that it may go on an approval memo.
inline void addCalc(const TestDatabase& t, const QString& sapId, const QString& first, const QString& dateEntry,
    double net, double fact, double kv, const QString& depart = QStringLiteral("คณะวิทยาศาสตร์"),
    const QVariant& printed = QVariant())
{
    t.exec(QStringLiteral("INSERT INTO EP_mRec_Money_Chodchoy (SapID, SSN, MMYYYY_Recieve, Date_Entry, Date_Beg_Cal, "
                          "Date_End_Cal, Total_Day, No_Year, No_Month, No_Day, Last_Salary, N_T, Emp_Surname, "
                          "Emp_F_Name, Emp_L_Name, Fact_Month_Weigth, Kv_Month_Weight, His_Rec_Money, "
                          "Net_Money_Recieve, Depart_Code, Depart_Name, Rec_Status, Event_Out, Is_Print_doc) "
                          "VALUES (?, ?, '03/2024', ?, '01/10/2550', '31/03/2567', 6010, 16, 5, 14, 12500.5, 10, "
                          "'นาย', ?, 'ทดสอบ', ?, ?, 0, ?, '11', ?, 'FC', 'ครบกำหนดระยะเวลาการจ้างตามสัญญา', ?)"),
        {sapId, QStringLiteral("3") + sapId, dateEntry, first, fact, kv, net, depart,
            printed.isValid() ? printed : QVariant(QMetaType::fromType<QString>())});
    t.exec(QStringLiteral("INSERT INTO EP_Calc_Check (SapID, Check_State, Saved_By, Checked_By) "
                          "VALUES (?, 'C', 'officer1', 'checker1')"),
        {sapId});
}

inline void addPeriod(
    const TestDatabase& t, const QString& sapId, const QString& code, const QString& begin, const QString& end)
{
    t.exec(QStringLiteral("INSERT INTO EP_mRec_Money_Detail (SapID, Work_Type_Code, Date_B_cal, Date_E_Cal, Sum_Day, "
                          "Sum_Month, Sum_Month_Weight) VALUES (?, ?, ?, ?, 0, 0, 0)"),
        {sapId, code, begin, end});
}

inline void addFundTypes(const TestDatabase& t)
{
    t.exec(QStringLiteral("INSERT INTO EP_TR_Work_Type (Work_Type_Code, Work_Type) VALUES ('2', 'พนักงานมหาวิทยาลัย')"));
    t.exec(QStringLiteral("INSERT INTO EP_TR_Work_Type (Work_Type_Code, Work_Type) VALUES ('3', 'พนักงานส่วนงาน')"));
}

} // namespace velmora::test
