#include "rules/FieldLimits.h"

#include <cmath>

namespace velmora {

std::size_t Character_Count(std::string_view utf8)
{
    std::size_t count = 0;
    for (const char c : utf8) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) // not a continuation byte
            ++count;
    }
    return count;
}

std::string Check_Length(std::string_view utf8, int length, std::string_view what)
{
    const std::size_t count = Character_Count(utf8);
    if (count <= static_cast<std::size_t>(length))
        return {};
    return std::string(what) + "ยาวเกินกว่าที่ฐานข้อมูลเก็บได้: ยาวได้ไม่เกิน " + std::to_string(length) + " ตัวอักษร (ที่ใส่มา "
        + std::to_string(count) + " ตัวอักษร)";
}

bool Fits_Money_Column(double amount)
{
    return std::isfinite(amount) && std::fabs(amount) < kMoney_Limit;
}

} // namespace velmora
