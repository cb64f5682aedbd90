// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The main window: its toolbars, menus, work area and status bar, and its creation steps.
#include "Unit1.h"

#include "ErrorBoundary.h"
#include "FontFallback.h"
#include "Glyphs.h"
#include "HelpController.h"
#include "ImageControl.h"
#include "Toolbars.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QProxyStyle>
#include <QPushButton>
#include <QScrollArea>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QWindow>
#include <algorithm>

QString programFolder() {
    QString folder =
        QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath()).path();
    if (folder.isEmpty() || folder == QStringLiteral("."))
        folder = QCoreApplication::applicationDirPath();
    folder = QDir::toNativeSeparators(folder);
    if (!folder.endsWith(QDir::separator()))
        folder += QDir::separator();
    return folder;
}

namespace {

constexpr int outerWidth = 736;
constexpr int outerHeight = 599;

QPushButton* addBitButton(QToolBar* bar, const QString& name, Glyph glyph, const QString& caption,
                          const QString& tip) {
    auto* button = new QPushButton(glyphIcon(glyph), caption, bar);
    button->setObjectName(name);
    button->setIconSize(QSize(16, 16));
    // 60 pixels wide as designed; a longer caption in another language widens the button
    // rather than being cut.
    const QStyle* style = button->style();
    const int captionWidth = button->fontMetrics().horizontalAdvance(caption) +
                             button->iconSize().width() + 4 +
                             style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button) +
                             2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button);
    button->setFixedSize(std::max(60, captionWidth), 22);
    button->setToolTip(tip);
    bar->addWidget(button);
    return button;
}

// The style's margins around toolbar items are meant for taller bars: in the first bar's
// 25 pixels they would push its 22- and 23-pixel buttons past the bottom edge and cut their
// frames off. This style gives that bar a one-pixel frame and no item margin instead.
class FittedToolBarStyle final : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        if (metric == PM_ToolBarItemMargin)
            return 0;
        if (metric == PM_ToolBarFrameWidth)
            return 1;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

} // namespace

TForm1::TForm1(QWidget* parent, const QString& appDir)
    : QMainWindow(parent), helpController(std::make_unique<HelpController>(this)) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Tarvel2008"));
    setWindowIcon(glyphIcon(Glyph::Window));
    installFontSubstitutions();
    // The window's outer size, frame included, is 736 x 599: the inside is made smaller by the
    // frame once the window manager has put one around it (fitOuterSize).
    resize(outerWidth, outerHeight);
    move(226, 152);

    buildToolbars();
    buildMenus();
    buildWorkArea();
    buildStatusBar();
    followZoom();

    // 1. The application hint follows the control under the pointer.
    qApp->installEventFilter(this);
    // 2. and 3. Nothing to undo or redo yet: the history enables its controls.
    historyChanged();
    // 4. The program's folder and its private fonts.
    AppDir = appDir.isEmpty() ? programFolder() : appDir;
    registerPrivateFonts(true);
    // 5. The font list the dialogs copy.
    fillFontList();
    // 6. The composition starts with nothing placed (LastKind ekNone).
    // 7.
    ComboBox1->setVisible(false);
    ComboBox2->setVisible(false);
    // 8. No effect base, no effect (the composition's initial state).
}

TForm1::~TForm1() {
    qApp->removeEventFilter(this);
    if (!closed) {
        closed = true;
        FormClose();
    }
}

void TForm1::createDialogs() {
    createCanvasDialog();
    createRotatedTextDialog();
    createSealDialog();
    createAboutDialog();
    createCircleDialog();
    createFanDialog();
    createTextDialog();
}

