// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The hot loop of the program: the effect filter's row kernels, built with -O3. Each picture
// row is treated as a row of bytes, so a pixel's left and right neighbours in the same
// channel are 3 bytes away. The vector kernels multiply interleaved pairs of picture bytes by
// pairs of byte weights into 16-bit sums, divide by shifting and clamp by a saturating pack.
#include "FilterKernels.h"

#include <bit>
#include <cstdlib>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define TARVEL_X86_KERNELS 1
#endif

namespace {

// Largest magnitude a sum can reach: every weight times the largest byte.
qint64 largestSum(const std::array<qint32, 9>& weights) {
    qint64 total = 0;
    for (const qint32 w : weights)
        total += std::llabs(qint64(w));
    return total * 255;
}

// Shift: the divisor is 1 << shift. A shift rounds a negative sum down where the division
// truncates toward zero, but both quotients are then at most 0 and clamp to the same 0.
template <class Sum, bool Shift>
void filterRowWith(const uchar* above, const uchar* own, const uchar* below, uchar* out, int bytes,
                   const std::array<qint32, 9>& weights, quint16 divisor) {
    const Sum w0 = weights[0], w1 = weights[1], w2 = weights[2];
    const Sum w3 = weights[3], w4 = weights[4], w5 = weights[5];
    const Sum w6 = weights[6], w7 = weights[7], w8 = weights[8];
    const Sum d = divisor;
    const int shift = std::countr_zero(unsigned(divisor));
    for (int i = 0; i < bytes; ++i) {
        const Sum sum = w0 * above[i] + w1 * above[i + 3] + w2 * above[i + 6] + w3 * own[i] +
                        w4 * own[i + 3] + w5 * own[i + 6] + w6 * below[i] + w7 * below[i + 3] +
                        w8 * below[i + 6];
        const Sum q = Shift ? Sum(sum >> shift) : Sum(sum / d);
        out[i] = q >= 255 ? uchar(255) : q <= 0 ? uchar(0) : uchar(q);
    }
}

} // namespace

bool packWeights(const std::array<qint32, 9>& weights, quint16 divisor, PackedWeights& packed) {
    if (divisor == 0 || !std::has_single_bit(unsigned(divisor)))
        return false;
    for (const qint32 w : weights)
        if (w < -128 || w > 127)
            return false;
    if (largestSum(weights) > 32767)
        return false;
    // The taps in pair order: (above L, above C), (above R, own L), (own C, own R),
    // (below L, below C), (below R, nothing).
    const auto pair = [](qint32 low, qint32 high) {
        return qint16(quint16(quint8(qint8(low))) | quint16(quint16(quint8(qint8(high))) << 8));
    };
    packed.pairs = {pair(weights[0], weights[1]), pair(weights[2], weights[3]),
                    pair(weights[4], weights[5]), pair(weights[6], weights[7]),
                    pair(weights[8], 0)};
    packed.shift = std::countr_zero(unsigned(divisor));
    return true;
}

void filterRowPortable(const uchar* above, const uchar* own, const uchar* below, uchar* out,
                       int bytes, const std::array<qint32, 9>& weights, quint16 divisor) {
    // 32-bit sums whenever they cannot overflow (always for the effect table).
    const bool powerOfTwo = std::has_single_bit(unsigned(divisor));
    if (largestSum(weights) > 0x7FFFFFFF)
        filterRowWith<qint64, false>(above, own, below, out, bytes, weights, divisor);
    else if (powerOfTwo)
        filterRowWith<qint32, true>(above, own, below, out, bytes, weights, divisor);
    else
        filterRowWith<qint32, false>(above, own, below, out, bytes, weights, divisor);
}

#ifdef TARVEL_X86_KERNELS

namespace {

// Adds one pair of taps: the two rows' bytes interleaved, multiplied by a pair of weights
// and summed into 16 bits, for the low and the high half of the block.
__attribute__((target("ssse3"))) inline void
tapSsse3(__m128i first, __m128i second, __m128i weightPair, __m128i& low, __m128i& high) {
    low = _mm_add_epi16(low, _mm_maddubs_epi16(_mm_unpacklo_epi8(first, second), weightPair));
    high = _mm_add_epi16(high, _mm_maddubs_epi16(_mm_unpackhi_epi8(first, second), weightPair));
}

__attribute__((target("ssse3"))) inline __m128i load16(const uchar* at) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
}

// One block of 16 output bytes starting at byte i. The arithmetic shift divides exactly like
// truncating division whenever the result is positive; a negative sum gives a negative or zero
// quotient either way, which the pack clamps to 0.
__attribute__((target("ssse3"))) inline void blockSsse3(const uchar* above, const uchar* own,
                                                        const uchar* below, uchar* out, int i,
                                                        const __m128i (&pairs)[5], __m128i shift) {
    __m128i low = _mm_setzero_si128();
    __m128i high = _mm_setzero_si128();
    tapSsse3(load16(above + i), load16(above + i + 3), pairs[0], low, high);
    tapSsse3(load16(above + i + 6), load16(own + i), pairs[1], low, high);
    tapSsse3(load16(own + i + 3), load16(own + i + 6), pairs[2], low, high);
    tapSsse3(load16(below + i), load16(below + i + 3), pairs[3], low, high);
    tapSsse3(load16(below + i + 6), _mm_setzero_si128(), pairs[4], low, high);
    low = _mm_sra_epi16(low, shift);
    high = _mm_sra_epi16(high, shift);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(low, high));
}

