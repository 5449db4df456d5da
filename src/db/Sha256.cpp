#include "db/Sha256.h"

#include <sodium.h>

#include <atomic>
#include <cstring>
#include <new>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define VELMORA_SHA_X86 1
#include <cpuid.h>
#include <immintrin.h>
#endif

namespace velmora::db {

namespace {

static_assert(sizeof(crypto_hash_sha256_state) <= 128 && alignof(crypto_hash_sha256_state) <= 64);

std::atomic<bool> g_portable {false};

crypto_hash_sha256_state* sodium(unsigned char* place)
{
    return std::launder(reinterpret_cast<crypto_hash_sha256_state*>(place));
}

#if VELMORA_SHA_X86

bool cpuHasSha()
{
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (!__get_cpuid(1, &a, &b, &c, &d))
        return false;
    const bool ssse3 = (c & (1u << 9)) != 0;
    const bool sse41 = (c & (1u << 19)) != 0;
    if (!__get_cpuid_count(7, 0, &a, &b, &c, &d))
        return false;
    const bool sha = (b & (1u << 29)) != 0;
    return ssse3 && sse41 && sha;
}

alignas(16) const uint32_t kRound[64] = {0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1,
    0x923f82a4, 0xab1c5ed5, 0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7,
    0xc19bf174, 0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967, 0x27b70a85,
    0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85, 0xa2bfe8a1, 0xa81a664b,
    0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070, 0x19a4c116, 0x1e376c08, 0x2748774c,
    0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3, 0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208,
    0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

// The blocks through the SHA instructions. The state is kept as the
// instructions want it (ABEF and CDGH) only inside; the message words of a
// block go four at a time, each group of four rounds scheduling the words of
// the groups three and one ahead.
__attribute__((target("sha,sse4.1,ssse3"))) void compressSha(uint32_t state[8], const unsigned char* data, size_t count)
{
    const __m128i byteSwap = _mm_set_epi64x(0x0c0d0e0f08090a0bULL, 0x0405060700010203ULL);
    __m128i tmp = _mm_loadu_si128(reinterpret_cast<const __m128i*>(&state[0]));
    __m128i state1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(&state[4]));
    tmp = _mm_shuffle_epi32(tmp, 0xB1); // CDAB
    state1 = _mm_shuffle_epi32(state1, 0x1B); // EFGH
    __m128i state0 = _mm_alignr_epi8(tmp, state1, 8); // ABEF
    state1 = _mm_blend_epi16(state1, tmp, 0xF0); // CDGH

    for (; count > 0; --count, data += 64) {
        const __m128i abefBefore = state0;
        const __m128i cdghBefore = state1;
        __m128i w[4];
        for (size_t g = 0; g < 16; ++g) {
            if (g < 4)
                w[g] = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(data + 16 * g)), byteSwap);
            __m128i msg = _mm_add_epi32(w[g % 4], _mm_load_si128(reinterpret_cast<const __m128i*>(&kRound[4 * g])));
            state1 = _mm_sha256rnds2_epu32(state1, state0, msg);
            if (g >= 3 && g <= 14) {
                __m128i& next = w[(g + 1) % 4];
                next = _mm_add_epi32(next, _mm_alignr_epi8(w[g % 4], w[(g + 3) % 4], 4));
                next = _mm_sha256msg2_epu32(next, w[g % 4]);
            }
            msg = _mm_shuffle_epi32(msg, 0x0E);
            state0 = _mm_sha256rnds2_epu32(state0, state1, msg);
            if (g >= 1 && g <= 12)
                w[(g + 3) % 4] = _mm_sha256msg1_epu32(w[(g + 3) % 4], w[g % 4]);
        }
        state0 = _mm_add_epi32(state0, abefBefore);
        state1 = _mm_add_epi32(state1, cdghBefore);
    }

    tmp = _mm_shuffle_epi32(state0, 0x1B); // FEBA
    state1 = _mm_shuffle_epi32(state1, 0xB1); // DCHG
    state0 = _mm_blend_epi16(tmp, state1, 0xF0); // DCBA
    state1 = _mm_alignr_epi8(state1, tmp, 8); // ABEF
    _mm_storeu_si128(reinterpret_cast<__m128i*>(&state[0]), state0);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(&state[4]), state1);
}

#else

bool cpuHasSha()
{
    return false;
}

void compressSha(uint32_t*, const unsigned char*, size_t) { }

#endif

bool shaInstructions()
{
    static const bool has = cpuHasSha();
    return has;
}

} // namespace

Sha256::Sha256()
    : m_fast(shaInstructions() && !g_portable.load(std::memory_order_relaxed))
{
    if (m_fast) {
        static const uint32_t initial[8] = {
            0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a, 0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
        std::memcpy(m_state, initial, sizeof m_state);
    } else {
        crypto_hash_sha256_init(new (m_sodium) crypto_hash_sha256_state);
    }
}

bool Sha256::accelerated()
{
    return shaInstructions() && !g_portable.load(std::memory_order_relaxed);
}

void Sha256::forcePortable(bool portable)
{
    g_portable.store(portable, std::memory_order_relaxed);
}

void Sha256::compress(const unsigned char* blocks, size_t count)
{
    compressSha(m_state, blocks, count);
}

void Sha256::update(const void* data, size_t size)
{
    if (size == 0) // an empty field may come without any bytes at all (a null pointer)
        return;
    const auto* bytes = static_cast<const unsigned char*>(data);
    if (!m_fast) {
        crypto_hash_sha256_update(sodium(m_sodium), bytes, size);
        return;
    }
    m_length += size;
    if (m_buffered > 0) {
        const size_t take = std::min(size, sizeof m_buffer - m_buffered);
        std::memcpy(m_buffer + m_buffered, bytes, take);
        m_buffered += take;
        bytes += take;
        size -= take;
        if (m_buffered < sizeof m_buffer)
            return;
        compress(m_buffer, 1);
        m_buffered = 0;
    }
    if (size >= 64) {
        compress(bytes, size / 64);
        bytes += size - size % 64;
        size %= 64;
    }
    if (size > 0) {
        std::memcpy(m_buffer, bytes, size);
        m_buffered = size;
    }
}

std::array<unsigned char, 32> Sha256::final()
{
    std::array<unsigned char, 32> digest {};
    if (!m_fast) {
        crypto_hash_sha256_final(sodium(m_sodium), digest.data());
        return digest;
    }
    const uint64_t bits = m_length * 8;
    unsigned char tail[72] = {0x80};
    const size_t pad = (m_buffered < 56 ? 56 : 120) - m_buffered;
    for (int i = 0; i < 8; ++i)
        tail[pad + static_cast<size_t>(i)] = static_cast<unsigned char>(bits >> (56 - 8 * i));
    update(tail, pad + 8);
    for (size_t i = 0; i < 8; ++i) {
        digest[4 * i] = static_cast<unsigned char>(m_state[i] >> 24);
        digest[4 * i + 1] = static_cast<unsigned char>(m_state[i] >> 16);
        digest[4 * i + 2] = static_cast<unsigned char>(m_state[i] >> 8);
        digest[4 * i + 3] = static_cast<unsigned char>(m_state[i]);
    }
    return digest;
}

} // namespace velmora::db
