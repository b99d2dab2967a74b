#pragma once
// Answers a real (not scripted) modal box from a timer, as a user would.
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <functional>

// Presses `button` of the next modal message box as soon as it is open.
inline void pressInNextRealBox(QMessageBox::StandardButton button) {
    QTimer::singleShot(0, [button] {
        (void)QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; }, 2000);
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) box->button(button)->click();
    });
}

// Reads the next modal message box as soon as it is open, then presses its OK button.
inline void readAndCloseNextRealBox(const std::function<void(const QMessageBox&)>& read) {
    QTimer::singleShot(0, [read] {
        (void)QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; }, 2000);
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            read(*box);
            box->button(QMessageBox::Ok)->click();
        }
    });
}
