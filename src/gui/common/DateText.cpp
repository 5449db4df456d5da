#include "gui/common/DateText.h"

#include <QLocale>

namespace velmora::app {

QString dateSeparatorOfFormat(const QString& format)
{
    bool quoted = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\'')) {
            quoted = !quoted;
            continue;
        }
        if (quoted || c.isLetter())
            continue;
        return QString(c);
    }
    return QStringLiteral("/");
}

QString systemDateSeparator()
{
    // The C locale has no numeric short date of its own in Qt ("d MMM yyyy");
    // its POSIX date format is %m/%d/%y.
    if (QLocale::system().language() == QLocale::C)
        return QStringLiteral("/");
    return dateSeparatorOfFormat(QLocale::system().dateFormat(QLocale::ShortFormat));
}

QString machineDateText(const QDate& date, const QString& separator)
{
    const auto two = [](int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); };
    return two(date.day()) + separator + two(date.month()) + separator
        + QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0'));
}

QString buddhistEraDateText(const QString& christianEraText)
{
    return christianEraText.left(6) + QString::number(christianEraText.mid(6, 4).toInt() + 543);
}

DefaultDates defaultDates(const QString& serverDate, const QString& serverDateBE)
{
    DefaultDates d;
    d.year = serverDate.mid(6, 4);
    d.monthYear = serverDate.mid(3, 7);
    d.requestMonth = serverDate.mid(3, 2) + QLatin1Char('/') + serverDate.mid(6, 4);
    d.firstOfMonthBE = QStringLiteral("01") + serverDateBE.mid(2, 8);
    d.todayBE = serverDateBE;
    return d;
}

} // namespace velmora::app
