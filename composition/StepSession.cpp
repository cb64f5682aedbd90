// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

#include "StepSession.h"
#include "Limits.h"

#include "ChineseConversion.h"
#include "FanTextLayout.h"
#include "FileAccess.h"
#include "Gbk.h"
#include "Messages.h"
#include "PdfExport.h"
#include "PictureCodecs.h"
#include "RichText.h"
#include "ScaledRendering.h"
#include "TarvelError.h"
#include "TextMeasure.h"
#include "WorkSteps.h"

#include <QFileInfo>
#include <QJsonArray>
#include <algorithm>
#include <array>

namespace {

const QStringList sealInks = {"red", "cinnabar", "vermilion"};

// A number box: text that is not a number reads as its lower bound, a bounded box brings
// what was typed into its range.
struct Box {
    qint64 value;
    int minimum = 0;
    int maximum = 0; // 0 and 0: no bounds

    int read() const {
        qint64 v = value;
        if (minimum != 0 || maximum != 0)
            v = std::clamp<qint64>(v, minimum, maximum);
        return int(std::clamp<qint64>(v, INT_MIN, INT_MAX));
    }
    void set(const QJsonObject& keys, const char* key) {
        const QJsonValue given = keys.value(QLatin1String(key));
        if (given.isDouble())
            value = qint64(given.toDouble());
    }
};

std::optional<TColor> colorOf(const QJsonObject& keys, const char* key) {
    const QJsonValue value = keys.value(QLatin1String(key));
    if (!value.isString())
        return std::nullopt;
    return parseHtmlColor(value.toString());
}

std::optional<ChineseConversion> conversionOf(const QJsonObject& keys) {
    const QString direction = keys.value(QStringLiteral("convert")).toString();
    if (direction == QLatin1String("s2t"))
        return ChineseConversion::SimplifiedToTraditional;
    if (direction == QLatin1String("t2s"))
        return ChineseConversion::TraditionalToSimplified;
    return std::nullopt;
}

// How a dialog step ends.
enum class Close { Confirm, Apply, Cancel, CloseBox, Preview, Clear };

Close closeOf(const QJsonObject& keys) {
    const QString how = keys.value(QStringLiteral("close")).toString(QStringLiteral("confirm"));
    if (how == QLatin1String("apply"))
        return Close::Apply;
    if (how == QLatin1String("cancel"))
        return Close::Cancel;
    if (how == QLatin1String("closebox"))
        return Close::CloseBox;
    if (how == QLatin1String("preview"))
        return Close::Preview;
    if (how == QLatin1String("clear"))
        return Close::Clear;
    return Close::Confirm;
}

QImage decodePicture(const QString& name, const QByteArray& bytes) {
    QString problem = Messages::unknownPictureFormat();
    try {
        switch (codecs::formatForFileName(name)) {
        case codecs::PictureFormat::Png:
            return codecs::decodePng(bytes);
        case codecs::PictureFormat::Jpeg:
            return codecs::decodeJpeg(bytes);
        case codecs::PictureFormat::Bmp:
            return codecs::decodeBmp(bytes);
        case codecs::PictureFormat::Unknown:
            break;
        }
    } catch (const TarvelError& error) {
        problem = error.text();
    }
    throw TarvelError(Messages::cannotReadPicture(files::quoted(name), problem));
}

} // namespace

// What each dialog holds between steps: its controls, its record and its armed element.
struct StepSession::Dialogs {
    struct Canvas {
        Box width{800, 1, limits::canvasSide};
        Box height{600, 1, limits::canvasSide};
        Box resolution{defaultResolution, minimumResolution, maximumResolution};
        TColor chosenColor = clWhite;
        bool pictureChosen = false;
        bool colorChosen = false;
        QString chosenPicture;
        PictureLayout layout = plTile;
        TSetStruct committed;
    } canvas;