void TForm1::buildToolbars() {
    ToolBar2 = new QToolBar(this);
    ToolBar2->setObjectName(QStringLiteral("ToolBar2"));
    ToolBar2->setMovable(false);
    ToolBar2->setFixedHeight(25);
    ToolBar2->setIconSize(QSize(16, 16));
    auto* fitted = new FittedToolBarStyle;
    fitted->setParent(ToolBar2);
    ToolBar2->setStyle(fitted);
    addToolBar(Qt::TopToolBarArea, ToolBar2);

    ToolButton40 = addToolButton(ToolBar2, QStringLiteral("ToolButton40"),
                                 glyphIcon(Glyph::NewCanvas), tr("新建或者打开"));
    ToolButton22 =
        addToolButton(ToolBar2, QStringLiteral("ToolButton22"), glyphIcon(Glyph::Undo), tr("撤消"));
    ToolButtonRedo = addToolButton(ToolBar2, QStringLiteral("ToolButtonRedo"),
                                   glyphIcon(Glyph::Redo), tr("恢复"));
    ToolButton23 = addToolButton(ToolBar2, QStringLiteral("ToolButton23"), glyphIcon(Glyph::Clear),
                                 tr("清空"));
    ToolBar2->addSeparator();
    ToolButton1 = addToolButton(ToolBar2, QStringLiteral("ToolButton1"), glyphIcon(Glyph::Text),
                                tr("添加文本"));
    ToolButton24 = addToolButton(ToolBar2, QStringLiteral("ToolButton24"),
                                 glyphIcon(Glyph::RotatedText), tr("添加旋转字体"));
    ToolButton25 = addToolButton(ToolBar2, QStringLiteral("ToolButton25"),
                                 glyphIcon(Glyph::Inscription), tr("添加落款"));
    ToolButton29 = addToolButton(ToolBar2, QStringLiteral("ToolButton29"), glyphIcon(Glyph::Seal),
                                 tr("添加印章"));
    ToolButton21 = addToolButton(ToolBar2, QStringLiteral("ToolButton21"), glyphIcon(Glyph::Circle),
                                 tr("添加圆形"));
    ToolButton26 = addToolButton(ToolBar2, QStringLiteral("ToolButton26"), glyphIcon(Glyph::Fan),
                                 tr("添加扇面"));
    ToolBar2->addSeparator();
    BitBtn1 = addBitButton(ToolBar2, QStringLiteral("BitBtn1"), Glyph::Effects, tr("特效"),
                           tr("特效，建议放到最后处理"));
    ToolBar2->addSeparator();
    BitBtn3 =
        addBitButton(ToolBar2, QStringLiteral("BitBtn3"), Glyph::Save, tr("保存"), tr("保存图片"));

    addToolBarBreak(Qt::TopToolBarArea);
    ToolBar4 = new QToolBar(this);
    ToolBar4->setObjectName(QStringLiteral("ToolBar4"));
    ToolBar4->setMovable(false);
    ToolBar4->setFixedHeight(29);
    ToolBar4->setIconSize(QSize(16, 16));
    addToolBar(Qt::TopToolBarArea, ToolBar4);
    ToolButton30 =
        addToolButton(ToolBar4, QStringLiteral("ToolButton30"), glyphIcon(Glyph::Left), QString());
    ToolButton31 =
        addToolButton(ToolBar4, QStringLiteral("ToolButton31"), glyphIcon(Glyph::Right), QString());
    ToolButton35 =
        addToolButton(ToolBar4, QStringLiteral("ToolButton35"), glyphIcon(Glyph::Up), QString());
    ToolButton36 =
        addToolButton(ToolBar4, QStringLiteral("ToolButton36"), glyphIcon(Glyph::Down), QString());
    // The arrows have no tooltip, but the status bar says what they do, as for every other
    // button.
    ToolButton30->setProperty("hint", tr("左移 10 像素"));
    ToolButton31->setProperty("hint", tr("右移 10 像素"));
    ToolButton35->setProperty("hint", tr("上移 10 像素"));
    ToolButton36->setProperty("hint", tr("下移 10 像素"));
    ToolBar4->addSeparator();

    ComboBox1 = new QComboBox(ToolBar4);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setFixedWidth(63);
    ComboBox1->setEditable(true);
    for (const char* size : {"8",  "16", "20", "24", "28", "30",  "34",  "36",  "40",  "48",
                             "56", "60", "68", "72", "80", "100", "120", "160", "200", ""})
        ComboBox1->addItem(QString::fromLatin1(size));
    ComboBox1->setEditText(QStringLiteral("8"));
    ToolBar4->addWidget(ComboBox1)->setVisible(false);
    ComboBox2 = new QComboBox(ToolBar4);
    ComboBox2->setObjectName(QStringLiteral("ComboBox2"));
    ComboBox2->setFixedWidth(145);
    ComboBox2->setEditable(true);
    ToolBar4->addWidget(ComboBox2)->setVisible(false);

    using ErrorBoundary::guard;
    connect(BitBtn1, &QPushButton::pressed, this, guard(this, [this] { BitBtn1MouseDown(); }));
    connect(BitBtn3, &QPushButton::clicked, this, guard(this, [this] { BitBtn3Click(); }));
    connect(ToolButton30, &QToolButton::clicked, this,
            guard(this, [this] { ToolButton30Click(); }));
    connect(ToolButton31, &QToolButton::clicked, this,
            guard(this, [this] { ToolButton31Click(); }));
    connect(ToolButton35, &QToolButton::clicked, this,
            guard(this, [this] { ToolButton35Click(); }));
    connect(ToolButton36, &QToolButton::clicked, this,
            guard(this, [this] { ToolButton36Click(); }));
}

