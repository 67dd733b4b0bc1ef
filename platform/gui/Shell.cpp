#include "platform/gui/Shell.h"

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

#include <cerrno>
#include <ctime>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/base/CommandLine.h"

namespace wb::gui {

namespace {

bool StartDetached(const std::vector<std::string>& argv) {
    if (argv.empty()) return false;
    QString program = QString::fromStdString(argv[0]);
    if (!program.contains('/')) {
        program = QStandardPaths::findExecutable(program);
        if (program.isEmpty()) return false;
    }
    QStringList args;
    for (size_t i = 1; i < argv.size(); ++i) args << QString::fromStdString(argv[i]);
    return QProcess::startDetached(program, args);
}

// Starts a program and waits up to waitMs for its verdict: true when it ends
// with status 0 or is still running then (it lives on, apart from us). A
// watcher process in between reaps it, so no zombie is left either way.
bool StartWatched(const std::vector<std::string>& argv, int waitMs) {
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    const pid_t watcher = ::fork();
    if (watcher < 0) return false;
    if (watcher == 0) {
        const pid_t program = ::fork();
        if (program < 0) ::_exit(127);
        if (program == 0) {
            ::execv(args[0], args.data());
            ::_exit(127);
        }
        for (int waited = 0; waited < waitMs; waited += 20) {
            int status = 0;
            if (::waitpid(program, &status, WNOHANG) == program)
                ::_exit(WIFEXITED(status) ? WEXITSTATUS(status) : 1);
            const timespec pause{0, 20'000'000};
            ::nanosleep(&pause, nullptr);
        }
        ::_exit(0);
    }
    int status = 0;
    while (::waitpid(watcher, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

bool OpenWithDefaultApplication(const std::string& target) {
    if (target.empty()) return false;
    // xdg-open tells within moments when no program opens the document (it
    // ends with status 3 or 4); one still running by then has found one.
    const QString opener = QStandardPaths::findExecutable("xdg-open");
    if (opener.isEmpty()) return false;
    return StartWatched({opener.toStdString(), target}, 1000);
}

bool StartProgram(const std::string& commandLine) {
    return StartDetached(SplitCommandLine(commandLine));
}

bool DesktopShell::OpenDocument(const std::string& target) { return OpenWithDefaultApplication(target); }

bool DesktopShell::Start(const std::string& commandLine) { return StartProgram(commandLine); }

} // namespace wb::gui
