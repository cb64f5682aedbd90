// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Every control carries its program name as its object name too, so that tests and scripts
// find it with findChild: new QPushButton(...) becomes named(new QPushButton(...), "Button1").
#pragma once

#include <QRect>
#include <QString>

template <class Widget> Widget* named(Widget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// The same for a control placed at a fixed position.
template <class Widget> Widget* named(Widget* widget, const char* name, const QRect& geometry) {
    named(widget, name)->setGeometry(geometry);
    return widget;
}
