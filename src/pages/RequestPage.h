#pragma once

// The request document for the compensation ("เอกสารขอรับเงินชดเชยพนักงาน"),
// printed from the calculation screen right after saving and from the
// disbursement detail screen: one layout, one page per saved calculation.

#include "pages/PageLayout.h"
#include "services/SavedCalculations.h"

#include <QList>
#include <QString>

#include <optional>

namespace velmora::print {

// Rows of the two tables of the page.
inline constexpr int kHistoryRows = 4; // of which the first two earlier payments are printed
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
