#include "services/import/Counts.h"

namespace velmora::import {

QJsonObject auditCounts(const std::vector<std::pair<QString, TableCounts>>& tables)
{
    QJsonObject out;
    for (const auto& [name, c] : tables)
        out.insert(name,
            QJsonObject {{QStringLiteral("inserted"), c.inserted}, {QStringLiteral("updated"), c.updated},
                {QStringLiteral("left_alone"), c.leftAlone}, {QStringLiteral("skipped"), c.skipped}});
    return out;
}

QStringList describeCounts(const TableCounts& c)
{
    QStringList out;
    out << QStringLiteral("เพิ่ม %1 รายการ").arg(c.inserted) << QStringLiteral("แก้ไข %1 รายการ").arg(c.updated);
    if (c.unchanged)
        out << QStringLiteral("ข้อมูลเดิมไม่เปลี่ยนแปลง %1 รายการ").arg(c.unchanged);
    if (c.leftAlone)
        out << QStringLiteral("ไม่เปลี่ยนแปลง (ประมวลผลเงินชดเชยแล้ว) %1 รายการ").arg(c.leftAlone);
    if (c.skipped)
        out << QStringLiteral("ข้ามแถวที่ไม่มีรหัส %1 แถว").arg(c.skipped);
    return {out.join(QStringLiteral(", "))};
}

QStringList describeCounts(const EmployeeSaveCounts& c)
{
    return {QStringLiteral("พนักงาน: ") + describeCounts(c.employees).join(QString()),
        QStringLiteral("เหตุแห่งการออก: ") + describeCounts(c.reasons).join(QString()),
        QStringLiteral("ประเภทการจ้าง: ") + describeCounts(c.types).join(QString()),
        QStringLiteral("ส่วนงาน: ") + describeCounts(c.departs).join(QString())};
}

QString savedMessage()
{
    return QStringLiteral("ทำการบันทึกข้อมูลเรียบร้อยแล้ว");
}

bool hasData(const GridRows& rows)
{
    for (const QStringList& row : rows)
        for (qsizetype c = 1; c < row.size(); ++c)
            if (!row.at(c).trimmed().isEmpty())
                return true;
    return false;
}

QString nothingToSaveMessage()
{
    return QStringLiteral("ยังไม่มีข้อมูลที่จะบันทึก กรุณาเลือกไฟล์และโหลดข้อมูลก่อน");
}

} // namespace velmora::import
