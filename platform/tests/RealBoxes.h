#pragma once
// Answers a real (not scripted) modal box from a timer, as a user would.
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <functional>

// Waits up to two seconds for a modal window of type T to open; that window, or null.
template <class T = QWidget>
T* nextModal() {
    (void)QTest::qWaitFor([] { return qobject_cast<T*>(QApplication::activeModalWidget()) != nullptr; }, 2000);
    return qobject_cast<T*>(QApplication::activeModalWidget());
}

// Presses `button` of the next modal message box as soon as it is open.
inline void pressInNextRealBox(QMessageBox::StandardButton button) {
    QTimer::singleShot(0, [button] {
        if (auto* box = nextModal<QMessageBox>()) box->button(button)->click();
    });
}

// Reads the next modal message box as soon as it is open, then presses its OK button.
inline void readAndCloseNextRealBox(const std::function<void(const QMessageBox&)>& read) {
    QTimer::singleShot(0, [read] {
        if (auto* box = nextModal<QMessageBox>()) {
            read(*box);
            box->button(QMessageBox::Ok)->click();
        }
    });
}