void TForm1::buildMenus() {
    using ErrorBoundary::guard;
    // Each menu opens with Alt and the letter in brackets, as desktop programs write it; no
    // letter is one of the window's own Alt shortcuts (Alt+A is 旋转字, so 添加 takes I).
    QMenu* file = menuBar()->addMenu(tr("文件(&F)"));
    file->setObjectName(QStringLiteral("MenuFile"));
    MenuNew =
        addMenuItem(file, QStringLiteral("N2"), tr("新建"), QKeySequence(Qt::ALT | Qt::Key_F2));
    MenuUndo =
        addMenuItem(file, QStringLiteral("N3"), tr("重做"), QKeySequence(Qt::ALT | Qt::Key_R));
    // Undo also answers the key every other program uses for it.
    MenuUndo->setShortcuts({QKeySequence(Qt::ALT | Qt::Key_R), QKeySequence(Qt::CTRL | Qt::Key_Z)});
    MenuRedo = addMenuItem(file, QStringLiteral("MenuRedo"), tr("恢复"),
                           QKeySequence(Qt::CTRL | Qt::Key_Y));
    MenuClear =
        addMenuItem(file, QStringLiteral("N4"), tr("清空"), QKeySequence(Qt::ALT | Qt::Key_C));
    file->addSeparator();
    MenuSave =
        addMenuItem(file, QStringLiteral("N6"), tr("保存"), QKeySequence(Qt::CTRL | Qt::Key_F5));
    file->addSeparator();
    MenuOpenWork = addMenuItem(file, QStringLiteral("MenuOpenWork"), tr("打开作品"),
                               QKeySequence(Qt::CTRL | Qt::Key_O));
    MenuSaveWork = addMenuItem(file, QStringLiteral("MenuSaveWork"), tr("保存作品"),
                               QKeySequence(Qt::CTRL | Qt::Key_S));
    MenuRecentWorks = file->addMenu(tr("最近的作品(&R)"));
    MenuRecentWorks->setObjectName(QStringLiteral("MenuRecentWorks"));
    connect(MenuRecentWorks, &QMenu::aboutToShow, this, [this] { fillRecentWorks(); });
    MenuExportScript = addMenuItem(file, QStringLiteral("MenuExportScript"), tr("导出脚本"));
    MenuTemplate = addMenuItem(file, QStringLiteral("MenuTemplate"), tr("作品模板…"));
    file->addSeparator();
    N5 = addMenuItem(file, QStringLiteral("N5"), tr("退出"), QKeySequence(Qt::ALT | Qt::Key_X));

    QMenu* add = menuBar()->addMenu(tr("添加(&I)"));
    add->setObjectName(QStringLiteral("MenuAdd"));
    MenuText = addMenuItem(add, QStringLiteral("MenuText"), tr("添加文本"),
                           QKeySequence(Qt::CTRL | Qt::Key_T));
    N12 = addMenuItem(add, QStringLiteral("N12"), tr("旋转字"), QKeySequence(Qt::ALT | Qt::Key_A));
    // Both items show Alt+A, but only "旋转字" owns the key: two actions with one key make an
    // ambiguous shortcut that opens nothing. The text after the tab is shown in the key column.
    MenuInscription = addMenuItem(add, QStringLiteral("N13"),
                                  tr("落款") + QLatin1Char('\t') +
                                      N12->shortcut().toString(QKeySequence::NativeText));
    MenuSeal =
        addMenuItem(add, QStringLiteral("N14"), tr("印章"), QKeySequence(Qt::ALT | Qt::Key_P));
    MenuCircle =
        addMenuItem(add, QStringLiteral("N9"), tr("圆形"), QKeySequence(Qt::ALT | Qt::Key_D));
    MenuFan =
        addMenuItem(add, QStringLiteral("N10"), tr("扇形"), QKeySequence(Qt::ALT | Qt::Key_S));
    // One action per command: the tool button and the menu item run and show the same one.
    shareAction(ToolButton40, MenuNew);
    shareAction(ToolButton22, MenuUndo);
    shareAction(ToolButtonRedo, MenuRedo);
    shareAction(ToolButton23, MenuClear);
    shareAction(ToolButton1, MenuText);
    shareAction(ToolButton24, N12);
    shareAction(ToolButton25, MenuInscription);
    shareAction(ToolButton29, MenuSeal);
    shareAction(ToolButton21, MenuCircle);
    shareAction(ToolButton26, MenuFan);

    buildViewMenu(file);

    QMenu* help = menuBar()->addMenu(tr("帮助(&H)"));
    help->setObjectName(QStringLiteral("MenuHelp"));
    N24 = addMenuItem(help, QStringLiteral("N24"), tr("作者声明"));
    N8 = addMenuItem(help, QStringLiteral("N8"), tr("使用手册"));
    help->addSeparator();
    N15 = addMenuItem(help, QStringLiteral("N15"), tr("作者主页"));
    buildLanguageMenu(help);

    connect(MenuNew, &QAction::triggered, this, guard(this, [this] { ToolButton40Click(); }));
    connect(MenuUndo, &QAction::triggered, this, guard(this, [this] { ToolButton22Click(); }));
    connect(MenuRedo, &QAction::triggered, this, guard(this, [this] { RedoClick(); }));
    connect(MenuOpenWork, &QAction::triggered, this, guard(this, [this] { OpenWorkClick(); }));
    connect(MenuSaveWork, &QAction::triggered, this, guard(this, [this] { SaveWorkClick(); }));
    connect(MenuExportScript, &QAction::triggered, this,
            guard(this, [this] { ExportScriptClick(); }));
    connect(MenuTemplate, &QAction::triggered, this, guard(this, [this] { TemplateClick(); }));
    connect(MenuClear, &QAction::triggered, this, guard(this, [this] { ToolButton23Click(); }));
    connect(MenuSave, &QAction::triggered, this, guard(this, [this] { BitBtn3Click(); }));
    connect(N5, &QAction::triggered, this, guard(this, [this] { N5Click(); }));
    connect(N12, &QAction::triggered, this, guard(this, [this] { N12Click(); }));
    connect(MenuInscription, &QAction::triggered, this, guard(this, [this] { N12Click(); }));
    connect(MenuSeal, &QAction::triggered, this, guard(this, [this] { ToolButton29Click(); }));
    connect(MenuText, &QAction::triggered, this, guard(this, [this] { ToolButton1Click(); }));
    // The menus without the mouse: F10 opens the first, the arrows go on from there.
    auto* menuKey = new QAction(this);
    menuKey->setShortcut(QKeySequence(Qt::Key_F10));
    addAction(menuKey);
    connect(menuKey, &QAction::triggered, this,
            [this] { menuBar()->setActiveAction(menuBar()->actions().value(0)); });
    connect(MenuCircle, &QAction::triggered, this, guard(this, [this] { ToolButton21Click(); }));
    connect(MenuFan, &QAction::triggered, this, guard(this, [this] { ToolButton26Click(); }));
    connect(N24, &QAction::triggered, this, guard(this, [this] { N24Click(); }));
    connect(N8, &QAction::triggered, this, guard(this, [this] { N8Click(); }));
    connect(N15, &QAction::triggered, this, guard(this, [this] { N15Click(); }));

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    for (const EffectEntry& entry : effectTable) {
        QAction* item = addMenuItem(PopupMenu1, QLatin1String(entry.objectName),
                                    QCoreApplication::translate("Effects", entry.caption));
        const EffectKind kind = entry.kind;
        connect(item, &QAction::triggered, this,
                guard(this, [this, kind, item] { runEffect(kind, item); }));
    }
    N29 = addMenuItem(PopupMenu1, QLatin1String(restoreEntry.objectName),
                      QCoreApplication::translate("Effects", restoreEntry.caption));
    connect(N29, &QAction::triggered, this, guard(this, [this] { N29Click(); }));
    // The established names of the items.
    const auto item = [this](const char* name) {
        return PopupMenu1->findChild<QAction*>(QLatin1String(name));
    };
    N17 = item("N17");
    N18 = item("N18");
    N21 = item("N21");
    N23 = item("N23");
    N25 = item("N25");
    N26 = item("N26");
    N28 = item("N28");
    N27 = item("N27");
    // While a menu is open the hint is the highlighted item's (the items have none).
    // A tool button that shows a menu item's action hovers that action too: only an open menu
    // gives the hint.
    for (QMenu* menu : {file, add, help, PopupMenu1})
        connect(menu, &QMenu::hovered, this, [this, menu](QAction* item) {
            if (menu->isVisible())
                ApplicationHint(item->statusTip());
        });
    // A press of any button opens the effect menu (see eventFilter), the right one too: no
    // second menu from the context-menu event that follows it.
    BitBtn1->setContextMenuPolicy(Qt::PreventContextMenu);
}

