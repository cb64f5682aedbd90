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
    if (const std::optional<QString> text = scriptColor(color))
        step.insert(QLatin1String(key), *text);
}

QJsonObject canvasKeys(const Step& step, QJsonObject& files) {
    const TSetStruct& settings = step.canvas;
    QJsonObject keys{{"do", "canvas"},
                     {"width", settings.Width},
                     {"height", settings.Height},
                     {"resolution", settings.Resolution}};
    if (settings.UsePicture) {
        // Named by its content: the same picture used twice is carried once, and two
        // pictures never share a name.
        const QString suffix = QFileInfo(settings.PictureFile).suffix().toLower();
        const QString name =
            QString::fromLatin1(
                QCryptographicHash::hash(step.picture, QCryptographicHash::Sha256).toHex().left(16)) +
            QLatin1Char('.') + (suffix.isEmpty() ? QStringLiteral("png") : suffix);
        files.insert(name, QString::fromLatin1(step.picture.toBase64()));
        keys.insert("picture", name);
        keys.insert("layout", canvasLayouts.value(int(settings.Layout), canvasLayouts.first()));
    } else if (settings.UseColor) {
        putColor(keys, "color", settings.BackgroundColor);
    }
    return keys;
}

QJsonObject textKeys(const Step& step) {
    const TextSettings& settings = step.text;
    QJsonObject keys{{"do", "text"},
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
                     {"chineseDigits", settings.ChineseDigits}};
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
        break;
    }
    case ekSeal: {
        const TSetStamper& s = element.seal;
        keys = {{"do", "seal"},
                {"text", element.sealLines.join(QLatin1Char('\n'))},
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

int intKey(const QJsonObject& keys, const char* key, int fallback) {
    const QJsonValue value = keys.value(QLatin1String(key));
    return value.isDouble() ? int(value.toDouble()) : fallback;
}

QString textKey(const QJsonObject& keys, const char* key, const QString& fallback) {
    const QJsonValue value = keys.value(QLatin1String(key));
    return value.isString() ? value.toString() : fallback;
}

TColor colorKey(const QJsonObject& keys, const char* key, TColor fallback) {
    const QJsonValue value = keys.value(QLatin1String(key));
    return value.isString() ? parseHtmlColor(value.toString()) : fallback;
}

// The text after "转为繁体" or "转为简体".
QString converted(const QJsonObject& keys, const QString& text) {
    const QString direction = keys.value(QStringLiteral("convert")).toString();
    if (direction == QLatin1String("s2t"))
        return ChineseConverter::shared(ChineseConversion::SimplifiedToTraditional).convert(text);
    if (direction == QLatin1String("t2s"))
        return ChineseConverter::shared(ChineseConversion::TraditionalToSimplified).convert(text);
    return text;
}

QImage decodePicture(const QString& name, const QByteArray& bytes) {
    try {
        switch (codecs::formatForFileName(name)) {
        case codecs::PictureFormat::Png:
            return codecs::decodePng(bytes);
        case codecs::PictureFormat::Jpeg:
            return codecs::decodeJpeg(bytes);
        case codecs::PictureFormat::Bmp:
            return codecs::decodeBmp(bytes);
        default:
            break;
        }
    } catch (const TarvelError& error) {
        throw TarvelError(QStringLiteral("无法读取图片“%1”：%2。").arg(name, error.text()));
    }
    throw TarvelError(QStringLiteral("无法读取图片“%1”：只能读取 PNG（.png）、JPEG（.jpg、.jpeg）和 "
                                     "BMP（.bmp）图片。")
                          .arg(name));
}

} // namespace

std::optional<QString> scriptColor(TColor color) {
    if ((color & 0xFF000000u) != 0)
        return std::nullopt;
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
        typing.Color = colorKey(run, "color", typing.Color);
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
            steps.append(
                QJsonObject{{"do", "effect"}, {"kind", QLatin1String(effectScriptName(step->effect))}});
            break;
        case Step::Kind::Restore:
            steps.append(QJsonObject{{"do", "effect"}, {"kind", "restore"}});
            break;
        case Step::Kind::Template:
            break;
        }
    }
    return steps;
}

