#include "platform/TextFieldRule.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QValidator>
#include <algorithm>
#include <utility>

#include "platform/Ansi.h"

namespace platform {
namespace {

int refusedKeys = 0;

void refuseKey() {
    ++refusedKeys;
    QApplication::beep();
}

bool isControlOrLineBreak(char32_t c) { return c < 0x20 || (c >= 0x7f && c <= 0x9f) || c == 0x2028 || c == 0x2029; }

// What the field takes of an inserted text: control characters and line breaks as blanks (CR LF
// as one), characters that the file cannot hold left out; `leftOut` tells whether one was.
QString storablePart(QString inserted, const TextFieldRule& rule, bool& leftOut) {
    inserted.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    QString taken;
    taken.reserve(inserted.size());
    for (qsizetype i = 0; i < inserted.size(); ++i) {
        // One character, a surrogate pair included.
        const qsizetype length = inserted[i].isHighSurrogate() && i + 1 < inserted.size() ? 2 : 1;
        const QString character = inserted.mid(i, length);
        i += length - 1;
        const char32_t code = character.toUcs4().value(0);
        if (isControlOrLineBreak(code))
            taken += QLatin1Char(' ');
        else if (rule.separators.contains(character) || !ansiCanHold(character))
            leftOut = true;
        else
            taken += character;
    }
    return taken;
}

// A text whose bytes begin as the UTF-8 byte-order mark does: as the first line of its file (the
// supplier's country), it would make the file read as UTF-8.
bool readsAsByteOrderMark(const QString& text) { return toAnsi(text.left(3)).starts_with("\xEF\xBB\xBF"); }

// The rule of one edit. It sees every change of the edit's text before the edit takes it: a text
// the program sets (the edit's undo history is then empty) stays as it is; the user's change, the
// part between the unchanged start and end of the text, is made storable.
class StorableTextValidator : public QValidator {
public:
    StorableTextValidator(QLineEdit* edit, const TextFieldRule& rule)
        : QValidator(edit), edit_(edit), rule_(rule), last_(edit->text()) {
        edit->installEventFilter(this);
        // The edit takes a text made storable as if the program had set it: it is still the user's
        // change, with the cursor after what was pasted, as after any paste.
        connect(edit, &QLineEdit::textChanged, this, [this] {
            if (cursorAfterChange_ < 0) return;
            edit_->setModified(true);
            edit_->setCursorPosition(std::exchange(cursorAfterChange_, -1));
        });
    }

    void setRule(const TextFieldRule& rule) { rule_ = rule; }

    State validate(QString& input, int& pos) const override {
        const Source source = std::exchange(source_, Source::Other);
        if (!edit_->isUndoAvailable() || input == last_) {
            last_ = input;
            return Acceptable;
        }
        const qsizetype shorter = std::min(last_.size(), input.size());
        qsizetype start = 0;
        while (start < shorter && last_[start] == input[start]) ++start;
        if (start > 0 && input[start - 1].isHighSurrogate()) --start;
        qsizetype end = 0;
        while (end < shorter - start && last_[last_.size() - 1 - end] == input[input.size() - 1 - end]) ++end;
        if (end > 0 && input[input.size() - end].isLowSurrogate()) --end;
        const QString inserted = input.mid(start, input.size() - start - end);

        bool leftOut = false;
        const QString taken = storablePart(inserted, rule_, leftOut);
        QString result = input;
        result.replace(start, inserted.size(), taken);
        const bool refusedText = (!rule_.refusedText.isEmpty() && result == rule_.refusedText) ||
                                 (readsAsByteOrderMark(result) && !readsAsByteOrderMark(last_));
        // A typed character that the file cannot hold is refused, and so is the key that would
        // complete a refused text; the edit undoes a key's change itself.
        if (source == Source::Typed && ((leftOut && inserted == keyText_) || refusedText)) {
            refuseKey();
            return Invalid;
        }
        // A paste that would give a refused text, or that has nothing storable, is left out.
        if (source == Source::PasteKey && (refusedText || result == last_)) return Invalid;
        if (refusedText) result = last_;
        if (result != input) {
            input = result;
            pos = static_cast<int>(std::min(start + taken.size(), result.size()));
            cursorAfterChange_ = pos;
        }
        last_ = input;
        return Acceptable;
    }

