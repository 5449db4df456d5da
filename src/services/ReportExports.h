#pragma once

#include "files/XlsxExport.h"

namespace velmora::reports {

// The fixed export values of each report.
ExportOptions contractEndExport();
ExportOptions receivedExport();
ExportOptions forecastExport();

} // namespace velmora::reports
