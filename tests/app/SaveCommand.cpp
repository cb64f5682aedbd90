// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The save command through the real main window: the save dialog's request, the file type
// by name, the real save dialog's naming and question, the remembered name, and saving with no
// picture.
#include "ErrorBoundary.h"
#include "ImageControl.h"
#include "PictureCodecs.h"
#include "PlatformDialogs.h"
#include "Unit1.h"
#include "Unit6.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace {

QByteArray contents(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

class SaveCommand : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<TForm1>();
        form->createDialogs();
        ErrorBoundary::setDisplay([this](QWidget*, const QString& text) { errors << text; });
    }
    void TearDown() override {
        ErrorBoundary::setDisplay({});
        PlatformDialogs::setFileChooser({});
    }
    // Clicks "保存" and answers the dialog with a name (or cancels it).
    void save(std::optional<QString> answer) {
        PlatformDialogs::setFileChooser([this, answer](QWidget*, const FileDialogRequest& r) {
            requests.push_back(r);
            return answer;
        });
        form->BitBtn3->click();
    }
    void drawSomething() {
        form->Image1->setControlSize(40, 30);
        DrawingSurface& canvas = form->Image1->canvas();
        canvas.brush.color = 0x00204080;
        canvas.fillRect(0, 0, 40, 30);
        canvas.setPixel(3, 4, clWhite);
    }
    // Unsaved work: a circle stamped in the corner, through its dialog and a press.
    void stampCircle() {
        QTimer::singleShot(0, form.get(), [this] { form->Form6->Button1->click(); });
        form->ToolButton21Click();
        form->Image1MouseDown(QPoint(30, 20), Qt::LeftButton);
    }
    std::unique_ptr<TForm1> form;
    QStringList errors;
    std::vector<FileDialogRequest> requests;
    QTemporaryDir dir;
};

} // namespace

TEST_F(SaveCommand, DialogRequestAndCancel) {
    drawSomething();
    save(std::nullopt);
    ASSERT_EQ(requests.size(), 1u);
    const FileDialogRequest& r = requests[0];
    EXPECT_EQ(r.kind, FileDialogRequest::Kind::Save);
    // The program's own entry first, then each type in the user's words, PNG among them.
    EXPECT_EQ(r.filter, "All (*.jpg;*.jpeg;*.bmp)|*.jpg;*.jpeg;*.bmp|PNG 图片 (*.png)|*.png|"
                        "JPEG 图片 (*.jpg *.jpeg)|*.jpg;*.jpeg|BMP 图片 (*.bmp)|*.bmp");
    EXPECT_EQ(r.defaultExtension, "jpg");
    EXPECT_TRUE(r.extensionFromType);
    EXPECT_TRUE(r.picturePreview);
    EXPECT_TRUE(r.initialPath.isEmpty());
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(SaveCommand, FileTypeByExtensionInAnyCase) {
    drawSomething();
    const QImage before = form->Image1->picture().image();
    for (const char* name : {"work.bmp", "UPPER.BMP"}) {
        save(dir.filePath(name));
        const QByteArray bmp = contents(dir.filePath(name));
        ASSERT_TRUE(bmp.startsWith("BM")) << name;
        EXPECT_EQ(codecs::decodeBmp(bmp), before);
    }
    // PNG, lossless: the program takes it back as a background.
    save(dir.filePath("pic.png"));
    EXPECT_EQ(codecs::loadPicture(dir.filePath("pic.png")), before);
    save(dir.filePath("work.jpeg"));
    EXPECT_EQ(codecs::decodeJpeg(contents(dir.filePath("work.jpeg"))).size(), QSize(40, 30));
    // A name typed without an extension gets ".jpg", one that ends in a dot "jpg" only.
    save(dir.filePath("g."));
    EXPECT_EQ(codecs::decodeJpeg(contents(dir.filePath("g.jpg"))).size(), QSize(40, 30));
    save(dir.filePath("plain"));
    EXPECT_FALSE(QFile::exists(dir.filePath("plain")));
    const QImage back = codecs::decodeJpeg(contents(dir.filePath("plain.jpg")));
    ASSERT_EQ(back.size(), QSize(40, 30));
    EXPECT_NEAR(qRed(back.pixel(20, 20)), 0x80, 3);
    EXPECT_NEAR(qBlue(back.pixel(20, 20)), 0x20, 3);
    // The canvas and the state are untouched.
    EXPECT_EQ(form->Image1->picture().image(), before);
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

// The dialog itself asks before it replaces a file (see the real dialog below).
TEST_F(SaveCommand, TheDialogStartsFromTheLastNameAndReplacesWhatItAccepted) {
    drawSomething();
    const QString path = dir.filePath("again.jpg");
    save(path);
    const QByteArray first = contents(path);
    form->Image1->canvas().fillRect(0, 0, 40, 30);
    form->Image1->canvas().setPixel(0, 0, clBlack);
    save(path);
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].initialPath, path);
    EXPECT_NE(contents(path), first);
    EXPECT_TRUE(errors.isEmpty());
}

