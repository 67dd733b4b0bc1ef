#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>

#include "platform/base/ProgramPaths.h"
#include "platform/base/TempDir.h"
#include "platform/gui/Form.h"
#include "platform/testing/GuiTest.h"

using namespace wb;

namespace {

void WritePng(const std::string& path, int size) {
    MakeFolders(path.substr(0, path.find_last_of('/')));
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::blue);
    ASSERT_TRUE(image.save(QString::fromStdString(path), "PNG"));
}

} // namespace

TEST(ProgramIcon, EverySizeOfTheThemeAndEveryWindowCarriesIt) {
    gui::test::App();
    TempDir prefix;
    const std::string theme = prefix / "share/icons/hicolor/";
    WritePng(theme + "16x16/apps/sonafex.png", 16);
    WritePng(theme + "48x48/apps/sonafex.png", 48);
    WritePng(theme + "32x32/apps/parvex.png", 32);  // another program's

    QIcon icon = gui::Application::ProgramIcon(prefix / "bin", "sonafex");
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.availableSizes(), (QList<QSize>{QSize(16, 16), QSize(48, 48)}));
    EXPECT_TRUE(gui::Application::ProgramIcon(prefix / "bin", "no_such_program").isNull());

    // A form without an icon of its own shows the application's.
    const QIcon before = QApplication::windowIcon();
    QApplication::setWindowIcon(icon);
    gui::Form form;
    EXPECT_EQ(form.Window()->windowIcon().availableSizes(), icon.availableSizes());
    QApplication::setWindowIcon(before);
}

// With no icon folders beside it, each program shows the icon built into
// it: the repository's drawing, not Qt's logo.
class BuiltInIcon : public ::testing::TestWithParam<const char*> {};
TEST_P(BuiltInIcon, IsTheProgramsOwnDrawing) {
    gui::test::App();
    const std::string name = GetParam();
    TempDir box;
    const std::string drawn = box / "drawn.png";
    const std::string svg = std::string(WB_SOURCE_DIR "/data/") + name + "/" + name + ".svg";
    if (std::system(("rsvg-convert -w 48 -h 48 -o '" + drawn + "' '" + svg + "' 2>/dev/null").c_str()) != 0)
        GTEST_SKIP() << "rsvg-convert (librsvg2-bin) is not installed: no icon is built in";
    const QIcon icon = gui::Application::ProgramIcon(box / "bin", name);
    ASSERT_FALSE(icon.isNull());
    const QImage shown = icon.pixmap(48, 48).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage expected = QImage(QString::fromStdString(drawn)).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(shown.size(), expected.size());
    EXPECT_TRUE(shown == expected) << name;
}
INSTANTIATE_TEST_SUITE_P(ProgramIcon, BuiltInIcon, ::testing::Values("velmora", "sonafex", "parvex"),
                         [](const auto& info) { return std::string(info.param); });