    struct Text {
        Text() {
            editor.setDefaultFont(QStringLiteral("宋体"), clWindowText, 10);
            resetTextSettings(settings);
        }
        RichText editor;
        Box margins[4] = {{50}, {50}, {2}, {5}};
        Arrangement arrangement = arHorzLeftToRight;
        bool fanChecked = false;
        FanColumns fanColumns = fcLong;
        VerticalPunctuation punctuation = vpOriginal;
        bool chineseDigits = false;
        bool matchFallbackWeight = false;
        TextSettings settings;
    } text;

    struct Rotated {
        QString text;
        Box angle{0, -limits::rotatedAngle, limits::rotatedAngle};
        Box spacing{2};
        QString size = QStringLiteral("20");
        QString face = QStringLiteral("宋体");
        TextPlacement placement = tpVertical;
        TColor color = clBlack;
        bool matchFallbackWeight = false;
        TSetSector record;
        bool pending = false;
    } rotated;

    struct Seal {
        RichText editor;
        Box width{50}, height{50},
            strokeWeight{limits::sealWeightMin, limits::sealWeightMin, limits::sealWeightMax},
            spacing{1}, edge{1}, angle{0, -limits::sealAngle, limits::sealAngle},
            frame{1, 1, limits::sealFrameMax}, wear{0, 0, limits::sealWearMax}, seed{1};
        QString face = QStringLiteral("字体");
        int ink = 0;
        bool smooth = false;
        WearStyle wearStyle = wsSpecks;
        bool paper = false;
        bool keepProportions = false;
        bool matchFallbackWeight = false;
        SealStyle style = stRelief;
        CornerShape corner = cnSquare;
        Arrangement arrangement = arHorzLeftToRight;
        TSetStamper record;
        std::shared_ptr<const Element> rendered;
        QList<FaceGap> renderedGaps;
        bool pending = false;
    } seal;

    struct Shape {
        explicit Shape(bool fan)
            : lineWidth(fan ? Box{1, 1, limits::fanLineMax} : Box{2}),
              radius(fan ? Box{100, limits::fanRadiusMin, limits::fanRadiusMax} : Box{50}),
              fan(fan) {
            resetRecord();
        }
        Box lineWidth, radius;
        Box inner{45, 0, limits::fanRadiusMax}, span{140, 0, limits::fanSpanMax};
        bool ring = false;
        bool fan;
        CircleSettingsRecord circle;
        FanSettingsRecord fanRecord;
        std::shared_ptr<const Element> previewed;

        ShapeSettingsRecord& record() {
            return fan ? static_cast<ShapeSettingsRecord&>(fanRecord) : circle;
        }
        void resetRecord() {
            circle = CircleSettingsRecord{};
            fanRecord = FanSettingsRecord{};
        }
    } circle{false}, fan{true};
};

StepSession::StepSession(CompositionState& composition, std::map<QString, QByteArray> files,
                         const QDir& base, FILE* out)
    : composition(composition), files(std::move(files)), base(base), out(out),
      dialogs(std::make_unique<Dialogs>()) {}

StepSession::~StepSession() = default;

const TSetStruct& StepSession::canvasSettings() const {
    return dialogs->canvas.committed;
}

QString StepSession::path(const QString& name) const {
    return QDir::cleanPath(base.absoluteFilePath(name));
}

QByteArray StepSession::fileBytes(const QString& name, qint64 largest) const {
    const auto embedded = files.find(name);
    if (embedded != files.end())
        return embedded->second;
    return files::readRegularFile(path(name), largest).data;
}

void StepSession::warnOf(const QList<FaceGap>& gaps) {
    if (!gaps.isEmpty())
        warnings << fallbackWarning(gaps);
}

