#include "rules/NationalId.h"

#include "rules/Utility.h"

#include <algorithm>

namespace velmora {

namespace {

bool Is_Digit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

int Ssn_Check_Digit(std::string_view digits)
{
    if (digits.size() < 12 || !std::all_of(digits.begin(), digits.begin() + 12, Is_Digit))
        return -1;
    int sum = 0;
    for (int i = 0; i < 12; ++i)
        sum += (13 - i) * (digits[std::size_t(i)] - '0');
    return (11 - sum % 11) % 10;
}

Ssn_Status Check_Ssn(std::string_view ssn)
{
    const std::string number = Trim_Spaces(ssn);
    if (number.empty())
        return Ssn_Status::Empty;
    if (!std::all_of(number.begin(), number.end(), Is_Digit))
        return Ssn_Status::Not_Digits;
    if (number.size() != 13)
        return Ssn_Status::Wrong_Length;
    return Ssn_Check_Digit(number) == number[12] - '0' ? Ssn_Status::Valid : Ssn_Status::Wrong_Check_Digit;
}

std::string Ssn_Problem(Ssn_Status status)
{
    switch (status) {
    case Ssn_Status::Valid:
        return {};
    case Ssn_Status::Empty:
        return "ไม่มีเลขประจำตัวประชาชน";
    case Ssn_Status::Not_Digits:
        return "เลขประจำตัวประชาชนต้องเป็นตัวเลข 13 หลักติดกัน ไม่มีขีดหรือช่องว่างคั่น";
    case Ssn_Status::Wrong_Length:
        return "เลขประจำตัวประชาชนต้องมี 13 หลัก";
    case Ssn_Status::Wrong_Check_Digit:
        break;
    }
    return "เลขประจำตัวประชาชนไม่ถูกต้องตามหลักตรวจสอบ (หลักที่ 13)";
}

} // namespace velmora
