// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

#include "WorkFile.h"

#include "FileAccess.h"
#include "Messages.h"
#include "PictureSave.h"
#include "StepSession.h"
#include "TarvelError.h"
#include "WorkSteps.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cerrno>
#include <new>

namespace {

// The whole text, even past a U+0000 that a face name may hold.
void printLine(FILE* stream, const QString& text) {
    const QByteArray line = text.toUtf8() + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stream);
}

// A step that failed, as the window and a script's first error name it.
QString stepFailed(const ScriptStep& step, const QString& failure) {
    return QCoreApplication::translate("Composition", "第 %1 步：%2").arg(step.number).arg(failure);
}

QByteArray contentHash(const QByteArray& data) {
    return QCryptographicHash::hash(data, QCryptographicHash::Sha256).toHex();
}

// What a number of a step is to the user who set it in a dialog, and its unit.
struct NumberName {
    const char* command;
    const char* key;
    const char* name;
    const char* unit; // empty for a count or a choice
};
constexpr const char* pixels = QT_TRANSLATE_NOOP("Composition", "像素");
constexpr const char* dotsPerInch = QT_TRANSLATE_NOOP("Composition", "点/英寸");
constexpr const char* degrees = QT_TRANSLATE_NOOP("Composition", "度");
constexpr const char* centimetres = QT_TRANSLATE_NOOP("Composition", "厘米");
constexpr NumberName numberNames[] = {
    {"canvas", "width", QT_TRANSLATE_NOOP("Composition", "画布宽度"), pixels},
    {"canvas", "height", QT_TRANSLATE_NOOP("Composition", "画布高度"), pixels},
    {"canvas", "resolution", QT_TRANSLATE_NOOP("Composition", "画布分辨率"), dotsPerInch},
    {"text", "size", QT_TRANSLATE_NOOP("Composition", "字号"), ""},
    {"text", "arrangement", QT_TRANSLATE_NOOP("Composition", "文本的排列方式"), ""},
    {"text", "wrapWidth", QT_TRANSLATE_NOOP("Composition", "文本的折行宽度"), pixels},
    {"rotated", "angle", QT_TRANSLATE_NOOP("Composition", "旋转字的角度"), degrees},
    {"seal", "strokeWeight", QT_TRANSLATE_NOOP("Composition", "印章的笔画粗细"), ""},
    {"seal", "arrangement", QT_TRANSLATE_NOOP("Composition", "印章的排列方式"), ""},
    {"seal", "angle", QT_TRANSLATE_NOOP("Composition", "印章的角度"), degrees},
    {"seal", "frameWidth", QT_TRANSLATE_NOOP("Composition", "印章的边框宽"), pixels},
    {"seal", "wear", QT_TRANSLATE_NOOP("Composition", "印章的残破程度"), ""},
    {"fan", "lineWidth", QT_TRANSLATE_NOOP("Composition", "扇形的线宽"), pixels},
    {"fan", "radius", QT_TRANSLATE_NOOP("Composition", "扇形的半径"), pixels},
    {"fan", "innerRadius", QT_TRANSLATE_NOOP("Composition", "扇形的内半径"), pixels},
    {"fan", "span", QT_TRANSLATE_NOOP("Composition", "扇形的张角"), degrees},
    {"click", "at", QT_TRANSLATE_NOOP("Composition", "放置位置"), pixels},
    {"nudge", "times", QT_TRANSLATE_NOOP("Composition", "微调的次数"), ""},
    {"template", "longCm", QT_TRANSLATE_NOOP("Composition", "模板的长边"), centimetres},
    {"template", "shortCm", QT_TRANSLATE_NOOP("Composition", "模板的短边"), centimetres},
    {"template", "dpi", QT_TRANSLATE_NOOP("Composition", "模板的分辨率"), dotsPerInch},
    {"template", "span", QT_TRANSLATE_NOOP("Composition", "扇面的张角"), degrees},
};

// A number of a work out of its range, said with the name the dialogs give it ("画布宽度必须
// 在 1 到 4000 像素之间") rather than with the script's key; any other fault as the reader says it.
QString inUserWords(const ScriptFormatError& error) {
    if (!error.range())
        return error.text();
    const ScriptFormatError::OutOfRange& range = *error.range();
    for (const NumberName& known : numberNames) {
        if (range.command != QLatin1String(known.command) || range.key != QLatin1String(known.key))
            continue;
        const QString name = QCoreApplication::translate("Composition", known.name);
        const QString low = QString::number(range.minimum), high = QString::number(range.maximum);
        if (!*known.unit)
            return QCoreApplication::translate("Composition", "第 %1 步：%2必须在 %3 到 %4 之间。")
                .arg(range.step)
                .arg(name, low, high);
        return QCoreApplication::translate("Composition", "第 %1 步：%2必须在 %3 到 %4 %5之间。")
            .arg(range.step)
            .arg(name, low, high, QCoreApplication::translate("Composition", known.unit));
    }
    return error.text();
}

} // namespace