// The platform's save dialog as the user works it: the chosen type gives a bare name its
// extension, and a file of the final name is replaced only after Qt's own question.
TEST_F(SaveCommand, TheRealDialogNamesByTheChosenTypeAndAsksBeforeReplacing) {
    drawSomething();
    QStringList questions;
    // Types a name into the shown save dialog, picks a type and presses 保存; a question that
    // follows gets the answers given, one each time the dialog is accepted.
    const auto typeAndSave = [&](const QString& name, int type,
                                 std::vector<QMessageBox::StandardButton> answers) {
        QTimer::singleShot(0, [&, name, type, answers] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            dialog->setDirectory(dir.path());
            dialog->selectNameFilter(dialog->nameFilters().at(type));
            // Typed: the name box has the focus when 保存 is pressed with Enter.
            auto* nameBox = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            QApplication::setActiveWindow(dialog);
            nameBox->setFocus();
            nameBox->setText(name);
            // 保存 once, or once for each answer to give.
            for (size_t press = 0; press < std::max<size_t>(1, answers.size()); ++press) {
                if (press < answers.size())
                    QTimer::singleShot(0, [&questions, answer = answers[press]] {
                        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                        ASSERT_NE(box, nullptr);
                        questions << box->text();
                        box->button(answer)->click();
                    });
                QMetaObject::invokeMethod(dialog, "accept");
            }
            if (dialog->isVisible())
                dialog->reject();
        });
        form->BitBtn3->click();
    };
    typeAndSave(QStringLiteral("filt"), 3, {}); // "BMP 图片 (*.bmp)"
    EXPECT_EQ(codecs::decodeBmp(contents(dir.filePath("filt.bmp"))),
              form->Image1->picture().image());
    typeAndSave(QStringLiteral("g."), 0, {});
    EXPECT_TRUE(contents(dir.filePath("g.jpg")).startsWith("\xFF\xD8"));
    typeAndSave(QStringLiteral("lossless"), 1, {}); // "PNG 图片 (*.png)"
    EXPECT_TRUE(contents(dir.filePath("lossless.png")).startsWith("\x89PNG"));
    EXPECT_EQ(codecs::loadPicture(dir.filePath("lossless.png")), form->Image1->picture().image());
    EXPECT_TRUE(questions.isEmpty());

    // 否 keeps the file and the dialog; 是 replaces it.
    const QByteArray earlier = contents(dir.filePath("filt.bmp"));
    form->Image1->canvas().setPixel(0, 0, clBlack);
    typeAndSave(QStringLiteral("filt"), 3, {QMessageBox::No});
    EXPECT_EQ(contents(dir.filePath("filt.bmp")), earlier);
    typeAndSave(QStringLiteral("filt"), 3, {QMessageBox::No, QMessageBox::Yes});
    EXPECT_NE(contents(dir.filePath("filt.bmp")), earlier);
    const QString question =
        QFileDialog::tr("%1 already exists.\nDo you want to replace it?").arg("filt.bmp");
    EXPECT_EQ(questions, QStringList({question, question, question}));
    QStringList files = QDir(dir.path()).entryList(QDir::Files);
    files.sort();
    EXPECT_EQ(files, QStringList({"filt.bmp", "g.jpg", "lossless.png"}));
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

