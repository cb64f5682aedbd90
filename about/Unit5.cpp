// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The About box.
#include "Unit5.h"

#include "Colors.h"
#include "DrawingSurface.h"
#include "Emblem.h"

#include <QEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace {

// A label at a fixed place, sized to its text, in the given face, height and colour.
QLabel* placeLabel(QWidget* parent, const QString& name, const QString& text, QPoint at,
                   int characterHeight, TColor color, int weight = 700) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    DrawingSurface::Font request;
    request.name = QStringLiteral("宋体");
    request.height = -characterHeight;
    request.weight = weight;
    label->setFont(resolveFont(request));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, toQColor(color));
    label->setPalette(palette);
    label->move(at);
    label->adjustSize();
    return label;
}

} // namespace

// Wrapped onto two lines between the program's name and its date, right of the emblem.
QString TForm5::licenceText() {
    return tr("本程序是自由软件，按 GNU 通用公共许可证第 3 版或更新版本发布。");
}

// Short enough to end well inside the box in the 16-pixel bold face, also once underlined.
QString TForm5::contactText() {
    return tr("来信交流：tarvel@example.org");
}

TForm5::TForm5(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(tr("作者声明"));
    setFixedSize(360, 260);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(32, 64, EmblemSize, EmblemSize);
    Image1->setPixmap(QPixmap::fromImage(aboutEmblem()));

    Label1 = placeLabel(this, QStringLiteral("Label1"), QStringLiteral("Tarvel V1.0"),
                        QPoint(136, 40), 16, clMaroon);
    Label2 = placeLabel(this, QStringLiteral("Label2"), QStringLiteral("2008.4"), QPoint(224, 136),
                        13, clPurple);
    Label4 =
        placeLabel(this, QStringLiteral("Label4"), licenceText(), QPoint(96, 76), 12, clBlack, 400);
    Label4->setWordWrap(true);
    Label4->resize(LicenceWidth, Label4->heightForWidth(LicenceWidth));
    Label3 =
        placeLabel(this, QStringLiteral("Label3"), contactText(), QPoint(104, 168), 16, clMaroon);
    Label3->setMouseTracking(true);
    Label3->installEventFilter(this);

    Button1 = new QPushButton(tr("确定"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(136, 216, 75, 25);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
}

void TForm5::Label3MouseMove() {
    QFont font = Label3->font();
    font.setBold(true);
    font.setUnderline(true);
    Label3->setFont(font);
    QPalette palette = Label3->palette();
    palette.setColor(QPalette::WindowText, toQColor(clBlue));
    Label3->setPalette(palette);
    Label3->adjustSize();
}

bool TForm5::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Label3 && (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter))
        Label3MouseMove();
    return QDialog::eventFilter(watched, event);
}
