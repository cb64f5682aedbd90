// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The compiled manual, opened through the help library. chmlib has unpatched crash bugs on
// malformed files, so only a file whose size and SHA-256 match what the build recorded is
// handed to it, and only objects of sane size and paths inside the file are read.
#pragma once

#include "HelpLibrary.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <optional>

// What the build recorded about the help file it made.
struct HelpFileDigest {
    qint64 size = -1;
    QByteArray sha256; // 32 raw bytes
    bool operator==(const HelpFileDigest&) const = default;
};

// The digest of "TarvelHelp.chm" as this build made it.
HelpFileDigest builtManualDigest();
// The digest of a file's bytes, for tests and the build's own record.
HelpFileDigest digestOf(const QByteArray& bytes);

// The manual path "<folder>TarvelHelp.chm::/HelpContent\index.htm" split into the file and the
// topic inside it.
struct HelpTopicPath {
    QString file;
    QString topic;
};
HelpTopicPath splitTopicPath(const QString& path);

// A path inside the help file in the form the library expects ("/HelpContent/index.htm"), or
// an empty string when it would leave the file, names the file's internal tables, holds
// control characters or is too long.
QString normalisedObjectPath(const QString& path);

class HelpFile final {
public:
    static constexpr qint64 MaxFileBytes = 64 * 1024 * 1024;
    static constexpr qint64 MaxObjectBytes = 16 * 1024 * 1024;

    struct Opened {
        std::unique_ptr<HelpFile> file;
        QString error; // the text the help window shows when file is empty
    };
    // Reads the file, checks it against the recorded digest and opens a sealed private copy
    // of the checked bytes, so a file changed after the check never reaches the library.
    static Opened open(const HelpEntryPoints& library, const QString& path,
                       const HelpFileDigest& expected);

    ~HelpFile();
    HelpFile(const HelpFile&) = delete;
    HelpFile& operator=(const HelpFile&) = delete;

    const QString& path() const { return filePath; }
    // The bytes of one object, or nothing when the path is refused, the object is missing or
    // larger than MaxObjectBytes.
    std::optional<QByteArray> object(const QString& objectPath) const;

private:
    HelpFile(const HelpEntryPoints& library, chmFile* handle, int copy, QString path);

    HelpEntryPoints functions;
    chmFile* handle = nullptr;
    int privateCopy = -1;
    QString filePath;
};
