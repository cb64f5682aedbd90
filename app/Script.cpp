// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// Running composition scripts: each step gives the same command a user gives in the window,
// through the same handlers, with the dialog's controls set as a user would set them.
#include "Script.h"

#include "FileAccess.h"
#include "TarvelError.h"

#include "EffectKind.h"
#include "ErrorBoundary.h"
#include "ImageControl.h"
#include "PlatformDialogs.h"
#include "ScriptDrivers.h"
#include "ScriptReader.h"
#include "Unit1.h"
#include "WorkTemplate.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <cstdio>
#include <new>

QString scriptUsage() {
    return QStringLiteral(
        "Usage: tarvel [--script FILE [--debug]]\n"
        "\n"
        "Without arguments Tarvel opens its window. With --script FILE it runs the steps of a\n"
        "composition script against the real window and dialogs without showing anything, and\n"
        "exits 0 when every step succeeded, 1 when a step failed (the error is printed as\n"
        "\"step N: text\"), 2 when the script cannot be read or is malformed. A text or\n"
        "rotated step whose face lacks some of its characters draws them in a fallback face\n"
        "and prints one warning \"step N: 警告：…\" naming the face and the characters.\n"
        "Standard error carries only these lines; --debug (or TARVEL_DEBUG=1) adds the\n"
        "toolkit's own messages.\n"
        "\n"
        "A script is a JSON object {\"steps\": [ ... ]}; each step names a command with \"do\"\n"
        "and gives the values a user would put in that command's dialog. Keys left out keep\n"
        "what the dialog holds. Colours are \"#RRGGBB\"; relative file names are relative to\n"
        "the script's folder. Dialog steps take \"close\": \"confirm\" (default), \"apply\",\n"
        "\"cancel\", \"closebox\", and where the dialog has them \"preview\" and \"clear\".\n"
        "\n"
        "  canvas   width height color | picture layout(tile|stretch|center) close\n"
        "  text     open | plain face size color | runs[{text face size color bold italic\n"
        "           underline strikeout}] leftMargin topMargin charSpacing lineSpacing\n"
        "           arrangement(0-3) check saveAs close\n"
        "  rotated  text angle charSpacing size face placement(horizontal|vertical) color close\n"
        "  seal     text width height strokeWeight charSpacing edgeWidth face\n"
        "           style(intaglio|relief) corner(square|rounded) arrangement angle close\n"
        "  circle   lineWidth radius lineColor fillColor close\n"
        "  fan      lineWidth radius lineColor fillColor close\n"
        "  click    at [x, y] button(left|right|middle)\n"
        "  nudge    direction(left|right|up|down) times | dx dy\n"
        "  undo, redo, clear\n"
        "  effect   kind(hollow|nostalgic|relief|sharpen|clear|outline|blur|soft|restore)\n"
        "  template format(couplet|scroll|central|square|horizontal|fan) paper longCm shortCm\n"
        "           dpi color | picture ink face text banner upper lower nameSeal leadingSeal\n"
        "           span fanColumns(long|longShort)\n"
        "  save     file\n"
        "  saveWork file (a work file that opens again for editing)\n"
        "  openWork file\n"
        "\n"
        "A work file (.tarvel) is such a script with \"format\": \"tarvel-work\", \"version\"\n"
        "and \"files\", the files its steps use in base64; --script runs it too.\n"
        "\n"
        "See docs/script.md for every command with an example.\n");
}

namespace {

QtMessageHandler& toolkitHandler() {
    static QtMessageHandler handler = nullptr;
    return handler;
}

void keepOnlyFatalMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg && toolkitHandler())
        toolkitHandler()(type, context, text);
}

} // namespace

void quietenToolkitMessages() {
    toolkitHandler() = qInstallMessageHandler(keepOnlyFatalMessages);
}

ScriptContext::ScriptContext(TForm1& form, const QDir& base, FILE* out)
    : form(form), base(base), out(out) {}

QString ScriptContext::path(const QString& name) const {
    if (embedded.contains(name))
        return embedded.value(name);
    return QDir::cleanPath(base.absoluteFilePath(name));
}

void ScriptContext::answerColor(TColor color) {
    nextColor = color;
}
void ScriptContext::answerFile(const QString& file) {
    nextFile = file;
}

