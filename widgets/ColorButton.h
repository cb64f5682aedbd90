// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// A button that runs the colour dialog and keeps the last colour confirmed there.
#pragma once

#include "Colors.h"

#include <QToolButton>

class ColorButton final : public QToolButton {
    Q_OBJECT
public:
    explicit ColorButton(TColor initial = clBlack, QWidget* parent = nullptr);

    TColor color() const { return current; }
    void setColor(TColor color);
    // Runs the colour dialog; true when the user confirmed a colour.
    bool choose();

signals:
    void colorChosen(TColor color);

private:
    void updateSwatch();
    TColor current;
};
