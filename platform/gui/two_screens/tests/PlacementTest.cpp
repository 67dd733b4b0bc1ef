// Restored placements on two screens side by side, each 1024 x 768.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <climits>
#include <fstream>
#include <vector>

#include "platform/base/TempDir.h"
#include "platform/gui/Form.h"
#include "platform/testing/TestApp.h"

namespace {

using wb::gui::Rect;
struct PlacementCase { const char* name; Rect stored; std::vector<int> leftTopWidthHeight; };

class TwoScreens : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(TwoScreens, ARestoredWindowStaysUnlessNoScreenShowsIt) {
    static wb::TempDir dir("two-screens");
    if (!QCoreApplication::instance()) {
        std::ofstream(dir.Path() + "/screens.json") << R"({"windowFrameMargins": false, "screens": [
            {"name": "left", "x": 0, "y": 0, "width": 1024, "height": 768},
            {"name": "right", "x": 1024, "y": 0, "width": 1024, "height": 768}]})";
        qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + dir.Path() + "/screens.json").c_str());
    }
    wb::gui::test::App();
    ASSERT_EQ(QGuiApplication::screens().size(), 2);
    wb::gui::Form form;
    wb::gui::WindowPlacement p = form.GetWindowPlacement();
    p.normalPosition = GetParam().stored;
    form.SetWindowPlacement(p);
    // What the next save stores is where the window is.
    const Rect r = form.GetWindowPlacement().normalPosition;
    EXPECT_EQ((std::vector<int>{r.left, r.top, r.Width(), r.Height()}), GetParam().leftTopWidthHeight);
}

INSTANTIATE_TEST_SUITE_P(
    Placements, TwoScreens,
    ::testing::Values(
        PlacementCase{"OnTheSecondScreen", {1200, 100, 1600, 400}, {1200, 100, 400, 300}},
        PlacementCase{"PartlyOffTheSecondScreen", {1900, 600, 2300, 900}, {1900, 600, 400, 300}},
        PlacementCase{"RightOfEveryScreen", {2500, 100, 2900, 400}, {1648, 100, 400, 300}},
        PlacementCase{"BelowTheSecondScreen", {1100, 900, 1500, 1200}, {1100, 468, 400, 300}},
        PlacementCase{"WiderThanOneScreen", {1000, 20, 2500, 720}, {1000, 20, 1500, 700}},
        PlacementCase{"NoSizeRightOfEveryScreen", {5000, 300, 5000, 300}, {2047, 300, 0, 0}},
        PlacementCase{"EdgesAtTheEndsOfAnInt", {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, {0, 0, 2048, 768}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
