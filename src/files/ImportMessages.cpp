#include "files/ImportMessages.h"

#include "files/Workbook.h"

namespace velmora::import::msg {

QString noFileChosen()
{
    return QStringLiteral("ยังไม่ได้เลือกแฟ้มข้อมูล");
}

QString fileNotFound(const QString& path)
{
    return QStringLiteral("ไม่พบแฟ้มข้อมูล %1").arg(path);
}

QString cannotOpen(const QString& path, const QString& reason)
{
    return QStringLiteral("ไม่สามารถเปิดแฟ้มข้อมูล %1 ได้ (%2)").arg(path, reason);
}

QString notAWorkbook(const QString& path)
{
    return QStringLiteral("แฟ้ม %1 ไม่ใช่แฟ้ม Excel (.xlsx หรือ .xls)").arg(path);
}

QString damaged(const QString& path, const QString& detail)
{
    return QStringLiteral("แฟ้ม %1 เสียหาย อ่านข้อมูลไม่ได้ (%2)").arg(path, detail);
}

QString tooLarge(const QString& path)
{
    return QStringLiteral("แฟ้ม %1 มีขนาดใหญ่เกินกว่าแฟ้มข้อมูลที่นำเข้าได้").arg(path);
}

QString sheetTooLarge(int sheet, const QString& sheetName)
{
    return QStringLiteral("แผ่นงานที่ %1 (%2) มีข้อมูลมากเกินกว่าที่นำเข้าได้").arg(sheet).arg(sheetName);
}

QString tooFewSheets(const QString& path, int found, int wanted)
{
    return QStringLiteral("แฟ้ม %1 มีแผ่นงาน %2 แผ่น แต่ต้องมี %3 แผ่น").arg(path).arg(found).arg(wanted);
}

QString encrypted(const QString& path)
{
    return QStringLiteral("แฟ้ม %1 ถูกป้องกันด้วยรหัสผ่าน กรุณาบันทึกเป็นแฟ้มที่ไม่มีรหัสผ่านก่อนนำเข้า").arg(path);
}

QString where(int sheet, const QString& sheetName, int row, int column)
{
    return whereRow(sheet, sheetName, row) + QStringLiteral(" คอลัมน์ ") + columnName(column);
}

QString whereRow(int sheet, const QString& sheetName, int row)
{
    QString out = QStringLiteral("แผ่นงานที่ %1").arg(sheet);
    if (!sheetName.isEmpty())
        out += QStringLiteral(" (%1)").arg(sheetName);
    return out + QStringLiteral(" แถวที่ %1").arg(row);
}

QString notADate(const QString& where, const QString& shown)
{
    return QStringLiteral("%1: ข้อมูล \"%2\" ไม่ใช่วันที่").arg(where, shown);
}

QString notANumber(const QString& where, const QString& shown)
{
    return QStringLiteral("%1: อัตราเงินเดือน \"%2\" ไม่ใช่ตัวเลข").arg(where, shown);
}

QString errorValue(const QString& where, const QString& value)
{
    return QStringLiteral("%1: เซลล์มีค่าผิดพลาด %2").arg(where, value);
}

QString unreadable(const QString& where, const QString& why)
{
    return QStringLiteral("%1: อ่านค่าของเซลล์นี้ให้ถูกต้องไม่ได้ (%2) "
                          "กรุณาบันทึกแฟ้มเป็นแบบ .xlsx แล้วนำเข้าอีกครั้ง")
        .arg(where, why);
}

QString dateNotStorable(const QString& where, const QString& shown)
{
    return QStringLiteral("%1: วันที่ \"%2\" บันทึกลงฐานข้อมูลไม่ได้").arg(where, shown);
}

QString textTooLong(const QString& where, const QString& shown, int maximum)
{
    return QStringLiteral("%1: ข้อมูล \"%2\" ยาว %3 ตัวอักษร เกินกว่าที่บันทึกได้ (ไม่เกิน %4 ตัวอักษร)")
        .arg(where, shown)
        .arg(shown.size())
        .arg(maximum);
}

QString amountNotStorable(const QString& where, const QString& shown)
{
    return QStringLiteral("%1: อัตราเงินเดือน \"%2\" มากเกินกว่าที่บันทึกได้").arg(where, shown);
}

QString databaseFailure(const QString& where, const QString& driverText)
{
    return QStringLiteral("บันทึกข้อมูลไม่สำเร็จ ไม่มีข้อมูลใดถูกบันทึก: %1: %2").arg(where, driverText);
}

} // namespace velmora::import::msg
