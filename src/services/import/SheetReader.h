#pragma once

// The cells of one workbook row, read as the import's grids show them: a
// text, a date or a salary; a cell that cannot be read so is refused with
// the sheet, row and column named.

#include "files/CellText.h"
#include "files/ImportMessages.h"
#include "files/Workbook.h"

#include "rules/AmountText.h"
#include "rules/Utility.h"

#include <QString>

#include <optional>
#include <vector>

namespace velmora::import {

inline constexpr int kFirstRow = 3; // data rows start at row 3 on every sheet

inline QString trimmed(const QString& text)
{
    // Trim_Spaces: blanks (code 32) only, tabs stay.
    qsizetype begin = 0, end = text.size();
    while (begin < end && text.at(begin) == QLatin1Char(' '))
        ++begin;
    while (end > begin && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.mid(begin, end - begin);
}

inline QString removeCommas(const QString& text)
{
    return QString::fromStdString(Remove_Commas(text.toStdString()));
}

// One row of a sheet being read, for messages: `cells` are the row's cells
// (none for a row the sheet does not store).
struct SheetReader
{
    const std::vector<Cell>* cells;
    int index;
    const QString& sheetName;
    QString* error;

    const Cell& cell(int column) const
    {
        static const Cell empty;
        const auto i = static_cast<size_t>(column - 1);
        return cells && i < cells->size() ? (*cells)[i] : empty;
    }

    QString where(int row, int column) const { return msg::where(index, sheetName, row, column); }

    bool text(int row, int column, QString* out) const
    {
        const Cell& c = cell(column);
        if (c.kind == Cell::Kind::Unreadable) {
            *error = msg::unreadable(where(row, column), c.text);
            return false;
        }
        if (c.kind == Cell::Kind::Error) {
            *error = msg::errorValue(where(row, column), c.text);
            return false;
        }
        *out = cellAsText(c);
        return true;
    }

    bool date(int row, int column, QString* out) const
    {
        const Cell& c = cell(column);
        if (c.kind == Cell::Kind::Error) {
            *error = msg::errorValue(where(row, column), c.text);
            return false;
        }
        QString why;
        const auto d = cellAsDateText(c, &why);
        if (!d) {
            *error = c.kind == Cell::Kind::Unreadable ? msg::unreadable(where(row, column), why)
                                                      : msg::notADate(where(row, column), cellAsText(c));
            return false;
        }
        *out = *d;
        return true;
    }

    // Salary: the cell as text, commas removed, to a number, shown as an amount.
    bool amount(int row, int column, QString* out) const
    {
        const Cell& c = cell(column);
        std::optional<double> value;
        if (c.kind == Cell::Kind::Number) {
            value = c.number;
        } else {
            QString shown;
            if (!text(row, column, &shown))
                return false;
            value = Parse_Number(removeCommas(trimmed(shown)).toStdString());
            if (!value) {
                *error = msg::notANumber(where(row, column), shown);
                return false;
            }
        }
        *out = QString::fromStdString(Amount_Text(*value));
        return true;
    }
};

} // namespace velmora::import
