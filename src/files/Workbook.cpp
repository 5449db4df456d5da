#include "files/Workbook.h"

#include "files/ImportMessages.h"
#include "files/XlsReader.h"
#include "files/XlsxReader.h"

#include <QFile>
#include <QFileInfo>

#include <cmath>

namespace velmora::import {

namespace {

// Days from 01/03/0000 (proleptic Gregorian) to y-m-d, and back.
long long daysFromCivil(long long y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe);
}

SheetDate civilFromDays(long long z)
{
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long y = static_cast<long long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return {static_cast<int>(y + (m <= 2)), static_cast<int>(m), static_cast<int>(d)};
}

const long long kDay0 = daysFromCivil(1899, 12, 30);
const double kLastSerial = 2958465; // 31/12/9999

} // namespace

std::optional<SheetDate> dateFromSerial(double serial)
{
    if (!std::isfinite(serial) || serial < 0 || serial >= kLastSerial + 1)
        return std::nullopt;
    const long long n = static_cast<long long>(std::floor(serial));
    if (n == 0)
        return SheetDate {1899, 12, 30};
    if (n == 60)
        return SheetDate {1900, 2, 29};
    if (n < 60) // the spreadsheets count 1900 as a leap year
        return civilFromDays(kDay0 + n + 1);
    return civilFromDays(kDay0 + n);
}

std::optional<double> serialFromDate(int year, int month, int day)
{
    if (year < 1899 || year > 9999 || month < 1 || month > 12 || day < 1)
        return std::nullopt;
    const long long z = daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day));
    const SheetDate back = civilFromDays(z);
    if (back.month != month || back.day != day)
        return std::nullopt;
    long long n = z - kDay0;
    if (n < 0)
        return std::nullopt;
    if (n == 1)
        return std::nullopt; // 31/12/1899 has no day number
    if (n >= 2 && n <= 60)
        n -= 1; // 01/01/1900 is day 1
    return static_cast<double>(n);
}

const Cell& Worksheet::cell(int row, int column) const
{
    static const Cell empty;
    if (row < 1 || row > static_cast<int>(rows.size()))
        return empty;
    const std::vector<Cell>& r = rows[static_cast<size_t>(row - 1)];
    if (column < 1 || column > static_cast<int>(r.size()))
        return empty;
    return r[static_cast<size_t>(column - 1)];
}

bool Workbook::readRows(int index, QString* sheetName, const RowSink& sink, QString* error)
{
    Worksheet sheet;
    if (!readSheet(index, sheet, error))
        return false;
    *sheetName = sheet.name;
    for (int r = 1; r <= sheet.rowCount(); ++r) {
        std::vector<Cell>& cells = sheet.rows[static_cast<size_t>(r - 1)];
        if (!cells.empty() && !sink(r, cells, error))
            return false;
    }
    return true;
}

QString columnName(int column)
{
    QString out;
    while (column > 0) {
        const int rem = (column - 1) % 26;
        out.prepend(QChar(u'A' + rem));
        column = (column - 1) / 26;
    }
    return out;
}

std::unique_ptr<Workbook> openWorkbook(const QString& path, QString* error, const WorkbookLimits& limits)
{
    const QFileInfo info(path);
    if (path.trimmed().isEmpty()) {
        *error = msg::noFileChosen();
        return nullptr;
    }
    if (!info.exists()) {
        *error = msg::fileNotFound(path);
        return nullptr;
    }
    if (!info.isFile()) {
        *error = msg::notAWorkbook(path);
        return nullptr;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = msg::cannotOpen(path, file.errorString());
        return nullptr;
    }
    if (file.size() > limits.maxFileBytes) {
        *error = msg::tooLarge(path);
        return nullptr;
    }
    const QByteArray head = file.read(8);
    file.close();
    if (head.startsWith("PK\x03\x04") || head.startsWith("PK\x05\x06"))
        return XlsxReader::open(path, error, limits);
    if (head == QByteArray::fromHex("D0CF11E0A1B11AE1"))
        return XlsReader::open(path, error, limits);
    *error = msg::notAWorkbook(path);
    return nullptr;
}

} // namespace velmora::import