StepPlayer::StepPlayer(CompositionState& composition, std::map<QString, QByteArray> files,
                       const QDir& base)
    : composition(composition), files(std::move(files)), base(base) {}

QByteArray StepPlayer::fileBytes(const QString& name) const {
    const auto embedded = files.find(name);
    if (embedded != files.end())
        return embedded->second;
    const QString path = QDir::cleanPath(base.absoluteFilePath(name));
    constexpr qint64 largest = qint64(64) << 20;
    const files::ReadResult read = files::readRegularFile(path, largest);
    if (read.problem != files::ReadProblem::None)
        throw TarvelError(QStringLiteral("无法读取图片%1：%2。")
                              .arg(files::quoted(path), files::problemText(read, largest)));
    return read.data;
}

void StepPlayer::run(const ScriptStep& step) {
    const QJsonObject& keys = step.keys;
    const QString& command = step.command;
    const QString close = keys.value(QStringLiteral("close")).toString(QStringLiteral("confirm"));
    if (close != QLatin1String("confirm"))
        throw TarvelError(QStringLiteral("作品里的“%1”步骤只能以确定结束").arg(command));
    if (command == QLatin1String("canvas")) {
        canvas(keys);
    } else if (command == QLatin1String("text")) {
        text(keys);
    } else if (command == QLatin1String("click")) {
        click(keys);
    } else if (command == QLatin1String("nudge")) {
        nudge(keys);
    } else if (command == QLatin1String("undo")) {
        composition.undo();
    } else if (command == QLatin1String("redo")) {
        composition.redo();
    } else if (command == QLatin1String("clear")) {
        composition.clear();
    } else if (command == QLatin1String("effect")) {
        const QString kind = keys.value(QStringLiteral("kind")).toString();
        if (kind == QLatin1String(restoreEntry.scriptName)) {
            composition.restore();
            return;
        }
        // Without a picture an effect changes nothing, as in the window.
        for (const EffectEntry& entry : effectTable)
            if (kind == QLatin1String(entry.scriptName))
                composition.applyEffect(entry.kind);
    } else {
        for (const ElementKindEntry& entry : placedKinds)
            if (command == QLatin1String(entry.command)) {
                arm(entry.kind, keys);
                return;
            }
        throw TarvelError(QStringLiteral("作品里不能有“%1”").arg(command));
    }
}

void StepPlayer::canvas(const QJsonObject& keys) {
    TSetStruct settings;
    settings.Width = intKey(keys, "width", settings.Width);
    settings.Height = intKey(keys, "height", settings.Height);
    settings.Resolution = intKey(keys, "resolution", settings.Resolution);
    QImage background;
    QByteArray bytes;
    if (keys.contains(QStringLiteral("color"))) {
        settings.UseColor = true;
        settings.BackgroundColor = colorKey(keys, "color", settings.BackgroundColor);
    } else if (keys.contains(QStringLiteral("picture"))) {
        settings.UsePicture = true;
        settings.PictureFile = keys.value(QStringLiteral("picture")).toString();
        settings.Layout =
            PictureLayout(std::max<qsizetype>(0, canvasLayouts.indexOf(textKey(keys, "layout", "tile"))));
        bytes = fileBytes(settings.PictureFile);
        background = decodePicture(settings.PictureFile, bytes);
    }
    composition.newCanvas(settings, background, bytes);
}

