#include "tag_editor/controls/VlPictures.h"

#include <gtest/gtest.h>

#include "tag_editor/controls/VlQtImage.h"

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
    QImage shown = ToQImage(gif.Bitmap(), ground);
    ASSERT_EQ(shown.size(), QSize(48, 48));
    EXPECT_EQ(qAlpha(shown.pixel(0, 0)), 0);
    // The letter's stem at the centre and the disc beside it are opaque.
    const QRgb stem = shown.pixel(24, 28), disc = shown.pixel(12, 30);
    EXPECT_EQ(qAlpha(stem), 255);
    EXPECT_EQ(qAlpha(disc), 255);
    EXPECT_GT(qBlue(disc), qRed(disc) + 60);
    EXPECT_EQ(stem, qRgb(250, 250, 250));
}
