// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The help window over a real compiled file: the page's text, its style and picture, links,
// back and forward, and links that must not be followed.
#include "HelpWindow.h"
#include "ChmFixture.h"

#include <QApplication>
#include <QDesktopServices>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>

#include <gtest/gtest.h>

namespace {

class UrlCatcher final : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened << url; }
};

class HelpWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        path = ChmFixture::build(dir.path());
        ASSERT_FALSE(path.isEmpty()) << "chmcmd failed";
        library.load();
        HelpFile::Opened opened =
            HelpFile::open(library.entryPoints(), path, digestOf(ChmFixture::readAll(path)));
        ASSERT_NE(opened.file, nullptr);
        window = std::make_unique<HelpWindow>();
        window->display(std::move(opened.file), QStringLiteral("/HelpContent\\index.htm"));
    }
    void TearDown() override {
        window.reset();
        library.release();
    }
    QString text() const { return window->HelpBrowser1->toPlainText(); }

    QTemporaryDir dir;
    QString path;
    HelpLibrary library;
    std::unique_ptr<HelpWindow> window;
};

TEST_F(HelpWindowTest, ShowsThePageWithItsStyleAndPicture) {
    EXPECT_TRUE(text().startsWith(QStringLiteral("小页面的正文 small page\n")));
    EXPECT_EQ(window->HelpBrowser1->source(),
              QUrl(QStringLiteral("tarvelhelp:/HelpContent/index.htm")));
    // The style sheet from the file colours the first paragraph.
    const QTextBlock first = window->HelpBrowser1->document()->firstBlock();
    EXPECT_EQ(first.begin().fragment().charFormat().foreground().color(), QColor(255, 0, 0));
    const QTextBlock link = first.next().next();
    EXPECT_NE(link.begin().fragment().charFormat().foreground().color(), QColor(255, 0, 0));
    // The picture from the file is in the document.
    const QVariant picture = window->HelpBrowser1->document()->resource(
        QTextDocument::ImageResource, QUrl(QStringLiteral("images/dot.png")));
    const QImage image = qvariant_cast<QImage>(picture).isNull()
                             ? QImage::fromData(picture.toByteArray())
                             : qvariant_cast<QImage>(picture);
    EXPECT_EQ(image.size(), QSize(2, 3));
    EXPECT_EQ(image.pixel(1, 2), qRgb(0, 0, 255));
}

TEST_F(HelpWindowTest, LinksBackAndForward) {
    EXPECT_FALSE(window->BackButton->isEnabled());
    window->HelpBrowser1->followLink(QUrl(QStringLiteral("second.htm")));
    EXPECT_EQ(window->HelpBrowser1->source().path(), QStringLiteral("/HelpContent/second.htm"));
    EXPECT_TRUE(text().startsWith(QStringLiteral("第二页 second page")));
    EXPECT_TRUE(window->BackButton->isEnabled());
    EXPECT_FALSE(window->ForwardButton->isEnabled());

    window->BackButton->click();
    EXPECT_TRUE(text().startsWith(QStringLiteral("小页面的正文")));
    EXPECT_TRUE(window->ForwardButton->isEnabled());
    window->ForwardButton->click();
    EXPECT_TRUE(text().startsWith(QStringLiteral("第二页")));

    window->HomeButton->click();
    EXPECT_EQ(window->HelpBrowser1->source().path(), QStringLiteral("/HelpContent/index.htm"));
}

TEST_F(HelpWindowTest, LinksAreResolvedNotFollowedBlindly) {
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
    const QUrl start = window->HelpBrowser1->source();

    window->HelpBrowser1->followLink(QUrl(QStringLiteral("https://tarvel.example.org/x")));
    window->HelpBrowser1->followLink(QUrl(QStringLiteral("file:///etc/passwd")));
    window->HelpBrowser1->followLink(QUrl(QStringLiteral("tarvelhelp:/HelpContent/%2E%2E/x")));
    window->HelpBrowser1->followLink(QUrl(QStringLiteral("tarvelhelp:/%23SYSTEM")));
    EXPECT_EQ(catcher.opened, QList<QUrl>{QUrl(QStringLiteral("https://tarvel.example.org/x"))});
    EXPECT_EQ(window->HelpBrowser1->source(), start);
    EXPECT_TRUE(text().startsWith(QStringLiteral("小页面的正文")));

    // A page that is not in the file is reported in the window.
    window->HelpBrowser1->followLink(QUrl(QStringLiteral("none.htm")));
    EXPECT_EQ(text(), QStringLiteral("找不到页面：/HelpContent/none.htm"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
}

TEST_F(HelpWindowTest, ErrorsAndReleasedFiles) {
    window->displayError(QStringLiteral("找不到帮助文件：/x/<TarvelHelp>.chm"));
    EXPECT_EQ(text(), QStringLiteral("找不到帮助文件：/x/<TarvelHelp>.chm"));
    EXPECT_FALSE(window->BackButton->isEnabled());
    window->releaseFile();
    EXPECT_FALSE(window->hasFile());
    window->HelpBrowser1->followLink(QUrl(QStringLiteral("tarvelhelp:/HelpContent/second.htm")));
    EXPECT_EQ(text(), QStringLiteral("找不到页面：/HelpContent/second.htm"));
}

TEST(HelpPages, DecodeInTheDeclaredCharacterSet) {
    EXPECT_EQ(decodePage("<meta charset=\"utf-8\">\xe5\xa2\xa8"),
              QStringLiteral("<meta charset=\"utf-8\">墨"));
    EXPECT_EQ(decodePage("\xe5\xa2\xa8"), QStringLiteral("墨"));
    EXPECT_EQ(decodePage("<meta http-equiv=\"Content-Type\" content=\"text/html; "
                         "charset=iso-8859-1\">\xe9"),
              QStringLiteral("<meta http-equiv=\"Content-Type\" content=\"text/html; "
                             "charset=iso-8859-1\">é"));
    EXPECT_EQ(helpTopicUrl(QStringLiteral("/HelpContent\\a.htm")),
              QUrl(QStringLiteral("tarvelhelp:/HelpContent/a.htm")));
}

} // namespace

#include "HelpWindowTest.moc"
