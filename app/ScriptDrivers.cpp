// The dialog commands of composition scripts. Each finds the dialog's controls by their
// names, sets them as a user would and presses the dialog's own buttons.
#include "ScriptDrivers.h"

#include "ScriptReader.h"
#include "SpinEdit.h"
#include "TarvelError.h"
#include "Unit1.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QJsonObject>

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
        throw TarvelError(QStringLiteral("script: the button \"%1\" is disabled").arg(button.text()));
    button.click();
}

void setSpin(QDialog& dialog, const char* name, const QJsonObject& keys, const char* key) {
    if (keys.contains(QLatin1String(key)))
        control<SpinEdit>(dialog, name).setText(QString::number(keys.value(QLatin1String(key)).toInt()));
}

TColor colorOf(const QJsonObject& keys, const char* key) {
    return parseHtmlColor(keys.value(QLatin1String(key)).toString());
}

void pickColor(ScriptContext& context, QDialog& dialog, const char* button, const QJsonObject& keys,
               const char* key) {
    if (!keys.contains(QLatin1String(key))) return;
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
    context.withDialog([&] { context.form.ToolButton40Click(); }, [&](QDialog& dialog) {
        setSpin(dialog, "SpinEdit1", keys, "width");
        setSpin(dialog, "SpinEdit2", keys, "height");
        if (keys.contains(QStringLiteral("color"))) {
            press(dialog, "RadioButton5");
            pickColor(context, dialog, "Button1", keys, "color");
        }
        if (keys.contains(QStringLiteral("picture"))) {
            press(dialog, "RadioButton6");
            context.answerFile(context.path(keys.value(QStringLiteral("picture")).toString()));
            press(dialog, "Button2");
        }
        const QString layout = keys.value(QStringLiteral("layout")).toString();
        if (layout == QLatin1String("tile")) press(dialog, "RadioButton7");
        if (layout == QLatin1String("stretch")) press(dialog, "RadioButton8");
        if (layout == QLatin1String("center")) press(dialog, "RadioButton9");
        closeDialog(dialog, keys, {"Button3", "Button5", "Button4"});
    });
}

// Circle and fan share their controls' names.
void shapeStep(ScriptContext& context, const QJsonObject& keys, const std::function<void()>& open) {
    context.withDialog(open, [&](QDialog& dialog) {
        setSpin(dialog, "SpinEdit1", keys, "lineWidth");
        setSpin(dialog, "SpinEdit2", keys, "radius");
        pickColor(context, dialog, "SpeedButton1", keys, "lineColor");
        pickColor(context, dialog, "SpeedButton2", keys, "fillColor");
        closeDialog(dialog, keys, {"Button1", "Button2", "Button3", "Button4", "Button6"});
    });
}

} // namespace

void runDialogStep(ScriptContext& context, const ScriptStep& step) {
    const QJsonObject& keys = step.keys;
    TForm1& form = context.form;
    if (step.command == QLatin1String("canvas")) {
        canvasStep(context, keys);
    } else if (step.command == QLatin1String("circle")) {
        shapeStep(context, keys, [&] { form.ToolButton21Click(); });
    } else if (step.command == QLatin1String("fan")) {
        shapeStep(context, keys, [&] { form.ToolButton26Click(); });
    } else {
        throw TarvelError(QStringLiteral("script: \"%1\" is not available in this build").arg(step.command));
    }
}
