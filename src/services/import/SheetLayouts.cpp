#include "services/import/SheetLayouts.h"

#include "services/ImportJobs.h"

namespace velmora::import {

namespace {

bool fillEmployee(const SheetReader& in, int row, QStringList& cells)
{
    QString v[11];
    // B to E as text, F and G dates, H text, I date unless empty, J text, K salary.
    if (!in.text(row, 2, &v[0]) || !in.text(row, 3, &v[1]) || !in.text(row, 4, &v[2]) || !in.text(row, 5, &v[3])
        || !in.date(row, 6, &v[4]) || !in.date(row, 7, &v[5]) || !in.text(row, 8, &v[6]) || !in.text(row, 9, &v[7]))
        return false;
    if (!v[7].isEmpty() && !in.date(row, 9, &v[7]))
        return false;
    if (!in.text(row, 10, &v[8]) || !in.amount(row, 11, &v[9]))
        return false;
    for (int i = 0; i < 10; ++i)
        cells << v[i];
    return true;
}

bool fillCode(const SheetReader& in, int row, QStringList& cells)
{
    QString b;
    if (!in.text(row, 2, &b))
        return false;
    cells << b;
    return true;
}

bool fillPeriod(const SheetReader& in, int row, QStringList& cells)
{
    QString b, c, d, e, f;
    if (!in.text(row, 2, &b) || !in.text(row, 3, &c) || !in.text(row, 4, &d) || !in.date(row, 5, &e)
        || !in.date(row, 6, &f))
        return false;
    cells << b << c << d << e << f;
    return true;
}

// The grid of a code sheet: running number, key and name.
GridLayout codeLayout(const QString& key, const QString& name)
{
    return {{QStringLiteral("No. "), key, name}, {50, 90, 120}};
}

} // namespace

const SheetShape kEmployeeShape {14, fillEmployee};
const SheetShape kCodeShape {3, fillCode};
const SheetShape kPeriodShape {7, fillPeriod};

bool readDataMonth(const SheetReader& in, QString* month, QString* year)
{
    return in.text(1, 2, month) && in.text(1, 4, year);
}

const GridLayout& employeeGridLayout()
{
    static const GridLayout layout {
        {QStringLiteral("No. "), QStringLiteral("SapID "), QStringLiteral("เลขที่บัตรประชาชน "), QStringLiteral("คำนำหน้า"),
            QStringLiteral("ชื่อ"), QStringLiteral("นามสกุล"), QStringLiteral("วันเดือนปีเกิด"),
            QStringLiteral("วันที่ปฏิบัติงานในม.กาวิลัน"), QStringLiteral("รหัสประเภทการจ้าง"), QStringLiteral("วันที่สิ้นสุดสัญญา"),
            QStringLiteral("รหัสส่วนงาน(คณะ)"), QStringLiteral("อัตตราเงินเดือน"), QString(), QString()},
        {50, 90, 90, 100, 100, 100, 100, 100, 100, 120, 100, 100, 100, 120}};
    return layout;
}

const GridLayout& reasonGridLayout()
{
    static const GridLayout layout = codeLayout(QStringLiteral("SapID "), QStringLiteral("เหตุแห่งการออก"));
    return layout;
}

const GridLayout& typeGridLayout()
{
    static const GridLayout layout = codeLayout(QStringLiteral("รหัสประเทภการจ้าง "), QStringLiteral("ชื่อประเภทการจ้าง"));
    return layout;
}

const GridLayout& departGridLayout()
{
    static const GridLayout layout = codeLayout(QStringLiteral("รหัสส่วนงาน "), QStringLiteral("ชื่อส่วนงาน(คณะ)"));
    return layout;
}

const GridLayout& historyGridLayout()
{
    static const GridLayout layout {
        {QStringLiteral("No. "), QStringLiteral("SapID "), QStringLiteral("เลขที่บัตรประชาชน "),
            QStringLiteral("Work Type Code"), QStringLiteral("ชื่อประเภทการจ้าง"), QStringLiteral("วันที่ปฏิบัติงานในม.กาวิลัน"),
            QStringLiteral("วันที่สิ้นสุดสัญญา")},
        {50, 70, 80, 90, 120, 100, 100}};
    return layout;
}

} // namespace velmora::import
