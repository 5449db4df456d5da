#include "rules/Utility.h"

#include <cmath>
#include <algorithm>
#include <cstddef>

namespace velmora {

namespace {

bool Is_Continuation_Byte(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// The first `count` characters (code points) of the text.
std::string_view Left_Chars(std::string_view text, std::size_t count)
{
    std::size_t pos = 0;
    for (std::size_t seen = 0; pos < text.size() && seen < count; ++seen) {
        ++pos;
        while (pos < text.size() && Is_Continuation_Byte(text[pos]))
            ++pos;
    }
    return text.substr(0, pos);
}

} // namespace

std::string Remove_Commas(std::string_view text)
{
    std::string result;
    result.reserve(text.size());
    for (char c : text)
        if (c != ',')
            result.push_back(c);
    if (result.empty())
        return "0";
    return result;
}

std::string Trim_Left_Spaces(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return std::string(text.substr(first));
}

std::string Trim_Right_Spaces(std::string_view text)
{
    const auto last = text.find_last_not_of(' ');
    if (last == std::string_view::npos)
        return {};
    return std::string(text.substr(0, last + 1));
}

std::string Trim_Spaces(std::string_view text)
{
    return Trim_Left_Spaces(Trim_Right_Spaces(text));
}

std::string Right_Chars(std::string_view text, unsigned count)
{
    std::size_t pos = text.size();
    for (unsigned taken = 0; pos > 0 && taken < count; ++taken) {
        --pos;
        while (pos > 0 && Is_Continuation_Byte(text[pos]))
            --pos;
    }
    return std::string(text.substr(pos));
}

std::string Pad_Date_Text(std::string_view text)
{
    // Day: everything before the first slash (nothing when there is none).
    const auto slash = text.find('/');
    std::string_view beforeSlash;
    std::string_view rest;
    if (slash == std::string_view::npos) {
        rest = Left_Chars(text, 20);
    } else {
        beforeSlash = text.substr(0, slash);
        rest = Left_Chars(text.substr(slash + 1), 20);
    }
    const std::string day = Right_Chars("00" + Trim_Spaces(beforeSlash), 2);

    const auto slash2 = rest.find('/');
    std::string_view monthPart;
    std::string_view afterMonth = rest;
    if (slash2 != std::string_view::npos) {
        monthPart = rest.substr(0, slash2);
        afterMonth = rest.substr(slash2 + 1);
    }
    const std::string month = Right_Chars("00" + Trim_Spaces(monthPart), 2);
    // The year is taken as it stands: a two-digit year stays two digits.
    const std::string_view year = Left_Chars(afterMonth, 4);

    return day + "/" + month + "/" + std::string(year);
}

int Round_Half_Even(double value)
{
    const double down = std::floor(value);
    const double over = value - down;
    double result = down;
    if (over > 0.5 || (over == 0.5 && std::fmod(down, 2.0) != 0))
        result = down + 1;
    return static_cast<int>(result);
}

std::string Full_Name(std::string_view prefix, std::string_view firstName, std::string_view lastName)
{
    return std::string(prefix) + std::string(firstName) + " " + std::string(lastName);
}

std::vector<std::string> Split_Sap_Id_List(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    std::vector<std::string> ids;
    std::size_t from = 0;
    while (from <= text.size()) {
        std::size_t to = text.find(',', from);
        if (to == std::string_view::npos)
            to = text.size();
        std::size_t b = from, e = to;
        while (b < e && blank(text[b]))
            ++b;
        while (e > b && blank(text[e - 1]))
            --e;
        std::string id(text.substr(b, e - b));
        if (!id.empty() && std::find(ids.begin(), ids.end(), id) == ids.end())
            ids.push_back(std::move(id));
        from = to + 1;
    }
    return ids;
}

} // namespace velmora
