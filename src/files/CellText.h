#pragma once

// How the imports read one cell: "as text" and "as date", the way the
// spreadsheet application hands a cell's value to the program.

#include "files/Workbook.h"

#include <QString>

#include <optional>

namespace velmora::import {

// A number as the shortest text of up to 15 significant digits (25000,
// 3100100000011, 0.5); a date as "dd/mm/yyyy" (with " hh:mm:ss" when it holds
// a time of day); a boolean as TRUE/FALSE; an error value as its code.
QString cellAsText(const Cell& cell);

// The date of a cell as "dd/mm/yyyy", year as stored (no era conversion).
// An empty cell is day 0 (30/12/1899); a number counts days; a text must be a
// day/month/year date. Otherwise no value, with *why saying what is wrong.
std::optional<QString> cellAsDateText(const Cell& cell, QString* why);

} // namespace velmora::import
