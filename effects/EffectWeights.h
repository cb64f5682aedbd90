// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The weights of the eight effects: each is one 3 x 3 neighbourhood filter whose sum is
// divided by a divisor, so the effects differ only in these numbers.
#pragma once

#include "EffectKind.h"

#include <QtGlobal>
#include <array>

// Nine weights, row above first and each row from the left neighbour to the right one, and
// the divisor of the weighted sum.
struct FilterWeights {
    std::array<qint32, 9> weights{};
    quint16 divisor = 1;

    constexpr qint32 at(int row, int column) const {
        return weights[std::size_t(row * 3 + column)];
    }
    constexpr bool operator==(const FilterWeights&) const = default;
};

// The weights and divisor of an effect. efNone has no weights: asking for them (or for a
// value outside the enumeration) raises an error.
const FilterWeights& EffectWeights(EffectKind kind);
