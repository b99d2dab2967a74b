#pragma once
// Screens for the platform tests: they log their form events.
#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <QStringList>
#include <QVBoxLayout>
#include <functional>
#include <map>

#include "platform/Form.h"

class LoggingForm : public platform::Form {
public:
    LoggingForm(QString name, QStringList* log) : name_(std::move(name)), log_(log) {
        setWindowTitle(name_);
        resize(300, 200);
    }
    std::function<bool()> closeQuery;
    std::function<void()> onActivate;
    std::function<void()> onDeactivate;

protected:
    void FormActivate() override {
        log_->append(name_ + ".activate");
        if (onActivate) onActivate();
    }
    void FormDeactivate() override {
        log_->append(name_ + ".deactivate");
        if (onDeactivate) onDeactivate();
    }
    bool FormCloseQuery() override {
        log_->append(name_ + ".closeQuery");
        return closeQuery ? closeQuery() : true;
    }
    void FormClose() override { log_->append(name_ + ".close"); }

private:
    QString name_;
    QStringList* log_;
};

// A screen with three edits and a button, each edit logging its leave handler.
class EditsForm : public LoggingForm {
public:
    EditsForm(const QString& name, QStringList* log) : LoggingForm(name, log) {
        auto* layout = new QVBoxLayout(this);
        e1 = new QLineEdit(this);
        e2 = new QLineEdit(this);
        e3 = new QLineEdit(this);
        button = new QPushButton(QStringLiteral("Go"), this);
        for (QWidget* w : {static_cast<QWidget*>(e1), static_cast<QWidget*>(e2), static_cast<QWidget*>(e3),
                           static_cast<QWidget*>(button)})
            layout->addWidget(w);
        QObject::connect(button, &QPushButton::clicked, this, [this] { ++clicks; });
        for (auto [edit, label] : {std::pair{e1, "e1"}, std::pair{e2, "e2"}, std::pair{e3, "e3"}}) {
            QString leaveName = QString::fromLatin1(label) + QStringLiteral(".leave");
            onLeave(edit, [log, leaveName, this, edit] {
                log->append(leaveName);
                if (leaveActions.count(edit)) leaveActions[edit]();
            });
        }
    }
    QLineEdit* e1;
    QLineEdit* e2;
    QLineEdit* e3;
    QPushButton* button;
    int clicks = 0;
    std::map<QWidget*, std::function<void()>> leaveActions;
};
