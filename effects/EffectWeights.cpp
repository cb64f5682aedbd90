// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The weight table of the effects. Six of the filters sum to their divisor and so keep a
// uniform picture as it is; "空心" and "立体" sum to zero and keep only the edges.
#include "EffectWeights.h"

#include "TarvelError.h"

namespace {

// Indexed by EffectKind; the first line (efNone) is never used.
constexpr std::array<FilterWeights, 9> weightTable{{
    {{0, 0, 0, 0, 0, 0, 0, 0, 0}, 1},          // efNone
    {{-1, -1, -1, -1, 8, -1, -1, -1, -1}, 1},  // efHollow "空心"
    {{-1, -1, -1, -1, 9, -1, -1, -1, -1}, 1},  // efNostalgic "怀旧"
    {{1, 1, 1, 1, -2, 1, -1, -1, -1}, 1},      // efRelief "立体"
    {{-1, -1, -1, -1, 16, -1, -1, -1, -1}, 8}, // efSharpen "锐化"
    {{0, -1, 0, -1, 5, -1, 0, -1, 0}, 1},      // efClear "清晰"
    {{1, 0, 1, 0, 0, 0, 1, 0, -2}, 1},         // efOutline "描边"
    {{2, 2, 2, 2, 0, 2, 2, 2, 2}, 16},         // efBlur "模糊"
    {{3, 3, 3, 3, 8, 3, 3, 3, 3}, 32},         // efSoft "柔和"
}};

} // namespace

const FilterWeights& EffectWeights(EffectKind kind) {
    if (kind <= efNone || kind > efSoft)
        throw TarvelError(QStringLiteral("Effect %1 has no filter weights").arg(int(kind)));
    return weightTable[std::size_t(kind)];
}
