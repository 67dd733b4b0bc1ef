// Writes a picture of the file-system controls over a sample folder, so a
// person can look at them without a display.
#include "tag_editor/controls/filesystem/VlFilSys.h"

#include "platform/gui/Label.h"

#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

#include "platform/testing/PixelsAndFolders.h"

using namespace velmora;

namespace {

TEST(Screenshot, TreeFileListAndDriveBox) {
    wb::gui::test::App();
    wb::gui::test::TestFolder dir("screens");
    for (const char* d : {"music/Blues", "music/Jazz/Live", "music/Rock/1971", "music/Rock/1973",
                          "music/Soundtracks", "podcasts"})
        dir.Dir(d);
    for (const char* f : {"music/Rock/01 - Opening.mp3", "music/Rock/02 - Long Road.mp3",
                          "music/Rock/03 - Night Drive.mp3", "music/Rock/cover.jpg",
                          "music/Rock/Rock.m3u", "music/Rock/notes.txt"})
        dir.File(f);
    auto fake = std::make_shared<wb::FakeVolumeTable>();
    fake->Add(dir / "music", wb::VolumeKind::Fixed, wb::VolumeInfo{"MUSIC", 0x1234, "ext4"});
    fake->Add(dir / "podcasts", wb::VolumeKind::Remote, wb::VolumeInfo{"", 0x99, "nfs"}, "nas:/podcasts");
    fake->Add("/dev/sr0", wb::VolumeKind::CDROM, wb::VolumeInfo{"ROCK ALBUM", 0x42, "iso9660"});
    wb::SetVolumeTable(fake);

    QWidget window;
    window.setWindowTitle("Velmora");
    window.resize(560, 320);
    // Freed before the window, which frees their widgets otherwise.
    TVlDriveComboBox drives;
    drives.SetFrameVisible(true);
    auto files = std::make_unique<TVlFileListBox>();
    auto tree = std::make_unique<TVlDirectoryTree>();
    tree->SetFrameVisible(true);
    tree->SetFrameStyle(fsLowered);
    files->SetMask("*.mp3;*.m3u");
    files->SetFileType({ftNormal, ftDirectory});
    files->SetFrameVisible(true);
    files->SetFrameStyle(fsGroove);
    tree->SetFileList(files.get());
    auto label = std::make_unique<wb::gui::Label>();
    label->SetAutoSize(false);  // the layout sizes it
    tree->SetDirLabel(label.get());

    auto* row = new QHBoxLayout;
    row->addWidget(tree->Widget(), 1);
    row->addWidget(files->Widget(), 1);
    auto* column = new QVBoxLayout(&window);
    column->addWidget(static_cast<QWidget*>(drives.NativeWidget()));
    column->addLayout(row, 1);
    column->addWidget(label->Widget());
    window.show();
    QCoreApplication::processEvents();
    tree->SetDirectory(dir / "music/Rock");
    tree->SetFocus();
    files->SetItemIndex(1);
    QCoreApplication::processEvents();

    ASSERT_EQ(files->ItemTexts(), (std::vector<std::string>{"01 - Opening.mp3", "02 - Long Road.mp3",
                                                            "03 - Night Drive.mp3", "Rock.m3u"}));
    EXPECT_EQ(drives.Count(), 3);

    QImage shot = window.grab().toImage();
    std::filesystem::create_directories(std::string(WB_BINARY_DIR) + "/screens");
    const std::string out = std::string(WB_BINARY_DIR) + "/screens/file-system-controls.png";
    ASSERT_TRUE(shot.save(QString::fromStdString(out)));
    EXPECT_TRUE(std::filesystem::file_size(out) > 1000);
    wb::SetVolumeTable(nullptr);
}

} // namespace
