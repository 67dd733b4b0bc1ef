#pragma once
// Shared fixture: the main window on a player of the test's choice, a
// temporary folder for its files and the driver that answers its modal windows.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "effects_workbench/OknoGlowne.h"
#include "effects_workbench/tests/WaveTestSupport.h"
#include "platform/base/TempDir.h"
#include "platform/testing/GuiTest.h"

namespace sonafex::test {

template <class Player>
class WindowTest : public ::testing::Test {
protected:
    template <class... PlayerArgs>
    explicit WindowTest(PlayerArgs&&... args) : player(std::forward<PlayerArgs>(args)...) {
        Make(player);
    }
    // A new window on the given player, the old one gone first.
    void Make(wb::media::WavePlayer& p) {
        window.reset();
        window = std::make_unique<TMainForm>(p);
    }
    std::string MakeMono(const std::string& name, const std::vector<int16_t>& samples, uint32_t rate = 22050) {
        const std::string path = dir / name;
        WriteBytes(path, MonoFile(samples, rate));
        return path;
    }

    // The application comes first: the dialog driver's timer needs its loop.
    struct AppFirst {
        AppFirst() { wb::gui::test::App("Sonafex"); }
    } appFirst;
    wb::TempDir dir{"sonafex-test"};
    Player player;
    wb::gui::test::ModalDriver driver;
    std::unique_ptr<TMainForm> window;
};

} // namespace sonafex::test