void StepSession::run(const ScriptStep& step) {
    const QJsonObject& keys = step.keys;
    const QString& command = step.command;
    if (command == QLatin1String("canvas")) {
        canvas(keys);
    } else if (command == QLatin1String("text")) {
        text(keys);
    } else if (command == QLatin1String("rotated")) {
        rotated(keys);
    } else if (command == QLatin1String("seal")) {
        seal(keys);
    } else if (command == QLatin1String("circle")) {
        shape(ekCircle, keys);
    } else if (command == QLatin1String("fan")) {
        shape(ekFan, keys);
    } else if (command == QLatin1String("click")) {
        const QJsonArray at = keys.value(QStringLiteral("at")).toArray();
        click(QPoint(at[0].toInt(), at[1].toInt()));
    } else if (command == QLatin1String("nudge")) {
        nudge(keys);
    } else if (command == QLatin1String("undo")) {
        composition.undo();
    } else if (command == QLatin1String("redo")) {
        composition.redo();
    } else if (command == QLatin1String("clear")) {
        composition.clear();
    } else if (command == QLatin1String("effect")) {
        effect(keys);
    } else if (command == QLatin1String("template")) {
        templateStep(keys);
    } else if (command == QLatin1String("exportPdf")) {
        exportPdfStep(keys);
    } else {
        throw TarvelError(Messages::noCommand(command));
    }
}

void StepSession::exportPdfStep(const QJsonObject& keys) {
    // Writes a file and changes nothing: no step of the work.
    const QString file = files::withDefaultExtension(
        path(keys.value(QStringLiteral("file")).toString()), QStringLiteral("pdf"));
    PdfOptions options;
    options.title = QFileInfo(file).completeBaseName();
    options.paper = keys.value(QStringLiteral("fit")).toString();
    options.dotsPerInch = composition.canvas().dotsPerInch();
    const QJsonValue dpi = keys.value(QStringLiteral("dpi"));
    if (!dpi.isDouble()) {
        exportPdf(composition.canvas().picture().image(), file, options);
        return;
    }
    const ScaledRendering drawn = renderForPrint(composition, dpi.toInt());
    if (drawn.reduced)
        warnings << reducedResolutionText(drawn, dpi.toInt());
    options.dotsPerInch = drawn.dotsPerInch;
    exportPdf(drawn.picture, file, options);
}

void StepSession::canvas(const QJsonObject& keys) {
    Dialogs::Canvas& d = dialogs->canvas;
    d.width.set(keys, "width");
    d.height.set(keys, "height");
    d.resolution.set(keys, "resolution");
    if (const std::optional<TColor> color = colorOf(keys, "color")) {
        d.chosenColor = *color;
        d.pictureChosen = false;
        d.colorChosen = true;
    }
    if (keys.contains(QStringLiteral("picture"))) {
        d.chosenPicture = keys.value(QStringLiteral("picture")).toString();
        d.pictureChosen = true;
        d.colorChosen = false;
    }
    if (keys.value(QStringLiteral("blank")).toBool())
        d.pictureChosen = d.colorChosen = false;
    const QString layout = keys.value(QStringLiteral("layout")).toString();
    if (layout == QLatin1String("tile"))
        d.layout = plTile;
    else if (layout == QLatin1String("stretch"))
        d.layout = plStretch;
    else if (layout == QLatin1String("center"))
        d.layout = plCenter;

    const TSetStruct shown = d.committed;
    const Close close = closeOf(keys);
    if (close == Close::Cancel)
        return;
    if (close == Close::Confirm || close == Close::Apply) {
        d.committed.Width = d.width.read();
        d.committed.Height = d.height.read();
        d.committed.Layout = d.layout;
        d.committed.BackgroundColor = d.chosenColor;
        d.committed.UsePicture = d.pictureChosen;
        d.committed.PictureFile = d.chosenPicture;
        d.committed.UseColor = d.colorChosen;
        d.committed.Resolution = d.resolution.read();
    }
    // However else the dialog closes, the canvas is made from the committed settings. The
    // picture is read before the canvas is touched: one that cannot be read leaves the
    // canvas and the settings as they were.
    const TSetStruct settings = d.committed;
    QImage background;
    QByteArray bytes;
    if (settings.UsePicture) {
        try {
            if (files.count(settings.PictureFile)) {
                bytes = files.at(settings.PictureFile);
                background = decodePicture(settings.PictureFile, bytes);
            } else {
                background = codecs::loadPicture(path(settings.PictureFile));
                bytes = fileBytes(settings.PictureFile, maxEmbeddedPicture);
            }
        } catch (...) {
            d.committed = shown;
            throw;
        }
    }
    composition.newCanvas(settings, background, bytes);
}

