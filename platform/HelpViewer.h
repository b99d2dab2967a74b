#pragma once
// The program's help window: shows a help file (HTML text) at an anchor.
#include <QString>
#include <QWidget>

class QTextBrowser;

namespace platform {

class HelpViewer : public QWidget {
    Q_OBJECT
public:
    explicit HelpViewer(QWidget* parent = nullptr);
    // Opens `file` at the anchor `anchor` (the top when empty).
    void open(const QString& file, const QString& anchor);
    QString currentFile() const { return file_; }
    QTextBrowser* browser() const { return browser_; }

private:
    QTextBrowser* browser_;
    QString file_;
};

// The one help window, created on first use.
HelpViewer& helpViewer();

}  // namespace platform
