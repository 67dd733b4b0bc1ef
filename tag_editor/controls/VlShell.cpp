#include "tag_editor/controls/VlShell.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QUrl>

namespace velmora {

std::function<void(const std::string&)> TVlShell::ShowInfo = [](const std::string& text) {
    QMessageBox::information(QApplication::activeWindow(), QApplication::applicationName(),
                             QString::fromStdString(text), QMessageBox::Ok);
};
std::function<void(const std::string&)> TVlShell::ShowError = [](const std::string& text) {
    QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationName(),
                          QString::fromStdString(text), QMessageBox::Ok);
};
std::function<bool(const std::string&)> TVlShell::Open = [](const std::string& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
};

} // namespace velmora
