// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

#include "WorkSteps.h"

#include "ChineseConversion.h"
#include "Colors.h"
#include "FileAccess.h"
#include "Gbk.h"
#include "PictureCodecs.h"
#include "RichText.h"
#include "TarvelError.h"
#include "TextMeasure.h"

#include <QCryptographicHash>
#include <QFileInfo>

namespace {

const QStringList sealInks = {"red", "cinnabar", "vermilion"};
const QStringList canvasLayouts = {"tile", "stretch", "center"};

void putColor(QJsonObject& step, const char* key, TColor color) {
    step.insert(QLatin1String(key), scriptColor(color));
}

QString pictureName(const QByteArray& bytes, const QString& file) {
    // Named by its content: the same picture used twice is carried once, and two pictures
    // never share a name.
    const QString suffix = QFileInfo(file).suffix().toLower();
    return QString::fromLatin1(
               QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex().left(16)) +
           QLatin1Char('.') + (suffix.isEmpty() ? QStringLiteral("png") : suffix);
}

QJsonObject canvasKeys(const Step& step, QJsonObject& files) {
    const TSetStruct& settings = step.canvas;
    QJsonObject keys{{"do", "canvas"},
                     {"width", settings.Width},
                     {"height", settings.Height},
                     {"resolution", settings.Resolution}};
    if (settings.UsePicture) {
        const QString name = pictureName(step.picture, settings.PictureFile);
        files.insert(name, QString::fromLatin1(step.picture.toBase64()));
        keys.insert("picture", name);
        keys.insert("layout", canvasLayouts.value(int(settings.Layout), canvasLayouts.first()));
    } else if (settings.UseColor) {
        putColor(keys, "color", settings.BackgroundColor);
    } else {
        // Neither colour nor picture: said, so that no colour chosen before carries over.
        keys.insert("blank", true);
    }
    return keys;
}

QJsonObject textKeys(const Step& step) {
    const TextSettings& settings = step.text;
    QJsonObject keys{
        {"do", "text"},
        {"runs", step.runs ? runsOfModel(*step.runs) : QJsonArray()},
        {"leftMargin", settings.LeftMargin},
        {"topMargin", settings.TopMargin},
        {"charSpacing", settings.CharSpacing},
        {"lineSpacing", settings.LineSpacing},
        {"arrangement", int(settings.Arrangement)},
        {"punctuation",
         QLatin1String(punctuationScriptNames[isVerticalPunctuation(settings.Punctuation)
                                                  ? settings.Punctuation
                                                  : vpOriginal])},
        {"chineseDigits", settings.ChineseDigits},
        {"matchFallbackWeight", settings.MatchFallbackWeight}};
    // What the block was measured at when it was confirmed, which it is drawn with.
    keys.insert("rowPitch", settings.RowPitch);
    keys.insert("extentWidth", settings.ExtentWidth);
    keys.insert("extentHeight", settings.ExtentHeight);
    if (step.wrapWidth)
        keys.insert("wrapWidth", *step.wrapWidth);
    if (settings.FanLayout) {
        keys.insert("fan", true);
        keys.insert("fanColumns",
                    QLatin1String(fanColumnsScriptName(FanColumns(settings.FanColumnStyle))));
        if (settings.FanShiftX != 0)
            keys.insert("fanShiftX", settings.FanShiftX);
        if (settings.FanShiftY != 0)
            keys.insert("fanShiftY", settings.FanShiftY);
    }
    return keys;
}

QJsonObject elementKeys(const Element& element) {
    QJsonObject keys;
    switch (element.kind) {
    case ekRotatedText: {
        const TSetSector& r = element.rotated;
        keys = {{"do", "rotated"},
                {"text", Gbk::encode(r.Characters) == r.Text ? r.Characters : Gbk::decode(r.Text)},
                {"angle", r.Angle},
                {"charSpacing", r.CharSpacing},
                {"size", QString::number(r.Size)},
                {"face", r.FaceName},
                {"placement", r.Placement == tpHorizontal ? "horizontal" : "vertical"}};
        putColor(keys, "color", r.Color);
        if (r.MatchFallbackWeight)
            keys.insert("matchFallbackWeight", true);
        break;
    }
    case ekSeal: {
        const TSetStamper& s = element.seal;
        keys = {{"do", "seal"},
                // A last empty line is one more line break: the editor counts no empty line
                // at the very end.
                {"text", element.sealLines.join(QLatin1Char('\n')) +
                             (!element.sealLines.isEmpty() && element.sealLines.last().isEmpty()
                                  ? QStringLiteral("\n")
                                  : QString())},
                {"width", s.SealWidth},
                {"height", s.SealHeight},
                {"strokeWeight", s.StrokeWeight},
                {"charSpacing", s.CharSpacing},
                {"edgeWidth", s.EdgeWidth},
                {"angle", s.SealAngle},
                {"frameWidth", s.FrameWidth},
                {"wear", s.Wear},
                {"seed", s.WearSeed},
                {"face", s.FontName},
                {"ink", sealInks.value(int(s.Ink), sealInks.first())},
                {"smooth", s.SmoothEdges},
                {"wearStyle", s.WearStyle == wsPressed ? "pressed" : "specks"},
                {"paper", s.Paper},
                {"keepProportions", s.KeepProportions},
                {"matchFallbackWeight", s.MatchFallbackWeight},
                {"style", s.SealStyle == stRelief ? "relief" : "intaglio"},
                {"corner", s.CornerShape == cnRounded ? "rounded" : "square"},
                {"arrangement", int(s.Arrangement)}};
        break;
    }
    case ekCircle:
    case ekFan: {
        const bool circle = element.kind == ekCircle;
        const ShapeSettingsRecord& shape =
            circle ? static_cast<const ShapeSettingsRecord&>(element.circle) : element.fan;
        keys = {{"do", circle ? "circle" : "fan"},
                {"lineWidth", shape.LineWidth},
                {"radius", shape.Radius}};
        if (!circle) {
            keys.insert("shape", element.fan.Shape == fsRing ? "ring" : "leaf");
            keys.insert("innerRadius", element.fan.InnerRadius);
            keys.insert("span", element.fan.Span);
            if (element.fan.Shape != fsRing)
                keys.insert("onColor", element.fanOnColor);
        }
        putColor(keys, "lineColor", shape.LineColor);
        putColor(keys, "fillColor", shape.FillColor);
        break;
    }
    default:
        break;
    }
    return keys;
}

QJsonObject templateKeys(const Step& step, QJsonObject& files) {
    const WorkTemplate& work = step.work;
    QJsonObject keys{{"do", "template"},
                     {"format", QLatin1String(workFormatKeys[int(work.format)])},
                     {"longCm", qRound(work.longCm)},
                     {"shortCm", qRound(work.shortCm)},
                     {"dpi", work.dpi},
                     {"face", work.face},
                     {"text", work.text},
                     {"span", work.fanSpan},
                     {"fanColumns", QLatin1String(fanColumnsScriptName(work.fanColumns))},
                     {"punctuation", QLatin1String(punctuationScriptNames[work.punctuation])},
                     {"chineseDigits", work.chineseDigits}};
    if (work.mounted)
        keys.insert("mounted", true);
    putColor(keys, "ink", work.ink);
    if (!work.picture.isEmpty()) {
        const QString name = pictureName(step.picture, work.picture);
        files.insert(name, QString::fromLatin1(step.picture.toBase64()));
        keys.insert("picture", name);
    } else {
        putColor(keys, "color", work.ground);
    }
    for (const auto& [key, text] :
         {std::pair{"banner", &work.banner}, std::pair{"upper", &work.upper},
          std::pair{"lower", &work.lower}, std::pair{"nameSeal", &work.nameSeal},
          std::pair{"leadingSeal", &work.leadingSeal}})
        if (!text->isEmpty())
            keys.insert(QLatin1String(key), *text);
    return keys;
}

void stampKeys(const Step& step, QJsonArray& steps) {
    std::vector<const Element*> drawn;
    for (const Element& element : step.elements)
        if (!element.blank)
            drawn.push_back(&element);
    // A press that drew nothing leaves nothing to rebuild.
    if (drawn.empty())
        return;
    for (const Element* element : drawn)
        steps.append(elementKeys(*element));
    // The elements of one press land at one point; a nudge moved the last one since.
    const QPoint at = drawn.front()->at;
    steps.append(QJsonObject{{"do", "click"}, {"at", QJsonArray{at.x(), at.y()}}});
    const QPoint moved = drawn.back()->at - at;
    if (!moved.isNull())
        steps.append(QJsonObject{{"do", "nudge"}, {"dx", moved.x()}, {"dy", moved.y()}});
}

} // namespace

