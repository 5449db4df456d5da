#pragma once

// Amounts as the officers see them and as the database receives them.
// Rounding to two decimals is decided from the double's exact binary value,
// halves away from zero: 19679.625 shows 19,679.63, while 1.005 (really
// 1.00499999...) shows 1.00. Independent of the locale.

#include <optional>
#include <string>
#include <string_view>

namespace velmora {

// "," thousands separator, "." decimal point, exactly two decimals, leading
// minus for negatives ("-1,234.50"); an amount that rounds to zero is "0.00".
// A value that is not finite gives "nan", "inf" or "-inf", which
// Parse_Number refuses, so the fault cannot pass as an amount.
std::string Amount_Text(double value);

// The same rounding without thousands separators ("1234.50"): the figure the
// database receives for a shown amount.
std::string Round2_Text(double value);

// Shortest text with at most 15 significant digits, no trailing zeros
// (59.48, 48, 19.3, 66.67), as printf's %.15g; never "-0".
std::string Shortest_Number_Text(double value);

// Reads a shown amount: commas are removed first (an empty text is then "0"),
// what remains must be an optional leading minus, digits and at most one
// point with at least one digit. Anything else (blanks, letters, exponents,
// a plus sign) gives no value.
std::optional<double> Parse_Number(std::string_view text);

} // namespace velmora