// The 256-bit unpacks and the pack both work within each 128-bit half, so the bytes come out
// in their original order.
__attribute__((target("avx2"))) inline void
tapAvx2(__m256i first, __m256i second, __m256i weightPair, __m256i& low, __m256i& high) {
    low = _mm256_add_epi16(low,
                           _mm256_maddubs_epi16(_mm256_unpacklo_epi8(first, second), weightPair));
    high = _mm256_add_epi16(high,
                            _mm256_maddubs_epi16(_mm256_unpackhi_epi8(first, second), weightPair));
}

// The empty statement makes the loaded vector a value of its own: otherwise GCC folds each
// load into both unpacks that use it and loads the same bytes twice, mostly across two cache
// lines, which made the kernel about a tenth slower.
__attribute__((target("avx2"))) inline __m256i load32(const uchar* at) {
    __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
    asm("" : "+x"(bytes));
    return bytes;
}

__attribute__((target("avx2"))) inline void blockAvx2(const uchar* above, const uchar* own,
                                                      const uchar* below, uchar* out, int i,
                                                      const __m256i (&pairs)[5], __m128i shift) {
    __m256i low = _mm256_setzero_si256();
    __m256i high = _mm256_setzero_si256();
    tapAvx2(load32(above + i), load32(above + i + 3), pairs[0], low, high);
    tapAvx2(load32(above + i + 6), load32(own + i), pairs[1], low, high);
    tapAvx2(load32(own + i + 3), load32(own + i + 6), pairs[2], low, high);
    tapAvx2(load32(below + i), load32(below + i + 3), pairs[3], low, high);
    tapAvx2(load32(below + i + 6), _mm256_setzero_si256(), pairs[4], low, high);
    low = _mm256_sra_epi16(low, shift);
    high = _mm256_sra_epi16(high, shift);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), _mm256_packus_epi16(low, high));
}

} // namespace

__attribute__((target("ssse3"))) void filterRowSsse3(const uchar* above, const uchar* own,
                                                     const uchar* below, uchar* out, int bytes,
                                                     const PackedWeights& packed) {
    constexpr int block = 16;
    const __m128i pairs[5] = {_mm_set1_epi16(packed.pairs[0]), _mm_set1_epi16(packed.pairs[1]),
                              _mm_set1_epi16(packed.pairs[2]), _mm_set1_epi16(packed.pairs[3]),
                              _mm_set1_epi16(packed.pairs[4])};
    const __m128i shift = _mm_cvtsi32_si128(packed.shift);
    int i = 0;
    for (; i + block <= bytes; i += block)
        blockSsse3(above, own, below, out, i, pairs, shift);
    // The last partial block is computed again over an overlap: the inputs are not the output,
    // so the overlapping bytes get the same values twice.
    if (i < bytes)
        blockSsse3(above, own, below, out, bytes - block, pairs, shift);
}

__attribute__((target("avx2"))) void filterRowAvx2(const uchar* above, const uchar* own,
                                                   const uchar* below, uchar* out, int bytes,
                                                   const PackedWeights& packed) {
    constexpr int block = 32;
    if (bytes < block) {
        filterRowSsse3(above, own, below, out, bytes, packed);
        return;
    }
    const __m256i pairs[5] = {
        _mm256_set1_epi16(packed.pairs[0]), _mm256_set1_epi16(packed.pairs[1]),
        _mm256_set1_epi16(packed.pairs[2]), _mm256_set1_epi16(packed.pairs[3]),
        _mm256_set1_epi16(packed.pairs[4])};
    const __m128i shift = _mm_cvtsi32_si128(packed.shift);
    int i = 0;
#pragma GCC unroll 2
    for (; i + block <= bytes; i += block)
        blockAvx2(above, own, below, out, i, pairs, shift);
    if (i < bytes)
        blockAvx2(above, own, below, out, bytes - block, pairs, shift);
}

namespace {

// Four pixels at a time: the shuffle drops every fourth byte into the top four bytes, which the
// next store overwrites, so it runs while 16 bytes still fit in the row.
__attribute__((target("ssse3"))) void convertRowTo24BitSsse3(const uchar* from, uchar* to,
                                                             int pixels) {
    const __m128i drop = _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    int x = 0;
    for (; x + 6 <= pixels; x += 4)
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + 3 * x),
                         _mm_shuffle_epi8(load16(from + 4 * x), drop));
    for (; x < pixels; ++x) {
        to[3 * x] = from[4 * x];
        to[3 * x + 1] = from[4 * x + 1];
        to[3 * x + 2] = from[4 * x + 2];
    }
}

} // namespace

void convertRowTo24Bit(const uchar* from, uchar* to, int pixels) {
    static const bool ssse3 = cpuHasSsse3();
    if (ssse3) {
        convertRowTo24BitSsse3(from, to, pixels);
        return;
    }
    for (int x = 0; x < pixels; ++x) {
        to[3 * x] = from[4 * x];
        to[3 * x + 1] = from[4 * x + 1];
        to[3 * x + 2] = from[4 * x + 2];
    }
}

bool cpuHasSsse3() {
    return __builtin_cpu_supports("ssse3");
}
bool cpuHasAvx2() {
    return __builtin_cpu_supports("avx2");
}

#else

// Other processors run the portable kernel only.
void convertRowTo24Bit(const uchar* from, uchar* to, int pixels) {
    for (int x = 0; x < pixels; ++x) {
        to[3 * x] = from[4 * x];
        to[3 * x + 1] = from[4 * x + 1];
        to[3 * x + 2] = from[4 * x + 2];
    }
}

void filterRowSsse3(const uchar*, const uchar*, const uchar*, uchar*, int, const PackedWeights&) {
    std::abort();
}
void filterRowAvx2(const uchar*, const uchar*, const uchar*, uchar*, int, const PackedWeights&) {
    std::abort();
}

bool cpuHasSsse3() {
    return false;
}
bool cpuHasAvx2() {
    return false;
}

#endif
