// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

#include "ScaledRendering.h"

#include "CompositionState.h"
#include "Messages.h"
#include "PictureCodecs.h"
#include "StepSession.h"
#include "TarvelError.h"

#include <QCoreApplication>
#include <QDir>
#include <QJsonArray>
#include <algorithm>
#include <cmath>
#include <limits>
#include <new>

namespace {

qint32 scaled(qint32 length, double factor) {
    return qint32(std::clamp<double>(std::round(length * factor),
                                     std::numeric_limits<qint32>::min(),
                                     std::numeric_limits<qint32>::max()));
}

QPoint scaled(QPoint point, double factor) {
    return QPoint(scaled(point.x(), factor), scaled(point.y(), factor));
}

// A length that is never less than one: a size in points, a seal's side.
qint32 scaledSize(qint32 length, double factor) {
    return length > 0 ? std::max(1, scaled(length, factor)) : length;
}

void scaleShape(ShapeSettingsRecord& shape, double factor) {
    shape.LineWidth = scaledSize(shape.LineWidth, factor);
    shape.Radius = scaledSize(shape.Radius, factor);
}

// The background picture of a canvas step, scaled smoothly by the factor.
QImage scaledBackground(const Step& step, double factor) {
    if (!step.canvas.UsePicture)
        return QImage();
    QImage picture;
    switch (codecs::formatForFileName(step.canvas.PictureFile)) {
    case codecs::PictureFormat::Jpeg:
        picture = codecs::decodeJpeg(step.picture);
        break;
    case codecs::PictureFormat::Bmp:
        picture = codecs::decodeBmp(step.picture);
        break;
    default:
        picture = codecs::decodePng(step.picture);
        break;
    }
    const QSize size(std::max(1, scaled(picture.width(), factor)),
                     std::max(1, scaled(picture.height(), factor)));
    return allocated(picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation), size);
}

// Applies one step, its lengths already scaled, as the window's command would.
void applyStep(CompositionState& composition, const Step& original, const Step& step,
               double factor) {
    switch (step.kind) {
    case Step::Kind::Canvas:
        composition.newCanvas(step.canvas, scaledBackground(original, factor), step.picture);
        break;
    case Step::Kind::Text:
        composition.drawTextBlock(step.text, step.runs, step.wrapWidth);
        break;
    case Step::Kind::Stamp: {
        if (step.elements.empty())
            break;
        // The elements of a press land at one point; a nudge moved the last one since.
        const QPoint at = step.elements.front().at;
        const QPoint moved = step.elements.back().at - at;
        composition.stamp(step.elements, at);
        if (!moved.isNull())
            composition.nudge(moved.x(), moved.y());
        break;
    }
    case Step::Kind::Clear:
        composition.clear();
        break;
    case Step::Kind::Effect:
        composition.applyEffect(step.effect);
        break;
    case Step::Kind::Restore:
        composition.restore();
        break;
    case Step::Kind::Template:
        // Expanded into its own steps before anything is scaled.
        break;
    }
}

QImage replay(const std::vector<std::shared_ptr<const Step>>& recipe, double factor) {
    CompositionState composition;
    for (const std::shared_ptr<const Step>& step : recipe) {
        applyStep(composition, *step, scaledStep(*step, factor), factor);
        // Qt answers a failed allocation with an empty picture, a copy that could not be made
        // leaves one behind: a canvas that lost its pixels is no print.
        const Picture& canvas = composition.canvas();
        if (canvas.holdsBitmap() && canvas.picture().image().size() != canvas.size())
            throw std::bad_alloc();
        // Nothing is undone here: the pixels the history keeps would only take memory.
        composition.steps().forgetPixels();
    }
    return composition.canvas().hasPicture() ? composition.canvas().picture().image() : QImage();
}

ScaledRendering renderScaledWithin(const std::vector<std::shared_ptr<const Step>>& recipe,
                                   QSize canvas, int canvasDotsPerInch, int wantedDotsPerInch,
                                   qint64 budget) {
    const std::vector<std::shared_ptr<const Step>> steps = expandedRecipe(recipe);
    const int from = std::max(1, canvasDotsPerInch);
    // A whole resolution, so that the page the picture fills stays the canvas's.
    int dpi = std::max(
        from,
        int(std::floor(from * affordableFactor(canvas, double(wantedDotsPerInch) / from, budget) +
                       1e-9)));
    ScaledRendering result;
    result.reduced = dpi < wantedDotsPerInch;
    for (;;) {
        try {
            result.factor = double(dpi) / from;
            result.picture = replay(steps, result.factor);
            result.dotsPerInch = dpi;
            return result;
        } catch (const TarvelError&) {
            // A picture too large for its renderer at this size (a seal over 4000 pixels, a
            // fan over 8192): a lower resolution, down to the canvas's own.
            if (dpi == from)
                throw;
            dpi = std::max(from, int(dpi * 0.75));
            result.reduced = true;
        }
    }
}

} // namespace

