#include "rules/FundSourceRules.h"
#include "services/FundSource.h"

#include "rules/AmountText.h"

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::reports;

namespace {

struct ShareCase
{
    double net, fact, kv;
    const char* code;
    const char* shown;
};

class ShareOfALine : public ::testing::TestWithParam<ShareCase>
{
};

TEST_P(ShareOfALine, ShowsTheShareOfItsFundSource)
{
    const ShareCase c = GetParam();
    EXPECT_EQ(Amount_Text(Fund_Source_Share(c.net, c.fact, c.kv, c.code)), c.shown);
}

INSTANTIATE_TEST_SUITE_P(FundSource, ShareOfALine,
    ::testing::Values(ShareCase {10000, 30, 10, "2", "2,500.00"}, // the university's months
        ShareCase {10000, 30, 10, "3", "7,500.00"}, // the unit's months
        ShareCase {10000, 30, 10, "4", "7,500.00"}, // any other code: the unit's share
        ShareCase {10000, 30, 10, "", "7,500.00"},
        ShareCase {10000, 30, 10, "2 ", "7,500.00"}, // only "2" itself is the university
        ShareCase {100, 2, 1, "2", "33.33"}, ShareCase {100, 2, 1, "3", "66.67"},
        ShareCase {120000, 11.48, 48, "3", "23,160.73"}, ShareCase {120000, 11.48, 48, "2", "96,839.27"},
        ShareCase {90000, 0, 65.48, "2", "90,000.00"}, ShareCase {90000, 0, 65.48, "3", "0.00"},
        ShareCase {50000, 0, 0, "2", "0.00"}, // no split defined: nothing, never a division by 0
        ShareCase {50000, 0, 0, "3", "0.00"}));

TEST(FundSourceShare, MonthsAddingToZeroGiveAFiniteZero)
{
    const double share = Fund_Source_Share(12345.67, 5, -5, "3");
    EXPECT_EQ(share, 0.0);
}

TEST(ShownTotal, AddsTheAmountsAsShown)
{
    Shown_Total total;
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(total.add(Amount_Text(Fund_Source_Share(100, 2, 1, "2"))));
    EXPECT_EQ(total.text(), "99.99"); // not 100.00, the sum of the unrounded thirds
    EXPECT_FALSE(total.add("12a"));
    EXPECT_EQ(total.text(), "99.99");
    EXPECT_TRUE(total.add("1,000,000.01"));
    EXPECT_EQ(total.text(), "1,000,100.00");
}

TEST(SaveDate, KeyIsYearMonthDay)
{
    EXPECT_EQ(saveDateKey(QStringLiteral("15/03/2567")), QStringLiteral("25670315"));
    EXPECT_EQ(checkSaveDate(QStringLiteral("15/03/2567")), QString());
    for (const char* bad : {"", "1/3/2567", "__/__/____", "15/03/67", "15-03-2567", "15/03/2567 "})
        EXPECT_FALSE(checkSaveDate(QString::fromUtf8(bad)).isEmpty()) << bad;
}

// Only real calendar days; the year is Buddhist era (2567 is 2024, a leap year).
TEST(SaveDate, OnlyRealDays)
{
    for (const char* good : {"29/02/2567", "31/12/2566", "01/01/2500", "30/04/2568"})
        EXPECT_EQ(checkSaveDate(QString::fromUtf8(good)), QString()) << good;
    for (const char* bad : {"31/02/2566", "29/02/2566", "30/02/2567", "31/04/2568", "00/01/2567", "15/13/2567",
             "15/00/2567", "32/01/2567"})
        EXPECT_FALSE(checkSaveDate(QString::fromUtf8(bad)).isEmpty()) << bad;
}

// A result list of three lines (the second and third of one calculation) and its total row.
ReportGrid threeLines()
{
    ReportGrid g;
    g.titles = fundSourceTitles();
    auto line = [](int n, const char* sap, const char* amount) {
        QStringList row(kFundSourceColumns, QString());
        row[fsNo] = QString::number(n);
        row[fsSapID] = QStringLiteral("'") + QLatin1String(sap);
        row[fsName] = QStringLiteral("นายก ข");
        row[fsShare] = QLatin1String(amount);
        return row;
    };
    g.rows << line(1, "101", "2,500.00") << line(2, "102", "33.33") << line(3, "102", "33.33");
    QStringList total(kFundSourceColumns, QString());
    total[fsName] = grandTotalCaption();
    total[fsShare] = QStringLiteral("2,533.33");
    g.rows << total;
    return g;
}

QStringList marks(const ReportGrid& g)
{
    QStringList m;
    for (const QStringList& row : g.rows)
        m << row.at(fsMark);
    return m;
}

TEST(Marks, SelectAllNeverMarksTheTotalRow)
{
    ReportGrid g = threeLines();
    markAll(g);
    EXPECT_EQ(marks(g), (QStringList {"X", "X", "X", ""}));
    releaseAll(g);
    EXPECT_EQ(marks(g), (QStringList {"", "", "", ""}));
}

TEST(Marks, OneLineAtATime)
{
    ReportGrid g = threeLines();
    markLine(g, 1);
    markLine(g, 1); // stays marked
    EXPECT_EQ(marks(g), (QStringList {"", "X", "", ""}));
    toggleLine(g, 1);
    toggleLine(g, 2);
    EXPECT_EQ(marks(g), (QStringList {"", "", "X", ""}));
    releaseLine(g, 2);
    releaseLine(g, 0);
    EXPECT_EQ(marks(g), (QStringList {"", "", "", ""}));
    // the total row and rows outside the list are never marked
    markLine(g, 3);
    toggleLine(g, 3);
    markLine(g, -1);
    toggleLine(g, 99);
    EXPECT_EQ(marks(g), (QStringList {"", "", "", ""}));
}

TEST(Marks, TheBlankRowOfAnEmptySearchIsNeverMarked)
{
    ReportGrid g = ReportGrid::emptyResult(fundSourceTitles());
    markAll(g);
    toggleLine(g, 0);
    EXPECT_EQ(marks(g), QStringList {""});
}

const QList<FundSourceLine> kLines = {{"101", true}, {"102", false}, {"102", false}};

TEST(Gathering, NothingMarkedGivesTheTotalRowAlone)
{
    const ReportGrid s = gatherSelection(threeLines(), kLines);
    EXPECT_EQ(s.titles, selectionTitles());
    ASSERT_EQ(s.rows.size(), 1);
    EXPECT_EQ(s.rows.at(0), (QStringList {"", "", "ยอดรวมทั้งสิ้น", "0.00"}));
    EXPECT_EQ(selectedCount(s), 0);
    EXPECT_TRUE(selectedSapIds(s).isEmpty());
    EXPECT_EQ(selectionTotal(s), QStringLiteral("0.00"));
}

TEST(Gathering, MarkedLinesInListOrderWithTheirTotal)
{
    ReportGrid g = threeLines();
    markLine(g, 1);
    markLine(g, 0);
    const ReportGrid s = gatherSelection(g, kLines);
    ASSERT_EQ(s.rows.size(), 3);
    EXPECT_EQ(s.rows.at(0), (QStringList {"1", "'101", "นายก ข", "2,500.00"}));
    EXPECT_EQ(s.rows.at(1), (QStringList {"2", "'102", "นายก ข", "33.33"}));
    EXPECT_EQ(s.rows.at(2), (QStringList {"", "", "ยอดรวมทั้งสิ้น", "2,533.33"}));
    EXPECT_EQ(selectedCount(s), 2);
    EXPECT_EQ(selectedSapIds(s), (QStringList {"101", "102"}));
    EXPECT_EQ(selectionTotal(s), QStringLiteral("2,533.33"));
}

TEST(Gathering, OneCalculationsShareOfOneSideIsTakenOnce)
{
    ReportGrid g = threeLines();
    markAll(g); // lines 2 and 3: one calculation, both unit-funded
    const ReportGrid s = gatherSelection(g, kLines);
    ASSERT_EQ(s.rows.size(), 3);
    EXPECT_EQ(s.rows.last().at(3), QStringLiteral("2,533.33"));
    // the same calculation's university line is a share of its own
    const ReportGrid both = gatherSelection(g, {{"101", true}, {"102", false}, {"102", true}});
    ASSERT_EQ(both.rows.size(), 4);
    EXPECT_EQ(both.rows.last().at(3), QStringLiteral("2,566.66"));
}

TEST(Gathering, MarksOtherThanXAreNotTaken)
{
    ReportGrid g = threeLines();
    g.rows[0][fsMark] = QStringLiteral("x");
    g.rows[1][fsMark] = QStringLiteral(" X");
    EXPECT_EQ(gatherSelection(g, kLines).rows.size(), 1);
}

TEST(Exports, BothListsUseSetBAndTheSecondTitle)
{
    const ExportOptions list = fundSourceExport(departmentTitle(std::nullopt));
    EXPECT_EQ(list.secondTitle, QStringLiteral("หน่วยงาน ทั้งหมด"));
    EXPECT_EQ(list.titleRange, QStringLiteral("A1:R1"));
    EXPECT_EQ(list.lastStyledColumn, QStringLiteral("R"));
    EXPECT_EQ(list.pageTexts, PageTexts::SetB);
    const ExportOptions sel = selectionExport(departmentTitle(QStringLiteral("คณะแพทยศาสตร์")));
    EXPECT_EQ(sel.secondTitle, QStringLiteral("หน่วยงาน คณะแพทยศาสตร์"));
    EXPECT_EQ(sel.titleRange, QStringLiteral("A1:D1"));
    EXPECT_EQ(sel.lastStyledColumn, QStringLiteral("D"));
    EXPECT_EQ(sel.title, QStringLiteral("รายงานการรับเงินชดเชยพนักงาน "));
    EXPECT_EQ(sel.widths, (QList<double> {4, 13, 40, 30, 25, 13, 28}));
}

} // namespace
