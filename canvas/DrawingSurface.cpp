// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The drawing surface: shapes are rasterised here row by row so that outlines, fills and
// keyed pictures are exact to the pixel; text goes through QPainter with cached fonts.
#include "DrawingSurface.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>
#include <QScreen>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <unordered_map>
#include <vector>

int screenPixelsPerInch() {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            return qRound(screen->logicalDotsPerInchY());
    }
    return 96;
}

void DrawingSurface::Font::setSizePoints(int points) {
    height = -qRound(points * screenPixelsPerInch() / 72.0);
}

int DrawingSurface::Font::sizePoints() const {
    return qRound(std::abs(height) * 72.0 / screenPixelsPerInch());
}

namespace {

// Every pixel of a surface is reached through one row of it: 24-bit rows hold blue, green and
// red bytes, 32-bit rows 0xFFRRGGBB words. Colours go in and out as 0x00RRGGBB.
template <class Byte> class PixelRow {
public:
    PixelRow(Byte* bits, bool bit24) : bits(bits), bit24(bit24) {}
    template <class Image>
    PixelRow(Image& image, int y)
        : bits(image.scanLine(y)), bit24(image.format() == QImage::Format_BGR888) {}

    QRgb rgb(int x) const {
        if (bit24) {
            const uchar* p = bits + 3 * x;
            return QRgb(p[2]) << 16 | QRgb(p[1]) << 8 | QRgb(p[0]);
        }
        return reinterpret_cast<const QRgb*>(bits)[x] & 0xFFFFFF;
    }
    void setRgb(int x, QRgb rgb) {
        if (bit24) {
            uchar* p = bits + 3 * x;
            p[0] = uchar(rgb);
            p[1] = uchar(rgb >> 8);
            p[2] = uchar(rgb >> 16);
        } else {
            reinterpret_cast<QRgb*>(bits)[x] = rgb | 0xFF000000u;
        }
    }
    // The pixels from x0 up to x1, x1 left out.
    void fill(int x0, int x1, QRgb rgb) {
        if (bit24) {
            for (int x = x0; x < x1; ++x)
                setRgb(x, rgb);
        } else {
            std::fill(reinterpret_cast<QRgb*>(bits) + x0, reinterpret_cast<QRgb*>(bits) + x1,
                      rgb | 0xFF000000u);
        }
    }

private:
    Byte* bits;
    bool bit24;
};
using ConstPixelRow = PixelRow<const uchar>;

} // namespace

namespace {

constexpr int maxFontPixels = 8192;

} // namespace

void installFontSubstitutions() {
    static bool done = false;
    if (done)
        return;
    done = true;
    // The classic Song face of Chinese systems, served by the Song-style faces Debian ships.
    const QStringList song = {QStringLiteral("AR PL SungtiL GB"), QStringLiteral("AR PL UMing CN"),
                              QStringLiteral("AR PL UMing TW"), QStringLiteral("LXGW WenKai")};
    QFont::insertSubstitutions(QStringLiteral("宋体"), song);
    QFont::insertSubstitutions(QStringLiteral("SimSun"), song);
    QFont::insertSubstitutions(QStringLiteral("新宋体"), song);
    const QStringList kai = {QStringLiteral("AR PL KaitiM GB"), QStringLiteral("AR PL UKai CN"),
                             QStringLiteral("LXGW WenKai")};
    QFont::insertSubstitutions(QStringLiteral("楷体"), kai);
    QFont::insertSubstitutions(QStringLiteral("楷体_GB2312"), kai);
    QFont::insertSubstitutions(QStringLiteral("KaiTi"), kai);
}

namespace {

// What makes two font requests resolve to the same QFont (colour, character set and
// escapement do not).
struct FontKey {
    QString name;
    int height = 0;
    int width = 0;
    int weight = 0;
    int pitch = 0;
    bool italic = false;
    bool underline = false;
    bool strikeout = false;

