// The row kernels of the effect filter: one output row from three bordered rows. Internal to
// the effects folder.
#pragma once

#include <QtGlobal>
#include <array>

// The weights as the vector kernels use them: the nine taps in five pairs of bytes, each pair
// (low byte first) multiplying two interleaved picture bytes, and the divisor as a shift.
struct PackedWeights {
    std::array<qint16, 5> pairs{};
    // For two output rows at once, where each picture row serves up to three output rows:
    // (left, centre) of the row above, of the own row and of the row below, then the right
    // taps of two neighbouring rows, as (above, own) and as (nothing, below).
    std::array<qint16, 5> rowPairs{};
    int shift = 0;
};

// Whether the vector kernels give exact results for these weights: each weight fits a signed
// byte, the largest possible sum fits 16 bits, and the divisor is a power of two.
bool packWeights(const std::array<qint32, 9>& weights, quint16 divisor, PackedWeights& packed);

// Each kernel writes `bytes` output bytes; above, own and below hold bytes + 6 bytes (the
// bordered rows: a neighbour is 3 bytes away). The output never overlaps the inputs.
void filterRowPortable(const uchar* above, const uchar* own, const uchar* below, uchar* out,
                       int bytes, const std::array<qint32, 9>& weights, quint16 divisor);
// Need bytes >= 16; the AVX2 one falls back to SSSE3 for rows shorter than 32 bytes.
void filterRowSsse3(const uchar* above, const uchar* own, const uchar* below, uchar* out, int bytes,
                    const PackedWeights& packed);
void filterRowAvx2(const uchar* above, const uchar* own, const uchar* below, uchar* out, int bytes,
                   const PackedWeights& packed);
// Two output rows from four bordered rows: first from rows 0 to 2 of them, second from rows 1
// to 3. Sharing the middle rows' loads and byte interleaves makes it about a third faster per
// row than two calls of filterRowAvx2. Needs bytes >= 32.
void filterTwoRowsAvx2(const uchar* row0, const uchar* row1, const uchar* row2, const uchar* row3,
                       uchar* first, uchar* second, int bytes, const PackedWeights& packed);

// One row of 32-bit pixels (blue, green, red, unused) as 24-bit ones (blue, green, red).
void convertRowTo24Bit(const uchar* from, uchar* to, int pixels);

bool cpuHasSsse3();
bool cpuHasAvx2();
