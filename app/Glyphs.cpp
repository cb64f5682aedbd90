#include "Glyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

void drawCharacter(QPainter& p, int size, const QString& text, QColor color, qreal angle = 0) {
    QFont font(QStringLiteral("AR PL KaitiM GB"));
    font.setPixelSize(size * 7 / 8);
    font.setBold(true);
    p.setFont(font);
    p.setPen(color);
    p.save();
    p.translate(size / 2.0, size / 2.0);
    p.rotate(angle);
    p.drawText(QRectF(-size / 2.0, -size / 2.0, size, size), Qt::AlignCenter, text);
    p.restore();
}

void drawArrow(QPainter& p, int s, qreal angle) {
    p.save();
    p.translate(s / 2.0, s / 2.0);
    p.rotate(angle);
    QPainterPath path;
    path.moveTo(-s * 0.4, 0);
    path.lineTo(0, -s * 0.38);
    path.lineTo(0, -s * 0.15);
    path.lineTo(s * 0.4, -s * 0.15);
    path.lineTo(s * 0.4, s * 0.15);
    path.lineTo(0, s * 0.15);
    path.lineTo(0, s * 0.38);
    path.closeSubpath();
    p.setPen(QPen(QColor(20, 60, 140), 1));
    p.setBrush(QColor(70, 130, 210));
    p.drawPath(path);
    p.restore();
}

} // namespace

QPixmap glyphPixmap(Glyph glyph, int s) {
    QPixmap pixmap(s, s);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal u = s / 16.0;
    switch (glyph) {
    case Glyph::NewCanvas:
        p.setPen(QPen(Qt::darkGray, u));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(3 * u, 1.5 * u, 10 * u, 13 * u));
        p.setBrush(QColor(200, 40, 40));
        p.setPen(Qt::NoPen);
        p.drawEllipse(QRectF(9 * u, 9 * u, 6 * u, 6 * u));
        break;
    case Glyph::Undo: {
        QPainterPath path;
        path.moveTo(4 * u, 6 * u);
        path.cubicTo(8 * u, 2 * u, 15 * u, 5 * u, 12 * u, 13 * u);
        p.setPen(QPen(QColor(30, 90, 170), 2 * u));
        p.drawPath(path);
        QPolygonF head({QPointF(1 * u, 6 * u), QPointF(7 * u, 3 * u), QPointF(6 * u, 9 * u)});
        p.setBrush(QColor(30, 90, 170));
        p.setPen(Qt::NoPen);
        p.drawPolygon(head);
        break;
    }
    case Glyph::Clear:
        p.setPen(QPen(QColor(190, 30, 30), 2.2 * u));
        p.drawLine(QPointF(3 * u, 3 * u), QPointF(13 * u, 13 * u));
        p.drawLine(QPointF(13 * u, 3 * u), QPointF(3 * u, 13 * u));
        break;
    case Glyph::Text:
        drawCharacter(p, s, QStringLiteral("文"), Qt::black);
        break;
    case Glyph::RotatedText:
        drawCharacter(p, s, QStringLiteral("旋"), QColor(20, 60, 140), -30);
        break;
    case Glyph::Inscription:
        drawCharacter(p, s, QStringLiteral("款"), QColor(60, 60, 60));
        break;
    case Glyph::Seal:
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(210, 30, 30));
        p.drawRoundedRect(QRectF(1 * u, 1 * u, 14 * u, 14 * u), 2 * u, 2 * u);
        drawCharacter(p, s, QStringLiteral("印"), Qt::white);
        break;
    case Glyph::Circle:
        p.setPen(QPen(Qt::black, 1.5 * u));
        p.setBrush(QColor(250, 240, 210));
        p.drawEllipse(QRectF(2 * u, 2 * u, 12 * u, 12 * u));
        break;
    case Glyph::Fan: {
        QPainterPath path;
        path.moveTo(1 * u, 6 * u);
        path.quadTo(8 * u, -1 * u, 15 * u, 6 * u);
        path.lineTo(10 * u, 14 * u);
        path.quadTo(8 * u, 12.5 * u, 6 * u, 14 * u);
        path.closeSubpath();
        p.setPen(QPen(QColor(110, 70, 30), 1.2 * u));
        p.setBrush(QColor(245, 225, 170));
        p.drawPath(path);
        break;
    }
    case Glyph::Effects: {
        QPolygonF star;
        for (int i = 0; i < 10; ++i) {
            const qreal r = (i % 2 ? 3 : 7) * u;
            const qreal a = (i * 36 - 90) * M_PI / 180.0;
            star << QPointF(8 * u + r * std::cos(a), 8 * u + r * std::sin(a));
        }
        p.setPen(QPen(QColor(160, 110, 0), u));
        p.setBrush(QColor(255, 200, 40));
        p.drawPolygon(star);
        break;
    }
    case Glyph::Save:
        p.setPen(QPen(QColor(20, 40, 90), u));
        p.setBrush(QColor(60, 90, 170));
        p.drawRect(QRectF(2 * u, 2 * u, 12 * u, 12 * u));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5 * u, 2 * u, 7 * u, 5 * u));
        p.setBrush(QColor(200, 200, 200));
        p.drawRect(QRectF(4.5 * u, 9.5 * u, 7 * u, 4.5 * u));
        break;
    case Glyph::Left:
        drawArrow(p, s, 0);
        break;
    case Glyph::Up:
        drawArrow(p, s, 90);
        break;
    case Glyph::Right:
        drawArrow(p, s, 180);
        break;
    case Glyph::Down:
        drawArrow(p, s, 270);
        break;
    case Glyph::Window:
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(250, 244, 228));
        p.drawRoundedRect(QRectF(0, 0, s, s), 3 * u, 3 * u);
        drawCharacter(p, s, QStringLiteral("书"), Qt::black);
        p.setBrush(QColor(210, 30, 30));
        p.drawRect(QRectF(11 * u, 11 * u, 4 * u, 4 * u));
        break;
    }
    return pixmap;
}

QIcon glyphIcon(Glyph glyph) {
    QIcon icon;
    icon.addPixmap(glyphPixmap(glyph, 16));
    icon.addPixmap(glyphPixmap(glyph, 32));
    if (glyph == Glyph::Window) {
        icon.addPixmap(glyphPixmap(glyph, 48));
        icon.addPixmap(glyphPixmap(glyph, 128));
    }
    return icon;
}
