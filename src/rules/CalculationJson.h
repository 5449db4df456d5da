#pragma once

// The calculation as one JSON object (velmora-cli calc --json): texts exactly
// as the screen shows them, whole numbers as JSON numbers, keys in a fixed order.

#include "rules/Calculation.h"

#include <string>

namespace velmora::calc {

enum class Json_Layout {
    Indented, // two-space indentation, ending with a newline (calc --json)
    Compact, // no white space outside the texts (one audit-log row)
};

// The object of a successful calculation, UTF-8, members in the same order in
// either layout.
std::string Calculation_Json(
    const Calculation_Input& input, const Calculation& calculation, Json_Layout layout = Json_Layout::Indented);

// A JSON string literal (quotes included) for UTF-8 text.
std::string Json_String(std::string_view text);
// The same, added to `out`.
void Append_Json_String(std::string& out, std::string_view text);

} // namespace velmora::calc
