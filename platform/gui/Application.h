#pragma once
#include <QApplication>
#include <QIcon>
#include <exception>
#include <functional>
#include <string>
#include <vector>

namespace wb::gui {

// The program's application object: its title (the caption of every message
// box) and the error box that the guard (Guard.h) shows for an exception
// escaping an event handler.
class Application : public QApplication {
public:
    Application(int& argc, char** argv, const std::string& title);

    static std::string Title();
    static void SetTitle(const std::string& title);

    // The command line after the program's own name.
    static std::vector<std::string> Arguments();

    // The program's icon from the PNGs of its icon theme folder (see
    // wb::ProgramIconFiles), else the one built into the program (the
    // <name>_icon target); null when it has neither. The application gives
    // the running program's icon to every window.
    static QIcon ProgramIcon(const std::string& programFolder, const std::string& programName);

    // How many exceptions reached Qt's event delivery because a handler was
    // called without the guard; each was shown all the same.
    static int StrayExceptions();

    bool notify(QObject* receiver, QEvent* event) override;

private:
    // Shows the exception in an error box with the program's title. Only
    // the guard calls it, so there is one way an exception reaches the user.
    static void ReportException(std::exception_ptr error);
    friend void RunGuarded(const std::function<void()>& handler);
};

} // namespace wb::gui
