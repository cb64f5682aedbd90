// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The main window: holds the work canvas, offers every command, keeps the composition state
// and runs the placement workflow (a confirmed element is stamped at the next canvas press).
#pragma once

#include "CanvasView.h"
#include "CompositionState.h"
#include "EffectKind.h"
#include "RecoveryJournal.h"
#include "WorkTemplate.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QMainWindow>
#include <QPoint>
#include <QPointer>
#include <memory>

class HelpController;
class ImageControl;
class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QPushButton;
class QScrollArea;
class QSettings;
class QToolBar;
class QToolButton;
class TForm2;
struct FaceGap;
struct ScaledRendering;
class TForm3;
class TForm4;
class TForm5;
class TForm6;
class TForm7;
class TForm8;

// The program's folder, with a separator at the end. It is known before the application object
// exists, so that start-up can begin reading the Fonts folder early.
QString programFolder();

class TemplateDialog;
class QSettings;

// The user's settings, only while their file is a small regular file (or none yet): anything
// else in its place is renamed aside first, and nothing is read or written when that fails.
std::unique_ptr<QSettings> openUserSettings();

class TForm1 final : public QMainWindow {
    Q_OBJECT
public:
    // FormCreate: builds the window and its state. The dialogs follow with createDialogs.
    // appDir is the program's folder (with a separator at the end), where the Fonts folder and
    // the manual are looked for; empty means the folder of the executable.
    explicit TForm1(QWidget* parent = nullptr, const QString& appDir = QString());
    ~TForm1() override;

    // Program entry creates the dialogs after the main window, in the order 2 to 8.
    void createDialogs();

    // The picture being composed, which Image1 shows.
    CompositionState& composition() { return State; }
    const CompositionState& composition() const { return State; }
    QString AppDir; // the executable's folder, with a trailing separator

    // Controls, named as the program names them.
    QToolBar* ToolBar2 = nullptr;
    QToolBar* ToolBar4 = nullptr;
    QToolButton* ToolButton40 = nullptr; // new canvas
    QToolButton* ToolButton22 = nullptr; // undo
    QToolButton* ToolButtonRedo = nullptr;
    QToolButton* ToolButton23 = nullptr; // clear
    QToolButton* ToolButton1 = nullptr;  // add text
    QToolButton* ToolButton24 = nullptr; // add rotated text
    QToolButton* ToolButton25 = nullptr; // add inscription
    QToolButton* ToolButton29 = nullptr; // add seal
    QToolButton* ToolButton21 = nullptr; // add circle
    QToolButton* ToolButton26 = nullptr; // add fan
    QPushButton* BitBtn1 = nullptr;      // effects
    QPushButton* BitBtn3 = nullptr;      // save
    QToolButton* ToolButton30 = nullptr; // nudge left
    QToolButton* ToolButton31 = nullptr; // nudge right
    QToolButton* ToolButton35 = nullptr; // nudge up
    QToolButton* ToolButton36 = nullptr; // nudge down
    QComboBox* ComboBox1 = nullptr;      // hidden list of font sizes
    QComboBox* ComboBox2 = nullptr;      // hidden list of font faces
    CanvasView* ScrollBox1 = nullptr;    // the work area, which zooms the canvas
    ImageControl* Image1 = nullptr;      // shows the composition's canvas
    QLabel* StatusPanel0 = nullptr;
    QLabel* StatusPanel1 = nullptr;
    QLabel* StatusPanel2 = nullptr;
    QLabel* StatusZoom = nullptr; // the canvas's zoom
    QMenu* PopupMenu1 = nullptr;
    QAction* N17 = nullptr; // 空心
    QAction* N18 = nullptr; // 怀旧
    QAction* N21 = nullptr; // 立体
    QAction* N23 = nullptr; // 锐化
    QAction* N25 = nullptr; // 清晰
    QAction* N26 = nullptr; // 描边
    QAction* N28 = nullptr; // 柔和
    QAction* N27 = nullptr; // 模糊
    QAction* N29 = nullptr; // 还原
    QAction* MenuNew = nullptr;
    QAction* MenuUndo = nullptr;
    QAction* MenuRedo = nullptr;
    QAction* MenuSaveWork = nullptr;
    QAction* MenuOpenWork = nullptr;
    QAction* MenuExportScript = nullptr;
    QAction* MenuTemplate = nullptr;
    QMenu* MenuRecentWorks = nullptr;
    QAction* MenuClear = nullptr;
    QAction* MenuSave = nullptr;
    QAction* N5 = nullptr;  // exit
    QAction* N12 = nullptr; // rotated text
    QAction* MenuInscription = nullptr;
    QAction* MenuSeal = nullptr;
    QAction* MenuText = nullptr; // 添加文本
    QAction* MenuCircle = nullptr;
    QAction* MenuFan = nullptr;
    QAction* N24 = nullptr;        // about
    QAction* N8 = nullptr;         // manual
    QAction* N15 = nullptr;        // home page
    QMenu* MenuLanguage = nullptr; // 语言: 跟随系统 and each language by its own name
    QAction* MenuFitWindow = nullptr;
    QAction* MenuActualSize = nullptr;
    QAction* MenuZoomIn = nullptr;
    QAction* MenuZoomOut = nullptr;
    QAction* MenuExportPdf = nullptr;
    QAction* MenuPrint = nullptr;
    QAction* MenuPrintPreview = nullptr;