    explicit FontKey(const DrawingSurface::Font& f)
        : name(f.name), height(f.height), width(f.width), weight(f.weight), pitch(f.pitch),
          italic(f.italic), underline(f.underline), strikeout(f.strikeout) {}
    bool operator==(const FontKey&) const = default;
};

size_t qHash(const FontKey& key, size_t seed = 0) {
    return qHashMulti(seed, key.name, key.height, key.width, key.weight, key.pitch, key.italic,
                      key.underline, key.strikeout);
}

// A resolved font with the metrics text out and measuring need, so that neither builds a
// QFontMetrics (and looks the engine up again) for every character.
struct ResolvedFont {
    QFont font;
    QFontMetrics metrics;
};

// Pixel size whose cell (ascent + descent) is as close as possible to cellHeight.
int pixelSizeForCellHeight(QFont font, int cellHeight) {
    font.setPixelSize(std::clamp(cellHeight, 1, maxFontPixels));
    const int cell = std::max(1, QFontMetrics(font).height());
    int size = std::clamp(qRound(double(cellHeight) * cellHeight / cell), 1, maxFontPixels);
    // The metrics are not exactly linear in the size: settle on the largest size whose
    // cell does not exceed the request.
    for (int tries = 0; tries < 4; ++tries) {
        font.setPixelSize(size);
        const int h = QFontMetrics(font).height();
        if (h > cellHeight && size > 1)
            --size;
        else
            break;
    }
    return size;
}

} // namespace

namespace {

// The width a request names is half the advance of a full-width ideograph (一 U+4E00) in the
// face: the measure a seal's cell is made for. The older Song and Kai faces state exactly that
// as their average character width (512 of 1024 units) and measure the same at every size;
// faces made since average over all their glyphs and state nearly a whole em, which would
// squeeze their characters to half a cell. A face without the ideograph keeps its average.
int naturalHalfWidth(const QFont& font) {
    const QRawFont face = QRawFont::fromFont(font);
    if (face.isValid() && face.supportsCharacter(char32_t(0x4E00))) {
        const QList<QPointF> advances =
            face.advancesForGlyphIndexes(face.glyphIndexesForString(QString(QChar(0x4E00))));
        if (!advances.isEmpty() && advances.first().x() > 0)
            return std::max(1, qRound(advances.first().x() / 2));
    }
    return std::max(1, QFontMetrics(font).averageCharWidth());
}

QFont buildFont(const DrawingSurface::Font& f) {
    installFontSubstitutions();
    QFont font(f.name);
    font.setWeight(QFont::Weight(std::clamp(f.weight <= 0 ? 400 : f.weight, 1, 1000)));
    font.setItalic(f.italic);
    font.setUnderline(f.underline);
    font.setStrikeOut(f.strikeout);
    if (f.pitch == 1)
        font.setFixedPitch(true);
    font.setHintingPreference(QFont::PreferNoHinting);
    if (f.height < 0)
        font.setPixelSize(std::min(-f.height, maxFontPixels));
    else if (f.height > 0)
        font.setPixelSize(pixelSizeForCellHeight(font, f.height));
    else
        font.setPixelSize(qRound(8 * screenPixelsPerInch() / 72.0));
    if (f.width > 0) {
        font.setStretch(std::clamp(qRound(f.width * 100.0 / naturalHalfWidth(font)), 1, 4000));
    }
    return font;
}

// Each distinct request is resolved once. The first lookup also loads the engines for Latin
// and Han text through the metrics, so that later drawing never resolves them again.
const ResolvedFont& resolvedFont(const DrawingSurface::Font& f) {
    struct Hash {
        size_t operator()(const FontKey& key) const { return qHash(key); }
    };
    static std::unordered_map<FontKey, ResolvedFont, Hash> cache;
    FontKey key(f);
    auto it = cache.find(key);
    if (it != cache.end())
        return it->second;
    if (cache.size() > 4096)
        cache.clear();
    const QFont font = buildFont(f);
    ResolvedFont resolved{font, QFontMetrics(font)};
    (void)resolved.metrics.height();
    (void)resolved.metrics.horizontalAdvance(QChar(u'a'));
    (void)resolved.metrics.horizontalAdvance(QChar(0x4E2D));
    return cache.emplace(std::move(key), std::move(resolved)).first->second;
}

} // namespace

QImage newImage(QSize size, QImage::Format format) {
    return allocated(QImage(size, format), size);
}

QImage allocated(QImage image, QSize asked) {
    if (image.isNull() && !asked.isEmpty())
        throw std::bad_alloc();
    return image;
}

QFont resolveFont(const DrawingSurface::Font& f) {
    return resolvedFont(f).font;
}

DrawingSurface::DrawingSurface(int width, int height, Format fmt) {
    image_ = QImage(std::max(width, 0), std::max(height, 0),
                    fmt == Format::Bit24 ? QImage::Format_BGR888 : QImage::Format_RGB32);
    // Qt answers a failed allocation with an empty picture; a command must not go on as if
    // it had drawn.
    if (image_.isNull() && width > 0 && height > 0)
        throw std::bad_alloc();
    image_.fill(Qt::white);
}

