#pragma once
// Shared fixture: a temporary folder, files with known bytes, and the main
// dialog opened by its own code on a recording fake built from its template,
// in a private desktop.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "file_splitter/DialogResources.h"
#include "file_splitter/MainDlg.h"
#include "file_splitter/Resource.h"
#include "platform/base/TempDir.h"
#include "platform/gui/DialogTemplate.h"
#include "platform/gui/Shell.h"
#include "platform/testing/FakeDialogHost.h"
#include "platform/testing/Bytes.h"
#include "platform/testing/XdgSandbox.h"

namespace parvex::test {

// Tests that use this namespace see the program's own names too.
using namespace parvex;
using wb::gui::FakeDialogHost, wb::gui::MsgKind;
using wb::test::Bytes, wb::test::ReadBytes, wb::test::WriteBytes;
namespace fs = std::filesystem;

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

// Gives a fake host every control of a dialog's template, of its kind and
// with its text, so fakes and real windows open on the same controls.
inline void AddControls(FakeDialogHost& h, const wb::gui::DialogTemplate& t) {
    using K = FakeDialogHost::Kind;
    using wb::gui::ControlKind;
    for (const auto& c : t.controls) {
        if (c.id == wb::gui::kIdNone) continue;
        switch (c.kind) {
            case ControlKind::Edit: h.Add(c.id, K::Edit); break;
            case ControlKind::PushButton: case ControlKind::DefPushButton: h.Add(c.id, K::Button); break;
            case ControlKind::CheckBox: h.Add(c.id, K::CheckBox); break;
            case ControlKind::AutoRadio: h.Add(c.id, K::Radio, 1); break;
            case ControlKind::ProgressBar: h.Add(c.id, K::Progress); break;
            default: h.Add(c.id, K::Static);
        }
        h.SetItemText(c.id, c.text);
    }
}

// The desktop's opener: records what it is asked to open or start.
struct RecordingShell : wb::gui::Shell {
    std::vector<std::string> opened;
    bool works = true;
    bool OpenDocument(const std::string& t) override {
        opened.push_back(t);
        return works;
    }
    bool Start(const std::string& c) override {
        opened.push_back("start " + c);
        return works;
    }
};

class DialogTest : public TempDirTest {
protected:
    DialogTest() {
        AddControls(host, MainDialogTemplate());
        dlg = std::make_unique<CMainDlg>(host);
        // Registered in the private desktop, never beside the test program.
        dlg->SetIntegration(parvex::Integration(wb::Registry::User(), xdg.Root() + "/parvex"));
        dlg->SetShell(shell);
        dlg->OnInitDialog();
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

    wb::test::XdgSandbox xdg;
    RecordingShell shell;
    FakeDialogHost host;
    std::unique_ptr<CMainDlg> dlg;
};

} // namespace parvex::test