void StepSession::text(const QJsonObject& keys) {
    Dialogs::Text& d = dialogs->text;
    // 扇面 is offered only while a folding-fan ring is on the canvas.
    const std::optional<FanRing> ring = composition.lastFanRing();
    if (!ring)
        d.fanChecked = false;
    RichText& editor = d.editor;
    // A work says the width its block was wrapped at; scripts never wrap.
    const QJsonValue wrap = keys.value(QStringLiteral("wrapWidth"));
    editor.setWordWrap(wrap.isDouble(), wrap.toInt());
    if (keys.contains(QStringLiteral("open")))
        editor.loadFromFile(path(keys.value(QStringLiteral("open")).toString()));
    else if (keys.contains(QStringLiteral("runs")))
        writeRuns(editor, keys.value(QStringLiteral("runs")).toArray());
    else if (keys.contains(QStringLiteral("plain"))) {
        editor.setText(keys.value(QStringLiteral("plain")).toString());
        editor.selectAll();
        if (keys.contains(QStringLiteral("face")))
            editor.setSelName(keys.value(QStringLiteral("face")).toString());
        if (keys.contains(QStringLiteral("size")))
            editor.setSelSize(keys.value(QStringLiteral("size")).toInt());
        if (const std::optional<TColor> color = colorOf(keys, "color"))
            editor.setSelColor(*color);
    }
    if (const std::optional<ChineseConversion> direction = conversionOf(keys))
        editor.convertText(ChineseConverter::shared(*direction));
    const char* margins[] = {"leftMargin", "topMargin", "charSpacing", "lineSpacing"};
    for (int i = 0; i < 4; ++i)
        d.margins[i].set(keys, margins[i]);
    if (keys.contains(QStringLiteral("arrangement"))) {
        d.arrangement = Arrangement(keys.value(QStringLiteral("arrangement")).toInt());
        d.fanChecked = false;
    }
    for (int mode = vpOriginal; mode <= vpVerticalSnug; ++mode)
        if (keys.value(QStringLiteral("punctuation")).toString() ==
            QLatin1String(punctuationScriptNames[mode]))
            d.punctuation = VerticalPunctuation(mode);
    if (keys.contains(QStringLiteral("chineseDigits")))
        d.chineseDigits = keys.value(QStringLiteral("chineseDigits")).toBool();
    if (keys.contains(QStringLiteral("matchFallbackWeight")))
        d.matchFallbackWeight = keys.value(QStringLiteral("matchFallbackWeight")).toBool();
    if (keys.value(QStringLiteral("fan")).toBool()) {
        if (!ring)
            throw TarvelError(Messages::fanTextNeedsFan());
        d.fanChecked = true;
    }
    if (keys.contains(QStringLiteral("fanColumns")))
        for (const FanColumns style : {fcLong, fcLongShort, fcLongShortLevel})
            if (keys.value(QStringLiteral("fanColumns")).toString() ==
                QLatin1String(fanColumnsScriptName(style)))
                d.fanColumns = style;

    const auto apply = [&] {
        TextSettings& s = d.settings;
        s.LeftMargin = d.margins[0].read();
        s.TopMargin = d.margins[1].read();
        s.CharSpacing = d.margins[2].read();
        s.LineSpacing = d.margins[3].read();
        s.Arrangement = d.arrangement;
        s.Punctuation = d.punctuation;
        s.ChineseDigits = d.chineseDigits;
        s.MatchFallbackWeight = d.matchFallbackWeight;
        s.FanLayout = d.fanChecked;
        s.FanColumnStyle = d.fanColumns;
        // A work file gives how far nudges moved a 扇面 block from its ring.
        s.FanShiftX = keys.value(QStringLiteral("fanShiftX")).toInt();
        s.FanShiftY = keys.value(QStringLiteral("fanShiftY")).toInt();
        s.Confirmed = true;
        MeasureTextBlock(editor, s);
        // A work gives what the block was measured at when it was drawn.
        for (const auto& [key, field] :
             {std::pair{"rowPitch", &s.RowPitch}, std::pair{"extentWidth", &s.ExtentWidth},
              std::pair{"extentHeight", &s.ExtentHeight}})
            if (keys.value(QLatin1String(key)).isDouble())
                *field = keys.value(QLatin1String(key)).toInt();
    };
    if (keys.value(QStringLiteral("check")).toBool()) {
        apply();
        const QString report = d.settings.FanLayout && ring
                                   ? fanTextSizeReport(editor, d.settings, *ring)
                                   : textSizeReport(d.settings, dialogs->canvas.committed);
        if (out)
            std::fprintf(out, "%s\n", qUtf8Printable(report));
    }
    if (keys.contains(QStringLiteral("saveAs"))) {
        const QString file = files::withDefaultExtension(
            path(keys.value(QStringLiteral("saveAs")).toString()), QStringLiteral("txt"));
        editor.saveToFile(file);
    }
    switch (closeOf(keys)) {
    case Close::Confirm:
    case Close::Apply:
        apply();
        break;
    case Close::Cancel:
        resetTextSettings(d.settings);
        break;
    default:
        break;
    }
    // A block the dialog holds confirmed is drawn when the dialog closes.
    if (!d.settings.Confirmed)
        return;
    composition.drawTextBlock(d.settings, std::make_shared<RichTextModel>(editor.toModel()),
                              wrap.isDouble() ? std::optional<int>(wrap.toInt()) : std::nullopt);
    warnOf(textBlockGaps(editor));
}

