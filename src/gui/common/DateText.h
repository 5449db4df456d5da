#pragma once

#include <QDateTime>
#include <QString>

namespace velmora::app {

// The date separator of a date format such as "dd/MM/yyyy", "d.M.yy" or
// "yyyy-MM-dd": the first character that is neither a pattern letter nor a
// quote. "/" when the format has none.
QString dateSeparatorOfFormat(const QString& format);

// The date separator the system locale uses in its short date format ("/"
// for the C locale, as its POSIX date format has it).
QString systemDateSeparator();

// The date as "dd/mm/yyyy" with each "/" replaced by the separator and a
// four-digit Christian-era year (18-03-2017 for "-").
QString machineDateText(const QDate& date, const QString& separator);

// "dd/mm/yyyy" with a Christian-era year to the same text with the year plus
// 543: the first six characters, then the year as a number (18/03/2560).
QString buddhistEraDateText(const QString& christianEraText);

// The default dates of the screens' filters, all cut from the server's date
// at start-up: `serverDate` "dd/mm/yyyy" with a Christian-era year (the
// separator as the machine writes it), `serverDateBE` the same date with the
// Buddhist-era year.
struct DefaultDates
{
    QString year; // "yyyy", Christian era
    QString monthYear; // "mm/yyyy" with the machine's separator
    QString requestMonth; // "mm/yyyy" with a slash
    QString firstOfMonthBE; // "01/mm/yyyy", Buddhist era
    QString todayBE; // "dd/mm/yyyy", Buddhist era
};
DefaultDates defaultDates(const QString& serverDate, const QString& serverDateBE);

} // namespace velmora::app
