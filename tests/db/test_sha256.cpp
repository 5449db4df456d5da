// The chain's SHA-256: the published test vectors, and the processor's SHA
// instructions agreeing with libsodium on every length and every way of
// feeding the bytes.

#include "db/Sha256.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using velmora::db::Sha256;

namespace {

std::string hex(const std::array<unsigned char, 32>& d)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : d) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

std::string hashOf(const std::string& text)
{
    Sha256 h;
    h.update(text.data(), text.size());
    return hex(h.final());
}

struct Portable
{
    explicit Portable(bool on) { Sha256::forcePortable(on); }
    ~Portable() { Sha256::forcePortable(false); }
};

} // namespace

TEST(Sha256, PublishedVectorsBothWays)
{
    const std::pair<std::string, const char*> vectors[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
            "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (bool portable : {false, true}) {
        Portable mode(portable);
        for (const auto& [text, expected] : vectors)
            EXPECT_EQ(hashOf(text), expected) << "portable " << portable << ", length " << text.size();
    }
}

// An empty field fed as a null pointer (an empty text's bytes) adds nothing
// and touches nothing, either way.
TEST(Sha256, EmptyPiecesWithoutBytes)
{
    for (bool portable : {false, true}) {
        Portable mode(portable);
        Sha256 h;
        h.update(nullptr, 0);
        h.update("ab", 2);
        h.update(nullptr, 0);
        h.update("c", 1);
        EXPECT_EQ(hex(h.final()), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    }
}

TEST(Sha256, InstructionsAgreeWithLibsodiumForEveryLengthAndFeeding)
{
    if (!Sha256::accelerated())
        GTEST_SKIP() << "this processor has no SHA instructions: libsodium hashes everything";
    std::mt19937 random(20261209);
    for (size_t length = 0; length <= 300; ++length) {
        std::string data(length, '\0');
        for (char& c : data)
            c = static_cast<char>(random());
        std::string expected;
        {
            Portable mode(true);
            expected = hashOf(data);
        }
        ASSERT_EQ(hashOf(data), expected) << "length " << length;
        // fed in random pieces, as the chain feeds its fields
        Sha256 pieces;
        for (size_t at = 0; at < length;) {
            const size_t piece = std::min<size_t>(length - at, random() % 70);
            pieces.update(data.data() + at, piece);
            at += piece;
        }
        ASSERT_EQ(hex(pieces.final()), expected) << "length " << length << " in pieces";
    }
}
