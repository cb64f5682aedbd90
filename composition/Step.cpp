// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

#include "Step.h"

#include "FanRingGeometry.h"
#include "RotateBitmap.h"

#include <QCoreApplication>

namespace {

qint64 surfaceBytes(const DrawingSurface& surface) {
    return surface.image().sizeInBytes();
}

qint64 modelBytes(const RichTextModel& model) {
    qint64 total = 0;
    for (const RichTextParagraph& paragraph : model.paragraphs) {
        total += qint64(sizeof(RichTextParagraph));
        for (const RichTextRun& run : paragraph.runs)
            total +=
                qint64(sizeof(RichTextRun)) + 2 * (run.text.size() + run.attributes.Name.size());
    }
    return total;
}

} // namespace

bool Element::sameAs(const Element& other) const {
    if (kind != other.kind || at != other.at || blank != other.blank)
        return false;
    switch (kind) {
    case ekRotatedText:
        return rotated == other.rotated;
    case ekSeal:
        return seal == other.seal && sealLines == other.sealLines;
    case ekCircle:
        return circle.LineWidth == other.circle.LineWidth && circle.Radius == other.circle.Radius &&
               circle.LineColor == other.circle.LineColor &&
               circle.FillColor == other.circle.FillColor;
    case ekFan:
        return fan.LineWidth == other.fan.LineWidth && fan.Radius == other.fan.Radius &&
               fan.LineColor == other.fan.LineColor && fan.FillColor == other.fan.FillColor &&
               fan.Shape == other.fan.Shape && fan.InnerRadius == other.fan.InnerRadius &&
               fan.Span == other.fan.Span &&
               (fan.Shape == fsRing || fanOnColor == other.fanOnColor);
    default:
        return true;
    }
}

RenderedElement renderSealStamp(const TSetStamper& settings, const QStringList& lines) {
    RenderedElement result;
    if (lines.isEmpty())
        return result;
    const DrawingSurface seal = renderSealText(settings, lines);
    // The seal sits in the top-left of a picture of its own size, or of the square of its
    // diagonal when it is turned, so that the turn keeps every corner.
    const int w = sealSide(settings.SealWidth), h = sealSide(settings.SealHeight);
    const int side = settings.SealAngle == 0 ? 0 : sealDiagonal(w, h);
    DrawingSurface framed = framedSeal(seal, side ? side : w, side ? side : h);
    if (framed.width() >= 1 && framed.height() >= 1) {
        framed.transparent = true;
        const RotatedPictureOptions options{static_cast<long double>(settings.SealAngle), true,
                                            false, true};
        result.picture = rebuildRotatedPicture(framed, framed.effectiveTransparentColor(), options);
    }
    if (settings.SmoothEdges)
        result.smooth = turnedSmoothSeal(renderSmoothSeal(settings, lines), settings.SealAngle,
                                         result.picture.image().size());
    return result;
}

RenderedElement renderElement(const Element& element, int canvasSide) {
    if (element.blank)
        return {};
    if (element.rendered)
        return *element.rendered;
    switch (element.kind) {
    case ekSeal:
        return renderSealStamp(element.seal, element.sealLines);
    case ekCircle: {
        RenderedElement circle{renderCirclePicture(element.circle, canvasSide), QImage(),
                               std::nullopt};
        circle.picture.transparent = true;
        return circle;
    }
    case ekFan: {
        const FanSettingsRecord& fan = element.fan;
        if (fan.Shape == fsRing) {
            const FanRingGeometry ring =
                computeFanRingGeometry(fan.Radius, fan.InnerRadius, fan.Span, fan.LineWidth);
            RenderedElement picture{renderFanRingPicture(fan), QImage(),
                                    FanRing{ring.centre, ring.outer, ring.inner, ring.span}};
            picture.picture.transparent = true;
            return picture;
        }
        RenderedElement leaf{renderFanPicture(fan, element.fanOnColor, canvasSide), QImage(),
                             std::nullopt};
        leaf.picture.transparent = true;
        return leaf;
    }
    default:
        return {};
    }
}

QString Step::name() const {
    switch (kind) {
    case Kind::Canvas:
        return QCoreApplication::translate("Composition", "新建");
    case Kind::Text:
        return QCoreApplication::translate("Composition", "文本");
    case Kind::Stamp:
        for (const ElementKindEntry& entry : placedKinds)
            if (!elements.empty() && elements.back().kind == entry.kind)
                return QCoreApplication::translate("Composition", entry.caption);
        return QString();
    case Kind::Clear:
        return QCoreApplication::translate("Composition", "清空");
    case Kind::Effect:
        for (const EffectEntry& entry : effectTable)
            if (entry.kind == effect)
                return QCoreApplication::translate("Effects", entry.caption);
        return QString();
    case Kind::Restore:
        return QCoreApplication::translate("Effects", restoreEntry.caption);
    case Kind::Template:
        return QCoreApplication::translate("Composition", "作品模板");
    }
    return QString();
}

qint64 Step::bytes() const {
    qint64 total = qint64(sizeof(Step)) + picture.size();
    if (runs)
        total += modelBytes(*runs);
    for (const Element& element : elements) {
        total += qint64(sizeof(Element)) + 2 * element.rotated.Characters.size() +
                 element.rotated.Text.size();
        for (const QString& line : element.sealLines)
            total += 2 * line.size();
        if (element.rendered)
            total +=
                surfaceBytes(element.rendered->picture) + element.rendered->smooth.sizeInBytes();
    }
    total += 2 * (work.text.size() + work.banner.size() + work.upper.size() + work.lower.size());
    return total;
}
