#include "tag_editor/controls/pictures/VlPictures.h"

#include <gtest/gtest.h>

#include <QColor>
#include <set>

#include "tag_editor/controls/decoration/VlPictureView.h"

using namespace velmora;

// The Info tab's picture decodes whole; its ground shows through and its
// drawing does not, in more than one colour.
TEST(WindowPictures, InfoPictureShowsItsDrawingOverATransparentGround) {
    TGIFImage gif;
    LoadInfoPicture(gif);
    ASSERT_EQ(gif.Count(), 1);
    EXPECT_FALSE(gif.Frames(0).Corrupted);
    const wb::gui::Bitmap shown = ToImage(gif.Bitmap(), gif.Frames(0).TransparentColor);
    ASSERT_EQ(shown.Width(), gif.Width());
    ASSERT_EQ(shown.Height(), gif.Height());
    ASSERT_GT(shown.Width(), 8);
    int opaque = 0;
    std::set<QRgb> colours;
    for (int y = 0; y < shown.Height(); ++y)
        for (int x = 0; x < shown.Width(); ++x) {
            const QRgb p = shown.ScanLine(y)[x];
            const bool edge = x == 0 || y == 0 || x == shown.Width() - 1 || y == shown.Height() - 1;
            if (edge) {
                EXPECT_EQ(qAlpha(p), 0) << x << "," << y;
            }
            if (qAlpha(p) == 255) {
                ++opaque;
                colours.insert(p);
            }
        }
    EXPECT_GT(opaque, shown.Width() * shown.Height() / 4);
    EXPECT_GE(colours.size(), 2u);
}