void TForm1::buildWorkArea() {
    ScrollBox1 = new CanvasView(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setWidgetResizable(false);
    ScrollBox1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image1 = new ImageControl(nullptr);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->showPicture(&State.canvasForDrawing());
    Image1->setProperty("hint", QString());
    // A press gives the canvas the focus, so that the arrow keys move what was placed.
    Image1->setFocusPolicy(Qt::StrongFocus);
    ScrollBox1->setCanvas(Image1);
    setCentralWidget(ScrollBox1);
    // The view follows the composition: the rectangle a command changed is painted again,
    // and the undo and redo controls and the title follow the history.
    connect(&State, &CompositionState::changed, this, [this](QRect area) {
        if (area.isNull())
            Image1->pictureChanged();
        else
            Image1->pictureChanged(area);
    });
    connect(&State, &CompositionState::historyChanged, this, [this] { historyChanged(); });

    connect(Image1, &ImageControl::mousePressed, this, [this](QPoint at, Qt::MouseButton button) {
        ErrorBoundary::run(this, [&] { Image1MouseDown(at, button); });
    });
    connect(Image1, &ImageControl::mouseMoved, this, [this](QPoint at) { Image1MouseMove(at); });
}

void TForm1::buildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setFixedHeight(19);
    bar->setSizeGripEnabled(false);
    auto panel = [bar](const QString& name, const QString& text, int width) {
        auto* label = new QLabel(text, bar);
        label->setObjectName(name);
        label->setAlignment(Qt::AlignCenter);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        if (width > 0)
            label->setFixedWidth(width);
        bar->addWidget(label, width > 0 ? 0 : 1);
        return label;
    };
    StatusPanel0 = panel(QStringLiteral("StatusPanel0"), tr("你好！"), 100);
    StatusPanel1 = panel(QStringLiteral("StatusPanel1"), QString(), 300);
    StatusPanel2 = panel(QStringLiteral("StatusPanel2"), tr("欢迎使用Tarvel。"), 0);
    // The zoom, at the right end.
    StatusZoom = new QLabel(CanvasView::zoomText(1.0), bar);
    StatusZoom->setObjectName(QStringLiteral("StatusZoom"));
    StatusZoom->setAlignment(Qt::AlignCenter);
    StatusZoom->setFrameShape(QFrame::Panel);
    StatusZoom->setFrameShadow(QFrame::Sunken);
    StatusZoom->setFixedWidth(60);
    bar->addPermanentWidget(StatusZoom);
}

