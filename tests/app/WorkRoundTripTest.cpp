// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// A work composed in the window, saved, and opened in another window over another picture:
// every pixel comes back as it was stamped, whatever the dialogs were set to afterwards.
#include "PlacementFixture.h"

#include "RichEditWidget.h"
#include "RichText.h"
#include "SpinEdit.h"
#include "TarvelError.h"
#include "TemplateDialog.h"
#include "Unit2.h"
#include "Unit3.h"
#include "Unit4.h"
#include "Unit8.h"
#include "WorkFile.h"

#include <QAction>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QToolButton>
#include <sys/stat.h>

namespace {

struct WorkRoundTrip : MainWindowTest {
    // The canvas dialog confirmed with a colour, a picture file or neither.
    void newCanvas(std::optional<TColor> colour, const QString& picture = QString()) {
        withDialog(
            [&] {
                if (colour) {
                    pickColours(*colour);
                    form.Form2->RadioButton5->click();
                    form.Form2->Button1->click();
                } else if (!picture.isEmpty()) {
                    PlatformDialogs::setFileChooser(
                        [picture](QWidget*, const FileDialogRequest&) { return picture; });
                    form.Form2->RadioButton6->click();
                    form.Form2->Button2->click();
                    PlatformDialogs::setFileChooser({});
                }
                form.Form2->Button3->click();
            },
            [this] { form.ToolButton40Click(); });
    }
    void inDialog(QDialog* dialog, const std::function<void()>& actions,
                  const std::function<void()>& command) {
        withDialog(
            [dialog, actions] {
                actions();
                if (dialog->isVisible())
                    dialog->close();
            },
            command);
    }
    void seal(const QString& text, QPushButton* TForm4::*button) {
        inDialog(
            form.Form4,
            [&] {
                form.Form4->RichEdit1->richText().setText(text);
                (form.Form4->*button)->click();
            },
            [this] { form.ToolButton29Click(); });
    }
    void text(const QString& plain, QPushButton* TForm8::*button) {
        inDialog(
            form.Form8,
            [&] {
                form.Form8->richText().setText(plain);
                (form.Form8->*button)->click();
            },
            [this] { form.ToolButton1Click(); });
    }

    // Saves the work and opens it in another window whose composition is a red canvas with
    // steps of its own: the picture and the steps come back as they were.
    void expectRoundTrip() {
        const QString path = folder.filePath(QStringLiteral("work.tarvel"));
        form.saveWork(path);
        TForm1 other;
        other.createDialogs();
        TSetStruct red;
        red.UseColor = true;
        red.BackgroundColor = clRed;
        other.composition().newCanvas(red, QImage());
        other.composition().clear();
        other.openWork(path);
        EXPECT_TRUE(other.composition().canvas().picture().image() ==
                    form.composition().canvas().picture().image());
        EXPECT_EQ(other.composition().steps().size(), form.composition().steps().recipe().size());
        // Saved again, the work is the same file.
        EXPECT_EQ(workDocument(other.composition()), workDocument(form.composition()));
    }