void StepSession::rotated(const QJsonObject& keys) {
    Dialogs::Rotated& d = dialogs->rotated;
    if (keys.contains(QStringLiteral("text")))
        d.text = keys.value(QStringLiteral("text")).toString();
    if (const std::optional<ChineseConversion> direction = conversionOf(keys))
        d.text = ChineseConverter::shared(*direction).convert(d.text);
    d.angle.set(keys, "angle");
    d.spacing.set(keys, "charSpacing");
    d.size = keys.value(QStringLiteral("size")).toString(d.size);
    d.face = keys.value(QStringLiteral("face")).toString(d.face);
    const QString placement = keys.value(QStringLiteral("placement")).toString();
    if (placement == QLatin1String("horizontal"))
        d.placement = tpHorizontal;
    else if (placement == QLatin1String("vertical"))
        d.placement = tpVertical;
    if (const std::optional<TColor> color = colorOf(keys, "color"))
        d.color = *color;
    if (keys.contains(QStringLiteral("matchFallbackWeight")))
        d.matchFallbackWeight = keys.value(QStringLiteral("matchFallbackWeight")).toBool();
    // The record is taken in the order of the dialog: a size that is not a whole number stops
    // it there, the fields before it taken.
    const auto apply = [&] {
        d.record.Text = Gbk::encode(d.text);
        d.record.Characters = d.text;
        d.record.Angle = d.angle.read();
        d.record.CharSpacing = d.spacing.read();
        d.record.Size = RotatedTextSizeFromText(d.size);
        d.record.FaceName = d.face;
        d.record.Placement = d.placement;
        d.record.Color = d.color;
        d.record.MatchFallbackWeight = d.matchFallbackWeight;
    };
    switch (closeOf(keys)) {
    case Close::Confirm:
        apply();
        d.pending = true;
        break;
    case Close::Apply:
    case Close::Preview:
        apply();
        break;
    case Close::Cancel:
        d.record = TSetSector{};
        break;
    default:
        break;
    }
    if (d.pending)
        warnOf(rotatedTextGaps(d.record));
}

