// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Dialogs open again where they were last closed. A dialog that is hidden and shown again is
// placed by the window system from the position Qt kept, and some window managers take that
// position for the window's inside rather than its frame, so without this every dialog opened
// a title bar's height lower each time.
#pragma once

#include <QObject>

class DialogPlacement final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
