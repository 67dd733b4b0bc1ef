// Velmora's main window under a real window manager (openbox on a virtual
// X display): one title bar, the program's own icon in it, and a drag on the
// drawn caption moves the window through the window manager.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QImage>
#include <cstdlib>
#include <filesystem>
#include <cstdio>

#include "platform/base/Spawn.h"
#include "platform/base/TempDir.h"
#include "tag_editor/logic/tests/ToolShell.h"

namespace {

namespace fs = std::filesystem;

// Asks a helper to end and kills it if it has not within seconds: openbox
// can stay on after a SIGTERM, and the test would wait for it for ever.
void End(pid_t pid) {
    if (pid <= 0) return;
    const int fd = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
    ::kill(pid, SIGTERM);
    pollfd ended{fd, POLLIN, 0};
    if (fd < 0 || ::poll(&ended, 1, 5000) != 1) ::kill(pid, SIGKILL);
    if (fd >= 0) ::close(fd);
    ::waitpid(pid, nullptr, 0);
}

struct Geometry { int x = 0, y = 0, width = 0, height = 0; };

struct Desktop : ::testing::TestWithParam<bool> {
    void TearDown() override {
        End(wm);
        End(server);
    }

    // The virtual display; it reports its number once it accepts clients.
    void StartDisplay() {
        int fds[2];
        ASSERT_EQ(::pipe(fds), 0);
        ::fcntl(fds[0], F_SETFD, FD_CLOEXEC);
        server = wb::Spawn(
            {"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"},
            wb::SpawnOptions::Quiet());
        ::close(fds[1]);
        std::string number;
        char c;
        while (::read(fds[0], &c, 1) == 1 && c != '\n') number += c;
        ::close(fds[0]);
        ASSERT_FALSE(number.empty()) << "Xvfb did not start";
        display = ":" + number;
    }

    std::string X(const std::string& cmd) { return Shell("DISPLAY=" + display + " " + cmd); }

    Geometry Where() {
        Geometry g;
        const std::string shell = X("xdotool getwindowgeometry --shell " + window);
        const int read = std::sscanf(shell.c_str(), "WINDOW=%*d X=%d Y=%d WIDTH=%d HEIGHT=%d", &g.x, &g.y, &g.width,
                                     &g.height);
        EXPECT_EQ(read, 4) << shell;
        return g;
    }

    QImage Screen() {
        const std::string png = box / "screen.png";
        X("import -window root " + Quote(png));
        return QImage(QString::fromStdString(png)).convertToFormat(QImage::Format_RGB32);
    }

    wb::TempDir box;
    std::string display, window;
    pid_t server = -1, wm = -1;
};

constexpr QRgb kRed = 0xFFFF0000u;        // the gradient caption's left end
constexpr QRgb kUnpainted = 0xFF000000u;  // the virtual display's background

TEST_P(Desktop, OneTitleBarTheOwnIconAndASystemMove) {
    REQUIRE_TOOLS("Xvfb", "openbox", "xdotool", "xprop", "import");
    const bool systemFrames = GetParam();
    StartDisplay();
    if (HasFatalFailure()) return;

    // A copy of the program with no icon folders beside it; openbox starts
    // it once it manages the screen.
    const std::string copy = box / "bin/velmora";
    for (const char* folder : {"home", "bin"}) fs::create_directories(box / folder);
    fs::copy_file(WB_BINARY_DIR "/bin/velmora", copy);
    // `env` in front sets the variables of what it starts.
    wm = wb::Spawn({"env", "DISPLAY=" + display, "HOME=" + (box / "home"), "XDG_CONFIG_HOME=" + (box / "config"),
                "XDG_RUNTIME_DIR=" + box.Path(), "QT_QPA_PLATFORM=xcb",
                std::string("WB_SYSTEM_FRAMES=") + (systemFrames ? "1" : "0"), "openbox", "--startup", copy},
                   wb::SpawnOptions::Quiet());
    ASSERT_GT(wm, 0);
    window = TrimAll(Split(X("xdotool search --sync --onlyvisible --name '^Velmora$'"), '\n').front());
    ASSERT_FALSE(window.empty());

    // The window manager's frame: none around a window that draws its own.
    const std::string extents = X("xprop -id " + window + " _NET_FRAME_EXTENTS");
    const auto sides = Split(extents.substr(extents.find('=') + 1), ',');
    ASSERT_EQ(sides.size(), 4u) << extents;
    EXPECT_EQ(std::atoi(sides[2].c_str()) > 0, systemFrames) << extents;

    // The drawn caption shows once the window has painted; without it the
    // window manager's title bar stands alone.
    Geometry at = Where();
    const int frame = 4, caption = 22;
    QImage shot;
    for (int i = 0; i < 50; ++i) {
        shot = Screen();
        const QRgb seen = shot.pixel(at.x + frame, at.y + frame + caption - 3);
        if (seen == kRed || (systemFrames && seen != kUnpainted)) break;
    }
    shot.save(QString::fromStdString(std::string(WB_BINARY_DIR "/screens/velmora-desktop-") +
                                     (systemFrames ? "system" : "own") + ".png"));
    EXPECT_EQ(shot.pixel(at.x + frame, at.y + frame + caption - 3) == kRed, !systemFrames);
    if (systemFrames) return;

    // The program's own icon in the caption: every opaque pixel of its
    // 16-pixel picture, at the caption's icon place.
    const QImage icon = QImage(WB_BINARY_DIR "/share/icons/hicolor/16x16/apps/velmora.png")
                            .convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(icon.width(), 16);
    const int ix = at.x + frame + 1 + (caption - 16) / 2, iy = at.y + frame + (caption - 1 - 16) / 2;
    int opaque = 0, differing = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            if (qAlpha(icon.pixel(x, y)) != 255) continue;
            ++opaque;
            differing += shot.pixel(ix + x, iy + y) != icon.pixel(x, y);
        }
    EXPECT_GT(opaque, 64);
    EXPECT_EQ(differing, 0);

    // A drag on the caption: the window manager moves the window.
    X("xdotool mousemove " + std::to_string(at.x + at.width / 2) + " " + std::to_string(at.y + frame + 10) +
      " mousedown 1");
    Geometry moved = at;
    for (int i = 0; i < 100 && moved.x == at.x; ++i) {
        X("xdotool mousemove_relative 3 2");
        moved = Where();
    }
    X("xdotool mouseup 1");
    EXPECT_GT(moved.x, at.x);
    EXPECT_GT(moved.y, at.y);
}

INSTANTIATE_TEST_SUITE_P(Velmora, Desktop, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "SystemFrames" : "OwnFrame"; });

} // namespace
