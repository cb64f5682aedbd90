// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The program in each language of its catalogue: every entry finished with its placeholders,
// no simplified character left in 繁體中文 (OpenCC's s2tw changes nothing), the window and
// every dialog showing translated captions, none of them cut, and "语言" remembering a choice.
#include "PlacementFixture.h"
#include "TemplateDialog.h"
#include "Translations.h"
#include "Unit2.h"
#include "Unit3.h"
#include "Unit4.h"
#include "Unit5.h"
#include "Unit8.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSettings>
#include <QStyle>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <opencc/SimpleConverter.hpp>

namespace {

// Converting a text that is already traditional to traditional changes nothing.
bool traditionalThroughout(const QString& text) {
    static const opencc::SimpleConverter toTraditional("/usr/share/opencc/s2tw.json");
    return QString::fromStdString(toTraditional.Convert(text.toStdString())) == text;
}

// English captions keep Chinese only for a term in brackets ("Fan leaf (扇面)").
bool englishThroughout(QString text) {
    text.remove(QRegularExpression(QStringLiteral("\\([^)]*\\)")));
    return !text.contains(QRegularExpression(QStringLiteral("\\p{Han}")));
}

QSet<QString> placeholders(const QString& text) {
    QSet<QString> found;
    QRegularExpressionMatchIterator it =
        QRegularExpression(QStringLiteral("%\\d")).globalMatch(text);
    while (it.hasNext())
        found.insert(it.next().captured());
    return found;
}

TEST(Catalogues, FinishEveryEntryWithItsPlaceholdersAndNoSimplifiedLeftOver) {
    int entries[2] = {};
    int index = 0;
    for (const char* language : {"zh_TW", "en"}) {
        SCOPED_TRACE(language);
        QFile file(QStringLiteral(TARVEL_SOURCE_DIR "/translations/tarvel_%1.ts")
                       .arg(QLatin1String(language)));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        QXmlStreamReader reader(&file);
        QString source;
        while (!reader.atEnd()) {
            if (reader.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (reader.name() == QLatin1String("source")) {
                source = reader.readElementText();
            } else if (reader.name() == QLatin1String("translation")) {
                ++entries[index];
                EXPECT_TRUE(reader.attributes().value(QLatin1String("type")).isEmpty())
                    << source.toStdString();
                const QString translation = reader.readElementText();
                EXPECT_FALSE(translation.isEmpty()) << source.toStdString();
                EXPECT_EQ(placeholders(translation), placeholders(source))
                    << source.toStdString() << " -> " << translation.toStdString();
                EXPECT_TRUE(language[0] == 'e' ? englishThroughout(translation)
                                               : traditionalThroughout(translation))
                    << translation.toStdString();
            }
        }
        EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
        ++index;
    }
    EXPECT_GT(entries[0], 400);
    EXPECT_EQ(entries[0], entries[1]);
}

TEST(Languages, FollowTheSystemLocale) {
    for (const auto& [locale, language] :
         {std::pair{"zh_CN", "zh_CN"}, std::pair{"zh_SG", "zh_CN"}, std::pair{"zh_TW", "zh_TW"},
          std::pair{"zh_HK", "zh_TW"}, std::pair{"zh_Hant_MO", "zh_TW"}, std::pair{"C", "zh_CN"},
          std::pair{"en_GB", "en"}, std::pair{"de_DE", "en"}})
        EXPECT_EQ(Translations::forLocale(QLocale(QLatin1String(locale))), QLatin1String(language))
            << locale;
}

// Installed before the window is built, so that every caption is made in the language.
struct InstalledLanguage {
    explicit InstalledLanguage(const char* language) {
        EXPECT_TRUE(
            Translations::install(*QCoreApplication::instance(), QString::fromLatin1(language)));
    }
    ~InstalledLanguage() {
        Translations::install(*QCoreApplication::instance(), QStringLiteral("zh_CN"));
    }
};

struct LocalisedWindow : ::testing::WithParamInterface<const char*>,
                         InstalledLanguage,
                         MainWindowTest {
    LocalisedWindow() : InstalledLanguage(GetParam()) {}

    // The captions of a shown window: its title, menus, buttons, labels, group boxes and the
    // items of lists that are not font names; those of widgets with a width to fit in apart.
    void collect(QWidget* window) {
        captions << window->windowTitle();
        for (QMenu* menu : window->findChildren<QMenu*>()) {
            captions << menu->title();
            for (QAction* action : menu->actions())
                // Each language is named in its own words under "语言".
                if (!action->objectName().startsWith(QLatin1String("MenuLanguage_")) ||
                    action->objectName() == QLatin1String("MenuLanguage_"))
                    captions << action->text().section(QLatin1Char('\t'), 0, 0);
        }
        for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
            captions << button->text() << button->toolTip();
            if (!button->text().isEmpty() && qobject_cast<QToolButton*>(button) == nullptr)
                fitted << button;
        }
        for (QLabel* label : window->findChildren<QLabel*>()) {
            captions << label->text();
            if (!label->text().isEmpty() && !label->wordWrap())
                fitted << label;
        }
        for (QGroupBox* box : window->findChildren<QGroupBox*>())
            captions << box->title();
        const QStringList faces = QFontDatabase::families();
        for (QComboBox* list : window->findChildren<QComboBox*>())
            for (int i = 0; i < list->count(); ++i)
                if (!faces.contains(list->itemText(i)) &&
                    list->itemText(i) != QStringLiteral("宋体"))
                    captions << list->itemText(i);
    }

    QStringList captions;
    QList<QWidget*> fitted;
};

TEST_P(LocalisedWindow, ShowsEveryCaptionTranslatedAndWhole) {
    TemplateDialog templates(QStringList{QStringLiteral("宋体")}, &form);
    const QList<QWidget*> windows{&form,      form.Form2, form.Form3, form.Form4, form.Form5,
                                  form.Form6, form.Form7, form.Form8, &templates};
    for (QWidget* window : windows) {
        window->show();
        QApplication::processEvents();
        collect(window);
    }
    const QString language = QString::fromLatin1(GetParam());
    const QMenu* fileMenu = form.menuBar()->actions().first()->menu();
    const QString expected[][3] = {
        {QStringLiteral("文件(&F)"), QStringLiteral("檔案(&F)"), QStringLiteral("&File")},
        {QStringLiteral("文本设置"), QStringLiteral("文字設定"), QStringLiteral("Text Settings")}};
    const int column = Translations::languages().indexOf(language);
    EXPECT_EQ(fileMenu->title(), expected[0][column]);
    EXPECT_EQ(form.Form8->windowTitle(), expected[1][column]);
    int checked = 0;
    for (const QString& caption : std::as_const(captions)) {
        if (caption.isEmpty())
            continue;
        ++checked;
        if (language == QLatin1String("zh_TW"))
            EXPECT_TRUE(traditionalThroughout(caption)) << caption.toStdString();
        else if (language == QLatin1String("en"))
            EXPECT_TRUE(englishThroughout(caption)) << caption.toStdString();
    }
    EXPECT_GT(checked, 200);
    // A caption is cut when its widget is narrower than the caption asks: a push button its
    // text, icon and margins (its size hint would ask for the style's least width too).
    for (QWidget* widget : std::as_const(fitted)) {
        if (!widget->isVisibleTo(widget->window()))
            continue;
        int needed = widget->sizeHint().width();
        if (const auto* button = qobject_cast<QPushButton*>(widget)) {
            const QStyle* style = button->style();
            needed = button->fontMetrics().horizontalAdvance(button->text()) +
                     (button->icon().isNull() ? 0 : button->iconSize().width() + 4) +
                     style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button) +
                     2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button);
        }
        EXPECT_GE(widget->width(), needed) << widget->objectName().toStdString() << " "
                                           << widget->property("text").toString().toStdString();
    }
    EXPECT_LE(form.menuBar()->sizeHint().width(), form.menuBar()->width());
    for (QWidget* window : windows)
        window->hide();
}

