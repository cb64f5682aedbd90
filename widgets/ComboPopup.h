// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The drop-down list of a combo box as wide as its longest entry: the face lists hold names far
// longer than their boxes ("AR PL UMing TW MBE"), which a list of the box's width would cut.
#pragma once

class QComboBox;

// Call once the entries are in; the box itself keeps its width.
void showWholeItems(QComboBox& combo);
