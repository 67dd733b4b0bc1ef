// Restored placements on a desktop of two screens side by side, the first
// (primary) at 0,0 and the second right of it, each 1024 x 768.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <climits>
#include <fstream>
#include <vector>

#include "platform/base/TempDir.h"
#include "platform/gui/Form.h"
#include "platform/testing/TestApp.h"

using namespace wb::gui;

namespace {

struct PlacementCase {
    const char* name;
    Rect stored;                      // the normal rectangle of the record
    int left, top, width, height;     // where the window comes back
};

class TwoScreens : public ::testing::TestWithParam<PlacementCase> {
protected:
    static void SetUpTestSuite() {
        static wb::TempDir dir("two-screens");
        const std::string config = dir.Path() + "/screens.json";
        std::ofstream(config) << R"({"windowFrameMargins": false, "screens": [
            {"name": "left", "x": 0, "y": 0, "width": 1024, "height": 768, "logicalDpi": 96},
            {"name": "right", "x": 1024, "y": 0, "width": 1024, "height": 768, "logicalDpi": 96}]})";
        qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + config.c_str());
        test::App();
    }
};

TEST_P(TwoScreens, ARestoredWindowKeepsItsPlaceUnlessNoScreenShowsIt) {
    ASSERT_EQ(QGuiApplication::screens().size(), 2);
    const PlacementCase& c = GetParam();
    Form form;
    WindowPlacement p = form.GetWindowPlacement();
    p.showCmd = SW_SHOWNORMAL;
    p.normalPosition = c.stored;
    form.SetWindowPlacement(p);
    const std::vector<int> expected{c.left, c.top, c.width, c.height};
    EXPECT_EQ((std::vector<int>{form.Left(), form.Top(), form.Width(), form.Height()}), expected);
    // What the next save stores is the place it was given.
    const Rect back = form.GetWindowPlacement().normalPosition;
    EXPECT_EQ((std::vector<int>{back.left, back.top, back.Width(), back.Height()}), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Placements, TwoScreens,
    ::testing::Values(
        PlacementCase{"OnTheSecondScreen", {1200, 100, 1600, 400}, 1200, 100, 400, 300},
        PlacementCase{"AcrossBothScreens", {900, 100, 1300, 400}, 900, 100, 400, 300},
        PlacementCase{"PartlyOffTheSecondScreen", {1900, 600, 2300, 900}, 1900, 600, 400, 300},
        PlacementCase{"PartlyAboveTheFirstScreen", {-100, -200, 300, 100}, -100, -200, 400, 300},
        PlacementCase{"RightOfEveryScreen", {2500, 100, 2900, 400}, 1648, 100, 400, 300},
        PlacementCase{"BelowTheSecondScreen", {1100, 900, 1500, 1200}, 1100, 468, 400, 300},
        PlacementCase{"AboveAndLeftOfEveryScreen", {-600, -600, -200, -300}, 0, 0, 400, 300},
        PlacementCase{"WiderThanOneScreen", {1000, 20, 2500, 720}, 1000, 20, 1500, 700},
        PlacementCase{"LargerThanAllScreens", {0, 0, 100000, 100000}, 0, 0, 2048, 768},
        PlacementCase{"NoSizeOnTheSecondScreen", {1500, 300, 1500, 300}, 1500, 300, 0, 0},
        PlacementCase{"NoSizeRightOfEveryScreen", {5000, 300, 5000, 300}, 2047, 300, 0, 0},
        PlacementCase{"EdgesAtTheEndsOfAnInt", {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, 0, 0, 2048, 768},
        PlacementCase{"EdgesPastTheEndOfAnInt", {INT_MAX - 10, 100, INT_MAX, 400}, 2038, 100, 10, 300}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