void checkWorkSteps(const ScriptDocument& document) {
    static const QStringList allowed = {"canvas", "text",   "rotated", "seal", "circle",
                                        "fan",    "click",  "nudge",   "undo", "redo",
                                        "clear",  "effect", "template"};
    for (const ScriptStep& step : document.steps) {
        const auto refuse = [&](const QString& what) {
            throw TarvelError(QCoreApplication::translate("Composition", "第 %1 步（第 %2 行）：%3")
                                  .arg(step.number)
                                  .arg(step.line)
                                  .arg(what));
        };
        if (!allowed.contains(step.command))
            refuse(QCoreApplication::translate("Composition", "作品文件里不能有“%1”")
                       .arg(step.command));
        for (const char* key : {"open", "saveAs"})
            if (step.keys.contains(QLatin1String(key)))
                refuse(QCoreApplication::translate("Composition",
                                                   "作品文件里的文本不能读写别的文件（“%1”）")
                           .arg(QLatin1String(key)));
        const QString picture = step.keys.value(QStringLiteral("picture")).toString();
        if (!picture.isEmpty() && !document.files.count(picture))
            refuse(QCoreApplication::translate("Composition", "背景图片“%1”不在作品文件里")
                       .arg(picture));
    }
}

void checkEmbeddable(const Step& step) {
    if ((step.kind == Step::Kind::Canvas && step.canvas.UsePicture && step.picture.isEmpty()) ||
        (step.kind == Step::Kind::Template && !step.work.picture.isEmpty() &&
         step.picture.isEmpty()))
        throw TarvelError(QCoreApplication::translate(
                              "Composition", "背景图片太大（超过 %1 MB），不能放进作品文件。")
                              .arg(maxEmbeddedPicture >> 20));
}

void writeWholeFile(const QString& path, const QByteArray& data) {
    // As a picture is saved: the reason of a failure said in Chinese.
    writeThroughTemporaryFile(
        path,
        [&](QIODevice& file) {
            if (file.write(data) != data.size())
                throw TarvelError(files::errorText(EIO));
        },
        QCoreApplication::translate("Composition", "无法保存"));
}

QJsonObject workDocument(const CompositionState& composition) {
    const std::vector<std::shared_ptr<const Step>> recipe = composition.steps().recipe();
    for (const std::shared_ptr<const Step>& step : recipe)
        checkEmbeddable(*step);
    QJsonObject files;
    const QJsonArray steps = workSteps(recipe, files);
    QJsonObject work{{QStringLiteral("format"), workFormatName},
                     {QStringLiteral("version"), workFormatVersion},
                     {QStringLiteral("steps"), steps}};
    if (!files.isEmpty())
        work.insert(QStringLiteral("files"), files);
    return work;
}

QByteArray saveWorkFile(CompositionState& composition, const QString& path) {
    const QByteArray data =
        QJsonDocument(workDocument(composition)).toJson(QJsonDocument::Indented);
    // What is written can be read: a work past the reader's bounds is refused here, in words,
    // and the file on disk stays as it was.
    if (data.size() > largestWork)
        throw TarvelError(QCoreApplication::translate(
                              "Composition", "作品太大（超过 %1 MB），无法保存为作品文件。")
                              .arg(largestWork / (1024 * 1024)));
    if (countObjects(data) > workLimits.objects)
        throw TarvelError(
            QCoreApplication::translate("Composition",
                                        "作品太大（超过 %1 个步骤和文字段），无法保存为作品文件。")
                .arg(workLimits.objects));
    writeWholeFile(path, data);
    composition.markSaved();
    return contentHash(data);
}

