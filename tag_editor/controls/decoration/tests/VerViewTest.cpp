#include <gtest/gtest.h>

#include "ProgramVersion.h"
#include "platform/gui/Form.h"
#include "tag_editor/controls/decoration/VerView.h"

using namespace velmora;

namespace {

class VersionViewTest : public ::testing::Test {
protected:
    void SetUp() override { builtIn_ = ProgramVersionData(); }
    void TearDown() override { SetProgramVersionData(builtIn_); }
    const wb::VersionData* builtIn_ = nullptr;
};

TEST_F(VersionViewTest, ShowsTheProjectVersionOfTheBuild) {
    wb::gui::Form form;
    auto* view = new TVersionView(&form);
    view->SetParent(&form);
    EXPECT_EQ(view->GetLabelText(), std::string("Version ") + WB_VERSION_TEXT);
    EXPECT_EQ(view->VersionNumber, WB_VERSION_TEXT);
    view->Refresh();
    EXPECT_EQ(view->ShownText(), std::string("Version ") + WB_VERSION_TEXT);
}

TEST_F(VersionViewTest, FourNumbersAndTheTranslationKey) {
    wb::VersionData data;
    data.fileVersion[0] = 2;
    data.fileVersion[1] = 3;
    data.fileVersion[2] = 0;
    data.fileVersion[3] = 5;
    data.translations = {0x04E40409};
    data.strings["040904E4"]["ProductName"] = "Tagger";
    data.strings["040904E4"]["Comments"] = "";
    data.strings["04070000"]["ProductName"] = "wrong key";
    SetProgramVersionData(&data);
    TVersionView view;
    EXPECT_EQ(view.GetLabelText(), "Version 2.3.0.5");
    EXPECT_EQ(view.VersionNumber, "2.3.0.5");
    view.SetInfoCategory(icProductName);
    EXPECT_EQ(view.GetLabelText(), "Tagger");
    EXPECT_EQ(view.VersionNumber, "2.3.0.5");  // only a version label builds it
    view.SetInfoCategory(icComments);
    EXPECT_EQ(view.GetLabelText(), "");
    data.translations = {0x00000407};  // 04070000: another language
    view.SetInfoCategory(icProductName);
    EXPECT_EQ(view.GetLabelText(), "wrong key");
    data.translations.clear();  // no translation: an empty key finds nothing
    EXPECT_EQ(view.GetLabelText(), "Unknown");
}

TEST_F(VersionViewTest, NoVersionInformationShowsUnknown) {
    SetProgramVersionData(nullptr);
    TVersionView view;
    EXPECT_EQ(view.GetLabelText(), "Unknown");
    EXPECT_EQ(view.VersionNumber, "");
    view.SetInfoCategory(icCompanyName);
    EXPECT_EQ(view.GetLabelText(), "Unknown");
}

TEST(VersionQuery, BackslashesAndTrailingZeros) {
    wb::VersionData data;
    data.translations = {1};
    data.strings["040904E4"]["ProductName"] = "P";
    wb::VersionValue v;
    EXPECT_TRUE(wb::QueryVersionValue(data, std::string("\\\0", 2), v));
    EXPECT_EQ(v.kind, wb::VersionValue::Kind::FixedInfo);
    EXPECT_TRUE(wb::QueryVersionValue(data, "\\\\VarFileInfo\\\\Translation", v));
    EXPECT_TRUE(wb::QueryVersionValue(data, "\\StringFileInfo\\040904e4\\ProductName", v));
    EXPECT_EQ(v.length, 2u);
    EXPECT_FALSE(wb::QueryVersionValue(data, "\\StringFileInfo\\\\ProductName", v));
    EXPECT_FALSE(wb::QueryVersionValue(data, "StringFileInfo", v));
}

} // namespace