    TForm2* Form2 = nullptr;
    TForm3* Form3 = nullptr;
    TForm4* Form4 = nullptr;
    TForm5* Form5 = nullptr;
    TForm6* Form6 = nullptr;
    TForm7* Form7 = nullptr;
    TForm8* Form8 = nullptr;

    // The list of font sizes and faces the dialogs copy when they are created.
    QStringList fontSizeList() const;
    QStringList fontFaceList() const;

    // ---- Placement workflow (Unit1_Placement.cpp)
    void Image1MouseDown(QPoint point, Qt::MouseButton button);
    void Image1MouseMove(QPoint point);
    void ToolButton22Click(); // undo
    void RedoClick();
    void ToolButton23Click(); // clear
    void ToolButton30Click(); // nudge left
    void ToolButton31Click(); // nudge right
    void ToolButton35Click(); // nudge up
    void ToolButton36Click(); // nudge down
    void BitBtn1MouseDown();
    // After a stamp: names in the status bar the characters drawn in a fallback face (a
    // warning of a stamp before that is taken away).
    void showFallbacks(const QList<FaceGap>& gaps);
    // The status panel that follows the application hint.
    void ApplicationHint(const QString& hint);

    // ---- Canvas and saving (Unit1_Canvas.cpp)
    void createCanvasDialog();
    void ToolButton40Click(); // new canvas
    void BitBtn3Click();      // save
    // Asks "当前作品尚未保存，是否保存？" while there is unsaved work in the shown window, and
    // saves when asked to. True when the command may go on and discard the canvas.
    bool saveOrDiscardWork();
    // The question it asks: it says so when the picture was exported but the work not saved.
    QString unsavedQuestion() const;

    // The canvas rebuilt from these settings as one step; pictureBytes is the background file,
    // which the work file carries.
    void newCanvasFrom(const TSetStruct& settings, const QImage& background,
                       const QByteArray& pictureBytes);

    // ---- Opening a picture given on the command line (Unit1_Open.cpp)
    void openPictureFile(const QString& path);

    // ---- The work file (Unit1_Work.cpp)
    // The steps of the work as a script: the canvas first, then every step still done.
    QJsonObject workScript() const;
    void saveWork(const QString& path);
    // Rebuilds the work from its file; on any failure the composition stays as it was.
    void openWork(const QString& path);
    void SaveWorkClick();
    void OpenWorkClick();
    void ExportScriptClick();
    // "作品模板…": a whole work laid out by the conventions, composed as ordinary steps.
    void TemplateClick();
    void composeTemplate(const WorkTemplate& work);
    // The work's file (empty while the work has none) and the works opened last.
    QString workFile() const { return currentWorkFile; }
    QStringList recentWorks() const;

    // ---- Recovery after a crash (Unit1_Recovery.cpp)
    // From here on every step is journaled in folder (the user's by default), and the works
    // that programs which ended without saving left there are offered back.
    void startRecovery(const QString& folder = QString());
    void offerRecovery();
    // The folder journals are kept in for this user.
    static QString recoveryFolder();
    const RecoveryJournal* journal() const { return recoveryJournal.get(); }

