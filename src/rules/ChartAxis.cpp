#include "rules/ChartAxis.h"

#include "rules/AmountText.h"

#include <algorithm>
#include <cmath>

namespace velmora {

Amount_Axis Amount_Axis_For(double tallest)
{
    Amount_Axis axis;
    if (!(tallest > 0))
        return axis;
    const double raw = tallest / 5;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    axis.step = 10 * power;
    for (double m : {1.0, 2.0, 2.5, 5.0, 10.0}) {
        if (raw <= m * power) {
            axis.step = m * power;
            break;
        }
    }
    axis.top = std::max(axis.step, std::ceil(tallest / axis.step) * axis.step);
    return axis;
}

std::vector<double> Axis_Values(const Amount_Axis& axis)
{
    std::vector<double> values;
    const long steps = std::lround(axis.top / axis.step);
    for (long i = 0; i <= steps; ++i)
        values.push_back(double(i) * axis.step);
    return values;
}

std::string Axis_Label(double value)
{
    std::string text = Amount_Text(value);
    if (text.size() > 3 && text.compare(text.size() - 3, 3, ".00") == 0)
        text.resize(text.size() - 3);
    return text;
}

} // namespace velmora
