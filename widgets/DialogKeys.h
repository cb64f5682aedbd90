// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Keys every dialog answers the same way: Esc presses the dialog's "取消" button, so that it
// does what that button does (reset the settings and close), while the close box keeps doing
// what closing without a choice does.
#pragma once

class QAbstractButton;
class QDialog;

// Esc anywhere in the dialog clicks cancel (when it is enabled) instead of closing the dialog.
void escapePresses(QDialog& dialog, QAbstractButton& cancel);
