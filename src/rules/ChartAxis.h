#pragma once

// The amount axis of the outlook's chart, on screen and on the printed page:
// from 0 up to the tallest bar in round steps (1, 2, 2.5 or 5 times a power
// of ten, about five of them), each figure in whole baht with thousands
// separators ("1,500,000"). The exported workbook's chart gives its axis the
// same look with the number format "#,##0".

#include <string>
#include <vector>

namespace velmora {

struct Amount_Axis
{
    double step = 1;
    double top = 1; // a whole number of steps, at least one
};

Amount_Axis Amount_Axis_For(double tallest);

// The figures of the axis's gridlines, 0 first, top last.
std::vector<double> Axis_Values(const Amount_Axis& axis);

// "1,500,000"; below a whole baht the two decimals stay ("0.25").
std::string Axis_Label(double value);

} // namespace velmora
