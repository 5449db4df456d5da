#include "rules/ChartAxis.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace velmora;

namespace {

struct Axis_Case
{
    double tallest;
    double step;
    double top;
    std::vector<std::string> labels;
};

class Amount_Axis_Test : public ::testing::TestWithParam<Axis_Case>
{
};

TEST_P(Amount_Axis_Test, RoundStepsFromZeroInWholeBahtWithSeparators)
{
    const Axis_Case& c = GetParam();
    const Amount_Axis axis = Amount_Axis_For(c.tallest);
    EXPECT_EQ(axis.step, c.step);
    EXPECT_EQ(axis.top, c.top);
    std::vector<std::string> labels;
    for (double v : Axis_Values(axis))
        labels.push_back(Axis_Label(v));
    EXPECT_EQ(labels, c.labels);
}

INSTANTIATE_TEST_SUITE_P(Cases, Amount_Axis_Test,
    ::testing::Values(
        // The office's figures: a month of contract ends, a year of retirements.
        Axis_Case {192000, 50000, 200000, {"0", "50,000", "100,000", "150,000", "200,000"}},
        Axis_Case {1234567, 250000, 1250000, {"0", "250,000", "500,000", "750,000", "1,000,000", "1,250,000"}},
        Axis_Case {1500000, 500000, 1500000, {"0", "500,000", "1,000,000", "1,500,000"}},
        // A bar exactly on a step ends the axis there.
        Axis_Case {1000000, 200000, 1000000, {"0", "200,000", "400,000", "600,000", "800,000", "1,000,000"}},
        Axis_Case {120000000, 25000000, 125000000,
            {"0", "25,000,000", "50,000,000", "75,000,000", "100,000,000", "125,000,000"}},
        // Nothing to show: one step of a baht.
        Axis_Case {0, 1, 1, {"0", "1"}},
        // Below a baht the satang stay.
        Axis_Case {0.9, 0.2, 1, {"0", "0.20", "0.40", "0.60", "0.80", "1"}}));

} // namespace
