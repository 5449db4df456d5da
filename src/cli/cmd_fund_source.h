#pragma once

#include "cli/Command.h"

namespace velmora::cli {

// report fund-source --from DD/MM/YYYY --to DD/MM/YYYY [--source 2|3]
//   [--department NAME] [--unprinted] [--xlsx OUT]
int runFundSourceReport(Context& c);

// print memo --from DD/MM/YYYY --to DD/MM/YYYY [--source 2|3] [--unprinted]
//   --sapids A,B --department NAME [--routing payroll|faculty]
//   [--reason contract|retire] --pdf OUT
int runMemoPrint(Context& c);

} // namespace velmora::cli
