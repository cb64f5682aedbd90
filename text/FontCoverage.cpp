// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Which characters a face cannot draw, read from the character map of the face that Qt
// resolves for a request.
#include "FontCoverage.h"

#include "Messages.h"
#include "TextLayout.h"
#include "TextMeasure.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QHash>
#include <QRawFont>
#include <algorithm>

namespace {

bool installed(const QString& family) {
    if (QFontDatabase::hasFamily(family))
        return true;
    for (const QString& substitute : QFont::substitutes(family))
        if (QFontDatabase::hasFamily(substitute))
            return true;
    return false;
}

void addGap(QList<FaceGap>& gaps, const QString& face, const QString& missing) {
    if (missing.isEmpty())
        return;
    for (FaceGap& gap : gaps)
        if (gap.face == face) {
            for (const uint code : missing.toUcs4()) {
                const char32_t c = code;
                const QString character = QString::fromUcs4(&c, 1);
                if (!gap.characters.contains(character))
                    gap.characters += character;
            }
            return;
        }
    gaps.append({face, missing});
}

} // namespace

namespace {

// What the face of a request draws itself: nothing when the face is not installed.
class FaceCharacters {
public:
    explicit FaceCharacters(const DrawingSurface::Font& request)
        // Resolved first: that also puts the classic face names' substitutions in place.
        : face(QRawFont::fromFont(resolveFont(request))), faceInstalled(installed(request.name)) {}

    // Whether c is drawn in a fallback face; spaces and control characters never are.
    bool lacks(char32_t c) const {
        if (c < 0x20 || QChar::isSpace(c))
            return false;
        return !(faceInstalled && face.isValid() && face.supportsCharacter(c));
    }

private:
    // The first engine of the font is its own face; fallback faces come after it.
    QRawFont face;
    bool faceInstalled;
};

} // namespace

QString charactersMissingFrom(const DrawingSurface::Font& request, const QString& text) {
    const FaceCharacters face(request);
    QString missing;
    for (const uint code : text.toUcs4()) {
        const char32_t c = code;
        if (!face.lacks(c))
            continue;
        const QString character = QString::fromUcs4(&c, 1);
        if (!missing.contains(character))
            missing += character;
    }
    return missing;
}

std::vector<DocumentSpan> fallbackSpans(const RichText& text) {
    // Each distinct request is looked at once.
    std::vector<std::pair<DrawingSurface::Font, FaceCharacters>> faces;
    std::vector<DocumentSpan> spans;
    for (const RichText::Run& run : text.runs()) {
        DrawingSurface::Font font;
        setFontFromSelection(font, run.attributes, RichText::pixelHeightOf(run.attributes.Size));
        font.color = 0;
        font.charset = 0;
        auto face = std::find_if(faces.begin(), faces.end(),
                                 [&](const auto& known) { return known.first == font; });
        if (face == faces.end())
            face = faces.insert(faces.end(), {font, FaceCharacters(font)});
        for (int i = 0; i < int(run.text.size());) {
            const int units = run.text[i].isHighSurrogate() && i + 1 < run.text.size() &&
                                      run.text[i + 1].isLowSurrogate()
                                  ? 2
                                  : 1;
            const char32_t c = units == 2 ? QChar::surrogateToUcs4(run.text[i], run.text[i + 1])
                                          : run.text[i].unicode();
            const int at = run.position + i;
            i += units;
            if (!face->second.lacks(c))
                continue;
            if (!spans.empty() && spans.back().position + spans.back().length == at)
                spans.back().length += units;
            else
                spans.push_back({at, units});
        }
    }
    return spans;
}

QList<FaceGap> textBlockGaps(RichText& text) {
    // The characters of each distinct font request, checked once per request.
    QList<DrawingSurface::Font> requests;
    QList<QString> characters;
    TextWalk::walk(
        text,
        [&](int, int, const RichText::Character& character) {
            DrawingSurface::Font font;
            setFontFromSelection(font, character.attributes, character.pixelHeight);
            font.color = 0;
            font.charset = 0;
            qsizetype at = requests.indexOf(font);
            if (at < 0) {
                requests.append(font);
                characters.append(QString());
                at = requests.size() - 1;
            }
            characters[at] += character.string;
        },
        [](int) {});
    QList<FaceGap> gaps;
    for (qsizetype i = 0; i < requests.size(); ++i)
        addGap(gaps, requests[i].name, charactersMissingFrom(requests[i], characters[i]));
    return gaps;
}

QList<FaceGap> rotatedTextGaps(const TSetSector& settings) {
    DrawingSurface::Font font;
    font.name = settings.FaceName;
    font.height = -std::max(1, settings.Size);
    QList<FaceGap> gaps;
    addGap(gaps, settings.FaceName,
           charactersMissingFrom(font, RotatedTextCharacters(settings).join(QString())));
    return gaps;
}

QString fallbackWarning(const QList<FaceGap>& gaps) {
    QStringList parts;
    for (const FaceGap& gap : gaps)
        parts << QCoreApplication::translate("Text", "字体“%1”中没有“%2”")
                     .arg(gap.face, gap.characters);
    return Messages::warning() + QCoreApplication::translate("Text", "%1，改用后备字体画出。")
                                     .arg(parts.join(QCoreApplication::translate("Text", "，")));
}
