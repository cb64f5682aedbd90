// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// A saved RTF file as a reader that knows only \f and \fs sees it: the words of the Asian
// property set left out. Shared by the RTF tests and the RTF fuzzer.
#pragma once

#include <QByteArray>
#include <QRegularExpression>
#include <QString>

inline QByteArray withoutAsianSet(const QByteArray& rtf) {
    static const QRegularExpression word(
        QStringLiteral(R"((\\[\\{}])|\\(?:dbch|afs?\d+|ab|ai)(?![a-z]))"));
    QString kept = QString::fromLatin1(rtf);
    kept.replace(word, QStringLiteral("\\1")); // escaped symbols come back as they were
    return kept.toLatin1();
}
