// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The two buttons "转为繁体" and "转为简体" that the text, rotated-text and seal dialogs share.
#pragma once

#include "ChineseConversion.h"

#include <functional>

class QWidget;

// A row of the two buttons (objectNames "TraditionalButton" and "SimplifiedButton"). A click
// calls convert with its direction inside the error boundary, so a missing OpenCC data file
// shows its message instead of ending the program.
QWidget* makeConversionButtons(QWidget* parent,
                               const std::function<void(ChineseConversion)>& convert);
