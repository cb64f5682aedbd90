// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The text dialog's choice of the arrangement 扇面: a fifth radio button beside the four
// arrangements, offered only while the last fan stamped is a folding-fan ring, and the choice
// of long columns or long and short ones in turn.
#pragma once

#include "Arrangement.h"
#include "TextSettings.h"

class QGroupBox;

namespace FanTextOption {

// Adds the radio button "扇面" (RadioButton5) and the check box "长短行" (CheckBox1) to the
// group of arrangements, both disabled until a ring is offered.
void add(QGroupBox* arrangements);
// Enables the choice when a ring was stamped; without one, a chosen 扇面 gives way to the
// arrangement chosen among the four.
void offer(QGroupBox* arrangements, bool ringStamped, Arrangement chosen);
// Copies the choice into the record; a new block starts at its ring, unmoved.
void apply(QGroupBox* arrangements, TextSettings& settings);

} // namespace FanTextOption
