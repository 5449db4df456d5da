#pragma once

// The widest values the database columns hold, the same on every server.
// A value is checked against these before anything is written, so that a
// server that would store it anyway (SQLite) and one that would refuse it
// with its own text give the officer the same Thai message.

#include <string>
#include <string_view>

namespace velmora {

// Texts, in characters.
inline constexpr int kSapID_Length = 30;
inline constexpr int kSSN_Length = 30;
inline constexpr int kPrefix_Length = 60; // the name prefix (Surname column)
inline constexpr int kFirst_Name_Length = 120;
inline constexpr int kLast_Name_Length = 120;
inline constexpr int kDepart_Code_Length = 30;
inline constexpr int kDepart_Name_Length = 200;
inline constexpr int kReason_Length = 255;
inline constexpr int kWork_Type_Code_Length = 10;

// Amounts of baht are NUMERIC(18,2): sixteen digits before the point, so every
// amount must be below this.
inline constexpr double kMoney_Limit = 1e16;
inline constexpr const char* kMoney_Limit_Text = "10,000,000,000,000,000";

// Characters (code points) of a UTF-8 text.
std::size_t Character_Count(std::string_view utf8);

// "" when the text fits its column, else a Thai message naming `what`.
std::string Check_Length(std::string_view utf8, int length, std::string_view what);

// True when the amount fits a money column (finite, below the limit either side).
bool Fits_Money_Column(double amount);

} // namespace velmora