    QTemporaryDir folder;
};

TEST_F(WorkRoundTrip, CircleAppliedAfterItWasConfirmedIsStampedAsConfirmed) {
    newCanvas(0x00C0C0C0);
    openCircleDialog([](TForm6* d) {
        d->SpinEdit2->setText("20");
        d->Button1->click();
    });
    openCircleDialog([](TForm6* d) {
        d->SpinEdit2->setText("40");
        d->Button2->click();
        d->close();
    });
    press(QPoint(10, 10));
    EXPECT_EQ(at(30, 30), clWhite);
    EXPECT_EQ(at(60, 30), TColor(0x00C0C0C0)); // a radius of 20, not 40
    expectRoundTrip();
}

TEST_F(WorkRoundTrip, FanConfirmedOnAColourCanvasAndStampedOnAPictureCanvas) {
    newCanvas(0x00336699);
    confirmFan();
    newCanvas(std::nullopt, QStringLiteral(TARVEL_TEST_DATA "/pictures/canvas-300x200.png"));
    press(QPoint(20, 20));
    expectRoundTrip();
}

TEST_F(WorkRoundTrip, RotatedTextCancelledAfterItWasArmedStampsWhatCancelLeft) {
    newCanvas(clWhite);
    inDialog(
        form.Form3,
        [&] {
            form.Form3->Edit1->setText(QStringLiteral("春风"));
            form.Form3->Button3->click();
        },
        [this] { form.N12Click(); });
    inDialog(
        form.Form3, [&] { form.Form3->Button5->click(); }, [this] { form.N12Click(); });
    press(QPoint(40, 40));
    EXPECT_EQ(count(clWhite), 800 * 600); // cancel left an empty line armed
    expectRoundTrip();
}

TEST_F(WorkRoundTrip, SealAndTextChangedInTheirDialogsThenNudgedMoveAsStamped) {
    newCanvas(clWhite);
    seal(QStringLiteral("印"), &TForm4::Button1);
    press(QPoint(100, 100));
    const QImage stamped = form.composition().canvas().picture().image().copy(100, 100, 50, 50);
    seal(QStringLiteral("永和"), &TForm4::Button2);
    form.ToolButton31Click();
    EXPECT_EQ(form.composition().canvas().picture().image().copy(110, 100, 50, 50), stamped);
    text(QStringLiteral("中文"), &TForm8::Button1);
    text(QStringLiteral("书法"), &TForm8::Button3);
    form.ToolButton36Click();
    expectRoundTrip();
}

// A block typed with 自动换行 is drawn, and reopened, with the lines the editor wrapped.
TEST_F(WorkRoundTrip, WrappedTextKeepsItsLines) {
    newCanvas(clWhite);
    inDialog(
        form.Form8,
        [&] {
            form.Form8->MenuWordWrap->trigger();
            form.Form8->richText().setText(QString(120, QChar(0x6C38)));
            form.Form8->Button1->click();
        },
        [this] { form.ToolButton1Click(); });
    const int wrap = form.composition().steps().recipe().back()->wrapWidth.value_or(0);
    ASSERT_GT(wrap, 0);
    // The ink is more than one line high: a line of 120 characters does not fit the editor.
    QRect ink;
    const DrawingSurface& canvas = form.composition().canvas().picture();
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            if (canvas.pixel(x, y) != clWhite)
                ink |= QRect(x, y, 1, 1);
    EXPECT_GT(ink.height(), 24) << ink.height();
    expectRoundTrip();
}

TEST_F(WorkRoundTrip, CanvasWithoutColourOrPictureStaysBlankOverAnyCanvas) {
    newCanvas(std::nullopt);
    confirmCircle();
    press(QPoint(0, 0));
    EXPECT_EQ(at(700, 500), clWhite);
    expectRoundTrip();
}

TEST_F(WorkRoundTrip, TwoPicturesBothComeBackAndUndoShowsTheFirst) {
    newCanvas(std::nullopt, QStringLiteral(TARVEL_TEST_DATA "/pictures/canvas-300x200.png"));
    const QImage first = form.composition().canvas().picture().image();
    newCanvas(std::nullopt, QStringLiteral(TARVEL_TEST_DATA "/pictures/bmp-24.bmp"));
    expectRoundTrip();
    TForm1 other;
    other.createDialogs();
    other.openWork(folder.filePath(QStringLiteral("work.tarvel")));
    ASSERT_TRUE(other.composition().undo());
    EXPECT_TRUE(other.composition().canvas().picture().image() == first);
}

// Every step since the canvas was made is in the work, however long it is; undone steps are
// not.
TEST_F(WorkRoundTrip, LongWorksSaveWholeAndUndoneStepsAreLeftOut) {
    TSetStruct small;
    small.Width = 120;
    small.Height = 90;
    small.UseColor = true;
    form.composition().newCanvas(small, QImage());
    for (int i = 0; i < 3; ++i) {
        confirmCircle();
        press(QPoint(10 * i, 0));
    }
    // More moves than a nudge step's count takes: one step, written as one move.
    for (int i = 0; i < 10001; ++i)
        form.composition().nudge(0, i % 2 ? 10 : -10);
    confirmCircle();
    press(QPoint(60, 60));
    form.ToolButton22Click();
    EXPECT_EQ(form.composition().steps().recipe().size(), 4u);
    expectRoundTrip();
}

TEST_F(WorkRoundTrip, OpeningAsksNothingAndARefusedWorkChangesNothing) {
    newCanvas(clWhite);
    confirmCircle();
    press(QPoint(5, 5));
    newCanvas(clBlue);
    form.ToolButton23Click(); // 清空
    bool asked = false;
    PlatformDialogs::setSaveQuestion([&asked](QWidget*) {
        asked = true;
        return PlatformDialogs::SaveAnswer::Cancel;
    });
    expectRoundTrip();
    TForm1 other;
    other.createDialogs();
    other.show();
    other.openWork(folder.filePath(QStringLiteral("work.tarvel")));
    EXPECT_FALSE(asked);

    // A work that arms a seal and then fails: nothing of it is left armed or in the dialogs.
    QFile bad(folder.filePath(QStringLiteral("bad.tarvel")));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write(R"({"files": {"a.png": "AAAA"}, "steps": [
      {"do": "canvas", "width": 90, "height": 90, "color": "#00FF00"},
      {"do": "seal", "text": "印"},
      {"do": "canvas", "picture": "a.png"}]})");
    bad.close();
    const TSetStruct canvas = form.Form2->CanvasSettings;
    const QImage before = form.composition().canvas().picture().image();
    EXPECT_THROW(form.openWork(bad.fileName()), TarvelError);
    EXPECT_FALSE(form.Form4->pending());
    EXPECT_EQ(form.Form2->CanvasSettings.Width, canvas.Width);
    EXPECT_EQ(form.Form2->CanvasSettings.BackgroundColor, canvas.BackgroundColor);
    EXPECT_TRUE(form.composition().canvas().picture().image() == before);
}