void ScriptContext::withDialog(const std::function<void()>& open,
                               const std::function<void(QDialog&)>& act) {
    bool reached = false;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        reached = true;
        try {
            act(*dialog);
        } catch (const TarvelError& error) {
            fail(error.text());
        } catch (const std::bad_alloc&) {
            fail(QStringLiteral("内存不足，命令没有完成。"));
        }
        // Whatever the step did, the dialog is left the way a user leaves it.
        if (dialog->isVisible())
            dialog->close();
    });
    timer.start(0);
    open();
    timer.stop();
    if (!reached && firstError.isEmpty())
        fail(QStringLiteral("对话框没有打开。"));
}

void ScriptContext::fail(const QString& text) {
    if (firstError.isEmpty())
        firstError = text;
}

void ScriptContext::pressCanvas(QPoint at, Qt::MouseButton button) {
    ImageControl* canvas = form.Image1;
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), canvas->mapToGlobal(QPointF(at)),
                      button, button, Qt::NoModifier);
    QCoreApplication::sendEvent(canvas, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at), canvas->mapToGlobal(QPointF(at)),
                        button, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(canvas, &release);
}

namespace {

QAbstractButton* nudgeButton(TForm1& form, const QString& direction) {
    if (direction == QLatin1String("left"))
        return form.ToolButton30;
    if (direction == QLatin1String("right"))
        return form.ToolButton31;
    if (direction == QLatin1String("up"))
        return form.ToolButton35;
    return form.ToolButton36;
}

QAction* effectItem(TForm1& form, const QString& kind) {
    for (const EffectEntry& entry : effectTable)
        if (kind == QLatin1String(entry.scriptName))
            return form.PopupMenu1->findChild<QAction*>(QLatin1String(entry.objectName));
    return form.N29;
}

void runStep(ScriptContext& context, const ScriptStep& step) {
    TForm1& form = context.form;
    const QJsonObject& keys = step.keys;
    const QString& command = step.command;
    if (command == QLatin1String("click")) {
        const QJsonArray at = keys.value(QStringLiteral("at")).toArray();
        const QString button =
            keys.value(QStringLiteral("button")).toString(QStringLiteral("left"));
        const Qt::MouseButton which = button == QLatin1String("right")    ? Qt::RightButton
                                      : button == QLatin1String("middle") ? Qt::MiddleButton
                                                                          : Qt::LeftButton;
        context.pressCanvas(QPoint(at[0].toInt(), at[1].toInt()), which);
    } else if (command == QLatin1String("nudge") &&
               (keys.contains(QStringLiteral("dx")) || keys.contains(QStringLiteral("dy")))) {
        // A move by pixels, as a work file writes the moves merged into a step.
        form.composition().nudge(keys.value(QStringLiteral("dx")).toInt(),
                                 keys.value(QStringLiteral("dy")).toInt());
    } else if (command == QLatin1String("nudge")) {
        QAbstractButton* button =
            nudgeButton(form, keys.value(QStringLiteral("direction")).toString());
        const int times = keys.value(QStringLiteral("times")).toInt(1);
        for (int i = 0; i < times && context.firstError.isEmpty(); ++i)
            button->click();
    } else if (command == QLatin1String("undo")) {
        form.MenuUndo->trigger();
    } else if (command == QLatin1String("redo")) {
        form.MenuRedo->trigger();
    } else if (command == QLatin1String("template")) {
        WorkTemplate work = workTemplateFromKeys(keys);
        if (!work.picture.isEmpty())
            work.picture = context.path(work.picture);
        // The template is the steps a user would take, each one step of the history.
        for (const QJsonValue& value : templateSteps(work)) {
            ScriptStep expanded = step;
            expanded.keys = value.toObject();
            expanded.command = expanded.keys.take(QStringLiteral("do")).toString();
            runStep(context, expanded);
            if (!context.firstError.isEmpty())
                break;
            QCoreApplication::processEvents();
        }
    } else if (command == QLatin1String("saveWork")) {
        form.saveWork(context.path(keys.value(QStringLiteral("file")).toString()));
    } else if (command == QLatin1String("openWork")) {
        form.openWork(context.path(keys.value(QStringLiteral("file")).toString()));
    } else if (command == QLatin1String("clear")) {
        form.ToolButton23->click();
    } else if (command == QLatin1String("effect")) {
        effectItem(form, keys.value(QStringLiteral("kind")).toString())->trigger();
    } else if (command == QLatin1String("save")) {
        context.answerFile(context.path(keys.value(QStringLiteral("file")).toString()));
        form.BitBtn3->click();
    } else {
        runDialogStep(context, step);
    }
}

int runScriptSteps(TForm1& form, const QString& file, FILE* out, FILE* err);

// The whole text, even past a U+0000 that a face name may hold.
void printLine(FILE* stream, const QString& text) {
    const QByteArray line = text.toUtf8() + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stream);
}

} // namespace

