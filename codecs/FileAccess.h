// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Reading whole files safely and saying in the user's language what went wrong with a file.
// Only regular files are read: a link to a device or a named pipe would otherwise feed the
// program without end or block it forever.
#pragma once

#include <QByteArray>
#include <QString>
#include <sys/stat.h>

namespace files {

enum class ReadProblem { None, Missing, NotRegular, TooLarge, Unreadable };

struct ReadResult {
    QByteArray data;
    ReadProblem problem = ReadProblem::None;
    int error = 0;       // errno of an open or read that failed
    qint64 fileSize = 0; // as the opened file declares it
};

// Opens for reading without blocking and checks on the opened descriptor that it is a regular
// file of at most maxBytes. Returns the descriptor, which the caller closes, with the file's
// status, or -1 with the problem in result.
int openRegularFile(const QString& path, qint64 maxBytes, ReadResult& result, struct stat& status);

// Opens as openRegularFile does and reads at most maxBytes + 1 bytes; more than maxBytes is
// TooLarge.
ReadResult readRegularFile(const QString& path, qint64 maxBytes);

// The problem as a short Chinese phrase, without a full stop: "文件夹不存在".
QString problemText(const ReadResult& result, qint64 maxBytes);
// What an errno of a failed open, write or rename means to the user.
QString errorText(int error);

// Why a file could not be made or written at path, errno given: a folder of that name, a missing
// folder, or what the error means.
QString saveProblem(const QString& path, int error);
// Gives a file that replaces path (open as descriptor) the permissions of the one it replaces,
// so that a save never makes a read-only file writable.
void keepPermissions(const QString& path, int descriptor);

// The path as the user reads it in a message: “/home/a/作品.jpg”.
QString quoted(const QString& path);

// A name typed without an extension gets the default one, as the save dialog does; a name
// that ends in a dot gets only the extension after it ("g." becomes "g.jpg").
QString withDefaultExtension(const QString& path, const QString& extension);

} // namespace files