// A work naming a face that is not installed says so when it opens; a recent work that is gone
// is offered for removal from the list.
TEST_F(WorkRoundTrip, MissingFacesAreSaidAndMissingRecentWorksOfferedForRemoval) {
    QFile work(folder.filePath(QStringLiteral("faces.tarvel")));
    ASSERT_TRUE(work.open(QIODevice::WriteOnly));
    work.write(R"({"steps": [{"do": "canvas", "width": 90, "height": 60, "color": "#FFFFFF"},
      {"do": "rotated", "text": "永", "face": "No Such Face", "size": "20"},
      {"do": "click", "at": [5, 5]}]})");
    work.close();
    form.openWork(work.fileName());
    EXPECT_TRUE(form.StatusPanel2->text().contains(QStringLiteral("No Such Face")))
        << form.StatusPanel2->text().toStdString();

    ASSERT_TRUE(work.remove());
    QStringList asked;
    PlatformDialogs::setYesNoQuestion([&asked](QWidget*, const QString& question) {
        asked << question;
        return true;
    });
    form.MenuRecentWorks->aboutToShow();
    ASSERT_FALSE(form.MenuRecentWorks->actions().isEmpty());
    form.MenuRecentWorks->actions().first()->trigger();
    PlatformDialogs::setYesNoQuestion({});
    ASSERT_EQ(asked.size(), 1);
    EXPECT_TRUE(asked[0].contains(QDir::toNativeSeparators(work.fileName())));
    EXPECT_FALSE(form.recentWorks().contains(QFileInfo(work.fileName()).absoluteFilePath()));
    EXPECT_TRUE(shownErrors.isEmpty());
}

// The settings file is used only as a small regular file: a link is set aside without writing
// through it, a named pipe does not block, and a list of thousands shows the six latest.
TEST_F(WorkRoundTrip, ASettingsFileThatIsNoneIsSetAsideNeverWrittenThrough) {
    const QByteArray previous = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder.filePath(QStringLiteral("config"))));
    const QString file = folder.filePath(QStringLiteral("config/Tarvel/Tarvel2008.conf"));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(file).absolutePath()));
    const QString target = folder.filePath(QStringLiteral("target"));
    QFile kept(target);
    ASSERT_TRUE(kept.open(QIODevice::WriteOnly) && kept.write("keep") == 4);
    kept.close();
    ASSERT_TRUE(QFile::link(target, file));
    const QString work = folder.filePath(QStringLiteral("w.tarvel"));
    form.composition().newCanvas(TSetStruct{}, QImage());
    form.saveWork(work);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("keep"));
    EXPECT_FALSE(QFileInfo(file).isSymLink());
    EXPECT_EQ(form.recentWorks(), QStringList{QFileInfo(work).absoluteFilePath()});

    ASSERT_TRUE(QFile::remove(file));
    ASSERT_EQ(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
    EXPECT_TRUE(form.recentWorks().isEmpty());

    QStringList many;
    for (int i = 0; i < 2000; ++i)
        many << QStringLiteral("/gone/%1.tarvel").arg(i);
    QSettings(file, QSettings::NativeFormat).setValue(QStringLiteral("recentWorks"), many);
    EXPECT_EQ(form.recentWorks(), many.mid(0, 6));
    qputenv("XDG_CONFIG_HOME", previous);
}

