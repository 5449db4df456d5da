#pragma once

// Reads the saved-calculation tables (EP_mRec_Money_Chodchoy,
// EP_mRec_Money_Detail, EP_mRep_Rec_Money) for the printed pages and for the
// list of the disbursement detail screen. Queries only; nothing is written.

#include "db/Database.h"
#include "reports/print/RequestPage.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace velmora::print {

// The request document of one SAP ID: its saved calculation (none when the SAP
// ID has none), its earlier payments by N_Order and its periods by start date
// (year, month, day of the Buddhist-era text). False on a database error.
bool readRequestDocument(const db::Database& db, const QString& sapId, RequestDocument* out, QString* error);

// The disbursement detail list.
struct DetailSearch
{
    bool byFirstName = false;  // "ชื่อ" ticked
    QString firstNamePart;     // as typed; matched anywhere in Emp_F_Name
};

// Titles and pixel widths of the list's nine columns.
QStringList detailListTitles();
QList<int> detailListWidths();

// One line per saved calculation, in the server's order: the running number,
// SapID, the full name, "'" + Date_Beg_Cal, "'" + Date_End_Cal, Depart_Code,
// Depart_Name, Total_Day and Net_Money_Recieve as amount text. No value on a
// database error.
std::optional<QList<QStringList>> listSavedCalculations(const db::Database& db, const DetailSearch& search,
                                                        QString* error);

} // namespace velmora::print
