#pragma once

// The share of a saved calculation's net compensation that falls on one fund
// source, and the totals of shown amounts. Plain C++, no database, no Qt.

#include <string>
#include <string_view>

namespace velmora {

// Fund-source code of the university; every other code is paid by the unit.
inline constexpr std::string_view kUniversityFundCode = "2";

// The side that pays a period of an employment-type code: "3" the unit
// (department, Fact), "2" the university (KV), any other code neither.
enum class Fund_Side { Department, University, Neither };
Fund_Side Fund_Side_Of_Code(std::string_view workTypeCode);

// True when a period of this employment-type code is paid by the university.
// The fund-source list puts every code that is not the university's on the
// unit's side.
bool Is_University_Fund(std::string_view workTypeCode);

// The shares of a saved calculation's net: net x side's months / (fact + kv).
// The same division is written twice on purpose. The request document's
// split (Split_Net) is computed in double precision, the fund-source list's
// share (Fund_Source_Share) forms the product and the sum of the months in
// extended precision (long double) and rounds only the quotient to double;
// the two are worded differently for their two documents, and in about 30
// of a million random cases (net and months of two decimals) the two print
// a different satang: shares whose exact value ends in half a satang, such
// as 98,913.95 x 120.78 / 146.52 = 81,537.175 (pinned in the tests).
// Do not merge them: each document must print what it has always printed.
struct Net_Split
{
    double fact = 0;
    double kv = 0;
    bool defined = true; // false when the months add to 0: both shares 0
};
Net_Split Split_Net(double factMonths, double kvMonths, double net);

// The part of the net `net` that falls on the fund source of `workTypeCode`:
// code "2" takes the university's months `kvMonths`, any other code the
// unit's months `factMonths`. Months that add to 0 leave no split defined:
// the share is then 0.
double Fund_Source_Share(double net, double factMonths, double kvMonths, std::string_view workTypeCode);

// A save date "dd/mm/yyyy" (Buddhist era) of the fund-source filters: a Thai
// message when it is not of that form, "" when it is.
std::string Check_Save_Date(std::string_view date);
// The save date as "yyyymmdd" text, which sorts by date.
std::string Save_Date_Key(std::string_view date);

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