QString scriptColor(TColor color) {
    // A system colour is written as the colour it was drawn in.
    if ((color & 0xFF000000u) != 0)
        color = fromRgb(toRgb(color));
    return QString::asprintf("#%02X%02X%02X", color & 0xFF, (color >> 8) & 0xFF,
                             (color >> 16) & 0xFF);
}

QJsonArray runsOfModel(const RichTextModel& model) {
    QJsonArray runs;
    for (std::size_t p = 0; p < model.paragraphs.size(); ++p) {
        const auto& paragraph = model.paragraphs[p];
        for (std::size_t r = 0; r < paragraph.runs.size(); ++r) {
            const RichTextRun& run = paragraph.runs[r];
            QJsonObject entry;
            // A paragraph break is a line break at the start of the paragraph's first run.
            const bool breakBefore = p > 0 && r == 0;
            entry.insert(QStringLiteral("text"),
                         (breakBefore ? QStringLiteral("\n") : QString()) + run.text);
            entry.insert(QStringLiteral("face"), run.attributes.Name);
            entry.insert(QStringLiteral("size"), run.attributes.Size);
            if (run.attributes.Color == clWindowText)
                entry.insert(QStringLiteral("color"), QStringLiteral("auto"));
            else
                putColor(entry, "color", run.attributes.Color);
            for (const auto& [key, on] : {std::pair{"bold", run.attributes.Bold},
                                          std::pair{"italic", run.attributes.Italic},
                                          std::pair{"underline", run.attributes.Underline},
                                          std::pair{"strikeout", run.attributes.StrikeOut}})
                if (on)
                    entry.insert(QLatin1String(key), true);
            runs.append(entry);
        }
        if (p > 0 && paragraph.runs.empty())
            runs.append(QJsonObject{{QStringLiteral("text"), QStringLiteral("\n")}});
    }
    return runs;
}