DrawingSurface::DrawingSurface(const QImage& image) : image_(image) {
    if (!image_.isNull() && image_.format() != QImage::Format_RGB32 &&
        image_.format() != QImage::Format_BGR888)
        image_ = image_.convertToFormat(QImage::Format_RGB32);
}

DrawingSurface DrawingSurface::withAlpha(const QImage& image) {
    DrawingSurface surface;
    surface.image_ = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    return surface;
}

void DrawingSurface::setSize(int w, int h) {
    w = std::max(w, 0);
    h = std::max(h, 0);
    if (image_.isNull()) {
        image_ = newImage(QSize(w, h), QImage::Format_RGB32);
        if (!image_.isNull())
            image_.fill(Qt::white);
        return;
    }
    if (w == image_.width() && h == image_.height())
        return;
    QImage grown = newImage(QSize(w, h), image_.format());
    if (grown.isNull()) {
        image_ = QImage();
        return;
    }
    grown.fill(toQColor(brush.color));
    const int rows = std::min(h, image_.height());
    const int bytes = std::min(w, image_.width()) * (image_.depth() / 8);
    for (int y = 0; y < rows; ++y)
        std::memcpy(grown.scanLine(y), image_.constScanLine(y), bytes);
    image_ = std::move(grown);
}

void DrawingSurface::clear() {
    image_ = QImage();
}

DrawingSurface::Format DrawingSurface::format() const {
    return image_.format() == QImage::Format_BGR888 ? Format::Bit24 : Format::Bit32;
}

void DrawingSurface::setFormat(Format fmt) {
    if (image_.isNull())
        return;
    const QImage::Format wanted =
        fmt == Format::Bit24 ? QImage::Format_BGR888 : QImage::Format_RGB32;
    if (image_.format() != wanted)
        image_ = image_.convertToFormat(wanted);
}

TColor DrawingSurface::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width() || y >= height())
        return clBlack;
    return fromRgb(ConstPixelRow(image_, y).rgb(x));
}

void DrawingSurface::setPixel(int x, int y, TColor color) {
    if (x < 0 || y < 0 || x >= width() || y >= height())
        return;
    PixelRow<uchar>(image_, y).setRgb(x, toRgb(color));
}

TColor DrawingSurface::effectiveTransparentColor() const {
    if (transparentColor)
        return *transparentColor;
    if (isEmpty())
        return clWhite;
    return pixel(0, height() - 1);
}

void DrawingSurface::ensureBitmap() {
    if (!image_.isNull() && image_.format() != QImage::Format_RGB32 &&
        image_.format() != QImage::Format_BGR888)
        image_ = image_.convertToFormat(QImage::Format_RGB32);
}

namespace {

// Writes one colour over a run of pixels of a 24- or 32-bit row.
void fillRun(QImage& image, int y, int x0, int x1, QRgb rgb) {
    x0 = std::max(x0, 0);
    x1 = std::min(x1, image.width());
    if (y < 0 || y >= image.height() || x0 >= x1)
        return;
    PixelRow<uchar>(image, y).fill(x0, x1, rgb);
}

// A box with right and bottom exclusive and elliptic corners of radii rx, ry (an ellipse
// when they are half the box, a rectangle when they are 0). span() gives the pixels of row
// y whose centres lie inside.
struct RoundedBox {
    double left, top, right, bottom, rx, ry;

    bool span(int y, int& x0, int& x1) const {
        const double yc = y + 0.5;
        if (right <= left || bottom <= top || yc < top || yc > bottom)
            return false;
        double lo = left, hi = right;
        double dy = 0;
        if (ry > 0 && yc < top + ry)
            dy = (top + ry - yc) / ry;
        else if (ry > 0 && yc > bottom - ry)
            dy = (yc - (bottom - ry)) / ry;
        if (dy > 0 && rx > 0) {
            const double dx = rx * std::sqrt(std::max(0.0, 1.0 - dy * dy));
            lo = left + rx - dx;
            hi = right - rx + dx;
        }
        constexpr double eps = 1e-9;
        x0 = int(std::ceil(lo - 0.5 - eps));
        x1 = int(std::floor(hi - 0.5 + eps)) + 1;
        return x1 > x0;
    }
};

} // namespace

