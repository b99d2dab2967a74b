#include "platform/HelpViewer.h"

#include <QApplication>
#include <QFileInfo>
#include <QPointer>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>
#include <QWindow>

#include "platform/Dialogs.h"

namespace platform {

HelpViewer::HelpViewer(QWidget* parent) : QWidget(parent, Qt::Window), browser_(new QTextBrowser(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    browser_->setOpenExternalLinks(true);
    resize(640, 520);
}

void HelpViewer::open(const QString& file, const QString& anchor) {
    file_ = file;
    QUrl url = QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath());
    if (!anchor.isEmpty()) url.setFragment(anchor);
    // The help files keep their old names; their contents are HTML whatever the extension says.
    browser_->setSource(url, QTextDocument::HtmlResource);
    setWindowTitle(applicationTitle() + QStringLiteral(" Help"));
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
