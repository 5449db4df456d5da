#pragma once

// The request document for the compensation ("เอกสารขอรับเงินชดเชยพนักงาน"),
// printed from the calculation screen right after saving and from the
// disbursement detail screen: one layout, one page per saved calculation.

#include "reports/print/PageLayout.h"

#include <QList>
#include <QString>

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
};

// A row of EP_mRep_Rec_Money: an earlier payment shown in the calculation.
struct EarlierPayment
{
    int N_Order = 0;
    QString Depart_Code, Date_Beg_Cal, Date_End_Cal;
    int No_Year = 0, No_Month = 0, No_Day = 0, N_T = 0;
    double Last_Salary = 0, His_Rec_Money = 0, Net_Money_Recieve = 0;
};

// A row of EP_mRec_Money_Detail with the name of its employment type.
struct SavedPeriod
{
    QString Work_Type;
    QString Date_B_cal, Date_E_Cal;
    double Sum_Month_Weight = 0;
};

// What the page is printed from: the saved calculation (none when the SAP ID
// has no saved row), its earlier payments by N_Order and its periods by start date.
struct RequestDocument
{
    std::optional<SavedCalculation> calculation;
    QList<EarlierPayment> earlier;
    QList<SavedPeriod> periods;
};

// Rows of the two tables of the page.
inline constexpr int kHistoryRows = 4;   // of which the first two earlier payments are printed
inline constexpr int kHistoryPrinted = 2;
inline constexpr int kPeriodRows = 3;

// The page's layout with its set items empty. Set items are named
// "Hist<row>_<column>" (row 1 to 4; columns Depart_Code, Date_Beg_Cal,
// Date_End_Cal, No_Year, No_Month, No_Day, N_T, Last_Salary, Money_Cal,
// His_Rec_Money, Net_Money_Recieve), "Cur<row>_<column>" (row 1 to 3; columns
// Work_Type, Date_B_cal, Date_E_Cal, Years, Months, Days, Sum_Month_Weight)
// and "Sum_Month_Total".
PageLayout requestPageLayout();

// The data row of the page: the saved calculation's columns and the derived
// values the page shows (Full_Name, Money_Cal = N_T x Last_Salary, the shares
// Fact_Share and Kv_Share and their sum Total_Share).
DataRow requestDataRow(const SavedCalculation& c);

// The set items filled from the earlier payments and the periods.
void fillRequestSetItems(PageLayout& layout, const QList<EarlierPayment>& earlier, const QList<SavedPeriod>& periods);

// The page, every text final. With no saved calculation the page is empty.
PageLayout buildRequestPage(const RequestDocument& document);

// The unit's and the university's share of the net: net x weight / (both
// weights). Both 0 when the weights add to 0, which leaves no split defined.
struct Split
{
    double fact = 0;
    double kv = 0;
    bool defined = true;
};
Split splitNet(double factMonths, double kvMonths, double net);

} // namespace velmora::print
