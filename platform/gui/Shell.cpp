#include "platform/gui/Shell.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QSocketNotifier>

#include "platform/base/CommandLine.h"
#include "platform/base/Spawn.h"

namespace wb::gui {

bool OpenWithDefaultApplication(const std::string& target) {
    if (target.empty()) return false;
    // xdg-open tells within moments when no program opens the document (it
    // ends with status 3 or 4); one still running by then has found one.
    ApartProgram opener({"xdg-open", target}, {}, std::chrono::milliseconds(1000));
    // The GUI goes on painting while the opener decides; the user's input
    // waits for the verdict, so no second click starts it again. Without an
    // event loop to go on with, the verdict is simply waited for.
    if (opener.VerdictFd() >= 0 && QCoreApplication::instance()) {
        QEventLoop loop;
        QSocketNotifier answered(opener.VerdictFd(), QSocketNotifier::Read);
        QObject::connect(&answered, &QSocketNotifier::activated, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    return opener.Verdict();
}

bool StartProgram(const std::string& commandLine, const std::string& workingFolder) {
    return ApartProgram(SplitCommandLine(commandLine), SpawnOptions::In(workingFolder), {}).Verdict();
}

bool DesktopShell::OpenDocument(const std::string& target) { return OpenWithDefaultApplication(target); }

bool DesktopShell::Start(const std::string& commandLine) { return StartProgram(commandLine); }

} // namespace wb::gui
