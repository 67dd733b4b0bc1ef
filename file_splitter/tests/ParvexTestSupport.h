#pragma once
// Shared fixture: a temporary folder, files with known bytes, and the main
// dialog on a recording fake with the controls of both panels.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "file_splitter/MainDlg.h"
#include "file_splitter/Resource.h"
#include "platform/base/TempDir.h"
#include "platform/testing/FakeDialogHost.h"
#include "platform/testing/Bytes.h"

namespace parvex::test {

// Tests that use this namespace see the program's own names too.
using namespace parvex;
using wb::gui::FakeDialogHost;
using wb::gui::MsgKind;
namespace fs = std::filesystem;

using wb::test::Bytes;
using wb::test::ReadBytes;
using wb::test::WriteBytes;

inline Bytes PatternBytes(size_t size, unsigned seed) {
    Bytes bytes(size);
    std::mt19937 rng(seed);
    for (auto& b : bytes) b = static_cast<unsigned char>(rng());
    return bytes;
}

class TempDirTest : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return dir_ / name; }
    Bytes MakeFile(const std::string& name, size_t size, unsigned seed = 1) {
        auto bytes = PatternBytes(size, seed);
        WriteBytes(Path(name), bytes);
        return bytes;
    }
    // Every name in the folder, hidden temporary ones too, sorted.
    std::vector<std::string> Listing() const {
        std::vector<std::string> names;
        for (auto& entry : fs::directory_iterator(dir_.Path())) names.push_back(entry.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }

    wb::TempDir dir_{"parvex-test"};
};

class DialogTest : public TempDirTest {
protected:
    DialogTest() {
        using K = FakeDialogHost::Kind;
        for (int id : {IDC_SOURCE_PATH, IDC_SOURCE_SIZE, IDC_SPLIT_COUNT, IDC_SPLIT_STATUS,
                       IDC_PIECE_PATH, IDC_JOIN_COUNT, IDC_JOIN_FOUND, IDC_JOINED_SIZE,
                       IDC_FIRST_PIECE_SIZE, IDC_JOIN_STATUS})
            host.Add(id, K::Static);
        for (int id : {IDC_SPLIT_BROWSE, IDC_BREAK_IT, IDC_JOIN_BROWSE, IDC_RECHECK, IDC_ASSEMBLE})
            host.Add(id, K::Button);
        for (int id : {IDC_PRESET_125M, IDC_PRESET_1M, IDC_PRESET_500K, IDC_PRESET_100K})
            host.Add(id, K::Radio, 1);
        host.Add(IDC_SPECIFY, K::CheckBox);
        for (int id : {IDC_KILOBYTES, IDC_SPLIT_OUTPUT, IDC_JOIN_OUTPUT}) host.Add(id, K::Edit);
        host.Add(IDC_SPLIT_PROGRESS, K::Progress);
        host.Add(IDC_JOIN_PROGRESS, K::Progress);
        dlg = std::make_unique<CMainDlg>(host);
        // What the window's opening does before the user sees it.
        dlg->UpdateData(false);
        for (int id : {IDC_RECHECK, IDC_SPLIT_OUTPUT, IDC_JOIN_OUTPUT, IDC_BREAK_IT, IDC_ASSEMBLE,
                       IDC_KILOBYTES, IDC_PRESET_100K, IDC_PRESET_125M, IDC_PRESET_1M,
                       IDC_PRESET_500K, IDC_SPECIFY})
            host.EnableItem(id, false);
    }

    void BrowseSplit(const std::string& path) {
        host.QueueOpenAnswer(path);
        ASSERT_TRUE(host.Click(IDC_SPLIT_BROWSE));
    }
    void BrowseJoin(const std::string& path) {
        host.QueueOpenAnswer(path);
        ASSERT_TRUE(host.Click(IDC_JOIN_BROWSE));
    }
    // Custom size in kilobytes, as a user ticks the box and types.
    void Specify(const std::string& kilobytes) {
        if (!host.Item(IDC_SPECIFY).checked && host.Enabled(IDC_SPECIFY)) host.Click(IDC_SPECIFY);
        ASSERT_TRUE(host.Type(IDC_KILOBYTES, kilobytes));
    }
    void ExpectMessage(const std::string& text, MsgKind kind) {
        auto messages = host.TakeMessages();
        ASSERT_EQ(messages.size(), 1u) << (messages.empty() ? "none" : messages[0].text);
        EXPECT_EQ(messages[0].text, text);
        EXPECT_EQ(messages[0].kind, kind);
    }
    void ExpectNoMessage() {
        auto messages = host.TakeMessages();
        EXPECT_TRUE(messages.empty()) << messages[0].text;
    }
    bool PresetEnabled(int id) const { return host.Enabled(id); }

    FakeDialogHost host;
    std::unique_ptr<CMainDlg> dlg;
};

} // namespace parvex::test
