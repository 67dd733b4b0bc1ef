#pragma once
// Helpers for pixels and folders, with the tests' application object.
#include <QImage>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "platform/base/TempDir.h"
#include "platform/gui/Canvas.h"
#include "platform/gui/TreeView.h"
#include "platform/testing/TestApp.h"

namespace wb::gui::test {

inline QImage Blank(int w, int h, wb::gui::TColor fill = wb::gui::clWhite) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(wb::gui::ToQRgb(fill));
    return img;
}

inline bool Is(const QImage& img, int x, int y, wb::gui::TColor c) {
    return (img.pixel(x, y) | 0xFF000000u) == wb::gui::ToQRgb(c);
}

// A w x h image of `fill` with what `draw` paints on it.
inline QImage Drawn(int w, int h, wb::gui::TColor fill, const std::function<void(wb::gui::Canvas&)>& draw) {
    QImage img = Blank(w, h, fill);
    {
        wb::gui::Canvas c(img);  // done painting before the image is handed on
        draw(c);
    }
    return img;
}

struct Pixel {
    int x, y;
    wb::gui::TColor colour;
};

// Each listed pixel has its colour; a failure names the pixel.
inline void ExpectPixels(const QImage& img, std::initializer_list<Pixel> pixels) {
    for (const Pixel& p : pixels) EXPECT_TRUE(Is(img, p.x, p.y, p.colour)) << "pixel " << p.x << "," << p.y;
}

inline std::vector<std::string> ChildTexts(const wb::gui::TreeNode* node) {
    std::vector<std::string> out;
    for (int i = 0; node && i < node->Count(); ++i) out.push_back(node->Child(i)->Text());
    return out;
}

// The node below `node` named by the folders of `rel`; null where one is missing.
inline wb::gui::TreeNode* NodeBelow(wb::gui::TreeNode* node, const std::string& rel) {
    for (const auto& name : std::filesystem::path(rel)) {
        wb::gui::TreeNode* next = nullptr;
        for (int i = 0; node && i < node->Count(); ++i)
            if (node->Child(i)->Text() == name.string()) next = node->Child(i);
        node = next;
    }
    return node;
}

// The message of the E that `act` throws; "" when it throws none.
template <class E>
std::string ErrorOf(const std::function<void()>& act) {
    try {
        act();
    } catch (const E& e) {
        return e.what();
    }
    return "";
}

// A wb::TempDir that a test fills with folders and files, under the
// canonical path the controls report. The controls make folders current, so
// it leaves its folder before the folder goes.
class TestFolder {
public:
    explicit TestFolder(const std::string& tag)
        : dir_("vltest-" + tag), path_(std::filesystem::canonical(dir_.Path())) {}
    ~TestFolder() {
        std::error_code ec;
        std::filesystem::current_path("/", ec);
    }
    std::string Path() const { return path_.string(); }
    std::string operator/(const std::string& rel) const { return (path_ / rel).string(); }
    void Dir(const std::string& rel) const { std::filesystem::create_directories(path_ / rel); }
    void File(const std::string& rel, const std::string& content = "x") const {
        std::ofstream(path_ / rel) << content;
    }

private:
    wb::TempDir dir_;
    std::filesystem::path path_;
};

} // namespace wb::gui::test
