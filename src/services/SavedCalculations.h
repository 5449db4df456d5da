#pragma once

// Reads the saved-calculation tables (EP_mRec_Money_Chodchoy,
// EP_mRec_Money_Detail, EP_mRep_Rec_Money) for the printed pages and for the
// list of the disbursement detail screen. Queries only; nothing is written.

#include "db/AuditLog.h"
#include "db/Database.h"
#include "rules/Compensation.h"
#include "services/CalculationChecks.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace velmora::print {

// A row of EP_mRec_Money_Chodchoy as the page uses it. Dates are Buddhist-era texts.
struct SavedCalculation
{
    QString SapID;
    QString Emp_Surname, Emp_F_Name, Emp_L_Name;
    QString Date_Beg_Cal, Date_End_Cal, Date_Entry;
    QString Depart_Code, Depart_Name;
    QString Event_Out;
    int Total_Day = 0;
    int No_Year = 0, No_Month = 0, No_Day = 0;
    int N_T = 0;
    double Last_Salary = 0;
    double His_Rec_Money = 0;
    double Net_Money_Recieve = 0;
    double Fact_Month_Weigth = 0;
    double Kv_Month_Weight = 0;
    // the columns the calculation annex adds
    QString SSN {}, MMYYYY_Recieve {};
    int Fact_No_Date = 0, KV_No_Date = 0;
    double Fact_Per_Cent = 0, KV_Per_Cent = 0;
};

// A row of EP_mRep_Rec_Money: an earlier payment shown in the calculation.
struct EarlierPayment
{
    int N_Order = 0;
    QString Depart_Code, Date_Beg_Cal, Date_End_Cal;
    int No_Year = 0, No_Month = 0, No_Day = 0, N_T = 0;
    double Last_Salary = 0, His_Rec_Money = 0, Net_Money_Recieve = 0;
    // the columns the calculation annex adds (initialised, so that a
    // brace-initialised payment may leave them out)
    QString SapID {}, MMYYYY_Recieve {}, Depart_Name {};
    int Total_Day = 0;
};

// A row of EP_mRec_Money_Detail with the name of its employment type.
struct SavedPeriod
{
    QString Work_Type;
    QString Date_B_cal, Date_E_Cal;
    double Sum_Month_Weight = 0;
    // the columns the calculation annex adds (initialised, as above)
    QString Work_Type_Code {};
    int Sum_Day = 0; // from the period's own start, both days counted
    int Sum_Month = 0;
};

// What the page is printed from: the saved calculation (none when the SAP ID
// has no saved row), its earlier payments by N_Order and its periods by start
// date, and the audit trail's last row when they were read (its small print).
struct RequestDocument
{
    std::optional<SavedCalculation> calculation;
    QList<EarlierPayment> earlier;
    QList<SavedPeriod> periods;
    audit::PrintedValue printed {};
};

// The request document of one SAP ID: its saved calculation (none when the SAP
// ID has none), its earlier payments by N_Order and its periods by start date
// (year, month, day of the Buddhist-era text), and the trail's last row read
// after them. False on a database error.
bool readRequestDocument(const db::Database& db, const QString& sapId, RequestDocument* out, QString* error);

// What the calculation annex is printed from: the request document's rows,
// the bracket table the multiplier is chosen from, and who saved and who
// checked the calculation.
struct AnnexDocument
{
    RequestDocument request;
    std::vector<calc::Bracket> brackets;
    checks::CheckRow check {};
    bool fourEyes = true; // the office's check was on when it was read
};

// The annex's rows of one SAP ID (request.calculation empty when it has no
// saved calculation). False on a database error.
bool readAnnexDocument(const db::Database& db, const QString& sapId, AnnexDocument* out, QString* error);

// The disbursement detail list.
struct DetailSearch
{
    bool byFirstName = false; // "ชื่อ" ticked
    QString firstNamePart; // as typed; matched anywhere in Emp_F_Name
};

// Titles and pixel widths of the list's nine columns.
QStringList detailListTitles();
QList<int> detailListWidths();

// One line per saved calculation, in the server's order: the running number,
// SapID, the full name, "'" + Date_Beg_Cal, "'" + Date_End_Cal, Depart_Code,
// Depart_Name, Total_Day and Net_Money_Recieve as amount text. No value on a
// database error.
std::optional<QList<QStringList>> listSavedCalculations(
    const db::Database& db, const DetailSearch& search, QString* error);

} // namespace velmora::print