void StepPlayer::text(const QJsonObject& keys) {
    TextSettings settings;
    resetTextSettings(settings);
    settings.LeftMargin = intKey(keys, "leftMargin", settings.LeftMargin);
    settings.TopMargin = intKey(keys, "topMargin", settings.TopMargin);
    settings.CharSpacing = intKey(keys, "charSpacing", settings.CharSpacing);
    settings.LineSpacing = intKey(keys, "lineSpacing", settings.LineSpacing);
    settings.Arrangement = Arrangement(intKey(keys, "arrangement", settings.Arrangement));
    for (int mode = vpOriginal; mode <= vpNone; ++mode)
        if (keys.value(QStringLiteral("punctuation")).toString() ==
            QLatin1String(punctuationScriptNames[mode]))
            settings.Punctuation = VerticalPunctuation(mode);
    settings.ChineseDigits = keys.value(QStringLiteral("chineseDigits")).toBool();
    settings.FanLayout = keys.value(QStringLiteral("fan")).toBool();
    settings.FanColumnStyle =
        keys.value(QStringLiteral("fanColumns")).toString() == QLatin1String("longShort")
            ? fcLongShort
            : fcLong;
    settings.FanShiftX = intKey(keys, "fanShiftX", 0);
    settings.FanShiftY = intKey(keys, "fanShiftY", 0);
    settings.Confirmed = true;

    RichText block;
    block.setDefaultFont(QStringLiteral("宋体"), clWindowText, 10);
    if (keys.contains(QStringLiteral("runs"))) {
        writeRuns(block, keys.value(QStringLiteral("runs")).toArray());
    } else if (keys.contains(QStringLiteral("plain"))) {
        block.setText(keys.value(QStringLiteral("plain")).toString());
        block.selectAll();
        if (keys.contains(QStringLiteral("face")))
            block.setSelName(keys.value(QStringLiteral("face")).toString());
        if (keys.contains(QStringLiteral("size")))
            block.setSelSize(keys.value(QStringLiteral("size")).toInt());
        if (keys.contains(QStringLiteral("color")))
            block.setSelColor(colorKey(keys, "color", clBlack));
    }
    const QString direction = keys.value(QStringLiteral("convert")).toString();
    if (direction == QLatin1String("s2t"))
        block.convertText(ChineseConverter::shared(ChineseConversion::SimplifiedToTraditional));
    else if (direction == QLatin1String("t2s"))
        block.convertText(ChineseConverter::shared(ChineseConversion::TraditionalToSimplified));
    MeasureTextBlock(block, settings);
    composition.drawTextBlock(settings, std::make_shared<RichTextModel>(block.toModel()));
}

