#include "platform/gui/MessageBox.h"

#include <QApplication>
#include <QMessageBox>

#include "platform/gui/Application.h"

namespace wb::gui {

void ShowMessage(const std::string& text, MsgKind kind, QWidget* parent) {
    if (!parent) parent = QApplication::activeModalWidget();
    QMessageBox box(parent);
    box.setWindowTitle(QString::fromStdString(Application::Title()));
    box.setText(QString::fromStdString(text));
    box.setTextFormat(Qt::PlainText);
    box.setIcon(kind == MsgKind::Warning ? QMessageBox::Warning
                : kind == MsgKind::Error ? QMessageBox::Critical
                                         : QMessageBox::NoIcon);
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

} // namespace wb::gui
