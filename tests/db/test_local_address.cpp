#include "db/LocalAddress.h"

#include <gtest/gtest.h>

#include <string>

namespace velmora {
namespace {

TEST(Local_IP_Address, IsEmptyOrDottedIPv4)
{
    const std::string address = Local_IP_Address();
    if (address.empty())
        return; // no name resolution on this computer: the defined outcome
    int dots = 0;
    int value = 0;
    int digits = 0;
    for (char c : address) {
        if (c == '.') {
            ASSERT_GT(digits, 0) << address;
            ++dots;
            value = 0;
            digits = 0;
        } else {
            ASSERT_TRUE(c >= '0' && c <= '9') << address;
            value = value * 10 + (c - '0');
            ++digits;
            ASSERT_LE(value, 255) << address;
        }
    }
    EXPECT_EQ(dots, 3) << address;
    EXPECT_GT(digits, 0) << address;
}

} // namespace
} // namespace velmora
