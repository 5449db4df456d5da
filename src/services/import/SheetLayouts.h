#pragma once

// What each sheet of the two workbooks holds: how many columns its grid rows
// have and how the cells after column A are read. The titles and widths of
// the screens' grids are declared in services/ImportJobs.h and made here too.

#include "services/import/SheetReader.h"

#include <QString>
#include <QStringList>

namespace velmora::import {

// The grid row of one sheet: how many columns, and how the cells after
// column A are read (the running number and column A come first).
struct SheetShape
{
    int columns;
    bool (*fill)(const SheetReader& in, int row, QStringList& cells);
};

extern const SheetShape kEmployeeShape; // employee workbook, sheet 1: 14 columns
extern const SheetShape kCodeShape; // sheets 2 to 4 (reasons, types, departments): 3 columns
extern const SheetShape kPeriodShape; // employment-history workbook: 7 columns

// Sheet 1 of the employee workbook: B1 and D1 (month and year of the data).
bool readDataMonth(const SheetReader& in, QString* month, QString* year);

} // namespace velmora::import