// A damaged work is refused in the window's language: the reader's words where it found the
// fault, and the step's, are translated with the rest of the message.
TEST_P(LocalisedWindow, RefusesADamagedWorkInItsLanguage) {
    const struct {
        const char* work;
        const char* reason; // as shown under zh_CN
    } damaged[] = {
        {"{\"format\": \"tarvel-work\", \"version\": 1, \"steps\": [\n{\"do\": \"canvas\", "
         "\"width\": 0}]}",
         "第 1 步：画布宽度必须在 1 到 4000 像素之间。"},
        {"{\"format\": \"tarvel-work\", \"version\": 1, \"steps\": [\n{\"do\": \"undo\"}\n"
         "{\"do\": \"redo\"}]}",
         "第 3 行：不是有效的 JSON：两项之间缺少“,”"},
        {"{\"format\": \"tarvel-work\", \"version\": 1, \"steps\": [\n{\"do\": \"click\"}]}",
         "第 2 行，第 1 步：命令“click”需要键“at”"},
    };
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("damaged.tarvel"));
    const PlatformDialogs::FileChooser previous = PlatformDialogs::setFileChooser(
        [&](QWidget*, const FileDialogRequest&) { return std::optional<QString>(path); });
    const QString language = QString::fromLatin1(GetParam());
    for (const auto& [work, reason] : damaged) {
        SCOPED_TRACE(work);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(work);
        file.close();
        shownErrors.clear();
        form.MenuOpenWork->trigger();
        ASSERT_EQ(shownErrors.size(), 1);
        const QString simplified =
            QStringLiteral("无法打开作品“%1”：%2")
                .arg(QDir::toNativeSeparators(path), QString::fromUtf8(reason));
        const QString& shown = shownErrors.first();
        if (language == QLatin1String("zh_CN")) {
            EXPECT_EQ(shown, simplified) << shown.toStdString();
            continue;
        }
        EXPECT_NE(shown, simplified);
        EXPECT_TRUE(language == QLatin1String("en") ? englishThroughout(shown)
                                                    : traditionalThroughout(shown))
            << shown.toStdString();
    }
    PlatformDialogs::setFileChooser(previous);
}

