#pragma once

// The Thai messages of the imports. A cell is always named by sheet number,
// sheet name, row and column letter as the officer sees them in the workbook.

#include <QString>

namespace velmora::import::msg {

QString noFileChosen();
QString fileNotFound(const QString& path);
QString cannotOpen(const QString& path, const QString& reason);
QString notAWorkbook(const QString& path);
QString damaged(const QString& path, const QString& detail);
QString tooLarge(const QString& path);
QString sheetTooLarge(int sheet, const QString& sheetName);
QString tooFewSheets(const QString& path, int found, int wanted);
QString encrypted(const QString& path);

// "แผ่นงานที่ 1 (ชื่อ) แถวที่ 5 คอลัมน์ F"
QString where(int sheet, const QString& sheetName, int row, int column);
QString whereRow(int sheet, const QString& sheetName, int row);

QString notADate(const QString& where, const QString& shown);
QString notANumber(const QString& where, const QString& shown);
QString errorValue(const QString& where, const QString& value);
QString unreadable(const QString& where, const QString& why);
QString dateNotStorable(const QString& where, const QString& shown);
QString textTooLong(const QString& where, const QString& shown, int maximum);
QString amountNotStorable(const QString& where, const QString& shown);
QString databaseFailure(const QString& where, const QString& driverText);

} // namespace velmora::import::msg
