// The outlook's criteria as the officer typed them, read and checked: the
// number of months or years, the yearly raise, the first month or year.

#include "services/OutlookService.h"

#include "rules/ServicePeriod.h"
#include "rules/Utility.h"

#include <QRegularExpression>

namespace velmora::outlook {

namespace {

constexpr int buddhistOffset = 543;

// A whole number of at most four digits, blanks around allowed.
std::optional<int> smallNumber(const QString& text)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,4}$"));
    const QString t = text.trimmed();
    if (!digits.match(t).hasMatch())
        return std::nullopt;
    return t.toInt();
}

} // namespace

std::optional<int> Parse_Raise(const QString& text, QString* error)
{
    static const QRegularExpression number(QStringLiteral("^([0-9]{1,2})(\\.([0-9]{1,2}))?$"));
    const QString t = text.trimmed();
    const auto m = number.match(t);
    int hundredths = -1;
    if (m.hasMatch()) {
        QString decimals = m.captured(3);
        while (decimals.size() < 2)
            decimals += QLatin1Char('0');
        hundredths = m.captured(1).toInt() * 100 + decimals.toInt();
    }
    if (hundredths < 0 || hundredths > 1500) {
        if (error)
            *error =
                QStringLiteral("อัตราการขึ้นเงินเดือนต่อปีต้องเป็นตัวเลข 0 ถึง 15 (ร้อยละ) ทศนิยมไม่เกิน 2 ตำแหน่ง: \"%1\"").arg(text);
        return std::nullopt;
    }
    return hundredths;
}

QStringList Outlook_Plan::period_labels() const
{
    QStringList labels;
    for (int i = 0; i < count; ++i) {
        if (kind == Outlook_Kind::Age60) {
            labels << QString::number(first_year + i);
        } else {
            const int index = first_year * 12 + (first_month - 1) + i;
            labels << QStringLiteral("%1/%2").arg(index % 12 + 1, 2, 10, QLatin1Char('0')).arg(index / 12);
        }
    }
    return labels;
}

Outlook_Plan Check_Outlook_Criteria(const Outlook_Criteria& c, const QString& today)
{
    Outlook_Plan plan;
    plan.kind = c.kind;
    plan.by = c.by;
    plan.department = c.department;
    const bool age60 = c.kind == Outlook_Kind::Age60;

    if (c.count.trimmed().isEmpty()) {
        plan.count = age60 ? kDefaultYears : kDefaultMonths;
    } else {
        const auto n = smallNumber(c.count);
        const int max = age60 ? kMaxYears : kMaxMonths;
        if (!n || *n < 1 || *n > max) {
            plan.error = age60 ? QStringLiteral("จำนวนปีต้องเป็นตัวเลข 1 ถึง %1: \"%2\"").arg(max).arg(c.count)
                               : QStringLiteral("จำนวนเดือนต้องเป็นตัวเลข 1 ถึง %1: \"%2\"").arg(max).arg(c.count);
            return plan;
        }
        plan.count = *n;
    }

    if (age60 && !c.raise.trimmed().isEmpty()) {
        const auto r = Parse_Raise(c.raise, &plan.error);
        if (!r)
            return plan;
        plan.raise_hundredths = *r;
    }

    const QString from = c.from.trimmed();
    if (from.isEmpty()) {
        const auto parts = Parse_Date_Text(Pad_Date_Text(Trim_Spaces(today.toStdString())), Year_Era::Christian);
        if (!parts) {
            plan.error = QStringLiteral("อ่านวันที่ปัจจุบันของเครื่องแม่ข่ายไม่ได้: \"%1\"").arg(today);
            return plan;
        }
        plan.first_month = parts->month;
        plan.first_year = age60 ? parts->year + buddhistOffset : parts->year;
    } else if (age60) {
        const auto year = smallNumber(from);
        if (year && *year >= 1900 && *year < 2400) {
            plan.error = QStringLiteral("ปีเริ่มต้นต้องเป็นปีพุทธศักราช เช่น %1 (ไม่ใช่คริสต์ศักราช): \"%2\"")
                             .arg(*year + buddhistOffset)
                             .arg(c.from);
            return plan;
        }
        if (!year || *year < 2400 || *year > 2999) {
            plan.error = QStringLiteral("ปีเริ่มต้นไม่ถูกต้อง: \"%1\" (ต้องเป็นปีพุทธศักราช 4 หลัก เช่น 2570)").arg(c.from);
            return plan;
        }
        plan.first_year = *year;
    } else {
        static const QRegularExpression month(QStringLiteral("^(0[1-9]|1[0-2])/([0-9]{4})$"));
        const auto m = month.match(from);
        const int year = m.hasMatch() ? m.captured(2).toInt() : 0;
        if (m.hasMatch() && year >= 2400 && year <= 2999) {
            plan.error = QStringLiteral("เดือนเริ่มต้นต้องใช้ปีคริสต์ศักราช เช่น %1/%2 (ไม่ใช่พุทธศักราช): \"%3\"")
                             .arg(m.captured(1))
                             .arg(year - buddhistOffset)
                             .arg(c.from);
            return plan;
        }
        if (!m.hasMatch() || year < 1900 || year > 2399) {
            plan.error =
                QStringLiteral("เดือนเริ่มต้นไม่ถูกต้อง: \"%1\" (ต้องเป็น ดด/ปปปป ปีเป็นคริสต์ศักราช เช่น 01/2027)").arg(c.from);
            return plan;
        }
        plan.first_month = m.captured(1).toInt();
        plan.first_year = year;
    }
    if (!age60 && (plan.first_year * 12 + plan.first_month - 1 + plan.count - 1) / 12 > 2399) {
        plan.error = QStringLiteral("ช่วงเดือนเกินปีคริสต์ศักราช 2399");
        return plan;
    }
    return plan;
}

} // namespace velmora::outlook