    // Where the next change comes from: a typed key (a letter composed from several keys, or given
    // by an input method, included), the paste key, or anything else (the undo or redo key, the
    // mouse, a drop). A box passes its keys on to its edit.
    void noteInput(const QEvent* event) {
        switch (event->type()) {
            case QEvent::KeyPress: {
                const auto* key = static_cast<const QKeyEvent*>(event);
                if (key->matches(QKeySequence::Paste))
                    source_ = Source::PasteKey;
                else if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo))
                    source_ = Source::Other;
                else
                    source_ = Source::Typed;
                keyText_ = key->text();
                break;
            }
            case QEvent::InputMethod:
                keyText_ = static_cast<const QInputMethodEvent*>(event)->commitString();
                source_ = keyText_.isEmpty() ? Source::Other : Source::Typed;
                break;
            case QEvent::KeyRelease:
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::ContextMenu:
            case QEvent::Drop:
            case QEvent::FocusOut: source_ = Source::Other; break;
            default: break;
        }
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        noteInput(event);
        return QValidator::eventFilter(watched, event);
    }

private:
    enum class Source { Typed, PasteKey, Other };

    QLineEdit* edit_;
    TextFieldRule rule_;
    mutable QString last_;  // the text as the edit last took it
    mutable Source source_ = Source::Other;
    mutable int cursorAfterChange_ = -1;
    QString keyText_;
};

StorableTextValidator* validatorOf(const QLineEdit* edit) {
    return dynamic_cast<StorableTextValidator*>(const_cast<QValidator*>(edit->validator()));
}

// The rule of a box, given to each edit the box makes.
class BoxTextRule : public QObject {
public:
    BoxTextRule(QComboBox* box, const TextFieldRule& rule) : QObject(box), box_(box), rule_(rule) {
        box->installEventFilter(this);
        equipEdit();
    }

    void setRule(const TextFieldRule& rule) {
        rule_ = rule;
        equipEdit();
    }

protected:
    // A new edit is polished before it is shown, so before it can take any input. The keys that
    // reach the box go on to its edit.
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == box_ && event->type() == QEvent::ChildPolished) equipEdit();
        if (watched == box_ && box_->lineEdit())
            if (StorableTextValidator* validator = validatorOf(box_->lineEdit())) validator->noteInput(event);
        return QObject::eventFilter(watched, event);
    }

private:
    void equipEdit() {
        if (QLineEdit* edit = box_->lineEdit()) setTextFieldRule(edit, rule_);
    }

    QComboBox* box_;
    TextFieldRule rule_;
};

BoxTextRule* boxRuleOf(const QComboBox* box) {
    for (QObject* child : box->children())
        if (auto* rule = dynamic_cast<BoxTextRule*>(child)) return rule;
    return nullptr;
}

}  // namespace

void setTextFieldRule(QLineEdit* edit, const TextFieldRule& rule) {
    if (StorableTextValidator* validator = validatorOf(edit))
        validator->setRule(rule);
    else
        edit->setValidator(new StorableTextValidator(edit, rule));
    if (rule.maxLength > 0) edit->setMaxLength(rule.maxLength);
}

void setTextFieldRule(QComboBox* box, const TextFieldRule& rule) {
    if (BoxTextRule* boxRule = boxRuleOf(box))
        boxRule->setRule(rule);
    else
        new BoxTextRule(box, rule);
}

void keepFieldsStorable(QWidget* screen) {
    // The screen's own fields; a dialog that it owns (a file name) is no field of a file.
    for (QComboBox* box : screen->findChildren<QComboBox*>())
        if (box->window() == screen && !boxRuleOf(box)) setTextFieldRule(box, {});
    for (QLineEdit* edit : screen->findChildren<QLineEdit*>()) {
        // A box's edit has the box's rule; a spin box keeps its own.
        if (edit->window() != screen || qobject_cast<QComboBox*>(edit->parent()) ||
            qobject_cast<QAbstractSpinBox*>(edit->parent()))
            continue;
        if (!edit->validator()) setTextFieldRule(edit, {});
    }
}

int refusedKeyCount() { return refusedKeys; }

}  // namespace platform
