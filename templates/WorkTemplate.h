// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Works laid out in one step by the conventions of Chinese calligraphy: a couplet with its
// 横批, a hanging scroll (条幅), a central scroll (中堂), a square (斗方), a horizontal work
// (横幅) or a folding fan (扇面), with the inscription and the seals placed where a calligrapher
// puts them. The layout is computed here and handed to the window as ordinary script steps, so
// every element is an ordinary step of the history.
#pragma once

#include "Colors.h"
#include "FanTextLayout.h"
#include "TextSettings.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QPoint>
#include <QPointF>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <optional>
#include <vector>

enum class WorkFormat { Couplet, HangingScroll, CentralScroll, Square, Horizontal, Fan };

// A paper: its long and short side in centimetres. A horizontal work lies on its long side.
struct PaperSize {
    const char* name;
    double longCm;
    double shortCm;
};
inline constexpr PaperSize standardPapers[] = {
    {QT_TRANSLATE_NOOP("Templates", "四尺整张"), 138, 69},
    {QT_TRANSLATE_NOOP("Templates", "四尺对开"), 138, 34},
    {QT_TRANSLATE_NOOP("Templates", "斗方"), 69, 69},
    {QT_TRANSLATE_NOOP("Templates", "对联"), 180, 30},
    {QT_TRANSLATE_NOOP("Templates", "扇面"), 66, 33}};

struct WorkTemplate {
    WorkFormat format = WorkFormat::HangingScroll;
    double longCm = 138;
    double shortCm = 34;
    int dpi = 0; // 0: the largest resolution at which the work fits the largest canvas
    TColor ground = 0x00E6F2F8; // the colour of rice paper
    QString picture;            // a background picture instead of the ground colour
    TColor ink = clBlack;
    QString face = QStringLiteral("AR PL UKai CN");
    QString text;   // the main text; a couplet's two lines are 上联 and 下联
    QString banner; // a couplet's 横批
    QString upper;  // 上款, the one the work is for
    QString lower;  // 下款, the writer and the date
    QString nameSeal;
    QString leadingSeal; // 引首章
    // The conventions of the text blocks: how punctuation sits in the columns, and 0-9 written
    // as Chinese numerals (〇一二…, in the inscription too, where dates are written).
    VerticalPunctuation punctuation = vpVertical;
    bool chineseDigits = true;
    // 扇面: the ring's angle in whole degrees and its columns.
    int fanSpan = 140;
    FanColumns fanColumns = fcLongShort;
    // Laid out to be mounted: the text divided and sized by the paper, the inscription and the
    // seals in proportion, the seals cut and pressed. Off, a work keeps the layout it was
    // first composed with.
    bool mounted = false;
};

// Where everything lands, in canvas pixels.
struct TemplateLayout {
    QSize canvas;
    int dpi = 0;
    struct Block {
        QString text; // columns (or a row) separated by line breaks
        int points = 0;
        int em = 0; // the characters' pixel size
        int arrangement = 3;
        int leftMargin = 0; // from the right edge: every block reads right to left
        int topMargin = 0;
        int charSpacing = 0;
        int lineSpacing = 0;
        QSize extent;
        bool fan = false; // laid out in the arrangement 扇面 inside the ring
    };
    std::vector<Block> blocks;
    struct Line {
        QString text;
        int size = 0; // pixels
        int charSpacing = 0;
        QPoint at; // top-left of the first character; the line runs downwards
    };
    std::vector<Line> inscriptions;
    struct Seal {
        QString text;
        QSize size;
        QPoint at; // top-left of the stamped picture
        bool intaglio = true;
        int angle = 0; // degrees, counter-clockwise
    };
    std::vector<Seal> seals;
    // 扇面: the folding-fan ring stamped at a point, and where its text lands in it.
    struct Fan {
        FanRing ring; // its centre on the canvas
        int lineWidth = 2;
        QPoint at; // top-left of the ring's picture
        FanTextPlan plan;
    };
    std::optional<Fan> fan;
};

// The pixel width and height of the canvas for a paper at a resolution.
QSize paperPixels(double widthCm, double heightCm, int dpi);
// The largest whole resolution at which a paper fits the largest canvas (4000 pixels a side).
int fittingDpi(double longCm);

// The picture a work takes, in centimetres (a couplet's two strips and banner together), and
// the resolution it is composed at.
QSizeF workCentimetres(const WorkTemplate& work);
int workDpi(const WorkTemplate& work);

// Lays the work out; throws TarvelError with a Chinese message that says what does not fit.
TemplateLayout layoutTemplate(const WorkTemplate& work);
// The work a script's "template" step describes (its keys as checked by the script reader).
WorkTemplate workTemplateFromKeys(const QJsonObject& keys);
// The names of the formats in scripts and in the template dialog, in the order of WorkFormat.
inline const char* const workFormatKeys[] = {"couplet", "scroll",     "central",
                                             "square",  "horizontal", "fan"};
inline const char* const workFormatCaptions[] = {
    QT_TRANSLATE_NOOP("Templates", "对联"), QT_TRANSLATE_NOOP("Templates", "条幅"),
    QT_TRANSLATE_NOOP("Templates", "中堂"), QT_TRANSLATE_NOOP("Templates", "斗方"),
    QT_TRANSLATE_NOOP("Templates", "横幅"), QT_TRANSLATE_NOOP("Templates", "扇面")};
// 扇面: the ring's inner radius in parts of its outer one.
inline constexpr double fanInnerShare = 0.45;
// Where the centre of a seal of this size lies in its picture turned by an angle (degrees,
// counter-clockwise), from the picture's top-left: the seal sits in the top-left of a square
// as wide as its diagonal, which is turned about its centre.
QPointF turnedSealCentre(QSize seal, int angle);
// The columns a fan is written in: long and short columns of a mounted work start level (齐头).
FanColumns fanColumnsOf(const WorkTemplate& work);
// Mounted, 竖排 sets brackets against the text they enclose.
VerticalPunctuation punctuationOf(const WorkTemplate& work);
// The paper each format takes unless another is chosen (an index into standardPapers).
int defaultPaperOf(WorkFormat format);

// A mounted couplet's paper: its three strips on a white wall, as a PNG the size of the work,
// handed to its canvas step under this name.
inline constexpr char coupletPaperName[] = "couplet-paper.png";
QByteArray coupletPaper(const WorkTemplate& work);

// The script steps that compose the work: the canvas, the text blocks, each inscription and
// seal with the click that stamps it.
QJsonArray templateSteps(const WorkTemplate& work);
