#include "files/CellText.h"

#include "rules/AmountText.h"
#include "rules/Utility.h"

#include <QDate>
#include <QRegularExpression>

#include <cmath>

namespace velmora::import {

namespace {

QString dayText(const SheetDate& d)
{
    // Written day/month/year and zero-filled by the common date-text rule.
    const std::string raw = std::to_string(d.day) + "/" + std::to_string(d.month) + "/" + std::to_string(d.year);
    return QString::fromStdString(Pad_Date_Text(raw));
}

QString timeText(double serial)
{
    const double fraction = serial - std::floor(serial);
    const long long seconds = std::llround(fraction * 86400.0);
    if (seconds == 0 || seconds >= 86400)
        return {};
    return QStringLiteral(" %1:%2:%3")
        .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

QString cellAsText(const Cell& cell)
{
    switch (cell.kind) {
    case Cell::Kind::Empty:
        return {};
    case Cell::Kind::Text:
        return cell.text;
    case Cell::Kind::Number:
        return QString::fromStdString(Shortest_Number_Text(cell.number));
    case Cell::Kind::Date: {
        const auto d = dateFromSerial(cell.number);
        if (!d)
            return QString::fromStdString(Shortest_Number_Text(cell.number));
        return dayText(*d) + timeText(cell.number);
    }
    case Cell::Kind::Bool:
        return cell.number != 0 ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    case Cell::Kind::Error:
        return cell.text;
    case Cell::Kind::Unreadable:
        return {};
    }
    return {};
}

std::optional<QString> cellAsDateText(const Cell& cell, QString* why)
{
    switch (cell.kind) {
    case Cell::Kind::Empty:
        return dayText({1899, 12, 30});
    case Cell::Kind::Number:
    case Cell::Kind::Date: {
        const auto d = dateFromSerial(cell.number);
        if (!d)
            break;
        return dayText(*d);
    }
    case Cell::Kind::Text: {
        if (cell.text.isEmpty())
            return dayText({1899, 12, 30});
        // A date typed as text: day/month/year, as the office's machines write dates.
        static const QRegularExpression pattern(QStringLiteral("^\\s*(\\d{1,2})/(\\d{1,2})/(\\d{4})\\s*$"));
        const auto m = pattern.match(cell.text);
        if (m.hasMatch()) {
            const int day = m.captured(1).toInt();
            const int month = m.captured(2).toInt();
            const int year = m.captured(3).toInt();
            // The year stays as typed: four digits, leading zeros kept.
            if (QDate(year, month, day).isValid() || (year == 1900 && month == 2 && day == 29))
                return QStringLiteral("%1/%2/%3")
                    .arg(day, 2, 10, QLatin1Char('0'))
                    .arg(month, 2, 10, QLatin1Char('0'))
                    .arg(m.captured(3));
        }
        break;
    }
    case Cell::Kind::Bool:
    case Cell::Kind::Error:
        break;
    case Cell::Kind::Unreadable:
        if (why)
            *why = cell.text;
        return std::nullopt;
    }
    if (why)
        why->clear();
    return std::nullopt;
}

} // namespace velmora::import
