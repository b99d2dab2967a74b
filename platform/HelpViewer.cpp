#include "platform/HelpViewer.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/Dialogs.h"

namespace platform {

namespace {

// Whether the document holds an anchor of that name.
bool hasAnchor(const QTextDocument* document, const QString& name) {
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        if (block.charFormat().anchorNames().contains(name)) return true;
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().anchorNames().contains(name)) return true;
    }
    return false;
}

}  // namespace

HelpViewer::HelpViewer(QWidget* parent)
    : QWidget(parent, Qt::Window),
      browser_(new QTextBrowser(this)),
      back_(new QPushButton(QStringLiteral("Back"), this)),
      contents_(new QPushButton(QStringLiteral("Contents"), this)) {
    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(6, 6, 6, 0);
    buttons->addWidget(back_);
    buttons->addWidget(contents_);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(buttons);
    layout->addWidget(browser_);
    browser_->setOpenExternalLinks(true);
    back_->setEnabled(false);
    back_->setAutoDefault(false);
    contents_->setAutoDefault(false);
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QPushButton::setEnabled);
    connect(back_, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(contents_, &QPushButton::clicked, this, [this] { showContents(); });
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    resize(640, 520);
}

void HelpViewer::open(const QString& file, const QString& anchor) {
    QUrl url = QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath());
    if (!anchor.isEmpty()) url.setFragment(anchor);
    // The help files keep their old names; their contents are HTML whatever the extension says.
    browser_->setSource(url, QTextDocument::HtmlResource);
    setWindowTitle(applicationTitle() + QStringLiteral(" Help"));
}

QString HelpViewer::currentFile() const { return browser_->source().toLocalFile(); }

// The contents topic of the file shown: "contents", else "content", else the file's top.
void HelpViewer::showContents() {
    const QString file = currentFile();
    if (file.isEmpty()) return;
    QString anchor;
    for (const QString& name : {QStringLiteral("contents"), QStringLiteral("content")}) {
        if (hasAnchor(browser_->document(), name)) {
            anchor = name;
            break;
        }
    }
    open(file, anchor);
}

void HelpViewer::showOver(QWidget* over) {
    if (!isVisible()) {
        const QRect area = over ? over->frameGeometry() : QRect();
        QScreen* screen = over ? over->screen() : QGuiApplication::primaryScreen();
        const QRect available = screen ? screen->availableGeometry() : QRect();
        const QPoint centre = area.isValid() ? area.center() : available.center();
        QRect placed(QPoint(), frameGeometry().size());
        placed.moveCenter(centre);
        // Kept on the screen: the title bar stays reachable.
        if (available.isValid()) {
            placed.moveRight(std::min(placed.right(), available.right()));
            placed.moveBottom(std::min(placed.bottom(), available.bottom()));
            placed.moveLeft(std::max(placed.left(), available.left()));
            placed.moveTop(std::max(placed.top(), available.top()));
        }
        move(placed.topLeft());
    }
    show();
    // The offscreen platform has no stacking order (and says so for every raise).
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) raise();
    activateWindow();
}

HelpViewer& helpViewer() {
    static QPointer<HelpViewer> viewer;
    if (!viewer) {
        viewer = new HelpViewer;
        viewer->setAttribute(Qt::WA_DeleteOnClose);
    }
    return *viewer;
}

}  // namespace platform
