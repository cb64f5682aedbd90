// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The private fonts: the font files of the Fonts folder beside the program, registered for
// this process at start and removed at close, so calligraphy faces need no installation.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace PrivateFonts {

// Larger files are refused unread: the biggest CJK faces Debian ships are about 25 MiB.
constexpr qint64 MaxFontFileBytes = 64 * 1024 * 1024;
// Faces taken from one collection file (.ttc under a .ttf name): real collections hold a few,
// one made of nothing but entries would hold millions under the size cap. The faces past these
// are left out.
constexpr int MaxFacesPerFile = 64;

// The font pattern split at its last separator: the folder (with the separator) and the mask.
struct FontPattern {
    QString folder;
    QString mask;
};
FontPattern splitPattern(const QString& pattern);

// The pattern of the Fonts folder under the program's folder (which ends with a separator).
QString fontPattern(const QString& appDir);

// Whether the first bytes are those of a TrueType, OpenType or collection file.
bool hasFontMagic(const QByteArray& bytes);

// The entries of the folder that match the mask (hidden ones too), folders skipped, in the
// order the file system returns them; full paths.
QStringList matchingFontFiles(const QString& folder, const QString& mask);

// The bytes of one font file, or nothing when it is not a regular file, is over the size cap
// or does not start like a font; a collection says it holds at most MaxFacesPerFile faces. The
// file is mapped into memory, not read: its pages are loaded as the font engine reads them, and
// stay for the rest of the process (a file is mapped once, however often it is asked for).
// addFonts then copies the mappings into private memory at the same addresses, beside start-up,
// so that a font file changed later changes nothing the program holds; until then a file cut
// short reads as zeros past its new end, instead of faulting.
std::optional<QByteArray> readFontFile(const QString& path);
// Copies every mapping not yet copied into private memory now.
void keepFontsPrivate();

struct Registration {
    bool folderFound = false;
    QList<int> ids; // application font ids, in registration order
};

// Starts mapping and checking the font files the pattern names on a worker thread, so that
// the bytes are ready when addFonts runs for the same pattern: the program calls it first
// thing, and the work overlaps the start of the toolkit. A second call replaces an unused prefetch.
void prefetchFonts(const QString& pattern);

// Registers every usable font file the pattern names, in the order the file system returns
// them; unusable files are skipped silently. The bytes of a prefetch of the same pattern are
// used (and the prefetch consumed); otherwise the files are read here.
Registration addFonts(const QString& pattern);
// Removes fonts registered by addFonts.
void removeFonts(const QList<int>& ids);

} // namespace PrivateFonts
