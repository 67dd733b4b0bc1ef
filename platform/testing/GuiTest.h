#pragma once
// Helpers for GUI tests: the application object (TestApp.h), and a
// driver that answers the modal windows a click opens (message boxes, file
// dialogs, further dialogs), as a user would, while the test waits on it.
#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QDeadlineTimer>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/testing/TestApp.h"

namespace wb::gui::test {

// True once the condition holds, false when it still does not after a
// generous bound. The event loop runs meanwhile, so queued events arrive and
// a driver can answer a box; the bound only ends a test that would hang.
inline bool Eventually(const std::function<bool()>& condition, int boundMs = 10000) {
    QDeadlineTimer deadline(boundMs);
    while (!condition()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

struct SeenMessage {
    std::string title, text;
    QMessageBox::Icon icon;
    int buttons;  // number of buttons offered
};

class ModalDriver {
public:
    ModalDriver() {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
        timer_.start();
    }

    // The next file dialog picks this file (or is cancelled with nullopt).
    void AnswerFileDialog(std::optional<std::string> path) { files_.push_back(std::move(path)); }
    // The next other modal window is handed to this action, which should end it.
    void OnDialog(std::function<void(QWidget*)> action) { dialogs_.push_back(std::move(action)); }

    const std::vector<SeenMessage>& Messages() const { return messages_; }
    std::vector<std::string> Texts() const {
        std::vector<std::string> t;
        for (const auto& m : messages_) t.push_back(m.text);
        return t;
    }
    void Clear() { messages_.clear(); }
    // The next box that asks Yes or No is answered Yes (else No).
    void AnswerYes() { yes_ = true; }
    int FileDialogsShown() const { return fileDialogs_; }
    const std::vector<std::string>& FileDialogFilters() const { return filters_; }

private:
    void Tick() {
        QWidget* w = QApplication::activeModalWidget();
        if (EndedAsStuck(w)) return;
        // Boxes live on the stack, so a later one may reuse an address; a
        // mark on the widget tells them apart.
        if (!w || w->property("wbDriven").toBool()) return;
        if (auto* box = qobject_cast<QMessageBox*>(w)) {
            w->setProperty("wbDriven", true);
            messages_.push_back({box->windowTitle().toStdString(), box->text().toStdString(),
                                 box->icon(), static_cast<int>(box->buttons().size())});
            QAbstractButton* answer = box->button(QMessageBox::Ok);
            if (box->button(QMessageBox::Yes)) {
                answer = box->button(yes_ ? QMessageBox::Yes : QMessageBox::No);
                yes_ = false;
            }
            answer ? answer->click() : box->reject();
        } else if (auto* fd = qobject_cast<QFileDialog*>(w)) {
            w->setProperty("wbDriven", true);
            ++fileDialogs_;
            filters_.push_back(fd->nameFilters().join(";;").toStdString());
            std::optional<std::string> answer;
            if (!files_.empty()) {
                answer = files_.front();
                files_.pop_front();
            }
            if (answer) {
                fd->selectFile(QString::fromStdString(*answer));
                QMetaObject::invokeMethod(fd, "accept", Qt::QueuedConnection);
            } else {
                fd->reject();
            }
        } else if (auto* d = w; !dialogs_.empty()) {
            w->setProperty("wbDriven", true);
            auto action = std::move(dialogs_.front());
            dialogs_.pop_front();
            // Run outside this tick: a timer does not fire again while its
            // own handler runs, and the action may open further boxes.
            QTimer::singleShot(0, d, [d, action = std::move(action)] { action(d); });
        }
    }

    // A window the test expected none of, or one its action left open, fails
    // the test and is closed, rather than wait for ever. The bound only ends
    // a test that would hang.
    bool EndedAsStuck(QWidget* w) {
        if (!w) return false;
        if (stuck_ != w) {
            stuck_ = w;
            stuckSince_.setRemainingTime(kStuckMs);
            return false;
        }
        if (!stuckSince_.hasExpired()) return false;
        ADD_FAILURE() << "a modal window nobody ends: \"" << w->windowTitle().toStdString() << '"';
        stuck_ = nullptr;
        if (auto* dialog = qobject_cast<QDialog*>(w)) dialog->reject();
        else w->close();
        return true;
    }

    static constexpr int kStuckMs = 30000;
    QPointer<QWidget> stuck_;
    QDeadlineTimer stuckSince_;

    QTimer timer_;
    std::deque<std::optional<std::string>> files_;
    std::deque<std::function<void(QWidget*)>> dialogs_;
    std::vector<SeenMessage> messages_;
    std::vector<std::string> filters_;
    int fileDialogs_ = 0;
    bool yes_ = false;
};

} // namespace wb::gui::test
