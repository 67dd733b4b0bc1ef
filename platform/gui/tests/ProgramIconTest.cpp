#include <gtest/gtest.h>

#include <QImage>

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
    EXPECT_TRUE(gui::Application::ProgramIcon(prefix / "bin", "velmora").isNull());

    // A form without an icon of its own shows the application's.
    const QIcon before = QApplication::windowIcon();
    QApplication::setWindowIcon(icon);
    gui::Form form;
    EXPECT_EQ(form.Window()->windowIcon().availableSizes(), icon.availableSizes());
    QApplication::setWindowIcon(before);
}
