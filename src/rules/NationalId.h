#pragma once

// The check digit of a Thai national identity-card number (SSN): 13 digits
// d1 … d13 where d13 = (11 − (13·d1 + 12·d2 + … + 2·d12) mod 11) mod 10.
// A mistyped number in a workbook hides an earlier payment under the person's
// other employee number (the earlier-payment search compares SSN texts), so
// every place that shows or imports one checks it.
//
// The number is read as stored: blanks around it are ignored (the import trims
// them), but dashes or blanks between the digit groups ("1-2345-67890-12-1",
// "1 2345 67890 12 1") are not accepted, because the earlier-payment search
// would not find the same person stored with plain digits.
//
// The rule cannot see every mistake: d3 weighs 11, which counts nothing modulo
// 11, so a wrong third digit passes; and the sums leaving 0 and 10 both give
// the check digit 1.

#include <string>
#include <string_view>

namespace velmora {

enum class Ssn_Status { Valid, Empty, Not_Digits, Wrong_Length, Wrong_Check_Digit };

Ssn_Status Check_Ssn(std::string_view ssn);

// The check digit (0 … 9) of the first twelve digits; -1 unless the text is
// twelve or more ASCII digits.
int Ssn_Check_Digit(std::string_view digits);

// What is wrong with the number, in the officer's words; empty when valid.
std::string Ssn_Problem(Ssn_Status status);

// The note the calculation pages and the month-end run show beside a number
// that fails the check.
inline constexpr const char* kSsn_Check_Note = "ตรวจสอบเลขประจำตัวประชาชน";

} // namespace velmora