// The document is built whole and set in one go: typing run after run would lay the
// paragraph out again at every run.
void writeRuns(RichText& text, const QJsonArray& runs) {
    text.clear();
    RichText::Attributes typing = text.selAttributes();
    RichTextModel model;
    model.paragraphs.emplace_back();
    for (const QJsonValue& value : runs) {
        const QJsonObject run = value.toObject();
        if (run.contains(QStringLiteral("face"))) {
            typing.Name = run.value(QStringLiteral("face")).toString();
            typing.Charset = RichText::isChineseFace(typing.Name) ? 134 : 1;
        }
        if (run.contains(QStringLiteral("size")))
            typing.Size = run.value(QStringLiteral("size")).toInt();
        const QString color = run.value(QStringLiteral("color")).toString();
        if (color == QLatin1String("auto"))
            typing.Color = clWindowText;
        else if (!color.isEmpty())
            typing.Color = parseHtmlColor(color);
        typing.Bold = run.value(QStringLiteral("bold")).toBool();
        typing.Italic = run.value(QStringLiteral("italic")).toBool();
        typing.Underline = run.value(QStringLiteral("underline")).toBool();
        typing.StrikeOut = run.value(QStringLiteral("strikeout")).toBool();
        // A line break starts a paragraph whose empty line keeps the attributes typed with it.
        QString typed = run.value(QStringLiteral("text")).toString();
        typed.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
            .replace(QLatin1Char('\r'), QLatin1Char('\n'));
        const QStringList lines = typed.split(QLatin1Char('\n'));
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i > 0)
                model.paragraphs.emplace_back();
            model.paragraphs.back().runs.push_back({lines[i], typing});
        }
    }
    text.setModel(model);
}

QJsonArray workSteps(const std::vector<std::shared_ptr<const Step>>& recipe, QJsonObject& files) {
    QJsonArray steps;
    for (const std::shared_ptr<const Step>& step : recipe) {
        switch (step->kind) {
        case Step::Kind::Canvas:
            steps.append(canvasKeys(*step, files));
            break;
        case Step::Kind::Text:
            steps.append(textKeys(*step));
            break;
        case Step::Kind::Stamp:
            stampKeys(*step, steps);
            break;
        case Step::Kind::Clear:
            steps.append(QJsonObject{{"do", "clear"}});
            break;
        case Step::Kind::Effect:
            steps.append(QJsonObject{{"do", "effect"},
                                     {"kind", QLatin1String(effectScriptName(step->effect))}});
            break;
        case Step::Kind::Restore:
            steps.append(QJsonObject{{"do", "effect"}, {"kind", "restore"}});
            break;
        case Step::Kind::Template:
            steps.append(templateKeys(*step, files));
            break;
        }
    }
    return steps;
}
