#pragma once

// A sheet's rows turned into the grid rows the screens show: running number,
// column A (the key) and the cells its shape reads, from row 3 to the first
// row whose column A is empty. The screens' loads read each sheet whole
// (loadEmployeeWorkbook, loadHistoryWorkbook); an import hands the same rows
// over as the sheet is read (streamGrid).

#include "files/Workbook.h"
#include "services/import/SheetLayouts.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace velmora::import {

// Takes grid rows one at a time; false stops (the taker has set the error).
using RowTaker = std::function<bool(const QStringList& cells)>;

enum class Streamed { Done, Failed, Unordered };

// The grid rows of sheet `index` handed to `take` as the sheet is read, the
// same rows a load makes, without keeping the sheet. The rest of the sheet
// after the data is read too, so that a damaged part is refused as a whole
// read refuses it. A sheet storing a row number twice or out of order needs
// the whole read (its later cells go over the earlier ones): Unordered.
// `top` sees rows 1 and 2.
Streamed streamGrid(Workbook& book, int index, const SheetShape& shape, QString* sheetName,
    const std::function<bool(const SheetReader&, int row)>& top, const RowTaker& take, QString* error);

// The workbook at `path`, refused unless it has `sheetsWanted` sheets.
std::unique_ptr<Workbook> openWith(const QString& path, int sheetsWanted, QString* error);

} // namespace velmora::import
