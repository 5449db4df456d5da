#include "rules/BahtText.h"

#include "rules/Utility.h"

#include <charconv>
#include <cmath>
#include <stdexcept>
#include <string_view>

namespace velmora {

namespace {

constexpr std::string_view digitWord[10] = {
    "",
    "หนึ่ง",
    "สอง",
    "สาม",
    "สี่",
    "ห้า",
    "หก",
    "เจ็ด",
    "แปด",
    "เก้า",
};
constexpr std::string_view placeWord[7] = {
    "",
    "สิบ",
    "ร้อย",
    "พัน",
    "หมื่น",
    "แสน",
    "ล้าน",
};
constexpr std::string_view million = "ล้าน";

// Tens digit in words: 1 is "สิบ" alone, 2 is "ยี่สิบ".
void Append_Tens(std::string& out, int digit)
{
    if (digit == 0)
        return;
    if (digit == 2)
        out += "ยี่";
    else if (digit != 1)
        out += digitWord[digit];
    out += placeWord[1];
}

// Words of a whole number below ten million, place by place from the
// millions down. "เอ็ด" only for a units 1 directly after a non-zero tens.
void Append_Group(std::string& out, double number)
{
    int lastTens = 0;
    for (int place = 6; place >= 1; --place) {
        const double power = Int_Power(10, static_cast<std::uint8_t>(place));
        const int digit = static_cast<int>(std::floor(number / power));
        if (place == 1) {
            Append_Tens(out, digit);
            lastTens = digit;
        } else if (digit > 0) {
            out += digitWord[digit];
            out += placeWord[place];
        }
        number -= digit * power;
    }
    const int units = static_cast<int>(number);
    if (units == 1 && lastTens > 0)
        out += "เอ็ด";
    else
        out += digitWord[units];
}

// Words of a whole number given as decimal digits (no leading zeros): the
// last six digits follow the millions, which are written the same way, so
// "ล้าน" repeats for each further six digits.
void Append_Whole(std::string& out, std::string_view digits)
{
    if (digits.size() > 6) {
        Append_Whole(out, digits.substr(0, digits.size() - 6));
        out += million;
        digits = digits.substr(digits.size() - 6);
    }
    double number = 0;
    for (char c : digits)
        number = number * 10 + (c - '0');
    Append_Group(out, number);
}

} // namespace

double Int_Power(int base, std::uint8_t exponent)
{
    double result = 1;
    for (unsigned i = 0; i < exponent; ++i)
        result *= base;
    return result;
}

std::string Baht_Text(double amount)
{
    if (!std::isfinite(amount))
        throw std::invalid_argument("จำนวนเงินไม่ถูกต้อง");

    const bool negative = amount < 0;
    const double magnitude = std::fabs(amount);
    double whole = std::trunc(magnitude);
    int satang = Round_Half_Even((magnitude - whole) * 100);
    if (satang == 100) {
        whole += 1;
        satang = 0;
    }

    char buffer[400];
    const auto done = std::to_chars(buffer, buffer + sizeof buffer, whole, std::chars_format::fixed, 0);
    const std::string_view digits(buffer, static_cast<std::size_t>(done.ptr - buffer));

    std::string text;
    if (negative && (whole > 0 || satang > 0))
        text += "ลบ";
    Append_Whole(text, digits);
    text += "บาท";
    if (satang == 0) {
        text += "ถ้วน";
        return text;
    }
    const int tens = satang / 10;
    const int units = satang % 10;
    Append_Tens(text, tens);
    if (units == 1)
        text += tens > 0 ? "เอ็ด" : "หนึ่ง";
    else
        text += digitWord[units];
    text += "สตางค์";
    return text;
}

} // namespace velmora