void openWorkFile(CompositionState& composition, const QString& path, QStringList* warnings,
                  QByteArray* hash) {
    const QString shown = QDir::toNativeSeparators(path);
    const auto refuse = [&](const QString& why) {
        throw TarvelError(
            QCoreApplication::translate("Composition", "无法打开作品“%1”：%2").arg(shown, why));
    };
    const files::ReadResult read = files::readRegularFile(path, largestWork + 1);
    if (read.problem != files::ReadProblem::None)
        refuse(files::problemText(read, largestWork) +
               QCoreApplication::translate("Composition", "。"));
    ScriptDocument document;
    try {
        document = readScriptDocument(read.data, workLimits);
        checkWorkSteps(document);
    } catch (const ScriptFormatError& error) {
        // Said in a user's words where the file is not a work at all or was cut short.
        if (error.kind() == ScriptFormatError::Kind::NotAScript || read.data.trimmed().isEmpty())
            refuse(QCoreApplication::translate("Composition", "这个文件不是 Tarvel 作品文件。"));
        if (error.kind() == ScriptFormatError::Kind::CutShort)
            refuse(QCoreApplication::translate("Composition", "作品文件不完整，可能没有保存完。"));
        refuse(inUserWords(error));
    } catch (const TarvelError& error) {
        refuse(error.text());
    }
    // The steps are applied to a composition of their own: the one shown now changes only
    // when every step succeeded.
    CompositionState opened;
    StepSession session(opened, std::move(document.files), QFileInfo(path).absoluteDir());
    try {
        applySteps(session, document.steps, warnings);
    } catch (const TarvelError& error) {
        refuse(error.text());
    }
    opened.markSaved();
    composition.putWork(opened.takeWork());
    if (hash)
        *hash = contentHash(read.data);
}

void applySteps(StepSession& session, const std::vector<ScriptStep>& steps, QStringList* warnings) {
    for (const ScriptStep& step : steps) {
        try {
            session.run(step);
            for (const QString& warning : session.takeWarnings())
                if (warnings && !warnings->contains(warning))
                    warnings->append(warning);
        } catch (...) {
            throw TarvelError(stepFailed(step, failureText(std::current_exception())));
        }
    }
}

QString failureText(const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const TarvelError& error) {
        return error.text();
    } catch (const std::bad_alloc&) {
        return Messages::outOfMemory();
    } catch (const std::exception& error) {
        return QString::fromUtf8(error.what());
    }
    return QString();
}

int runScriptDocument(CompositionState& composition, const ScriptDocument& document,
                      const QDir& base, FILE* out, FILE* err, QString& firstError) {
    StepSession session(composition, document.files, base, out);
    const auto fileOf = [&](const ScriptStep& step) {
        return QDir::cleanPath(
            base.absoluteFilePath(step.keys.value(QStringLiteral("file")).toString()));
    };
    for (const ScriptStep& step : document.steps) {
        QString failure;
        try {
            if (step.command == QLatin1String("save")) {
                // A picture is an export: the work is saved only as a work.
                const QString path =
                    files::withDefaultExtension(fileOf(step), QStringLiteral("jpg"));
                savePicture(composition.canvas().picture(), path,
                            composition.canvas().dotsPerInch());
            } else if (step.command == QLatin1String("saveWork")) {
                saveWorkFile(composition, fileOf(step));
            } else if (step.command == QLatin1String("openWork")) {
                openWorkFile(composition, fileOf(step));
            } else {
                session.run(step);
            }
        } catch (...) {
            failure = failureText(std::current_exception());
        }
        if (out)
            std::fflush(out);
        for (const QString& warning : session.takeWarnings())
            printLine(err, QStringLiteral("step %1: %2").arg(step.number).arg(warning));
        if (!failure.isEmpty()) {
            printLine(err, QStringLiteral("step %1: %2").arg(step.number).arg(failure));
            firstError = stepFailed(step, failure);
            return 1;
        }
    }
    return 0;
}

int runScriptFile(CompositionState& composition, const QString& file, FILE* out, FILE* err) {
    try {
        // A work file runs as a script too, within the bounds of a work.
        const DocumentLimits limits = file.endsWith(QStringLiteral(".tarvel"), Qt::CaseInsensitive)
                                          ? workLimits
                                          : scriptLimits;
        const qint64 largestScript = limits.bytes;
        // One byte past the limit is read, so that the reader refuses a script that is too
        // long.
        const files::ReadResult script = files::readRegularFile(file, largestScript + 1);
        if (script.problem != files::ReadProblem::None) {
            printLine(err,
                      QCoreApplication::translate("Composition", "无法读取脚本%1：%2。")
                          .arg(files::quoted(file), files::problemText(script, largestScript)));
            return 2;
        }
        ScriptDocument document;
        try {
            document = readScriptDocument(script.data, limits);
        } catch (const ScriptFormatError& error) {
            printLine(err, QCoreApplication::translate("Composition", "无法运行脚本%1：%2。")
                               .arg(files::quoted(file), error.text()));
            return 2;
        }
        QString firstError;
        return runScriptDocument(composition, document, QFileInfo(file).absoluteDir(), out, err,
                                 firstError);
    } catch (const std::bad_alloc&) {
        printLine(err, Messages::outOfMemory());
        return 1;
    }
}