void DrawingSurface::fillRect(int left, int top, int right, int bottom) {
    ensureBitmap();
    if (image_.isNull())
        return;
    const QRgb rgb = toRgb(brush.color);
    for (int y = std::max(top, 0); y < std::min(bottom, height()); ++y)
        fillRun(image_, y, left, right, rgb);
}

void DrawingSurface::fillSpans(int left, int top, int right, int bottom, double rx, double ry,
                               int penWidth) {
    ensureBitmap();
    if (image_.isNull())
        return;
    const int w = std::max(penWidth, 1);
    const int grow = (w - 1) / 2;
    const RoundedBox outer{double(left - grow),   double(top - grow),     double(right + grow),
                           double(bottom + grow), rx > 0 ? rx + grow : 0, ry > 0 ? ry + grow : 0};
    const int shrink = w - grow;
    const RoundedBox inner{double(left + shrink),      double(top + shrink),
                           double(right - shrink),     double(bottom - shrink),
                           std::max(0.0, rx - shrink), std::max(0.0, ry - shrink)};
    const QRgb penRgb = toRgb(pen.color);
    const QRgb brushRgb = toRgb(brush.color);
    const bool fill = brush.style == BrushStyle::Solid;
    const int y0 = std::max(top - grow, 0);
    const int y1 = std::min(bottom + grow, height());
    for (int y = y0; y < y1; ++y) {
        int o0, o1;
        if (!outer.span(y, o0, o1))
            continue;
        int i0, i1;
        if (inner.span(y, i0, i1)) {
            i0 = std::max(i0, o0);
            i1 = std::min(i1, o1);
            fillRun(image_, y, o0, i0, penRgb);
            if (fill)
                fillRun(image_, y, i0, i1, brushRgb);
            fillRun(image_, y, i1, o1, penRgb);
        } else {
            fillRun(image_, y, o0, o1, penRgb);
        }
    }
}

void DrawingSurface::rectangle(int left, int top, int right, int bottom) {
    fillSpans(left, top, right, bottom, 0, 0, pen.width);
}

void DrawingSurface::roundRect(int left, int top, int right, int bottom, int ellipseWidth,
                               int ellipseHeight) {
    const double rx = std::min(std::abs(ellipseWidth), std::abs(right - left)) / 2.0;
    const double ry = std::min(std::abs(ellipseHeight), std::abs(bottom - top)) / 2.0;
    fillSpans(left, top, right, bottom, rx, ry, pen.width);
}

void DrawingSurface::ellipse(int left, int top, int right, int bottom) {
    fillSpans(left, top, right, bottom, (right - left) / 2.0, (bottom - top) / 2.0, pen.width);
}

void DrawingSurface::arc(int left, int top, int right, int bottom, int startX, int startY, int endX,
                         int endY) {
    ensureBitmap();
    if (image_.isNull() || right <= left || bottom <= top)
        return;
    const double cx = (left + right) / 2.0, cy = (top + bottom) / 2.0;
    const double a = (right - left) / 2.0, b = (bottom - top) / 2.0;
    // The points give rays from the centre; Qt's angles are parametric on the ellipse.
    auto angleOf = [&](int x, int y) {
        return std::atan2((cy - y) / b, (x - cx) / a) * 180.0 / M_PI;
    };
    const double start = angleOf(startX, startY);
    double span = angleOf(endX, endY) - start;
    while (span <= 0)
        span += 360.0;
    QPainter painter(&image_);
    painter.setRenderHint(QPainter::Antialiasing, false);
    QPen qpen(toQColor(pen.color));
    qpen.setWidth(std::max(pen.width, 1) == 1 ? 0 : pen.width);
    qpen.setCapStyle(Qt::FlatCap);
    painter.setPen(qpen);
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRectF(left, top, right - left - 1, bottom - top - 1), qRound(start * 16),
                    qRound(span * 16));
}

void DrawingSurface::moveTo(int x, int y) {
    penPos = QPoint(x, y);
}

