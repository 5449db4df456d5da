#pragma once

// The printable liability outlook: A4 landscape pages with the title, a
// stacked-bar chart of the groups' amounts per period, the table (per period
// and group: people and amount, the period's total, the grand total last) and
// the employees that could not be computed, with the reason.

#include "pages/PageLayout.h"
#include "rules/ChartAxis.h"
#include "services/OutlookService.h"

#include <QImage>
#include <QList>
#include <QSizeF>

namespace velmora::print {

// Where the chart's plot lies in its picture, in millimetres from the
// picture's top: the amount axis's 0 at plotBottomMm, its top at plotTopMm.
struct OutlookChartFrame
{
    double plotTopMm = 0;
    double plotBottomMm = 0;
    Amount_Axis axis;
};

// The chart as a picture of sizeMm at dpi: one bar per period, one coloured
// block per group stacked in the order of the groups, the gridlines of the
// amount axis, the legend below. The axis's figures and title are texts of
// the page (buildOutlookPages), placed left of the picture by *frame.
QImage drawOutlookChart(
    const outlook::Outlook_Result& result, const QSizeF& sizeMm, double dpi, OutlookChartFrame* frame = nullptr);

// The colour of group g in every chart of the outlook.
QColor outlookGroupColour(int group);

QList<PageLayout> buildOutlookPages(const outlook::Outlook_Result& result);

} // namespace velmora::print
