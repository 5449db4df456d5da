#include "services/SavedCalculations.h"

#include "db/Statement.h"

#include "rules/AmountText.h"
#include "rules/Utility.h"
#include "services/CalculationService.h"
#include "services/CancelService.h"
#include "services/OfficeSettings.h"
#include "services/Rights.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

namespace velmora::print {

namespace {

QString text(const QSqlQuery& q, const char* column)
{
    const QVariant v = q.value(QLatin1String(column));
    return v.isNull() ? QString() : v.toString();
}

int whole(const QSqlQuery& q, const char* column)
{
    return q.value(QLatin1String(column)).toInt();
}

double number(const QSqlQuery& q, const char* column)
{
    return q.value(QLatin1String(column)).toDouble();
}

SavedCalculation calculationFrom(const QSqlQuery& q)
{
    SavedCalculation c;
    c.SapID = text(q, "SapID");
    c.SSN = text(q, "SSN");
    c.MMYYYY_Recieve = text(q, "MMYYYY_Recieve");
    c.Fact_No_Date = whole(q, "Fact_No_Date");
    c.KV_No_Date = whole(q, "KV_No_Date");
    c.Fact_Per_Cent = number(q, "Fact_Per_Cent");
    c.KV_Per_Cent = number(q, "KV_Per_Cent");
    c.Emp_Surname = text(q, "Emp_Surname");
    c.Emp_F_Name = text(q, "Emp_F_Name");
    c.Emp_L_Name = text(q, "Emp_L_Name");
    c.Date_Beg_Cal = text(q, "Date_Beg_Cal");
    c.Date_End_Cal = text(q, "Date_End_Cal");
    c.Date_Entry = text(q, "Date_Entry");
    c.Depart_Code = text(q, "Depart_Code");
    c.Depart_Name = text(q, "Depart_Name");
    c.Event_Out = text(q, "Event_Out");
    c.Total_Day = whole(q, "Total_Day");
    c.No_Year = whole(q, "No_Year");
    c.No_Month = whole(q, "No_Month");
    c.No_Day = whole(q, "No_Day");
    c.N_T = whole(q, "N_T");
    c.Last_Salary = number(q, "Last_Salary");
    c.His_Rec_Money = number(q, "His_Rec_Money");
    c.Net_Money_Recieve = number(q, "Net_Money_Recieve");
    c.Fact_Month_Weigth = number(q, "Fact_Month_Weigth");
    c.Kv_Month_Weight = number(q, "Kv_Month_Weight");
    return c;
}

const char* const kCalculationColumns =
    "SapID, Emp_Surname, Emp_F_Name, Emp_L_Name, Date_Beg_Cal, Date_End_Cal, Date_Entry, Depart_Code, "
    "Depart_Name, Event_Out, Total_Day, No_Year, No_Month, No_Day, N_T, Last_Salary, His_Rec_Money, "
    "Net_Money_Recieve, Fact_Month_Weigth, Kv_Month_Weight, SSN, MMYYYY_Recieve, Fact_No_Date, KV_No_Date, "
    "Fact_Per_Cent, KV_Per_Cent";

} // namespace

bool readRequestDocument(const db::Database& db, const QString& sapId, RequestDocument* out, QString* error)
{
    if (!rights::allowed(db, rights::Action::PrintPage, error, sapId))
        return false;
    RequestDocument doc;

    QSqlQuery earlier = db.query();
    if (!db::prepareAndRun(db, earlier,
            QStringLiteral("SELECT N_Order, SapID, MMYYYY_Recieve, Depart_Code, Depart_Name, "
                           "Date_Beg_Cal, Date_End_Cal, Total_Day, No_Year, No_Month, No_Day, N_T, "
                           "Last_Salary, His_Rec_Money, Net_Money_Recieve "
                           "FROM EP_mRep_Rec_Money WHERE Main_SapID = ? ORDER BY N_Order"),
            {sapId}, QStringLiteral("อ่านประวัติการรับเงินชดเชย"), error))
        return false;
    while (earlier.next()) {
        EarlierPayment e;
        e.N_Order = whole(earlier, "N_Order");
        e.SapID = text(earlier, "SapID");
        e.MMYYYY_Recieve = text(earlier, "MMYYYY_Recieve");
        e.Depart_Code = text(earlier, "Depart_Code");
        e.Depart_Name = text(earlier, "Depart_Name");
        e.Total_Day = whole(earlier, "Total_Day");
        e.Date_Beg_Cal = text(earlier, "Date_Beg_Cal");
        e.Date_End_Cal = text(earlier, "Date_End_Cal");
        e.No_Year = whole(earlier, "No_Year");
        e.No_Month = whole(earlier, "No_Month");
        e.No_Day = whole(earlier, "No_Day");
        e.N_T = whole(earlier, "N_T");
        e.Last_Salary = number(earlier, "Last_Salary");
        e.His_Rec_Money = number(earlier, "His_Rec_Money");
        e.Net_Money_Recieve = number(earlier, "Net_Money_Recieve");
        doc.earlier << e;
    }

    const db::Dialect& d = db.dialect();
    const QString begin = QStringLiteral("EP_mRec_Money_Detail.Date_B_cal");
    QSqlQuery periods = db.query();
    if (!db::prepareAndRun(db, periods,
            QStringLiteral("SELECT EP_mRec_Money_Detail.Date_B_cal, EP_mRec_Money_Detail.Date_E_Cal, "
                           "EP_mRec_Money_Detail.Sum_Month_Weight, EP_mRec_Money_Detail.Work_Type_Code, "
                           "EP_mRec_Money_Detail.Sum_Day, EP_mRec_Money_Detail.Sum_Month, "
                           "EP_TR_Work_Type.Work_Type "
                           "FROM EP_mRec_Money_Detail LEFT JOIN EP_TR_Work_Type ON "
                           "EP_mRec_Money_Detail.Work_Type_Code = EP_TR_Work_Type.Work_Type_Code "
                           "WHERE EP_mRec_Money_Detail.SapID = ? ORDER BY %1, %2, %3")
                .arg(d.substring(begin, 7, 4), d.substring(begin, 4, 2), d.substring(begin, 1, 2)),
            {sapId}, QStringLiteral("อ่านช่วงเวลาปฏิบัติงานที่บันทึก"), error))
        return false;
    while (periods.next()) {
        SavedPeriod p;
        p.Work_Type = text(periods, "Work_Type");
        p.Work_Type_Code = text(periods, "Work_Type_Code");
        p.Sum_Day = whole(periods, "Sum_Day");
        p.Sum_Month = whole(periods, "Sum_Month");
        p.Date_B_cal = text(periods, "Date_B_cal");
        p.Date_E_Cal = text(periods, "Date_E_Cal");
        p.Sum_Month_Weight = number(periods, "Sum_Month_Weight");
        doc.periods << p;
    }

    QSqlQuery calc = db.query();
    if (!db::prepareAndRun(db, calc,
            QStringLiteral("SELECT %1 FROM EP_mRec_Money_Chodchoy WHERE SapID = ?")
                .arg(QLatin1String(kCalculationColumns)),
            {sapId}, QStringLiteral("อ่านผลการคำนวณเงินชดเชย"), error))
        return false;
    if (calc.next())
        doc.calculation = calculationFrom(calc);
    // read after the rows: every row that made them is at or before it
    if (!audit::printedValueNow(db, &doc.printed, error))
        return false;

    *out = std::move(doc);
    return true;
}

bool readAnnexDocument(const db::Database& db, const QString& sapId, AnnexDocument* out, QString* error)
{
    AnnexDocument doc;
    if (!readRequestDocument(db, sapId, &doc.request, error) || !checks::readCheck(db, sapId, &doc.check, error)
        || !office::fourEyesRequired(db, &doc.fourEyes, error))
        return false;
    std::string message;
    if (!calc::Load_Brackets(db, &doc.brackets, &message)) {
        if (error)
            *error = QString::fromStdString(message);
        return false;
    }
    *out = std::move(doc);
    return true;
}

// The disbursement-detail list is the cancel screen's list of saved
// calculations: one search, one set of cells, titles and widths.
QStringList detailListTitles()
{
    QStringList titles;
    for (const std::string& t : calc::Saved_Grid_Titles())
        titles << QString::fromStdString(t);
    return titles;
}

QList<int> detailListWidths()
{
    const std::vector<int>& widths = calc::Saved_Grid_Widths();
    return QList<int>(widths.begin(), widths.end());
}

std::optional<QList<QStringList>> listSavedCalculations(
    const db::Database& db, const DetailSearch& search, QString* error)
{
    std::vector<calc::Saved_List_Row> rows;
    std::string message;
    if (!calc::Search_Saved_Calculations(db, {search.byFirstName, search.firstNamePart.toStdString()}, &rows,
            &message)) {
        if (error)
            *error = QString::fromStdString(message);
        return std::nullopt;
    }
    QList<QStringList> lines;
    lines.reserve(static_cast<qsizetype>(rows.size()));
    for (const calc::Saved_List_Row& row : rows) {
        QStringList cells;
        for (const std::string& cell : calc::Saved_Grid_Cells(row, static_cast<int>(lines.size()) + 1))
            cells << QString::fromStdString(cell);
        lines << cells;
    }
    return lines;
}

} // namespace velmora::print