void StepSession::seal(const QJsonObject& keys) {
    Dialogs::Seal& d = dialogs->seal;
    if (keys.contains(QStringLiteral("text")))
        d.editor.setText(keys.value(QStringLiteral("text")).toString());
    if (const std::optional<ChineseConversion> direction = conversionOf(keys))
        d.editor.convertText(ChineseConverter::shared(*direction));
    d.width.set(keys, "width");
    d.height.set(keys, "height");
    d.strokeWeight.set(keys, "strokeWeight");
    d.spacing.set(keys, "charSpacing");
    d.edge.set(keys, "edgeWidth");
    d.angle.set(keys, "angle");
    d.frame.set(keys, "frameWidth");
    d.wear.set(keys, "wear");
    d.seed.set(keys, "seed");
    if (keys.contains(QStringLiteral("ink")))
        d.ink = int(std::max<qsizetype>(0, sealInks.indexOf(keys.value("ink").toString())));
    if (keys.contains(QStringLiteral("smooth")))
        d.smooth = keys.value(QStringLiteral("smooth")).toBool();
    if (keys.contains(QStringLiteral("wearStyle")))
        d.wearStyle = keys.value(QStringLiteral("wearStyle")).toString() == QLatin1String("pressed")
                          ? wsPressed
                          : wsSpecks;
    if (keys.contains(QStringLiteral("paper")))
        d.paper = keys.value(QStringLiteral("paper")).toBool();
    if (keys.contains(QStringLiteral("keepProportions")))
        d.keepProportions = keys.value(QStringLiteral("keepProportions")).toBool();
    if (keys.contains(QStringLiteral("matchFallbackWeight")))
        d.matchFallbackWeight = keys.value(QStringLiteral("matchFallbackWeight")).toBool();
    d.face = keys.value(QStringLiteral("face")).toString(d.face);
    const QString style = keys.value(QStringLiteral("style")).toString();
    if (style == QLatin1String("intaglio"))
        d.style = stIntaglio;
    else if (style == QLatin1String("relief"))
        d.style = stRelief;
    const QString corner = keys.value(QStringLiteral("corner")).toString();
    if (corner == QLatin1String("square"))
        d.corner = cnSquare;
    else if (corner == QLatin1String("rounded"))
        d.corner = cnRounded;
    if (keys.contains(QStringLiteral("arrangement")))
        d.arrangement = Arrangement(keys.value(QStringLiteral("arrangement")).toInt());

    const auto read = [&] {
        TSetStamper& s = d.record;
        s.SealWidth = d.width.read();
        s.SealHeight = d.height.read();
        s.StrokeWeight = d.strokeWeight.read();
        s.CharSpacing = d.spacing.read();
        s.FontName = d.face;
        s.EdgeWidth = d.edge.read();
        s.SealStyle = d.style;
        s.CornerShape = d.corner;
        s.Arrangement = d.arrangement;
        s.SealAngle = d.angle.read();
        s.Ink = SealInk(d.ink);
        s.FrameWidth = d.frame.read();
        s.SmoothEdges = d.smooth;
        s.Wear = d.wear.read();
        s.WearSeed = d.seed.read();
        s.WearStyle = d.wearStyle;
        s.Paper = d.paper;
        s.KeepProportions = d.keepProportions;
        s.MatchFallbackWeight = d.matchFallbackWeight;
    };
    const auto lines = [&] {
        QStringList result;
        for (int i = 0; i < d.editor.lineCount(); ++i)
            result.append(d.editor.lineString(i));
        return result;
    };
    // The preview: the seal drawn from the record and the lines, when there are any.
    const auto preview = [&] {
        read();
        const QStringList text = lines();
        if (text.isEmpty())
            return;
        auto element = std::make_shared<Element>();
        element->kind = ekSeal;
        element->seal = d.record;
        element->sealLines = text;
        element->rendered =
            std::make_shared<const RenderedElement>(renderSealStamp(d.record, text));
        d.renderedGaps = sealGaps(d.record, text);
        d.rendered = std::move(element);
    };
    switch (closeOf(keys)) {
    case Close::Confirm:
        read();
        // A seal without any character arms nothing.
        if (lines().isEmpty()) {
            d.pending = false;
            break;
        }
        preview();
        d.pending = true;
        break;
    case Close::Apply:
    case Close::Preview:
        preview();
        break;
    case Close::Cancel:
        d.record = TSetStamper{};
        break;
    case Close::Clear:
        d.rendered.reset();
        d.renderedGaps.clear();
        d.record = TSetStamper{};
        break;
    case Close::CloseBox:
        break;
    }
    if (d.pending)
        warnOf(d.renderedGaps);
}