// A template that does not fit is said and its dialog comes back with everything typed; the
// dialog opens with the last fields as long as the program runs.
TEST_F(WorkRoundTrip, ARefusedTemplateKeepsItsDialogAndItsFields) {
    QStringList typed;
    const auto dialog = [this] { return form.findChild<TemplateDialog*>(); };
    withDialog(
        [&] {
            dialog()->TextMain->setPlainText(QStringLiteral(" \n "));
            dialog()->EditLower->setText(QStringLiteral("丙午年 王某"));
            QTimer::singleShot(0, &form, [&] {
                typed << dialog()->EditLower->text();
                dialog()->ButtonCancel->click();
            });
            dialog()->ButtonOk->click();
        },
        [this] { form.TemplateClick(); });
    EXPECT_EQ(shownErrors,
              QStringList{QStringLiteral("无法按模板合成作品：正文是空的：请写下要写的字。")});
    withDialog(
        [&] {
            typed << dialog()->EditLower->text();
            dialog()->ButtonCancel->click();
        },
        [this] { form.TemplateClick(); });
    EXPECT_EQ(typed, QStringList(2, QStringLiteral("丙午年 王某")));
    EXPECT_FALSE(form.composition().canvas().hasPicture());
    shownErrors.clear();
}

WorkTemplate smallSquare() {
    WorkTemplate work;
    work.format = WorkFormat::Square;
    work.text = QStringLiteral("宁静致远");
    work.lower = QStringLiteral("丙午");
    work.nameSeal = QStringLiteral("印");
    work.dpi = 20;
    return work;
}

// A work recovered after a crash keeps its file's name, unless a template made it a new work
// since: then 保存作品 asks for a name instead of saving over the work it started from.
TEST_F(WorkRoundTrip, ARecoveredWorkKeepsItsFileUnlessATemplateReplacedIt) {
    const QString saved = folder.filePath(QStringLiteral("base.tarvel"));
    TSetStruct coloured;
    coloured.UseColor = true;
    form.composition().newCanvas(coloured, QImage());
    form.saveWork(saved);
    form.startRecovery(folder.filePath(QStringLiteral("own")));
    for (const bool templated : {false, true}) {
        form.openWork(saved);
        if (templated)
            form.composeTemplate(smallSquare());
        else
            form.composition().newCanvas(coloured, QImage());
        const QString left = folder.filePath(templated ? QStringLiteral("t") : QStringLiteral("c"));
        QDir().mkpath(left);
        ASSERT_TRUE(QFile::copy(form.journal()->path(), left + QStringLiteral("/1-1.journal")));
        TForm1 next;
        next.createDialogs();
        PlatformDialogs::setRecoverQuestion(
            [](QWidget*, const QString&) { return PlatformDialogs::RecoverAnswer::Recover; });
        next.startRecovery(left);
        next.offerRecovery();
        PlatformDialogs::setRecoverQuestion({});
        EXPECT_EQ(next.workFile(), templated ? QString() : QFileInfo(saved).absoluteFilePath());
        EXPECT_EQ(next.composition().steps().size(), form.composition().steps().size());
    }
}

TEST_F(WorkRoundTrip, ATemplateIsOneStepOfTheWork) {
    form.composeTemplate(smallSquare());
    EXPECT_EQ(form.composition().steps().size(), 1u);
    EXPECT_EQ(form.ToolButton22->toolTip(), QStringLiteral("撤消：作品模板"));
    expectRoundTrip();
    form.ToolButton22Click();
    EXPECT_FALSE(form.composition().canUndo());
    EXPECT_EQ(form.MenuRedo->toolTip(), QStringLiteral("恢复：作品模板"));
}

} // namespace
