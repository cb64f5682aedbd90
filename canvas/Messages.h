// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The messages more than one part of the program shows, each written once and translated
// once (context "Messages" of the catalogue).
#pragma once

#include <QCoreApplication>
#include <QString>

namespace Messages {

// A command ran out of memory and was abandoned.
inline QString outOfMemory() {
    return QCoreApplication::translate("Messages", "内存不足，命令没有完成。");
}

// A picture being read does not fit into memory.
inline QString pictureTooLarge() {
    return QCoreApplication::translate("Messages", "内存不足，无法容纳这张图片");
}

} // namespace Messages