TEST_F(SaveCommand, NoPictureReportsAnErrorInBothFormats) {
    form->Image1->clearPicture();
    save(dir.filePath("nothing.bmp"));
    save(dir.filePath("nothing.jpg"));
    EXPECT_EQ(errors, QStringList({QStringLiteral("无法保存图片“%1”：画布上还没有图片。")
                                       .arg(dir.filePath("nothing.bmp")),
                                   QStringLiteral("无法保存图片“%1”：画布上还没有图片。")
                                       .arg(dir.filePath("nothing.jpg"))}));
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

// Work that was never saved is not thrown away without a question: "清空" and the close box ask,
// and only 不保存, or 保存 that really saved the work file, let them go on. A picture exported
// is not the work saved.
TEST_F(SaveCommand, UnsavedWorkIsAskedAboutBeforeItIsDiscarded) {
    using PlatformDialogs::SaveAnswer;
    form->show();
    QStringList asked;
    const auto answer = [&asked, this](SaveAnswer a) {
        PlatformDialogs::setSaveQuestion([&asked, a, this](QWidget*) {
            asked << form->unsavedQuestion();
            return a;
        });
    };
    drawSomething();
    stampCircle();
    const QString saved = dir.filePath("work.tarvel");
    struct Case {
        SaveAnswer answer;
        std::optional<QString> file; // the work dialog's answer
        bool cleared;
    } cases[] = {
        {SaveAnswer::Cancel, saved, false},
        {SaveAnswer::Save, std::nullopt, false}, // the work dialog was cancelled
        {SaveAnswer::Save, QStringLiteral("/nonexistent-folder/x.tarvel"), false}, // it failed
        {SaveAnswer::Save, saved, true},
    };
    for (const Case& c : cases) {
        asked.clear();
        answer(c.answer);
        PlatformDialogs::setFileChooser(
            [&c](QWidget*, const FileDialogRequest&) { return c.file; });
        form->ToolButton23->click();
        EXPECT_EQ(asked, QStringList{QStringLiteral("当前作品尚未保存，是否保存？")});
        EXPECT_EQ(!form->Image1->hasPicture(), c.cleared);
    }
    EXPECT_EQ(form->workFile(), saved);
    EXPECT_TRUE(contents(saved).contains("\"do\": \"circle\""));
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].startsWith(QStringLiteral("无法保存“/nonexistent-folder/x.tarvel”")));

    // A work saved as a work is not asked about; a picture exported since is no save, and the
    // question says so.
    asked.clear();
    stampCircle();
    form->MenuSaveWork->trigger();
    EXPECT_FALSE(form->isWindowModified());
    stampCircle();
    const QString picture = dir.filePath("export.bmp");
    PlatformDialogs::setFileChooser(
        [&picture](QWidget*, const FileDialogRequest&) { return picture; });
    form->MenuSave->trigger();
    EXPECT_TRUE(QFile::exists(picture));
    EXPECT_TRUE(form->isWindowModified());
    answer(SaveAnswer::Save);
    form->ToolButton23->click();
    EXPECT_EQ(
        asked,
        QStringList{
            QStringLiteral("图片已导出到“%1”，但作品还没有保存。是否保存作品？").arg(picture)});
    EXPECT_FALSE(form->Image1->hasPicture()); // saved to work.tarvel without a dialog
    EXPECT_FALSE(form->isWindowModified());

    // The close box with unsaved work: 取消 keeps the window open, 不保存 closes it.
    asked.clear();
    drawSomething();
    stampCircle();
    answer(SaveAnswer::Cancel);
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());
    answer(SaveAnswer::Discard);
    EXPECT_TRUE(form->close());
    EXPECT_EQ(asked.size(), 2);
    PlatformDialogs::setSaveQuestion({});
}