void TForm1::fillFontList() {
    QStringList families = QFontDatabase::families();
    families << QStringLiteral("Default");
    families.removeDuplicates();
    std::sort(families.begin(), families.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    ComboBox2->clear();
    // The list the dialogs copy: a calligrapher looks for a face that draws the characters.
    ComboBox2->addItems(FontFallback::chineseFacesFirst(families));
    ComboBox2->setEditText(tr("字体"));
}

QStringList TForm1::fontSizeList() const {
    QStringList items;
    for (int i = 0; i < ComboBox1->count(); ++i)
        items << ComboBox1->itemText(i);
    return items;
}

QStringList TForm1::fontFaceList() const {
    QStringList items;
    for (int i = 0; i < ComboBox2->count(); ++i)
        items << ComboBox2->itemText(i);
    return items;
}

QString TForm1::hintAt(QWidget* widget) const {
    for (QWidget* w = widget; w; w = w->parentWidget()) {
        const QVariant hint = w->property("hint");
        if (hint.isValid())
            return hint.toString();
        if (!w->toolTip().isEmpty())
            return w->toolTip();
        if (w->isWindow())
            break;
    }
    return QString();
}

void TForm1::ApplicationHint(const QString& hint) {
    StatusPanel1->setText(hint);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    const bool inThisWindow = widget && widget->window() == this;
    if (event->type() == QEvent::Enter || event->type() == QEvent::HoverEnter) {
        if (inThisWindow)
            ApplicationHint(hintAt(widget));
    } else if (event->type() == QEvent::Leave) {
        // Leaving a control for its parent sends the parent no Enter: the hint becomes the
        // parent's (an Enter into another control follows and replaces it).
        if (inThisWindow && widget != this)
            ApplicationHint(hintAt(widget->parentWidget()));
    } else if (event->type() == QEvent::MouseButtonPress && watched == BitBtn1 &&
               static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton) {
        // The effect menu opens on a press of any button; the left one arrives as pressed().
        ErrorBoundary::run(this, [this] { BitBtn1MouseDown(); });
        return true;
    } else if (event->type() == QEvent::ToolTip && watched == Image1) {
        return true; // the canvas shows no tooltip
    } else if (event->type() == QEvent::KeyPress && inThisWindow) {
        // The arrows move the last element, as the arrow buttons do: alone while the canvas
        // has the focus, with Alt anywhere in the window.
        const auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
        if ((watched == Image1 && modifiers == Qt::NoModifier) || modifiers == Qt::AltModifier) {
            const QPoint by = key->key() == Qt::Key_Left    ? QPoint(-10, 0)
                              : key->key() == Qt::Key_Right ? QPoint(10, 0)
                              : key->key() == Qt::Key_Up    ? QPoint(0, -10)
                              : key->key() == Qt::Key_Down  ? QPoint(0, 10)
                                                            : QPoint();
            if (!by.isNull()) {
                ErrorBoundary::run(this, [&] { nudge(by.x(), by.y()); });
                return true;
            }
        }
        // Enter on the canvas stamps what is armed, as a press would, in the middle of the
        // part of the canvas in view; the arrows then move it where it belongs. (Space held
        // down drags the view.)
        if (watched == Image1 && modifiers == Qt::NoModifier &&
            (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            const QPoint at = Image1->toPicture(Image1->visibleRegion().boundingRect().center());
            ErrorBoundary::run(this, [&] { Image1MouseDown(at, Qt::LeftButton); });
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

bool TForm1::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::WindowActivate:
    case QEvent::Paint:
        fitOuterSize();
        break;
    default:
        break;
    }
    return QMainWindow::event(event);
}

void TForm1::fitOuterSize() {
    if (outerSizeFitted || !isVisible() || !windowHandle())
        return;
    const QMargins frame = windowHandle()->frameMargins();
    if (frame.isNull())
        return; // no frame yet, or none at all (the offscreen platform)
    outerSizeFitted = true;
    // Only the size the window started with: one the user chose stays.
    if (size() == QSize(outerWidth, outerHeight))
        resize(outerWidth - frame.left() - frame.right(),
               outerHeight - frame.top() - frame.bottom());
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (!closed) {
        bool mayClose = false;
        ErrorBoundary::run(this, [&] { mayClose = saveOrDiscardWork(); });
        if (!mayClose) {
            event->ignore();
            return;
        }
        closed = true;
        FormClose();
    }
    event->accept();
}
