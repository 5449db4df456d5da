#include "services/ReportExports.h"

namespace velmora::reports {

namespace {

ExportOptions employeeReport(const QString& title, const QString& lastStyled)
{
    ExportOptions o;
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
    return employeeReport(QStringLiteral("รายงานข้อมูลพนักงาน "), QStringLiteral("G"));
}

ExportOptions receivedExport()
{
    return employeeReport(QStringLiteral("รายงานการรับเงินชดเชยพนักงาน "), QStringLiteral("O"));
}

ExportOptions forecastExport()
{
    return employeeReport(QStringLiteral("รายงานการรับเงินชดเชยพนักงาน "), QStringLiteral("P"));
}

} // namespace velmora::reports
