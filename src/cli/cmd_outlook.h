#pragma once

#include "cli/Command.h"

namespace velmora::cli {

// report outlook --kind contract-end|age60 [--months N | --years N] [--raise PCT]
//   [--by department|type] [--department NAME] [--from MM/YYYY | BE-YEAR]
//   [--xlsx OUT] [--pdf OUT]
int runOutlookReport(Context& c);

} // namespace velmora::cli
