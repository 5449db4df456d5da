#pragma once

// SHA-256 fed piece by piece: the audit log's chain hashes every row, on every
// save and on every verify of the whole log. On a processor with the SHA
// instructions the blocks are hashed by them (about ten times faster than
// plain code); elsewhere libsodium hashes them.

#include <array>
#include <cstddef>
#include <cstdint>

namespace velmora::db {

class Sha256
{
public:
    Sha256();
    void update(const void* data, size_t size);
    std::array<unsigned char, 32> final();

    // True when the blocks go through the processor's SHA instructions.
    static bool accelerated();
    // For tests: hash with libsodium even where the instructions exist.
    static void forcePortable(bool portable);

private:
    void compress(const unsigned char* blocks, size_t count);

    bool m_fast;
    alignas(16) uint32_t m_state[8];
    unsigned char m_buffer[64];
    size_t m_buffered = 0;
    uint64_t m_length = 0;
    alignas(64) unsigned char m_sodium[128]; // libsodium's state when not m_fast
};

} // namespace velmora::db