void StepSession::shape(ElementKind kind, const QJsonObject& keys) {
    Dialogs::Shape& d = kind == ekCircle ? dialogs->circle : dialogs->fan;
    d.lineWidth.set(keys, "lineWidth");
    d.radius.set(keys, "radius");
    if (kind == ekFan) {
        const QString shape = keys.value(QStringLiteral("shape")).toString();
        if (shape == QLatin1String("leaf"))
            d.ring = false;
        else if (shape == QLatin1String("ring"))
            d.ring = true;
        d.inner.set(keys, "innerRadius");
        d.span.set(keys, "span");
    }
    if (const std::optional<TColor> color = colorOf(keys, "lineColor"))
        d.record().PickedLineColor = *color;
    if (const std::optional<TColor> color = colorOf(keys, "fillColor"))
        d.record().PickedFillColor = *color;

    const auto apply = [&] {
        ShapeSettingsRecord& s = d.record();
        s.LineWidth = d.lineWidth.read();
        s.Radius = d.radius.read();
        s.LineColor = s.PickedLineColor;
        s.FillColor = s.PickedFillColor;
        if (kind == ekFan) {
            d.fanRecord.Shape = d.ring ? fsRing : fsLeaf;
            d.fanRecord.InnerRadius = d.inner.read();
            d.fanRecord.Span = d.span.read();
        }
    };
    // The preview is drawn before it replaces the last one: a shape that cannot be drawn
    // leaves the last picture and arms nothing.
    const auto preview = [&] {
        apply();
        auto element = std::make_shared<Element>();
        element->kind = kind;
        element->circle = d.circle;
        element->fan = d.fanRecord;
        const QJsonValue onColor = keys.value(QStringLiteral("onColor"));
        element->fanOnColor =
            onColor.isBool() ? onColor.toBool() : dialogs->canvas.committed.UseColor;
        element->rendered = std::make_shared<const RenderedElement>(renderElement(*element));
        d.previewed = std::move(element);
    };
    switch (closeOf(keys)) {
    case Close::Confirm:
        preview();
        d.record().PendingPlacement = 1;
        break;
    case Close::Apply:
        apply();
        break;
    case Close::Preview:
        preview();
        break;
    case Close::Cancel:
        // The record back at its defaults, the colours picked with it, nothing armed.
        if (kind == ekCircle)
            d.circle = CircleSettingsRecord{};
        else
            d.fanRecord = FanSettingsRecord{};
        break;
    case Close::Clear:
        d.previewed.reset();
        break;
    case Close::CloseBox:
        break;
    }
}

