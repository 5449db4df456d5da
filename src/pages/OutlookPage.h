#pragma once

// The printable liability outlook: A4 landscape pages with the title, a
// stacked-bar chart of the groups' amounts per period, the table (per period
// and group: people and amount, the period's total, the grand total last) and
// the employees that could not be computed, with the reason.

#include "pages/PageLayout.h"
#include "services/OutlookService.h"

#include <QImage>
#include <QList>
#include <QSizeF>

namespace velmora::print {

// The chart as a picture of sizeMm at dpi: one bar per period, one coloured
// block per group stacked in the order of the groups, the amount axis in baht,
// the legend below.
QImage drawOutlookChart(const outlook::Outlook_Result& result, const QSizeF& sizeMm, double dpi);

// The colour of group g in every chart of the outlook.
QColor outlookGroupColour(int group);

QList<PageLayout> buildOutlookPages(const outlook::Outlook_Result& result);

} // namespace velmora::print
