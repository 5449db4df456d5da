#pragma once

// The calculation annex ("เอกสารแนบการคำนวณเงินชดเชย"): one saved calculation
// written out so that an auditor or the employee can follow it by hand. Every
// figure comes from the saved rows and the rule functions the calculation
// uses, so it always agrees with the request document of the same rows.

#include "pages/PageLayout.h"
#include "services/SavedCalculations.h"

#include <QList>
#include <QStringList>

namespace velmora::print {

// The lines of the annex as text, in order (what the pages print, without
// positions): the same texts as buildAnnexPages draws.
QStringList annexLines(const AnnexDocument& document);

// The annex on as many A4 pages as it needs; none without a saved calculation.
QList<PageLayout> buildAnnexPages(const AnnexDocument& document);

// The request document followed by its annex: the print-out of one saved
// calculation (the run prints one after another).
QList<PageLayout> buildCalculationPrint(const AnnexDocument& document);

} // namespace velmora::print
