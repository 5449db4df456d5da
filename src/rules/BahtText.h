#pragma once

// An amount of money in Thai words, as official payment documents print it
// beside the figures: baht, then satang or "ถ้วน" when there are none.

#include <cstdint>
#include <string>

namespace velmora {

// 25000 gives "สองหมื่นห้าพันบาทถ้วน", 0.21 gives "บาทยี่สิบเอ็ดสตางค์".
//
// Beyond the amounts the documents carry:
// - a negative amount is "ลบ" followed by the words of its absolute value,
//   unless it rounds to zero (then "บาทถ้วน", never "ลบบาทถ้วน");
// - millions are counted by repeating "ล้าน" (10^12 is หนึ่งล้านล้าน,
//   10^13 is สิบล้านล้าน, 10^18 is หนึ่งล้านล้านล้าน), for any finite amount;
// - satang are the fraction times 100 rounded half to even; a fraction that
//   rounds to 100 satang carries one baht, one that rounds to 0 gives "ถ้วน".
// A value that is not finite throws std::invalid_argument.
std::string Baht_Text(double amount);

// 1 multiplied `exponent` times by `base`; Int_Power(10, 0) is 1.
double Int_Power(int base, std::uint8_t exponent);

} // namespace velmora