Step scaledStep(const Step& step, double factor) {
    Step result = step;
    switch (step.kind) {
    case Step::Kind::Canvas: {
        TSetStruct& canvas = result.canvas;
        canvas.Width = scaledSize(canvas.Width, factor);
        canvas.Height = scaledSize(canvas.Height, factor);
        canvas.Resolution = scaledSize(canvas.Resolution, factor);
        break;
    }
    case Step::Kind::Text: {
        TextSettings& text = result.text;
        for (qint32* length : {&text.LeftMargin, &text.TopMargin, &text.CharSpacing,
                               &text.LineSpacing, &text.RowPitch, &text.ExtentWidth,
                               &text.ExtentHeight, &text.FanShiftX, &text.FanShiftY})
            *length = scaled(*length, factor);
        if (step.wrapWidth)
            result.wrapWidth = scaledSize(*step.wrapWidth, factor);
        if (step.runs) {
            auto runs = std::make_shared<RichTextModel>(*step.runs);
            for (RichTextParagraph& paragraph : runs->paragraphs)
                for (RichTextRun& run : paragraph.runs)
                    run.attributes.Size = scaledSize(run.attributes.Size, factor);
            result.runs = std::move(runs);
        }
        break;
    }
    case Step::Kind::Stamp:
        for (Element& element : result.elements) {
            element.rendered.reset();
            element.at = scaled(element.at, factor);
            element.rotated.Size = scaledSize(element.rotated.Size, factor);
            element.rotated.CharSpacing = scaled(element.rotated.CharSpacing, factor);
            TSetStamper& seal = element.seal;
            seal.SealWidth = scaledSize(seal.SealWidth, factor);
            seal.SealHeight = scaledSize(seal.SealHeight, factor);
            seal.CharSpacing = scaled(seal.CharSpacing, factor);
            seal.EdgeWidth = scaled(seal.EdgeWidth, factor);
            seal.FrameWidth = scaledSize(seal.FrameWidth, factor);
            scaleShape(element.circle, factor);
            scaleShape(element.fan, factor);
            element.fan.InnerRadius = scaled(element.fan.InnerRadius, factor);
        }
        break;
    case Step::Kind::Clear:
    case Step::Kind::Effect:
    case Step::Kind::Restore:
    case Step::Kind::Template:
        break;
    }
    return result;
}

std::vector<std::shared_ptr<const Step>>
expandedRecipe(const std::vector<std::shared_ptr<const Step>>& recipe) {
    std::vector<std::shared_ptr<const Step>> expanded;
    for (const std::shared_ptr<const Step>& step : recipe) {
        if (step->kind != Step::Kind::Template) {
            expanded.push_back(step);
            continue;
        }
        // Composed at the canvas's size as the template composes it, only for its steps.
        CompositionState composed;
        composeTemplate(composed, step->work, step->picture);
        for (const std::shared_ptr<const Step>& part : composed.steps().recipe())
            expanded.push_back(part);
    }
    return expanded;
}

double affordableFactor(QSize canvas, double wanted, qint64 budget) {
    const double pixels = double(std::max(1, canvas.width())) * std::max(1, canvas.height());
    const double largest = std::sqrt(double(budget) / scaledBytesPerPixel / pixels);
    return std::max(1.0, std::min(wanted, largest));
}

ScaledRendering renderScaled(const std::vector<std::shared_ptr<const Step>>& recipe, QSize canvas,
                             int canvasDotsPerInch, int wantedDotsPerInch, qint64 budget) {
    try {
        return renderScaledWithin(recipe, canvas, canvasDotsPerInch, wantedDotsPerInch, budget);
    } catch (const std::bad_alloc&) {
        // The machine had less memory than the budget counts on: the print is refused whole,
        // and the work, drawn on a composition of its own, is as it was.
        throw TarvelError(Messages::outOfMemory());
    }
}

ScaledRendering renderForPrint(const CompositionState& composition, int wantedDotsPerInch,
                               qint64 budget) {
    const Picture& canvas = composition.canvas();
    const int from = std::max(1, canvas.dotsPerInch());
    const QImage shown = canvas.hasPicture() ? canvas.picture().image() : QImage();
    if (wantedDotsPerInch > from && !shown.isNull() &&
        affordableFactor(shown.size(), double(wantedDotsPerInch) / from, budget) * from >= from + 1)
        return renderScaled(composition.steps().recipe(), shown.size(), from, wantedDotsPerInch,
                            budget);
    ScaledRendering own;
    own.picture = shown;
    own.dotsPerInch = from;
    own.reduced = wantedDotsPerInch > from;
    return own;
}

QString reducedResolutionText(const ScaledRendering& rendering, int wantedDotsPerInch) {
    return QCoreApplication::translate("Composition",
                                       "按 %1 dpi 输出：%2 dpi 的图片超出了可用的内存。")
        .arg(rendering.dotsPerInch)
        .arg(wantedDotsPerInch);
}
