#include "rules/AmountText.h"

#include "rules/Utility.h"

#include <charconv>
#include <cmath>
#include <cstdint>

namespace velmora {

namespace {

struct Rounded_Amount
{
    bool negative = false;
    std::string whole; // decimal digits of the whole part, no leading zeros
    std::string cents; // exactly two digits
};

// |value| rounded to hundredths, halves away from zero, decided on the exact
// binary value. Below 2^53 the double is m * 2^e with an integer m < 2^53, so
// 100 * m fits in 64 bits and the division by 2^-e is done exactly on integers.
Rounded_Amount Round_To_Cents(double value)
{
    Rounded_Amount result;
    const double magnitude = std::fabs(value);
    constexpr double two53 = 9007199254740992.0;
    if (magnitude >= two53) {
        // Already a whole number; its digits are printed exactly.
        char buffer[400];
        const auto done = std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::fixed, 0);
        result.whole.assign(buffer, done.ptr);
        result.cents = "00";
        result.negative = value < 0;
        return result;
    }

    int exponent = 0;
    const double fraction = std::frexp(magnitude, &exponent);
    const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
    const int shift = 53 - exponent; // magnitude = mantissa / 2^shift
    const std::uint64_t scaled = mantissa * 100u;
    std::uint64_t cents = 0;
    if (shift <= 0) {
        cents = scaled << -shift; // whole number below 2^53: fits
    } else if (shift < 63) {
        const std::uint64_t one = std::uint64_t {1} << shift;
        cents = scaled >> shift;
        const std::uint64_t remainder = scaled & (one - 1);
        if (remainder >= (one >> 1))
            ++cents;
    } // else below a hundredth of a cent: rounds to zero

    result.negative = value < 0 && cents != 0;
    result.whole = std::to_string(cents / 100);
    const auto c = static_cast<unsigned>(cents % 100);
    result.cents = {static_cast<char>('0' + c / 10), static_cast<char>('0' + c % 10)};
    return result;
}

std::string Non_Finite_Text(double value)
{
    if (std::isnan(value))
        return "nan";
    return value < 0 ? "-inf" : "inf";
}

} // namespace

std::string Amount_Text(double value)
{
    if (!std::isfinite(value))
        return Non_Finite_Text(value);
    const Rounded_Amount r = Round_To_Cents(value);
    std::string text;
    if (r.negative)
        text.push_back('-');
    const std::size_t n = r.whole.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            text.push_back(',');
        text.push_back(r.whole[i]);
    }
    text += '.';
    text += r.cents;
    return text;
}

std::string Round2_Text(double value)
{
    if (!std::isfinite(value))
        return Non_Finite_Text(value);
    const Rounded_Amount r = Round_To_Cents(value);
    return (r.negative ? "-" : "") + r.whole + "." + r.cents;
}

std::string Shortest_Number_Text(double value)
{
    if (!std::isfinite(value))
        return Non_Finite_Text(value);
    if (value == 0)
        return "0";
    char buffer[64];
    const auto done = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    std::string text(buffer, done.ptr);
    if (text == "-0")
        return "0";
    return text;
}

std::optional<double> Parse_Number(std::string_view text)
{
    const std::string plain = Remove_Commas(text);
    std::size_t pos = 0;
    if (pos < plain.size() && plain[pos] == '-')
        ++pos;
    bool digit = false;
    bool point = false;
    for (std::size_t i = pos; i < plain.size(); ++i) {
        const char c = plain[i];
        if (c >= '0' && c <= '9') {
            digit = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            return std::nullopt;
        }
    }
    if (!digit)
        return std::nullopt;
    double value = 0;
    const auto done = std::from_chars(plain.data(), plain.data() + plain.size(), value, std::chars_format::fixed);
    if (done.ec != std::errc() || done.ptr != plain.data() + plain.size() || !std::isfinite(value))
        return std::nullopt;
    if (value == 0)
        value = 0; // no negative zero
    return value;
}

} // namespace velmora
