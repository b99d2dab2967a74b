#pragma once
// The program's help window: shows a help file (HTML text) at an anchor. It opens centred over the
// program's active screen, goes back to the topic shown before ("Back"), jumps to the file's
// contents topic ("Contents") and closes with Escape.
#include <QString>
#include <QWidget>

class QPushButton;
class QTextBrowser;

namespace platform {

class HelpViewer : public QWidget {
    Q_OBJECT
public:
    explicit HelpViewer(QWidget* parent = nullptr);
    // Opens `file` at the anchor `anchor` (the top when empty).
    void open(const QString& file, const QString& anchor);
    // Shows the window; when it was hidden, centred over `over` (the screen's middle when null).
    void showOver(QWidget* over);
    QString currentFile() const;
    QTextBrowser* browser() const { return browser_; }

private:
    void showContents();
    QTextBrowser* browser_;
    QPushButton* back_;
    QPushButton* contents_;
};

// The one help window, created on first use.
HelpViewer& helpViewer();

}  // namespace platform
