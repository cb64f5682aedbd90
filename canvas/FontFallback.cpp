// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The fallback chain: the kinds and weights of the Fonts folder's faces, and the face that
// draws each character the chosen face lacks.
#include "FontFallback.h"

#include <QFontDatabase>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QRawFont>

#include <algorithm>
#include <array>
#include <tuple>
#include <vector>

namespace FontFallback {

namespace {

struct Chain {
    QStringList families;
    QHash<QString, int> ink;
    QHash<int, QStringList> byKind; // chainFor each kind, worked out once
    QHash<QString, QString> servedBy;
    QHash<QString, double> stems;      // stemWidth by face, weight and measured size
    QHash<QString, QRawFont> rawFaces; // each family's own face, as far as it is installed
    // The faces that served the latest requests: a text block asks for a few faces character
    // after character, so most look-ups end here without building a key or hashing.
    struct Served {
        QString name;
        int weight = 0;
        QString own;
        QRawFont face;
        // What the face's character map said for each character of the basic plane met so
        // far: 0 not asked yet, 1 the face has it, 2 it lacks it.
        std::vector<uchar> answers;

        bool has(char32_t c) {
            if (!face.isValid())
                return false;
            if (c > 0xFFFF)
                return face.supportsCharacter(c);
            if (answers.empty())
                answers.resize(0x10000);
            uchar& answer = answers[c];
            if (answer == 0)
                answer = face.supportsCharacter(c) ? 1 : 2;
            return answer == 1;
        }
    };
    std::array<Served, 8> recent;
    std::size_t nextRecent = 0;
};

Chain& chain() {
    static Chain state;
    return state;
}

// Whether a family's own face (not a fallback of it) has the character.
bool hasCharacter(const QString& family, char32_t c) {
    QHash<QString, QRawFont>& faces = chain().rawFaces;
    auto it = faces.find(family);
    if (it == faces.end()) {
        QFont font(family);
        font.setPixelSize(32);
        QRawFont raw = QRawFont::fromFont(font);
        if (raw.familyName().compare(family, Qt::CaseInsensitive) != 0)
            raw = QRawFont(); // the system substituted another face
        it = faces.insert(family, raw);
    }
    return it->isValid() && it->supportsCharacter(c);
}

} // namespace

Kind kindOf(const QString& family) {
    static const QStringList brushes = {"Ma Shan Zheng", "Zhi Mang Xing", "Liu Jian Mao Cao",
                                        "Long Cang"};
    if (brushes.contains(family, Qt::CaseInsensitive))
        return Kind::Brush;
    const QString name = family.toLower();
    if (name.contains(QLatin1String("kai")) || name.contains(QStringLiteral("楷")))
        return Kind::Kai;
    for (const char* song : {"sung", "song", "ming"})
        if (name.contains(QLatin1String(song)))
            return Kind::Song;
    if (name.contains(QStringLiteral("宋")) || name.contains(QStringLiteral("明")))
        return Kind::Song;
    return Kind::Other;
}

int inkOf(const QString& family) {
    if (!hasCharacter(family, U'永'))
        return 0;
    QImage glyph(64, 64, QImage::Format_Alpha8);
    glyph.fill(0);
    QFont font(family);
    font.setPixelSize(48);
    QPainter painter(&glyph);
    painter.setFont(font);
    painter.drawText(QRect(0, 0, 64, 64), Qt::AlignCenter, QStringLiteral("永"));
    painter.end();
    qint64 coverage = 0;
    for (int y = 0; y < 64; ++y) {
        const uchar* row = glyph.constScanLine(y);
        for (int x = 0; x < 64; ++x)
            coverage += row[x];
    }
    return int(coverage / 255);
}

QStringList chineseFacesFirst(QStringList families) {
    std::stable_partition(families.begin(), families.end(), [](const QString& family) {
        const QList<QFontDatabase::WritingSystem> systems = QFontDatabase::writingSystems(family);
        return systems.contains(QFontDatabase::SimplifiedChinese) ||
               systems.contains(QFontDatabase::TraditionalChinese);
    });
    return families;
}

QStringList chainFor(Kind chosen, const QStringList& families) {
    struct Entry {
        int distance;
        int kind;
        int ink;
        QString family;
    };
    std::vector<Entry> entries;
    for (const QString& family : families) {
        const int kind = int(kindOf(family));
        const int ink = chain().ink.contains(family) ? chain().ink.value(family) : inkOf(family);
        entries.push_back({std::abs(kind - int(chosen)), kind, ink, family});
    }
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return std::tie(a.distance, a.kind, b.ink, a.family) <
               std::tie(b.distance, b.kind, a.ink, b.family);
    });
    QStringList ordered;
    for (const Entry& entry : entries)
        ordered << entry.family;
    return ordered;
}

