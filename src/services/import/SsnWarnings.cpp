#include "services/import/SsnWarnings.h"

#include "files/ImportMessages.h"
#include "rules/NationalId.h"
#include "services/ImportJobs.h"
#include "services/import/SheetReader.h"

namespace velmora::import {

QString ssnWarning(int sheet, const QString& sheetName, int row, const QStringList& r)
{
    const QString ssn = trimmed(r.value(2));
    const Ssn_Status status = Check_Ssn(ssn.toStdString());
    if (status == Ssn_Status::Valid)
        return {};
    return msg::where(sheet, sheetName, row, 2) + QStringLiteral(": SAP ID ") + trimmed(r.value(1))
        + QStringLiteral(" เลขประจำตัวประชาชน \"") + ssn + QStringLiteral("\" ")
        + QString::fromStdString(Ssn_Problem(status));
}

QStringList ssnWarnings(const GridRows& rows, int sheet, const QString& sheetName)
{
    QStringList warnings;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (trimmed(rows[i].value(1)).isEmpty())
            continue; // not saved
        const QString warning = ssnWarning(sheet, sheetName, kFirstRow + int(i), rows[i]);
        if (!warning.isEmpty())
            warnings << warning;
    }
    return warnings;
}

QStringList ssnWarnings(const EmployeeSaveCounts& counts)
{
    return counts.employees.warnings;
}

QString ssnWarningsHeading(int count)
{
    return QStringLiteral("เลขประจำตัวประชาชนที่ต้องตรวจสอบ %1 รายการ: บันทึกตามแฟ้มซึ่งเป็นหลักฐานของหน่วยงาน "
                          "แต่เลขที่ผิดทำให้ไม่พบเงินชดเชยที่เคยได้รับภายใต้รหัสพนักงานอื่น กรุณาตรวจสอบกับต้นฉบับ")
        .arg(count);
}

} // namespace velmora::import
