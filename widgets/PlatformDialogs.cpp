// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

#include "PlatformDialogs.h"

#include "FileAccess.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QIdentityProxyModel>
#include <QImageReader>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QPushButton>

namespace PlatformDialogs {
namespace {

ColorChooser& colorChooser() {
    static ColorChooser chooser;
    return chooser;
}
FileChooser& fileChooser() {
    static FileChooser chooser;
    return chooser;
}
SaveQuestion& saveQuestion() {
    static SaveQuestion question;
    return question;
}
YesNoQuestion& yesNoQuestion() {
    static YesNoQuestion question;
    return question;
}
RecoverQuestion& recoverQuestion() {
    static RecoverQuestion question;
    return question;
}
Notice& notice() {
    static Notice shown;
    return shown;
}

// Qt's file dialog; as a save dialog it gives a bare name its extension itself, and asks about
// replacing a file of that final name, not of the name as it was typed, with the question Qt's
// own dialog asks (Qt's is turned off: it would see only the typed name).
class ProgramFileDialog final : public QFileDialog {
public:
    ProgramFileDialog(QWidget* parent, const FileDialogRequest& request)
        : QFileDialog(parent), request(request) {}

    // The name the file is saved under; empty until a save dialog is accepted.
    QString chosen;

    void accept() override {
        const QStringList files = selectedFiles();
        if (acceptMode() == AcceptSave && files.size() == 1 && !QFileInfo(files[0]).isDir()) {
            const QString named =
                withDefaultExtension(files[0], extensionForType(request, chosenType()));
            if (QFileInfo::exists(named) && !mayReplace(named))
                return; // the dialog stays open for another name
            chosen = named;
        }
        QFileDialog::accept();
    }

private:
    bool mayReplace(const QString& path) {
        return QMessageBox::warning(
                   this, windowTitle(),
                   QFileDialog::tr("%1 already exists.\nDo you want to replace it?")
                       .arg(QFileInfo(path).fileName()),
                   QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
    }

    // The index of the chosen type. With the patterns hidden, Qt names the type by the text
    // it shows, which is the program's description without Qt's copy of the patterns.
    int chosenType() const {
        const QStringList types = nameFilters();
        const QString shown = selectedNameFilter();
        for (int i = 0; i < types.size(); ++i)
            if (types[i] == shown || types[i].startsWith(shown + QLatin1String(" (")))
                return i;
        return 0;
    }

    const FileDialogRequest& request;
};

// The file list with sizes and dates in the program's language: Qt's file model writes them
// in the system's, which is English on a system left in the C locale.
class LocalisedFileList final : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex& index, int role) const override {
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (files == nullptr || role != Qt::DisplayRole || index.column() == 0)
            return QIdentityProxyModel::data(index, role);
        const QModelIndex file = mapToSource(index);
        if (index.column() == 2)
            return files->isDir(file) ? QCoreApplication::translate("PlatformDialogs", "文件夹")
                                      : QIdentityProxyModel::data(index, role);
        if (index.column() == 3)
            return QLocale().toString(files->lastModified(file), QLocale::ShortFormat);
        return files->isDir(file) ? QString() : QLocale().formattedDataSize(files->size(file));
    }
};

// A non-native file dialog with a picture preview beside the file list.
std::optional<QString> runFileDialog(QWidget* parent, const FileDialogRequest& request) {
    ProgramFileDialog dialog(parent, request);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    // The program's descriptions already name their patterns ("Bitmaps (*.bmp)"): Qt's copy
    // of the patterns after them would show them twice and push the text out of the box.
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    dialog.setNameFilters(qtNameFilters(request.filter));
    dialog.setProxyModel(new LocalisedFileList(&dialog));
    if (request.kind == FileDialogRequest::Kind::Save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (!request.initialPath.isEmpty())
        dialog.selectFile(request.initialPath);
    if (request.picturePreview) {
        auto* preview = new QLabel(&dialog);
        preview->setFixedSize(200, 200);
        preview->setAlignment(Qt::AlignCenter);
        preview->setFrameShape(QFrame::StyledPanel);
        if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
            grid->addWidget(preview, 0, grid->columnCount(), grid->rowCount(), 1);
        // The preview comes on top of the usual width, so the file list keeps its columns.
        dialog.resize(dialog.sizeHint());
        QObject::connect(
            &dialog, &QFileDialog::currentChanged, preview, [preview](const QString& path) {
                QImageReader reader(path);
                reader.setAllocationLimit(64);
                reader.setAutoTransform(true);
                const QSize size = reader.size();
                if (size.isValid() && size.width() <= 16384 && size.height() <= 16384)
                    reader.setScaledSize(size.scaled(200, 200, Qt::KeepAspectRatio));
                const QImage image = reader.read();
                preview->setPixmap(image.isNull() ? QPixmap() : QPixmap::fromImage(image));
            });
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    if (!dialog.chosen.isEmpty())
        return dialog.chosen;
    return dialog.selectedFiles().first();
}

// A button of a question box, its caption in the program's language.
QPushButton* addButton(QMessageBox& box, const char* caption, QMessageBox::ButtonRole role) {
    return box.addButton(QCoreApplication::translate("PlatformDialogs", caption), role);
}

} // namespace

std::optional<TColor> chooseColor(QWidget* parent, TColor initial) {
    if (colorChooser())
        return colorChooser()(parent, initial);
    const QColor c = QColorDialog::getColor(toQColor(initial), parent);
    if (!c.isValid())
        return std::nullopt;
    return fromQColor(c);
}

std::optional<QString> chooseFile(QWidget* parent, const FileDialogRequest& request) {
    if (fileChooser())
        return fileChooser()(parent, request);
    return runFileDialog(parent, request);
}

SaveAnswer askToSave(QWidget* parent, const QString& question) {
    if (saveQuestion())
        return saveQuestion()(parent);
    QMessageBox box(QMessageBox::Question, QStringLiteral("Tarvel2008"),
                    question.isEmpty() ? QCoreApplication::translate("PlatformDialogs",
                                                                     "当前作品尚未保存，是否保存？")
                                       : question,
                    QMessageBox::NoButton, parent);
    QPushButton* save =
        addButton(box, QT_TRANSLATE_NOOP("PlatformDialogs", "保存"), QMessageBox::AcceptRole);
    QPushButton* discard = addButton(box, QT_TRANSLATE_NOOP("PlatformDialogs", "不保存"),
                                     QMessageBox::DestructiveRole);
    QPushButton* cancel =
        addButton(box, QT_TRANSLATE_NOOP("PlatformDialogs", "取消"), QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == save)
        return SaveAnswer::Save;
    if (box.clickedButton() == discard)
        return SaveAnswer::Discard;
    return SaveAnswer::Cancel;
}

bool askYesNo(QWidget* parent, const QString& question) {
    if (yesNoQuestion())
        return yesNoQuestion()(parent, question);
    QMessageBox box(QMessageBox::Question, QStringLiteral("Tarvel2008"), question,
                    QMessageBox::NoButton, parent);
    QPushButton* yes =
        addButton(box, QT_TRANSLATE_NOOP("PlatformDialogs", "是"), QMessageBox::YesRole);
    QPushButton* no =
        addButton(box, QT_TRANSLATE_NOOP("PlatformDialogs", "否"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

RecoverAnswer askToRecover(QWidget* parent, const QString& question) {
    if (recoverQuestion())
        return recoverQuestion()(parent, question);
    QMessageBox box(QMessageBox::Question, QStringLiteral("Tarvel2008"), question,
                    QMessageBox::NoButton, parent);
    QPushButton* recover =
        addButton(box, QT_TRANSLATE_NOOP("PlatformDialogs", "恢复"), QMessageBox::AcceptRole);
    QPushButton* saveAs =
        addButton(box, QT_TRANSLATE_NOOP("PlatformDialogs", "另存为…"), QMessageBox::ActionRole);
    QPushButton* discard =
        addButton(box, QT_TRANSLATE_NOOP("PlatformDialogs", "丢弃"), QMessageBox::DestructiveRole);
    // Esc and the close box decide nothing: the work is offered again at the next start.
    QPushButton* later =
        addButton(box, QT_TRANSLATE_NOOP("PlatformDialogs", "以后再说"), QMessageBox::RejectRole);
    later->hide();
    box.setEscapeButton(later);
    box.setDefaultButton(recover);
    box.exec();
    if (box.clickedButton() == recover)
        return RecoverAnswer::Recover;
    if (box.clickedButton() == saveAs)
        return RecoverAnswer::SaveAs;
    if (box.clickedButton() == discard)
        return RecoverAnswer::Discard;
    return RecoverAnswer::Later;
}

RecoverQuestion setRecoverQuestion(RecoverQuestion question) {
    RecoverQuestion previous = std::move(recoverQuestion());
    recoverQuestion() = std::move(question);
    return previous;
}

void tell(QWidget* parent, const QString& text) {
    if (notice()) {
        notice()(parent, text);
        return;
    }
    QMessageBox box(QMessageBox::Information, QStringLiteral("Tarvel2008"), text,
                    QMessageBox::NoButton, parent);
    addButton(box, QT_TRANSLATE_NOOP("PlatformDialogs", "确定"), QMessageBox::AcceptRole);
    box.exec();
}

Notice setNotice(Notice shown) {
    Notice previous = std::move(notice());
    notice() = std::move(shown);
    return previous;
}

YesNoQuestion setYesNoQuestion(YesNoQuestion question) {
    YesNoQuestion previous = std::move(yesNoQuestion());
    yesNoQuestion() = std::move(question);
    return previous;
}

ColorChooser setColorChooser(ColorChooser chooser) {
    ColorChooser previous = std::move(colorChooser());
    colorChooser() = std::move(chooser);
    return previous;
}

FileChooser setFileChooser(FileChooser chooser) {
    FileChooser previous = std::move(fileChooser());
    fileChooser() = std::move(chooser);
    return previous;
}

SaveQuestion setSaveQuestion(SaveQuestion question) {
    SaveQuestion previous = std::move(saveQuestion());
    saveQuestion() = std::move(question);
    return previous;
}

QString pictureFilter(const QString& firstEntry) {
    const auto type = [](const char* description, const char* patterns) {
        const QString bar = QLatin1String(patterns);
        return QStringLiteral("|%1 (%2)|%3")
            .arg(QCoreApplication::translate("PlatformDialogs", description),
                 QString(bar).replace(QLatin1Char(';'), QLatin1Char(' ')), bar);
    };
    return firstEntry + type(QT_TRANSLATE_NOOP("PlatformDialogs", "PNG 图片"), "*.png") +
           type(QT_TRANSLATE_NOOP("PlatformDialogs", "JPEG 图片"), "*.jpg;*.jpeg") +
           type(QT_TRANSLATE_NOOP("PlatformDialogs", "BMP 图片"), "*.bmp");
}

QStringList qtNameFilters(const QString& barFilter) {
    const QStringList parts = barFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << QStringLiteral("%1 (%2)").arg(parts[i], patterns);
    }
    return filters;
}

QString withDefaultExtension(const QString& path, const QString& extension) {
    return files::withDefaultExtension(path, extension);
}

QString extensionForType(const FileDialogRequest& request, int typeIndex) {
    if (!request.extensionFromType)
        return request.defaultExtension;
    const QStringList parts = request.filter.split(QLatin1Char('|'));
    if (typeIndex < 0 || 2 * typeIndex + 1 >= parts.size())
        return request.defaultExtension;
    const QStringList patterns = parts[2 * typeIndex + 1].split(QLatin1Char(';'));
    if (patterns.size() != 1 || !patterns[0].startsWith(QLatin1String("*.")))
        return request.defaultExtension;
    const QString extension = patterns[0].mid(2);
    if (extension.isEmpty() || extension.contains(QLatin1Char('*')) ||
        extension.contains(QLatin1Char('?')))
        return request.defaultExtension;
    return extension;
}

} // namespace PlatformDialogs
