#include "platform/gui/MessageBox.h"

#include <QApplication>
#include <QMessageBox>

#include "platform/gui/Application.h"

namespace wb::gui {

namespace {

int RunBox(const std::string& text, MsgKind kind, QWidget* parent, QMessageBox::StandardButtons buttons) {
    if (!parent) parent = QApplication::activeModalWidget();
    QMessageBox box(parent);
    box.setWindowTitle(QString::fromStdString(Application::Title()));
    box.setText(QString::fromStdString(text));
    box.setTextFormat(Qt::PlainText);
    box.setIcon(kind == MsgKind::Warning ? QMessageBox::Warning
                : kind == MsgKind::Error       ? QMessageBox::Critical
                : kind == MsgKind::Information ? QMessageBox::Information
                                               : QMessageBox::NoIcon);
    box.setStandardButtons(buttons);
    return box.exec();
}

} // namespace

void ShowMessage(const std::string& text, MsgKind kind, QWidget* parent) {
    RunBox(text, kind, parent, QMessageBox::Ok);
}

bool AskYesNo(const std::string& text, MsgKind kind, QWidget* parent) {
    return RunBox(text, kind, parent, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

} // namespace wb::gui