INSTANTIATE_TEST_SUITE_P(AllLanguages, LocalisedWindow, ::testing::Values("zh_CN", "zh_TW", "en"));

// "语言" writes the choice for the next start into the user's settings and says so.
TEST_F(MainWindowTest, LanguageChosenIsRememberedForTheNextStart) {
    QTemporaryDir folder;
    const QByteArray previous = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder.path()));
    QStringList notices;
    PlatformDialogs::setNotice([&](QWidget*, const QString& text) { notices << text; });
    form.findChild<QAction*>(QStringLiteral("MenuLanguage_en"))->trigger();
    {
        QSettings settings(folder.filePath(QStringLiteral("Tarvel/Tarvel2008.conf")),
                           QSettings::NativeFormat);
        EXPECT_EQ(Translations::chosen(settings), QStringLiteral("en"));
    }
    form.findChild<QAction*>(QStringLiteral("MenuLanguage_"))->trigger();
    {
        QSettings settings(folder.filePath(QStringLiteral("Tarvel/Tarvel2008.conf")),
                           QSettings::NativeFormat);
        EXPECT_EQ(Translations::chosen(settings), QString());
    }
    EXPECT_EQ(notices, QStringList(2, QStringLiteral("新的语言在下次启动 Tarvel 时生效。")));
    EXPECT_TRUE(shownErrors.isEmpty());
    PlatformDialogs::setNotice({});
    qputenv("XDG_CONFIG_HOME", previous);
}

} // namespace
