#pragma once
#include <QApplication>
#include <QIcon>
#include <exception>
#include <string>
#include <vector>

namespace wb::gui {

// The program's application object: its title (the caption of every message
// box) and the guard that turns an exception escaping an event handler into
// a message box, after which the program goes on.
class Application : public QApplication {
public:
    Application(int& argc, char** argv, const std::string& title);

    static std::string Title();
    static void SetTitle(const std::string& title);

    // The command line after the program's own name.
    static std::vector<std::string> Arguments();

    // The program's icon from the PNGs of its icon theme folder (see
    // wb::ProgramIconFiles); null when it has none. The application gives
    // the running program's icon to every window.
    static QIcon ProgramIcon(const std::string& programFolder, const std::string& programName);

    // Shows the exception in an error box with the program's title.
    static void ReportException(std::exception_ptr error);

    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace wb::gui