int runScript(TForm1& form, const QString& file, FILE* out, FILE* err) {
    try {
        return runScriptSteps(form, file, out, err);
    } catch (const std::bad_alloc&) {
        // Reading and checking the script run outside any command's error boundary.
        printLine(err, QStringLiteral("内存不足，命令没有完成。"));
        return 1;
    }
}

namespace {

int runScriptSteps(TForm1& form, const QString& file, FILE* out, FILE* err) {
    constexpr qint64 largestScript = 16 * 1024 * 1024;
    // One byte past the limit is read, so that readScript refuses a script that is too long.
    const files::ReadResult script = files::readRegularFile(file, largestScript + 1);
    if (script.problem != files::ReadProblem::None) {
        printLine(err, QStringLiteral("无法读取脚本%1：%2。")
                           .arg(files::quoted(file), files::problemText(script, largestScript)));
        return 2;
    }
    ScriptDocument document;
    try {
        document = readScriptDocument(script.data);
    } catch (const ScriptFormatError& error) {
        printLine(err,
                  QStringLiteral("无法运行脚本%1：%2。").arg(files::quoted(file), error.text()));
        return 2;
    }
    QString firstError;
    return runScriptDocument(form, document, QFileInfo(file).absoluteDir(), out, err, firstError);
}

} // namespace

EmbeddedFolder::EmbeddedFolder(const std::map<QString, QByteArray>& files) {
    for (const auto& [name, data] : files) {
        QFile file(folder.filePath(name));
        if (!folder.isValid() || !file.open(QIODevice::WriteOnly) ||
            file.write(data) != data.size())
            throw TarvelError(
                QStringLiteral("无法写出作品中的文件“%1”：%2。").arg(name, file.errorString()));
        paths.insert(name, file.fileName());
    }
}

int runScriptDocument(TForm1& form, const ScriptDocument& document, const QDir& base, FILE* out,
                      FILE* err, QString& firstError) {
    const std::vector<ScriptStep>& steps = document.steps;
    std::optional<EmbeddedFolder> files;
    try {
        files.emplace(document.files);
    } catch (const TarvelError& error) {
        firstError = error.text();
        std::fprintf(err, "tarvel: %s\n", qUtf8Printable(firstError));
        return 1;
    }
    ScriptContext context(form, base, out);
    context.embedded = files->paths;
    // Errors that the window would show in a message box end the step.
    const ErrorBoundary::Display previousDisplay = ErrorBoundary::setDisplay(
        [&context](QWidget*, const QString& text) { context.fail(text); });
    const PlatformDialogs::ColorChooser previousColor = PlatformDialogs::setColorChooser(
        [&context](QWidget*, TColor initial) -> std::optional<TColor> {
            if (!context.nextColor)
                return initial;
            return std::exchange(context.nextColor, std::nullopt);
        });
    const PlatformDialogs::FileChooser previousFile = PlatformDialogs::setFileChooser(
        [&context](QWidget*, const FileDialogRequest& request) -> std::optional<QString> {
            if (!context.nextFile)
                return std::nullopt;
            QString chosen = *std::exchange(context.nextFile, std::nullopt);
            if (request.kind == FileDialogRequest::Kind::Save)
                chosen = PlatformDialogs::withDefaultExtension(chosen, request.defaultExtension);
            return chosen;
        });

    int status = 0;
    for (const ScriptStep& step : steps) {
        ErrorBoundary::run(&form, [&] { runStep(context, step); });
        QCoreApplication::processEvents();
        for (const QString& warning : std::exchange(context.warnings, {}))
            printLine(err, QStringLiteral("step %1: %2").arg(step.number).arg(warning));
        if (!context.firstError.isEmpty()) {
            printLine(err, QStringLiteral("step %1: %2").arg(step.number).arg(context.firstError));
            firstError = QStringLiteral("第 %1 步：%2").arg(step.number).arg(context.firstError);
            status = 1;
            break;
        }
    }
    std::fflush(out);
    PlatformDialogs::setFileChooser(previousFile);
    PlatformDialogs::setColorChooser(previousColor);
    ErrorBoundary::setDisplay(previousDisplay);
    return status;
}
