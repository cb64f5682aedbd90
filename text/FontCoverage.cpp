// Which characters a face cannot draw, read from the character map of the face that Qt
// resolves for a request.
#include "FontCoverage.h"

#include "TextLayout.h"
#include "TextMeasure.h"

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

QString charactersMissingFrom(const DrawingSurface::Font& request, const QString& text) {
    // Resolved first: that also puts the classic face names' substitutions in place.
    const QFont font = resolveFont(request);
    const bool faceInstalled = installed(request.name);
    // The first engine of the font is its own face; fallback faces come after it.
    const QRawFont face = QRawFont::fromFont(font);
    QString missing;
    for (const uint code : text.toUcs4()) {
        const char32_t c = code;
        if (c < 0x20 || QChar::isSpace(c))
            continue;
        if (faceInstalled && face.isValid() && face.supportsCharacter(c))
            continue;
        const QString character = QString::fromUcs4(&c, 1);
        if (!missing.contains(character))
            missing += character;
    }
    return missing;
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
        parts << QStringLiteral("字体“%1”中没有“%2”").arg(gap.face, gap.characters);
    return QStringLiteral("警告：") + parts.join(QStringLiteral("，")) +
           QStringLiteral("，改用后备字体画出。");
}
