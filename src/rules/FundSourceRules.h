#pragma once

// The share of a saved calculation's net compensation that falls on one fund
// source, and the totals of shown amounts. Plain C++, no database, no Qt.

#include <string>
#include <string_view>

namespace velmora {

// Fund-source code of the university; every other code is paid by the unit.
inline constexpr std::string_view kUniversityFundCode = "2";

// True when a period of this employment-type code is paid by the university.
bool Is_University_Fund(std::string_view workTypeCode);

// The part of the net `net` that falls on the fund source of `workTypeCode`:
// code "2" takes the university's months `kvMonths`, any other code the
// unit's months `factMonths`, over both: net x months / (fact + kv). The
// product is formed in extended precision and the quotient held as a double.
// Months that add to 0 leave no split defined: the share is then 0.
double Fund_Source_Share(double net, double factMonths, double kvMonths, std::string_view workTypeCode);

// A total of amounts as they are shown: each amount text ("1,234.50") is read
// back as a number and added in double precision, so the total is the sum of
// the two-decimal figures the officer sees, not of the unrounded shares.
class Shown_Total
{
public:
    // Adds the amount text; false (and nothing added) when it is not an amount.
    bool add(std::string_view amountText);
    double value() const { return m_total; }
    // The total as amount text ("99.99").
    std::string text() const;

private:
    double m_total = 0;
};

} // namespace velmora