void StepPlayer::arm(ElementKind kind, const QJsonObject& keys) {
    Element element;
    element.kind = kind;
    switch (kind) {
    case ekRotatedText: {
        TSetSector& r = element.rotated;
        r.Characters = converted(keys, textKey(keys, "text", QString()));
        r.Text = Gbk::encode(r.Characters);
        r.Angle = intKey(keys, "angle", r.Angle);
        r.CharSpacing = intKey(keys, "charSpacing", r.CharSpacing);
        if (keys.contains(QStringLiteral("size")))
            r.Size = RotatedTextSizeFromText(keys.value(QStringLiteral("size")).toString());
        r.FaceName = textKey(keys, "face", r.FaceName);
        r.Placement = textKey(keys, "placement", QString()) == QLatin1String("vertical")
                          ? tpVertical
                          : tpHorizontal;
        r.Color = colorKey(keys, "color", r.Color);
        break;
    }
    case ekSeal: {
        TSetStamper& s = element.seal;
        RichText lines;
        lines.setText(converted(keys, textKey(keys, "text", QString())));
        for (int i = 0; i < lines.lineCount(); ++i)
            element.sealLines.append(lines.lineString(i));
        s.SealWidth = intKey(keys, "width", s.SealWidth);
        s.SealHeight = intKey(keys, "height", s.SealHeight);
        s.StrokeWeight = intKey(keys, "strokeWeight", s.StrokeWeight);
        s.CharSpacing = intKey(keys, "charSpacing", s.CharSpacing);
        s.EdgeWidth = intKey(keys, "edgeWidth", s.EdgeWidth);
        s.SealAngle = intKey(keys, "angle", s.SealAngle);
        s.FrameWidth = intKey(keys, "frameWidth", s.FrameWidth);
        s.Wear = intKey(keys, "wear", s.Wear);
        s.WearSeed = intKey(keys, "seed", s.WearSeed);
        s.FontName = textKey(keys, "face", s.FontName);
        s.Ink = SealInk(std::max<qsizetype>(0, sealInks.indexOf(textKey(keys, "ink", "red"))));
        s.SmoothEdges = keys.value(QStringLiteral("smooth")).toBool();
        s.SealStyle = textKey(keys, "style", QString()) == QLatin1String("relief") ? stRelief
                                                                                   : stIntaglio;
        s.CornerShape =
            textKey(keys, "corner", QString()) == QLatin1String("rounded") ? cnRounded : cnSquare;
        s.Arrangement = Arrangement(intKey(keys, "arrangement", s.Arrangement));
        // A seal without characters arms nothing, as its dialog does.
        if (element.sealLines.isEmpty()) {
            armed[std::size_t(kind - ekRotatedText)].reset();
            return;
        }
        break;
    }
    case ekCircle:
    case ekFan: {
        ShapeSettingsRecord& shape =
            kind == ekCircle ? static_cast<ShapeSettingsRecord&>(element.circle) : element.fan;
        shape.LineWidth = intKey(keys, "lineWidth", shape.LineWidth);
        shape.Radius = intKey(keys, "radius", shape.Radius);
        shape.LineColor = shape.PickedLineColor = colorKey(keys, "lineColor", shape.LineColor);
        shape.FillColor = shape.PickedFillColor = colorKey(keys, "fillColor", shape.FillColor);
        if (kind == ekFan) {
            element.fan.Shape =
                textKey(keys, "shape", QString()) == QLatin1String("ring") ? fsRing : fsLeaf;
            element.fan.InnerRadius = intKey(keys, "innerRadius", element.fan.InnerRadius);
            element.fan.Span = intKey(keys, "span", element.fan.Span);
            const QJsonValue onColor = keys.value(QStringLiteral("onColor"));
            element.fanOnColor =
                onColor.isBool() ? onColor.toBool() : composition.canvasSettings().UseColor;
        }
        // Drawn when it is confirmed, as the dialog draws its preview: a shape that cannot be
        // drawn is refused at its own step.
        element.rendered = std::make_shared<const RenderedElement>(renderElement(element));
        break;
    }
    default:
        return;
    }
    armed[std::size_t(kind - ekRotatedText)] = std::move(element);
}

void StepPlayer::click(const QJsonObject& keys) {
    const QJsonArray at = keys.value(QStringLiteral("at")).toArray();
    std::vector<Element> pending;
    for (std::optional<Element>& element : armed)
        if (element)
            pending.push_back(*std::exchange(element, std::nullopt));
    if (!pending.empty())
        composition.stamp(std::move(pending), QPoint(at[0].toInt(), at[1].toInt()));
}

void StepPlayer::nudge(const QJsonObject& keys) {
    if (keys.contains(QStringLiteral("dx")) || keys.contains(QStringLiteral("dy"))) {
        composition.nudge(intKey(keys, "dx", 0), intKey(keys, "dy", 0));
        return;
    }
    const QString direction = keys.value(QStringLiteral("direction")).toString();
    const int dx = direction == QLatin1String("left")    ? -10
                   : direction == QLatin1String("right") ? 10
                                                         : 0;
    const int dy = direction == QLatin1String("up") ? -10 : direction == QLatin1String("down") ? 10 : 0;
    const int times = intKey(keys, "times", 1);
    for (int i = 0; i < times; ++i)
        if (!composition.nudge(dx, dy))
            break;
}