void StepSession::click(QPoint at) {
    Dialogs& d = *dialogs;
    std::vector<Element> pending;
    if (d.rotated.pending) {
        Element element;
        element.kind = ekRotatedText;
        element.rotated = d.rotated.record;
        pending.push_back(std::move(element));
    }
    const auto add = [&](ElementKind kind, const std::shared_ptr<const Element>& shown) {
        if (shown) {
            pending.push_back(*shown);
        } else {
            Element blank;
            blank.kind = kind;
            blank.blank = true;
            pending.push_back(std::move(blank));
        }
    };
    if (d.seal.pending)
        add(ekSeal, d.seal.rendered);
    if (d.circle.record().PendingPlacement)
        add(ekCircle, d.circle.previewed);
    if (d.fan.record().PendingPlacement)
        add(ekFan, d.fan.previewed);
    if (pending.empty())
        return;
    d.rotated.pending = d.seal.pending = false;
    d.circle.record().PendingPlacement = d.fan.record().PendingPlacement = 0;
    composition.stamp(std::move(pending), at);
}

void StepSession::nudge(const QJsonObject& keys) {
    if (keys.contains(QStringLiteral("dx")) || keys.contains(QStringLiteral("dy"))) {
        // A move by pixels, as a work file writes the moves merged into a step.
        composition.nudge(keys.value(QStringLiteral("dx")).toInt(),
                          keys.value(QStringLiteral("dy")).toInt());
        followMovedText();
        return;
    }
    const QString direction = keys.value(QStringLiteral("direction")).toString();
    const QPoint by = direction == QLatin1String("left")    ? QPoint(-10, 0)
                      : direction == QLatin1String("right") ? QPoint(10, 0)
                      : direction == QLatin1String("up")    ? QPoint(0, -10)
                                                            : QPoint(0, 10);
    const int times = keys.value(QStringLiteral("times")).toInt(1);
    for (int i = 0; i < times; ++i)
        composition.nudge(by.x(), by.y());
    followMovedText();
}

// The text dialog's record follows its block, as in the window, so that the dialog and the
// next nudge start where the block now stands.
void StepSession::followMovedText() {
    const HistoryStep* moved = composition.steps().last();
    if (!moved || !moved->recipe || moved->recipe->kind != Step::Kind::Text)
        return;
    TextSettings& shown = dialogs->text.settings;
    const TextSettings& now = moved->recipe->text;
    shown.LeftMargin = now.LeftMargin;
    shown.TopMargin = now.TopMargin;
    shown.FanShiftX = now.FanShiftX;
    shown.FanShiftY = now.FanShiftY;
}

void StepSession::effect(const QJsonObject& keys) {
    const QString kind = keys.value(QStringLiteral("kind")).toString();
    if (kind == QLatin1String(restoreEntry.scriptName)) {
        composition.restore();
        return;
    }
    // Without a picture an effect changes nothing, as in the window.
    for (const EffectEntry& entry : effectTable)
        if (kind == QLatin1String(entry.scriptName))
            composition.applyEffect(entry.kind);
}

void StepSession::templateStep(const QJsonObject& keys) {
    const WorkTemplate work = workTemplateFromKeys(keys);
    QByteArray picture;
    if (!work.picture.isEmpty()) {
        const auto embedded = files.find(work.picture);
        picture = embedded != files.end()
                      ? embedded->second
                      : files::readRegularFile(path(work.picture), maxEmbeddedPicture).data;
    }
    composition.applyTemplate(work, picture);
    // The canvas dialog holds the template's canvas, which the text size check and the fan
    // read.
    dialogs->canvas.committed = composition.canvasSettings();
}

void composeTemplate(CompositionState& composed, const WorkTemplate& work,
                     const QByteArray& picture) {
    std::map<QString, QByteArray> files;
    if (!work.picture.isEmpty())
        files.emplace(work.picture, picture);
    else if (work.mounted && work.format == WorkFormat::Couplet)
        files.emplace(QString::fromLatin1(coupletPaperName), coupletPaper(work));
    StepSession session(composed, std::move(files), QDir::current());
    const QJsonArray steps = templateSteps(work);
    for (qsizetype i = 0; i < steps.size(); ++i) {
        ScriptStep step;
        step.number = int(i) + 1;
        step.keys = steps[i].toObject();
        step.command = step.keys.take(QStringLiteral("do")).toString();
        session.run(step);
    }
}
