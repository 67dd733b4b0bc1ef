#include "tag_editor/controls/VlPictures.h"

#include <gtest/gtest.h>

#include <QColor>

#include "tag_editor/controls/VlPictureView.h"

using namespace velmora;

TEST(WindowPictures, InfoPictureShowsItsDiscOverATransparentGround) {
    TGIFImage gif;
    LoadInfoPicture(gif);
    ASSERT_EQ(gif.Count(), 1);
    EXPECT_FALSE(gif.Frames(0).Corrupted);
    EXPECT_EQ(gif.Width(), 48);
    EXPECT_EQ(gif.Height(), 48);
    const TColor ground = gif.Frames(0).TransparentColor;
    EXPECT_EQ(ground, wb::gui::clWhite);
    const wb::gui::Bitmap shown = ToImage(gif.Bitmap(), ground);
    ASSERT_EQ(shown.Width(), 48);
    ASSERT_EQ(shown.Height(), 48);
    EXPECT_EQ(qAlpha(shown.ScanLine(0)[0]), 0);
    // The letter's stem at the centre and the disc beside it are opaque.
    const QRgb stem = shown.ScanLine(28)[24], disc = shown.ScanLine(30)[12];
    EXPECT_EQ(qAlpha(stem), 255);
    EXPECT_EQ(qAlpha(disc), 255);
    EXPECT_GT(qBlue(disc), qRed(disc) + 60);
    EXPECT_EQ(stem, qRgb(250, 250, 250));
}
