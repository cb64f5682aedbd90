// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The dialog commands of composition scripts. Each finds the dialog's controls by their
// names, sets them as a user would and presses the dialog's own buttons.
#include "ScriptDrivers.h"

#include "FontCoverage.h"
#include "RichEditWidget.h"
#include "RichText.h"
#include "RichTextModel.h"
#include "ScriptReader.h"
#include "SpinEdit.h"
#include "TarvelError.h"
#include "Unit1.h"
#include "Unit2.h"
#include "Unit3.h"
#include "Unit4.h"
#include "Unit6.h"
#include "Unit7.h"
#include "Unit8.h"
#include "WorkSteps.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>
#include <cstdio>

namespace {

template <class Control> Control& control(QDialog& dialog, const char* name) {
    auto* found = dialog.findChild<Control*>(QLatin1String(name));
    if (!found)
        throw TarvelError(QStringLiteral("script: the dialog \"%1\" has no control %2")
                              .arg(dialog.windowTitle(), QLatin1String(name)));
    return *found;
}

void press(QDialog& dialog, const char* name) {
    QAbstractButton& button = control<QAbstractButton>(dialog, name);
    if (!button.isEnabled())
        throw TarvelError(
            QStringLiteral("script: the button \"%1\" is disabled").arg(button.text()));
    button.click();
}

void setSpin(QDialog& dialog, const char* name, const QJsonObject& keys, const char* key) {
    if (keys.contains(QLatin1String(key)))
        control<SpinEdit>(dialog, name)
            .setText(QString::number(keys.value(QLatin1String(key)).toInt()));
}

TColor colorOf(const QJsonObject& keys, const char* key) {
    return parseHtmlColor(keys.value(QLatin1String(key)).toString());
}

void pickColor(ScriptContext& context, QDialog& dialog, const char* button, const QJsonObject& keys,
               const char* key) {
    if (!keys.contains(QLatin1String(key)))
        return;
    context.answerColor(colorOf(keys, key));
    press(dialog, button);
}

// The buttons that end a dialog step; an empty name means the dialog has no such button.
struct CloseButtons {
    const char* confirm;
    const char* apply;
    const char* cancel;
    const char* preview = nullptr;
    const char* clear = nullptr;
};

void closeDialog(QDialog& dialog, const QJsonObject& keys, const CloseButtons& buttons) {
    const QString how = keys.value(QStringLiteral("close")).toString(QStringLiteral("confirm"));
    if (how == QLatin1String("confirm")) {
        press(dialog, buttons.confirm);
    } else if (how == QLatin1String("apply")) {
        press(dialog, buttons.apply);
        dialog.close();
    } else if (how == QLatin1String("cancel")) {
        press(dialog, buttons.cancel);
    } else if (how == QLatin1String("preview") && buttons.preview) {
        press(dialog, buttons.preview);
        dialog.close();
    } else if (how == QLatin1String("clear") && buttons.clear) {
        press(dialog, buttons.clear);
        dialog.close();
    } else {
        dialog.close();
    }
}

void canvasStep(ScriptContext& context, const QJsonObject& keys) {
    context.withDialog([&] { context.form.ToolButton40Click(); },
                       [&](QDialog& dialog) {
                           setSpin(dialog, "SpinEdit1", keys, "width");
                           setSpin(dialog, "SpinEdit2", keys, "height");
                           setSpin(dialog, "SpinEdit3", keys, "resolution");
                           if (keys.contains(QStringLiteral("color"))) {
                               press(dialog, "RadioButton5");
                               pickColor(context, dialog, "Button1", keys, "color");
                           }
                           if (keys.contains(QStringLiteral("picture"))) {
                               press(dialog, "RadioButton6");
                               context.answerFile(
                                   context.path(keys.value(QStringLiteral("picture")).toString()));
                               press(dialog, "Button2");
                           }
                           const QString layout = keys.value(QStringLiteral("layout")).toString();
                           if (layout == QLatin1String("tile"))
                               press(dialog, "RadioButton7");
                           if (layout == QLatin1String("stretch"))
                               press(dialog, "RadioButton8");
                           if (layout == QLatin1String("center"))
                               press(dialog, "RadioButton9");
                           closeDialog(dialog, keys, {"Button3", "Button5", "Button4"});
                       });
}

void pressRadio(QDialog& dialog, const QJsonObject& keys, const char* key,
                const std::vector<std::pair<QString, const char*>>& choices);

// Circle and fan share their controls' names; the fan has its shape and the ring's own two.
void shapeStep(ScriptContext& context, const QJsonObject& keys, const std::function<void()>& open) {
    context.withDialog(open, [&](QDialog& dialog) {
        setSpin(dialog, "SpinEdit1", keys, "lineWidth");
        setSpin(dialog, "SpinEdit2", keys, "radius");
        pressRadio(dialog, keys, "shape", {{"leaf", "RadioButton1"}, {"ring", "RadioButton2"}});
        setSpin(dialog, "SpinEdit3", keys, "innerRadius");
        setSpin(dialog, "SpinEdit4", keys, "span");
        pickColor(context, dialog, "SpeedButton1", keys, "lineColor");
        pickColor(context, dialog, "SpeedButton2", keys, "fillColor");
        closeDialog(dialog, keys, {"Button1", "Button2", "Button3", "Button4", "Button6"});
    });
}

template <class Form> Form& formOf(QDialog& dialog) {
    auto* form = qobject_cast<Form*>(&dialog);
    if (!form)
        throw TarvelError(
            QStringLiteral("script: an unexpected dialog \"%1\" opened").arg(dialog.windowTitle()));
    return *form;
}

void pressRadio(QDialog& dialog, const QJsonObject& keys, const char* key,
                const std::vector<std::pair<QString, const char*>>& choices) {
    if (!keys.contains(QLatin1String(key)))
        return;
    const QJsonValue value = keys.value(QLatin1String(key));
    for (const auto& [name, button] : choices)
        if (value.toVariant().toString() == name)
            press(dialog, button);
}

// "转为繁体" or "转为简体", after the text is in place.
void convertText(QDialog& dialog, const QJsonObject& keys) {
    const QString direction = keys.value(QStringLiteral("convert")).toString();
    if (direction == QLatin1String("s2t"))
        press(dialog, "TraditionalButton");
    else if (direction == QLatin1String("t2s"))
        press(dialog, "SimplifiedButton");
}

void warnOfFallbacks(ScriptContext& context, const QList<FaceGap>& gaps) {
    if (!gaps.isEmpty())
        context.warnings << fallbackWarning(gaps);
}

// Plain text, then everything selected and given the face, size and colour.
void writePlain(RichText& text, const QJsonObject& keys) {
    text.setText(keys.value(QStringLiteral("plain")).toString());
    text.selectAll();
    if (keys.contains(QStringLiteral("face")))
        text.setSelName(keys.value(QStringLiteral("face")).toString());
    if (keys.contains(QStringLiteral("size")))
        text.setSelSize(keys.value(QStringLiteral("size")).toInt());
    if (keys.contains(QStringLiteral("color")))
        text.setSelColor(colorOf(keys, "color"));
}

void textStep(ScriptContext& context, const QJsonObject& keys) {
    context.withDialog(
        [&] { context.form.ToolButton1Click(); },
        [&](QDialog& dialog) {
            TForm8& form = formOf<TForm8>(dialog);
            if (keys.contains(QStringLiteral("open"))) {
                context.answerFile(context.path(keys.value(QStringLiteral("open")).toString()));
                form.MenuOpen->trigger();
            } else if (keys.contains(QStringLiteral("runs"))) {
                writeRuns(form.richText(), keys.value(QStringLiteral("runs")).toArray());
            } else if (keys.contains(QStringLiteral("plain"))) {
                writePlain(form.richText(), keys);
            }
            if (!context.firstError.isEmpty())
                return;
            convertText(dialog, keys);
            if (!context.firstError.isEmpty())
                return;
            setSpin(dialog, "SpinEdit1", keys, "leftMargin");
            setSpin(dialog, "SpinEdit2", keys, "topMargin");
            setSpin(dialog, "SpinEdit3", keys, "charSpacing");
            setSpin(dialog, "SpinEdit4", keys, "lineSpacing");
            pressRadio(dialog, keys, "arrangement",
                       {{"0", "RadioButton1"},
                        {"1", "RadioButton2"},
                        {"2", "RadioButton3"},
                        {"3", "RadioButton4"}});
            if (keys.contains(QStringLiteral("punctuation")))
                for (int mode = vpOriginal; mode <= vpNone; ++mode)
                    if (keys.value(QStringLiteral("punctuation")).toString() ==
                        QLatin1String(punctuationScriptNames[mode]))
                        form.PunctuationComboBox->setCurrentIndex(mode);
            if (keys.contains(QStringLiteral("chineseDigits")))
                form.ChineseDigitsCheckBox->setChecked(
                    keys.value(QStringLiteral("chineseDigits")).toBool());
            // 扇面 is offered only after a folding-fan ring was stamped.
            if (keys.value(QStringLiteral("fan")).toBool())
                press(dialog, "RadioButton5");
            if (keys.contains(QStringLiteral("fanColumns")))
                control<QAbstractButton>(dialog, "CheckBox1")
                    .setChecked(keys.value(QStringLiteral("fanColumns")).toString() ==
                                QLatin1String("longShort"));
            if (keys.value(QStringLiteral("check")).toBool()) {
                press(dialog, "Button4");
                std::fprintf(context.out, "%s\n", qUtf8Printable(form.Label5->text()));
            }
            if (keys.contains(QStringLiteral("saveAs"))) {
                context.answerFile(context.path(keys.value(QStringLiteral("saveAs")).toString()));
                form.MenuSave->trigger();
                if (!context.firstError.isEmpty())
                    return;
            }
            closeDialog(dialog, keys, {"Button1", "Button2", "Button3"});
        });
    // A confirmed block has been drawn: say which of its characters came from a fallback face.
    TForm8* form = context.form.Form8;
    if (form && form->TextSettings.Confirmed && context.firstError.isEmpty())
        warnOfFallbacks(context, textBlockGaps(form->richText()));
}

void rotatedStep(ScriptContext& context, const QJsonObject& keys) {
    context.withDialog(
        [&] { context.form.N12Click(); },
        [&](QDialog& dialog) {
            TForm3& form = formOf<TForm3>(dialog);
            if (keys.contains(QStringLiteral("text")))
                form.Edit1->setText(keys.value(QStringLiteral("text")).toString());
            convertText(dialog, keys);
            setSpin(dialog, "SpinEdit1", keys, "angle");
            setSpin(dialog, "SpinEdit2", keys, "charSpacing");
            if (keys.contains(QStringLiteral("size")))
                form.ComboBox1->setEditText(keys.value(QStringLiteral("size")).toString());
            if (keys.contains(QStringLiteral("face")))
                form.ComboBox2->setEditText(keys.value(QStringLiteral("face")).toString());
            pressRadio(dialog, keys, "placement",
                       {{"horizontal", "RadioButton1"}, {"vertical", "RadioButton2"}});
            pickColor(context, dialog, "ColorButton1", keys, "color");
            closeDialog(dialog, keys, {"Button3", "Button4", "Button5", "Button1", "Button2"});
        });
    // The armed line is drawn at the next click in the face the step chose.
    TForm3* form = context.form.Form3;
    if (form && form->PendingPlacement && context.firstError.isEmpty())
        warnOfFallbacks(context, rotatedTextGaps(form->RotatedTextSettings));
}

void sealStep(ScriptContext& context, const QJsonObject& keys) {
    context.withDialog(
        [&] { context.form.ToolButton29Click(); },
        [&](QDialog& dialog) {
            TForm4& form = formOf<TForm4>(dialog);
            if (keys.contains(QStringLiteral("text")))
                form.RichEdit1->richText().setText(keys.value(QStringLiteral("text")).toString());
            convertText(dialog, keys);
            setSpin(dialog, "SpinEdit1", keys, "width");
            setSpin(dialog, "SpinEdit2", keys, "height");
            setSpin(dialog, "SpinEdit3", keys, "strokeWeight");
            setSpin(dialog, "SpinEdit4", keys, "charSpacing");
            setSpin(dialog, "SpinEdit5", keys, "edgeWidth");
            setSpin(dialog, "SpinEdit6", keys, "angle");
            setSpin(dialog, "SpinEdit7", keys, "frameWidth");
            setSpin(dialog, "SpinEdit8", keys, "wear");
            setSpin(dialog, "SpinEdit9", keys, "seed");
            if (keys.contains(QStringLiteral("ink")))
                form.ComboBox2->setCurrentIndex(
                    int(QStringList{"red", "cinnabar", "vermilion"}.indexOf(
                        keys.value(QStringLiteral("ink")).toString())));
            if (keys.contains(QStringLiteral("smooth")))
                form.CheckBox1->setChecked(keys.value(QStringLiteral("smooth")).toBool());
            if (keys.contains(QStringLiteral("face")))
                form.ComboBox1->setEditText(keys.value(QStringLiteral("face")).toString());
            pressRadio(dialog, keys, "style",
                       {{"intaglio", "RadioButton1"}, {"relief", "RadioButton2"}});
            pressRadio(dialog, keys, "corner",
                       {{"square", "RadioButton7"}, {"rounded", "RadioButton8"}});
            pressRadio(dialog, keys, "arrangement",
                       {{"0", "RadioButton3"},
                        {"1", "RadioButton4"},
                        {"2", "RadioButton5"},
                        {"3", "RadioButton6"}});
            closeDialog(dialog, keys, {"Button1", "Button2", "Button3", "Button4", "Button6"});
        });
    // The armed seal was drawn in its face, with a fallback face for what the face lacks.
    TForm4* form = context.form.Form4;
    if (form && form->PendingPlacement && context.firstError.isEmpty())
        warnOfFallbacks(context, form->RenderedGaps);
}

} // namespace

void runDialogStep(ScriptContext& context, const ScriptStep& step) {
    const QJsonObject& keys = step.keys;
    TForm1& form = context.form;
    if (step.command == QLatin1String("canvas")) {
        canvasStep(context, keys);
    } else if (step.command == QLatin1String("text")) {
        textStep(context, keys);
    } else if (step.command == QLatin1String("rotated")) {
        rotatedStep(context, keys);
    } else if (step.command == QLatin1String("seal")) {
        sealStep(context, keys);
    } else if (step.command == QLatin1String("circle")) {
        shapeStep(context, keys, [&] { form.ToolButton21Click(); });
    } else if (step.command == QLatin1String("fan")) {
        shapeStep(context, keys, [&] { form.ToolButton26Click(); });
    } else {
        throw TarvelError(
            QStringLiteral("script: \"%1\" is not available in this build").arg(step.command));
    }
}