void DrawingSurface::lineTo(int x, int y) {
    ensureBitmap();
    const QPoint from = penPos;
    penPos = QPoint(x, y);
    if (image_.isNull())
        return;
    if (pen.width > 1) {
        QPainter painter(&image_);
        painter.setRenderHint(QPainter::Antialiasing, false);
        QPen qpen(toQColor(pen.color));
        qpen.setWidth(pen.width);
        painter.setPen(qpen);
        painter.drawLine(from, QPoint(x, y));
        return;
    }
    // Bresenham, end point excluded.
    const QRgb rgb = toRgb(pen.color);
    int x0 = from.x(), y0 = from.y();
    const int dx = std::abs(x - x0), dy = -std::abs(y - y0);
    const int sx = x0 < x ? 1 : -1, sy = y0 < y ? 1 : -1;
    int err = dx + dy;
    while (!(x0 == x && y0 == y)) {
        fillRun(image_, y0, x0, x0 + 1, rgb);
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

void DrawingSurface::floodFill(int x, int y, TColor borderColor) {
    ensureBitmap();
    if (image_.isNull() || x < 0 || y < 0 || x >= width() || y >= height())
        return;
    const TColor border = fromRgb(toRgb(borderColor));
    if (pixel(x, y) == border)
        return;
    const int w = width(), h = height();
    const QRgb fillRgb = toRgb(brush.color);
    std::vector<uint8_t> done(size_t(w) * size_t(h), 0);
    const QRgb borderRgb = toRgb(border) & 0xFFFFFF;
    auto isBorder = [&](const ConstPixelRow& row, int px) { return row.rgb(px) == borderRgb; };
    // Scanline fill: each stack entry is a seed pixel; its whole run is filled at once and
    // the rows above and below are scanned for new runs.
    std::vector<QPoint> stack;
    stack.emplace_back(x, y);
    while (!stack.empty()) {
        const QPoint seed = stack.back();
        stack.pop_back();
        const int sy = seed.y();
        uint8_t* doneRow = done.data() + size_t(sy) * w;
        if (doneRow[seed.x()])
            continue;
        const ConstPixelRow row(std::as_const(image_), sy);
        int left = seed.x(), right = seed.x();
        while (left > 0 && !doneRow[left - 1] && !isBorder(row, left - 1))
            --left;
        while (right + 1 < w && !doneRow[right + 1] && !isBorder(row, right + 1))
            ++right;
        std::memset(doneRow + left, 1, size_t(right - left + 1));
        fillRun(image_, sy, left, right + 1, fillRgb);
        for (int ny : {sy - 1, sy + 1}) {
            if (ny < 0 || ny >= h)
                continue;
            const ConstPixelRow nrow(std::as_const(image_), ny);
            const uint8_t* ndone = done.data() + size_t(ny) * w;
            bool inRun = false;
            for (int px = left; px <= right; ++px) {
                const bool open = !ndone[px] && !isBorder(nrow, px);
                if (open && !inRun)
                    stack.emplace_back(px, ny);
                inRun = open;
            }
        }
    }
}

void DrawingSurface::textOut(int x, int y, const QString& text) {
    ensureBitmap();
    if (image_.isNull() || text.isEmpty())
        return;
    const ResolvedFont& resolved = resolvedFont(font);
    const QFontMetrics& metrics = resolved.metrics;
    QPainter painter(&image_);
    painter.setFont(resolved.font);
    if (font.escapement != 0) {
        painter.translate(x, y);
        painter.rotate(-font.escapement / 10.0);
        x = 0;
        y = 0;
    }
    if (brush.style == BrushStyle::Solid)
        painter.fillRect(QRect(x, y, metrics.horizontalAdvance(text), metrics.height()),
                         toQColor(brush.color));
    painter.setPen(toQColor(font.color));
    if (font.thickening <= 0) {
        painter.drawText(x, y + metrics.ascent(), text);
        return;
    }
    // The outline filled and stroked: each stem grows by the pen's width, half on either side.
    QPainterPath outline;
    outline.addText(x, y + metrics.ascent(), resolved.font, text);
    painter.setRenderHint(QPainter::Antialiasing,
                          !(resolved.font.styleStrategy() & QFont::NoAntialias));
    const QColor colour = toQColor(font.color);
    painter.setPen(QPen(colour, font.thickening, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(colour);
    painter.drawPath(outline);
}

int DrawingSurface::textWidth(const QString& text) {
    const QFontMetrics& metrics = resolvedFont(font).metrics;
    // One character needs no shaping: its advance comes straight from the engine.
    if (text.size() == 1)
        return metrics.horizontalAdvance(text.front());
    return metrics.horizontalAdvance(text);
}

int DrawingSurface::textHeight(const QString& text) {
    Q_UNUSED(text);
    return resolvedFont(font).metrics.height();
}

void DrawingSurface::textOutWithFont(int x, int y, const QString& text, const Font& temporaryFont) {
    const Font own = font;
    const BrushStyle ownBrush = brush.style;
    font = temporaryFont;
    brush.style = BrushStyle::Clear;
    textOut(x, y, text);
    font = own;
    brush.style = ownBrush;
}

namespace {

// Reads pixel x of a 24- or 32-bit row as 0x00RRGGBB.
QImage usableSource(const QImage& image) {
    if (image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_BGR888 ||
        image.format() == QImage::Format_ARGB32)
        return image;
    return image.convertToFormat(QImage::Format_RGB32);
}

// Copies (or draws, leaving out the key colour) sourceRect of src scaled onto dest, sampling
// the nearest source pixel; everything is clipped to the destination.
void copyScaled(QImage& dst, const QRect& dest, const QImage& srcImage, const QRect& sourceRect,
                const QRgb* key) {
    if (dst.isNull() || srcImage.isNull() || dest.width() <= 0 || dest.height() <= 0 ||
        sourceRect.width() <= 0 || sourceRect.height() <= 0)
        return;
    const QImage src = usableSource(srcImage);
    const bool dst24 = dst.format() == QImage::Format_BGR888;
    const bool src24 = src.format() == QImage::Format_BGR888;
    const QRect clipped = dest.intersected(dst.rect());
    if (clipped.isEmpty())
        return;
    const bool oneToOne = dest.size() == sourceRect.size();
    const int bpp = dst24 ? 3 : 4;
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        const int sy =
            sourceRect.top() + int((qint64(y - dest.top()) * sourceRect.height()) / dest.height());
        if (sy < 0 || sy >= src.height())
            continue;
        const uchar* srow = src.constScanLine(sy);
        uchar* drow = dst.scanLine(y);
        if (oneToOne && !key && dst24 == src24) {
            // Straight row copy of the part that lies inside the source.
            int x0 = clipped.left(), x1 = clipped.right() + 1;
            const int shift = sourceRect.left() - dest.left();
            x0 = std::max(x0, -shift);
            x1 = std::min(x1, src.width() - shift);
            if (x1 > x0)
                std::memcpy(drow + size_t(x0) * bpp, srow + size_t(x0 + shift) * bpp,
                            size_t(x1 - x0) * bpp);
            continue;
        }
        for (int x = clipped.left(); x <= clipped.right(); ++x) {
            const int sx = sourceRect.left() +
                           int((qint64(x - dest.left()) * sourceRect.width()) / dest.width());
            if (sx < 0 || sx >= src.width())
                continue;
            const QRgb rgb = ConstPixelRow(srow, src24).rgb(sx);
            if (key && rgb == *key)
                continue;
            PixelRow<uchar>(drow, dst24).setRgb(x, rgb);
        }
    }
}

} // namespace

QImage DrawingSurface::keyedForDisplay() const {
    if (!transparent || isEmpty() || hasAlpha())
        return image_;
    QImage shown = image_.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = toRgb(effectiveTransparentColor()) & 0xFFFFFF;
    for (int y = 0; y < shown.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(shown.scanLine(y));
        for (int x = 0; x < shown.width(); ++x)
            if ((row[x] & 0xFFFFFF) == key)
                row[x] = 0;
    }
    return shown;
}

void DrawingSurface::draw(int x, int y, const DrawingSurface& picture) {
    if (picture.isEmpty())
        return;
    stretchDraw(QRect(x, y, picture.width(), picture.height()), picture);
}

void DrawingSurface::stretchDraw(const QRect& dest, const DrawingSurface& picture) {
    ensureBitmap();
    if (picture.isEmpty())
        return;
    if (picture.hasAlpha()) {
        if (image_.isNull())
            return;
        // Source over: each pixel's coverage blends it with the canvas beneath.
        QPainter painter(&image_);
        painter.drawImage(dest, picture.image());
        return;
    }
    if (picture.transparent) {
        const QRgb key = toRgb(picture.effectiveTransparentColor()) & 0xFFFFFF;
        copyScaled(image_, dest, picture.image(), picture.image().rect(), &key);
    } else {
        copyScaled(image_, dest, picture.image(), picture.image().rect(), nullptr);
    }
}

void DrawingSurface::blockCopy(int x, int y, const DrawingSurface& source) {
    ensureBitmap();
    if (source.isEmpty())
        return;
    copyScaled(image_, QRect(x, y, source.width(), source.height()), source.image(),
               source.image().rect(), nullptr);
}

void DrawingSurface::copyRect(const QRect& dest, const DrawingSurface& source,
                              const QRect& sourceRect) {
    ensureBitmap();
    copyScaled(image_, dest, source.image(), sourceRect, nullptr);
}
