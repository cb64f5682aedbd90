// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tarvel developers

// The help window and its browser over the compiled manual.
#include "HelpWindow.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRegularExpression>
#include <QShortcut>
#include <QStringDecoder>
#include <QTextDocument>
#include <QVBoxLayout>

QUrl helpTopicUrl(const QString& topic) {
    QUrl url;
    url.setScheme(QLatin1String(HelpBrowser::Scheme));
    url.setPath(normalisedObjectPath(topic));
    return url;
}

QString decodePage(const QByteArray& bytes) {
    static const QRegularExpression charset(
        QStringLiteral("charset\\s*=\\s*[\"']?([A-Za-z0-9_\\-]+)"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch declared = charset.match(QString::fromLatin1(bytes.left(2048)));
    if (declared.hasMatch()) {
        QStringDecoder decoder(declared.captured(1).toLatin1().constData());
        if (decoder.isValid())
            return decoder.decode(bytes);
    }
    return QString::fromUtf8(bytes);
}

HelpBrowser::HelpBrowser(QWidget* parent) : QTextBrowser(parent) {
    setObjectName(QStringLiteral("HelpBrowser1"));
    // Links are resolved here, never followed blindly.
    setOpenLinks(false);
    setOpenExternalLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, &HelpBrowser::followLink);
}

QUrl HelpBrowser::resolved(const QUrl& name) const {
    return name.isRelative() ? currentPage.resolved(name) : name;
}

QVariant HelpBrowser::loadResource(int type, const QUrl& name) {
    const QUrl url = resolved(name);
    if (url.scheme() != QLatin1String(Scheme))
        return QVariant();
    const std::optional<QByteArray> bytes =
        helpFile ? helpFile->object(url.path(QUrl::FullyDecoded)) : std::nullopt;
    if (type == QTextDocument::HtmlResource) {
        currentPage = url;
        if (!bytes)
            return tr("<p>找不到页面：%1</p>").arg(url.path().toHtmlEscaped());
        return decodePage(*bytes);
    }
    if (!bytes)
        return QVariant();
    if (type == QTextDocument::StyleSheetResource)
        return QString::fromUtf8(*bytes);
    return *bytes;
}

void HelpBrowser::followLink(const QUrl& link) {
    const QUrl target = resolved(link);
    if (target.scheme() == QLatin1String(Scheme)) {
        if (normalisedObjectPath(target.path(QUrl::FullyDecoded)).isEmpty())
            return;
        if (target.adjusted(QUrl::RemoveFragment) == currentPage.adjusted(QUrl::RemoveFragment) &&
            target.hasFragment()) {
            scrollToAnchor(target.fragment());
            return;
        }
        setSource(target);
        return;
    }
    const QString scheme = target.scheme();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
        scheme == QLatin1String("mailto"))
        QDesktopServices::openUrl(target);
}

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(tr("Tarvel 使用手册"));
    resize(760, 560);

    BackButton = new QPushButton(tr("后退"), this);
    BackButton->setObjectName(QStringLiteral("BackButton"));
    ForwardButton = new QPushButton(tr("前进"), this);
    ForwardButton->setObjectName(QStringLiteral("ForwardButton"));
    HomeButton = new QPushButton(tr("目录"), this);
    HomeButton->setObjectName(QStringLiteral("HomeButton"));
    CloseButton = new QPushButton(tr("关闭"), this);
    CloseButton->setObjectName(QStringLiteral("CloseButton"));
    HelpBrowser1 = new HelpBrowser(this);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BackButton);
    buttons->addWidget(ForwardButton);
    buttons->addWidget(HomeButton);
    buttons->addStretch(1);
    buttons->addWidget(CloseButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(HelpBrowser1, 1);

    BackButton->setEnabled(false);
    ForwardButton->setEnabled(false);
    connect(HelpBrowser1, &QTextBrowser::backwardAvailable, BackButton, &QWidget::setEnabled);
    connect(HelpBrowser1, &QTextBrowser::forwardAvailable, ForwardButton, &QWidget::setEnabled);
    connect(BackButton, &QPushButton::clicked, HelpBrowser1, &QTextBrowser::backward);
    connect(ForwardButton, &QPushButton::clicked, HelpBrowser1, &QTextBrowser::forward);
    connect(CloseButton, &QPushButton::clicked, this, &QWidget::close);
    for (const QKeySequence& keys :
         {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)})
        connect(new QShortcut(keys, this), &QShortcut::activated, this, &QWidget::close);
    connect(HomeButton, &QPushButton::clicked, this, [this] {
        if (helpFile && home.isValid())
            HelpBrowser1->setSource(home);
    });
}

HelpWindow::~HelpWindow() {
    releaseFile();
}

void HelpWindow::display(std::unique_ptr<HelpFile> file, const QString& topic) {
    HelpBrowser1->setHelpFile(file.get());
    helpFile = std::move(file);
    home = helpTopicUrl(topic);
    if (home.path().isEmpty()) {
        displayError(tr("找不到页面：%1").arg(topic));
        return;
    }
    // A new file behind the same page must be read again, not kept from the last showing.
    if (HelpBrowser1->source() == home)
        HelpBrowser1->reload();
    else
        HelpBrowser1->setSource(home);
}

void HelpWindow::displayError(const QString& text) {
    HelpBrowser1->clearHistory();
    HelpBrowser1->setHtml(QStringLiteral("<p>%1</p>").arg(text.toHtmlEscaped()));
}

void HelpWindow::releaseFile() {
    HelpBrowser1->setHelpFile(nullptr);
    helpFile.reset();
}
