#pragma once

// Small text helpers used between the screens, the spreadsheets and the
// database. Texts are UTF-8; a "blank" is the space character only.

#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// The text without its commas; "0" when nothing is left.
std::string Remove_Commas(std::string_view text);

std::string Trim_Left_Spaces(std::string_view text);
std::string Trim_Right_Spaces(std::string_view text);
std::string Trim_Spaces(std::string_view text);

// The last `count` characters (UTF-8 code points) of the text, or all of it.
std::string Right_Chars(std::string_view text, unsigned count);

// A day/month/year date text zero-filled to "dd/mm/yyyy"; whatever follows the
// four year characters (a time of day) is dropped. No era conversion.
std::string Pad_Date_Text(std::string_view text);

// The nearest whole number, a half going to the even one (2.5 gives 2,
// 3.5 gives 4).
int Round_Half_Even(double value);

// The full name as every screen, list and page writes it: the prefix joined
// to the first name, a space, the last name ("นายสมชาย ใจดี").
std::string Full_Name(std::string_view prefix, std::string_view firstName, std::string_view lastName);

// SAP IDs typed as a list: items separated by commas, white space around each
// removed, empty items skipped, each ID once in the order first typed.
std::vector<std::string> Split_Sap_Id_List(std::string_view text);

} // namespace velmora
