#include "services/ReportExports.h"

namespace velmora::reports {

namespace {

ExportOptions employeeReport(const QString& title, const QString& lastStyled, const QString& fileName)
{
    ExportOptions o;
    o.fileName = fileName;
    o.sheetName = QStringLiteral("Emp Pro");
    o.titleRange = QStringLiteral("A1:I1");
    o.title = title;
    o.lastStyledColumn = lastStyled;
    o.pageTexts = PageTexts::SetA;
    o.widths = {4, 11, 23, 20, 25, 13, 28};
    return o;
}

} // namespace

ExportOptions contractEndExport()
{
    return employeeReport(QStringLiteral("รายงานข้อมูลพนักงาน "), QStringLiteral("G"), QStringLiteral("รายชื่อผู้ครบสัญญา"));
}

ExportOptions receivedExport()
{
    return employeeReport(
        QStringLiteral("รายงานการรับเงินชดเชยพนักงาน "), QStringLiteral("O"), QStringLiteral("เงินชดเชยที่ได้รับ"));
}

ExportOptions forecastExport()
{
    return employeeReport(
        QStringLiteral("รายงานการรับเงินชดเชยพนักงาน "), QStringLiteral("P"), QStringLiteral("ประมาณการเงินชดเชย"));
}

} // namespace velmora::reports