void setFaces(const QStringList& families) {
    Chain& state = chain();
    state = Chain{};
    for (const QString& family : families)
        if (!state.families.contains(family))
            state.families << family;
    for (const QString& family : state.families)
        state.ink.insert(family, inkOf(family));
}

const QStringList& faces() {
    return chain().families;
}

QString faceFor(const DrawingSurface::Font& request, char32_t c) {
    Chain& state = chain();
    if (state.families.isEmpty() || c < 0x20 || QChar::isSpace(c))
        return request.name;
    Chain::Served* served = nullptr;
    for (Chain::Served& entry : state.recent)
        if (entry.weight == request.weight && entry.name == request.name && !entry.name.isNull()) {
            served = &entry;
            break;
        }
    if (!served) {
        // The face that serves a name (a classic name such as 宋体 is served by another) is
        // looked up once per name and weight.
        const QString key = request.name + QLatin1Char('/') + QString::number(request.weight);
        auto it = state.servedBy.find(key);
        if (it == state.servedBy.end())
            it = state.servedBy.insert(key, QRawFont::fromFont(resolveFont(request)).familyName());
        hasCharacter(*it, c); // reads the face's character map once
        Chain::Served& entry = state.recent[state.nextRecent++ % state.recent.size()];
        entry = {request.name, request.weight, *it, state.rawFaces.value(*it), {}};
        served = &entry;
    }
    if (served->has(c))
        return request.name;
    const QString own = served->own;
    const int kind = int(kindOf(own));
    auto it = state.byKind.find(kind);
    if (it == state.byKind.end())
        it = state.byKind.insert(kind, chainFor(Kind(kind), state.families));
    for (const QString& family : *it)
        if (family.compare(own, Qt::CaseInsensitive) != 0 && hasCharacter(family, c))
            return family;
    return request.name;
}

QString faceFor(const DrawingSurface::Font& request, const QString& character) {
    if (character.isEmpty())
        return request.name;
    const QChar first = character.front();
    if (first.isHighSurrogate() && character.size() > 1 && character[1].isLowSurrogate())
        return faceFor(request, QChar::surrogateToUcs4(first, character[1]));
    return faceFor(request, char32_t(first.unicode()));
}

double stemWidth(const DrawingSurface::Font& request) {
    const QFont font = resolveFont(request);
    // Small sizes are measured larger and scaled, so that a pixel more or less of a run does
    // not decide the weight.
    const int size = std::max(font.pixelSize(), 1);
    const int measured = std::max(size, 128);
    const QString key = QRawFont::fromFont(font).familyName() + QLatin1Char('/') +
                        QString::number(font.weight()) + QLatin1Char('/') +
                        QString::number(measured);
    QHash<QString, double>& stems = chain().stems;
    auto it = stems.find(key);
    if (it == stems.end()) {
        QFont large = font;
        large.setPixelSize(measured);
        large.setStretch(100);
        const QRawFont raw = QRawFont::fromFont(large);
        QString sample;
        for (const char32_t c : {U'永', U'国', U'中', U'田'})
            if (raw.isValid() && raw.supportsCharacter(c))
                sample += QChar(char16_t(c));
        double stem = 0;
        if (!sample.isEmpty()) {
            const int w = measured * (int(sample.size()) + 1), h = measured * 2;
            QImage ink(w, h, QImage::Format_Grayscale8);
            ink.fill(0);
            QPainter painter(&ink);
            painter.setFont(large);
            painter.setPen(Qt::white);
            painter.drawText(measured / 2, measured * 3 / 2, sample);
            painter.end();
            // Most runs of ink along a row or a column cross one stroke: their median is the
            // stem's width.
            std::vector<int> runs;
            for (const bool rows : {true, false})
                for (int i = 0; i < (rows ? h : w); ++i) {
                    int run = 0;
                    for (int j = 0; j <= (rows ? w : h); ++j) {
                        const bool inked =
                            j < (rows ? w : h) &&
                            (rows ? ink.constScanLine(i)[j] : ink.constScanLine(j)[i]) >= 128;
                        if (inked) {
                            ++run;
                        } else if (run > 0) {
                            runs.push_back(run);
                            run = 0;
                        }
                    }
                }
            if (!runs.empty()) {
                std::nth_element(runs.begin(), runs.begin() + runs.size() / 2, runs.end());
                stem = runs[runs.size() / 2];
            }
        }
        it = stems.insert(key, stem);
    }
    return *it * size / measured;
}

DrawingSurface::Font matchedFont(const DrawingSurface::Font& request, const QString& character) {
    DrawingSurface::Font font = request;
    font.thickening = 0;
    font.name = faceFor(request, character);
    if (font.name == request.name)
        return font;
    const double own = stemWidth(request), standIn = stemWidth(font);
    if (own > 0 && standIn > 0 && own > standIn)
        font.thickening = own - standIn;
    return font;
}

} // namespace FontFallback
