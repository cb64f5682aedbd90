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

// What leads a warning in the status bar and in a script's output.
inline QString warning() {
    return QCoreApplication::translate("Messages", "警告：");
}

// The fan arrangement of a text needs a fan stamped before it.
inline QString fanTextNeedsFan() {
    return QCoreApplication::translate("Messages",
                                       "扇面排列要跟随一把折扇：请先盖上一把折扇，再排文字。");
}

// A picture that is neither PNG, JPEG nor BMP.
inline QString unknownPictureFormat() {
    return QCoreApplication::translate(
        "Messages", "只能读取 PNG（.png）、JPEG（.jpg、.jpeg）和 BMP（.bmp）图片");
}

// A picture that cannot be read: its quoted name and what went wrong.
inline QString cannotReadPicture(const QString& quotedName, const QString& problem) {
    return QCoreApplication::translate("Messages", "无法读取图片%1：%2。").arg(quotedName, problem);
}

// A script or work step names a command there is none of.
inline QString noCommand(const QString& command) {
    return QCoreApplication::translate("Messages", "没有命令“%1”").arg(command);
}

} // namespace Messages
