// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The row kernels of the effect filter: one output row from three bordered rows. Internal to
// the effects folder.
#pragma once

#include <QtGlobal>
#include <array>

// The weights as the vector kernels use them: the nine taps in five pairs of bytes, each pair
// (low byte first) multiplying two interleaved picture bytes, and the divisor as a shift.
struct PackedWeights {
    std::array<qint16, 5> pairs{};
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
// One row of 32-bit pixels (blue, green, red, unused) as 24-bit ones (blue, green, red).
void convertRowTo24Bit(const uchar* from, uchar* to, int pixels);

bool cpuHasSsse3();
bool cpuHasAvx2();
