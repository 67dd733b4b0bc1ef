#include "platform/gui/Application.h"

#include <QDirIterator>
#include <QStringList>
#include <cstdio>

#include "platform/base/ProgramPaths.h"
#include "platform/gui/Guard.h"
#include "platform/gui/MessageBox.h"

namespace wb::gui {

namespace {
std::string& TitleSlot() {
    static std::string title;
    return title;
}
int& StrayCount() {
    static int count = 0;
    return count;
}
} // namespace

Application::Application(int& argc, char** argv, const std::string& title)
    : QApplication(argc, argv) {
    SetTitle(title);
    setApplicationName(QString::fromStdString(title));
    setQuitOnLastWindowClosed(false);  // a dialog program ends when its dialog returns
    QIcon icon = ProgramIcon(wb::ProgramFolder(), wb::ProgramName());
    if (!icon.isNull()) setWindowIcon(icon);
}

QIcon Application::ProgramIcon(const std::string& programFolder, const std::string& programName) {
    // Qt reads SVG only through a plugin that may be missing; the PNGs are
    // rendered from the same drawing.
    QIcon icon;
    for (const auto& file : wb::ProgramIconFiles(programFolder, programName, ".png"))
        icon.addFile(QString::fromStdString(file));
    if (!icon.isNull()) return icon;
    // A copied binary has no icon folders beside it: the pictures the build
    // put into the program, rather than Qt's logo.
    QDirIterator built(":/wb/icons/" + QString::fromStdString(programName), {"*.png"}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (built.hasNext()) icon.addFile(built.next());
    return icon;
}

std::string Application::Title() {
    if (!TitleSlot().empty()) return TitleSlot();
    return QCoreApplication::applicationName().toStdString();
}

void Application::SetTitle(const std::string& title) { TitleSlot() = title; }

std::vector<std::string> Application::Arguments() {
    std::vector<std::string> args;
    QStringList all = QCoreApplication::arguments();
    for (qsizetype i = 1; i < all.size(); ++i) args.push_back(all[i].toStdString());
    return args;
}

void Application::ReportException(std::exception_ptr error) {
    std::string text;
    try {
        std::rethrow_exception(error);
    } catch (const EAbort&) {
        return;
    } catch (const std::exception& e) {
        text = e.what();
    } catch (...) {
        text = "An unknown error occurred.";
    }
    // Without a GUI there is no box to show; the text must not be lost.
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
        std::fprintf(stderr, "%s\n", text.c_str());
        return;
    }
    ShowMessage(text, MsgKind::Error);
}

int Application::StrayExceptions() { return StrayCount(); }

bool Application::notify(QObject* receiver, QEvent* event) {
    // A last-resort net, not a second boundary: a handler that Qt still
    // calls without the guard would otherwise end the program when its
    // exception leaves the event loop. The net is the guard itself; the
    // count lets tests tell such a handler from a guarded one.
    struct Delivery {
        Application* app;
        QObject* receiver;
        QEvent* event;
        bool result = true;
        bool escaped = true;
    } d{this, receiver, event};
    RunGuarded([&d] {
        d.result = d.app->QApplication::notify(d.receiver, d.event);
        d.escaped = false;
    });
    if (d.escaped) ++StrayCount();
    return d.result;
}

} // namespace wb::gui