    // ---- Text (Unit1_Text.cpp)
    void createTextDialog();
    void ToolButton1Click(); // add text

    // ---- Rotated text (Unit1_Rotated.cpp)
    void createRotatedTextDialog();
    void N12Click(); // rotated text and inscription

    // ---- Seal (Unit1_Seal.cpp)
    void createSealDialog();
    void ToolButton29Click();

    // ---- Circle (Unit1_Circle.cpp)
    void createCircleDialog();
    void ToolButton21Click();

    // ---- Fan (Unit1_Fan.cpp)
    void createFanDialog();
    void ToolButton26Click();

    // ---- Effects (Unit1_Effects.cpp)
    void N17Click();
    void N18Click();
    void N21Click();
    void N23Click();
    void N25Click();
    void N26Click();
    void N27Click();
    void N28Click();
    void N29Click();
    // The effect item that carries the check mark (none before the first effect command).
    QAction* checkedEffectItem = nullptr;
    // ---- End of effects

    // ---- Zoom, PDF and printing (Unit1_View.cpp)
    void ExportPdfClick();
    ScaledRendering printRendering();
    // A resolution lower than the one chosen for print had to do.
    bool lowered(const ScaledRendering& drawn) const;
    void PrintClick();
    void PrintPreviewClick();
    // The work's name, as the PDF and the print job give it.
    QString workName() const;
    // The window's size, position, maximised state and zoom, kept between runs by the
    // program entry (never by the window itself, so that windows made by tests keep theirs).
    void saveView(QSettings& settings) const;
    void restoreView(const QSettings& settings);

    // ---- Start-up, help, About, shutdown (Unit1_Startup.cpp)
    void createAboutDialog();
    void registerPrivateFonts(bool add); // the Fonts folder beside the executable
    void N8Click();                      // manual
    void N24Click();                     // about
    void N15Click();                     // home page
    // Remembers the language of the next start (empty: the system's) and says so.
    void LanguageClick(const QString& language);
    void N5Click(); // exit
    void FormClose();
    static QString homePageAddress();
    QString manualPath() const; // AppDir + "TarvelHelp.chm::/HelpContent\index.htm"
    // The manual's library and window.
    HelpController& help() { return *helpController; }
    const QList<int>& privateFonts() const { return privateFontIds; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;

private:
    CompositionState State;
    // The undo and redo controls and the title follow the history.
    void historyChanged();
    void runEffect(EffectKind kind, QAction* item);
    void setEffectCheckMark(QAction* checked);
    void effectMarkFromHistory();
    void fitOuterSize();
    bool outerSizeFitted = false;
    void buildToolbars();
    void buildMenus();
    void buildWorkArea();
    void buildStatusBar();
    // The "视图" menu and the file menu's PDF and print items (Unit1_View.cpp).
    void buildViewMenu(QMenu* file);
    void buildLanguageMenu(QMenu* help); // Unit1_Startup.cpp
    void followZoom();
    // Printed fitted to the paper rather than at the picture's own size (the print dialog's
    // "适合纸张").
    bool printFitted = false;
    // The resolution a print and a PDF draw the work again at, from its steps.
    int printResolution = 300;
    void fillFontList();
    void nudge(int dx, int dy);
    QString hintAt(QWidget* widget) const;

    bool closed = false;

    // ---- State kept by the work-file concern (Unit1_Work.cpp)
    QString currentWorkFile;
    // The picture last exported since the work was saved, opened or made.
    QString exportedPicture;
    void updateTitle();
    // After a work was opened or composed: nothing armed, the dialogs hold its canvas.
    void workReplaced();
    void rememberRecentWork(const QString& path);
    void fillRecentWorks();
    QPointer<TemplateDialog> templateDialog;

    // ---- State kept by the recovery concern (Unit1_Recovery.cpp)
    std::unique_ptr<RecoveryJournal> recoveryJournal;
    QString recoveryFolderInUse;
    // The journal follows the history; a journal that cannot be written is said, never
    // stops the step.
    bool followJournal(); // true when the journal holds the work shown
    void restartJournal(JournalBase base);

    // ---- State kept by the start-up concern (Unit1_Startup.cpp)
    QList<int> privateFontIds;
    std::unique_ptr<HelpController> helpController;
};
