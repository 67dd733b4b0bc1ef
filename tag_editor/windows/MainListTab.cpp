// The main window's "Tag from list" tab: the tag-list grid, its three
// buttons, Autotag and the playlist.
#include "tag_editor/windows/Main.h"

#include <filesystem>

#include "platform/gui/MessageBox.h"
#include "platform/gui/SaveDialog.h"
#include "tag_editor/windows/EditTag.h"
#include "tag_editor/windows/ID3FileBox.h"
#include "tag_editor/controls/filesystem/VlDirectoryTree.h"
#include "tag_editor/controls/grid/VlSortGrd.h"

namespace velmora {

using namespace wb::gui;

// What Autotag and the playlist ask of the window.
class TID3Frm::ListHost : public AutotagHost {
public:
    explicit ListHost(TID3Frm& f) : f_(f) {}
    void Message(const std::string& text, MsgKind kind) override { ShowMessage(text, kind); }
    std::optional<std::string> AskPlaylistPath(const OpenFileOptions& options) override {
        return ShowSaveFileDialog(options);
    }
    void SetRunning(bool running) override {
        f_.Autotag = running;
        for (WidgetControl* c : std::initializer_list<WidgetControl*>{f_.DirTree, f_.FileBox, f_.MakePlListBtn,
                                                                      f_.AutoTagBtn})
            c->SetEnabled(!running);
    }
    void FolderRenamed(const std::string& newPath) override { f_.FollowFolder(newPath); }
    std::vector<std::string> RereadFileList(const std::string&) override {
        f_.RefreshFileList();
        return f_.FileBox->FileNames();
    }

private:
    TID3Frm& f_;
};

void TID3Frm::BuildListTab() {
    TabSheet* t = ListTagTab;
    TagListLabel = MakeLabel(t, "TagListLabel", "Tagfile list :", 10, 6);
    TagListGrd = Child<TVlSortGrid>(*t, "TagListGrd");
    SetUpTagListGrid(*TagListGrd);
    TagListGrd->SetBounds(8, 24, 434, 240);
    EntriesLabel = MakeLabel(t, "EntriesLabel", "Entries :", 10, 272);
    TagListCounter = MakeLabel(t, "TagListCounter", "0", 64, 272);
    NewTagListBtn = MakeButton(t, "NewTagListBtn", "&Make new list", 450, 24, 104);
    ChgTagListBtn = MakeButton(t, "ChgTagListBtn", "&Edit list", 450, 56, 104);
    DelTagListBtn = MakeButton(t, "DelTagListBtn", "&Delete list", 450, 88, 104);
    AutoTagBtn = MakeButton(t, "AutoTagBtn", "&Autotag", 450, 200, 104);
    MakePlListBtn = MakeButton(t, "MakePlListBtn", "Make playlist", 450, 232, 104);
    for (Button* b : {ChgTagListBtn.get(), DelTagListBtn.get(), AutoTagBtn.get(), MakePlListBtn.get()}) b->SetEnabled(false);
    RenFileBox = Child<TID3FileBox>(*t, "RenFileBox");
    RenFileBox->SetMask("*.Tag");
    RenFileBox->SetVisible(false);
}

void TID3Frm::ConnectListTab() {
    OnClickCall(NewTagListBtn, &TID3Frm::NewTagListBtnClick);
    OnClickCall(ChgTagListBtn, &TID3Frm::ChgTagListBtnClick);
    OnClickCall(DelTagListBtn, &TID3Frm::DelTagListBtnClick);
    OnClickCall(AutoTagBtn, &TID3Frm::AutoTagBtnClick);
    OnClickCall(MakePlListBtn, &TID3Frm::MakePlListBtnClick);
    TagListGrd->OnClick = [this](wb::Persistent*) { TagListGrdClick(); };
    TagListGrd->SetOnGetCellFormat(
        [this](TVlSortGrid*, int col, int row, TGridDrawState, TFormatOptions& fo) { TagListGrdGetCellFormat(col, row, fo); });
}

TEditTagListFrm& TID3Frm::TagListEditor() {
    if (windows_.TagListEditor) return *windows_.TagListEditor;
    if (!ownTagListEditor_) ownTagListEditor_ = std::make_unique<TEditTagListFrm>();
    return *ownTagListEditor_;
}

void TID3Frm::FillTagListGrid() {
    RenFileBox->Reread();
    // The names as they are on disk: a list whose name is not UTF-8 is
    // still opened by its own bytes.
    std::vector<std::string> names;
    for (const auto& info : RenFileBox->FileInfos()) names.push_back(info->Name);
    velmora::FillTagListGrid(*TagListGrd, TagsFolder(), names);
    TagListCounter->SetCaption(std::to_string(names.size()));
    TagListGrdClick();
}

std::string TID3Frm::ChosenTagList() const {
    return TagListPathAt(*TagListGrd, TagListGrd->Row());
}

void TID3Frm::TagListGrdClick() {
    const bool chosen = !ChosenTagList().empty();
    ChgTagListBtn->SetEnabled(chosen);
    DelTagListBtn->SetEnabled(chosen);
    AutoTagBtn->SetEnabled(chosen && FileBox->Count() > 0 && !Autotag);
}

void TID3Frm::EditTagList(bool edit) {
    TEditTagListFrm& editor = TagListEditor();
    editor.SetTagsFolder(TagsFolder());
    const std::string path = ChosenTagList();
    if (!edit || !path.empty()) {
        editor.SetEditMode(edit, path);
        editor.ShowModal();
    }
    FillTagListGrid();
}

void TID3Frm::NewTagListBtnClick() { EditTagList(false); }
void TID3Frm::ChgTagListBtnClick() { EditTagList(true); }

void TID3Frm::DelTagListBtnClick() {
    const std::string path = ChosenTagList();
    if (!path.empty() && AskYesNo("Realy delete this file ?", MsgKind::Warning)) {
        std::error_code ec;
        if (!std::filesystem::remove(path, ec) && ec)
            ShowMessage("\"" + path + "\" could not be deleted: " + ec.message(), MsgKind::Error);
    }
    FillTagListGrid();
}

AutotagOptions TID3Frm::ListOptions() const {
    AutotagOptions o;
    o.RenameFiles = RenWhenAutoTagChk->Checked();
    o.RenameFolder = RenDirAfterAutotagChk->Checked();
    o.AutoPlaylist = AutoPlayListChk->Checked();
    o.Names = Settings();
    return o;
}

void TID3Frm::AutoTagBtnClick() {
    const std::string list = ChosenTagList();
    if (list.empty()) return;
    ListHost host(*this);
    AutoTag(host, DirTree->GetDirectory(), FileBox->FileNames(), list, ListOptions());
    TagListGrdClick();
}

void TID3Frm::MakePlListBtnClick() {
    ListHost host(*this);
    // With no editor made yet, the rename box's album choice stands in for it.
    const TEditTagListFrm* editor = windows_.TagListEditor ? windows_.TagListEditor : ownTagListEditor_.get();
    const bool album = editor ? editor->IsAlbum() : AplAlbumChk->Checked();
    MakePlaylist(host, DirTree->GetDirectory(), FileBox->FileNames(), album, ListOptions(), false);
}

void TID3Frm::TagListGrdGetCellFormat(int col, int row, TFormatOptions& format) {
    FormatTagListGridCell(col, row, format);
}

} // namespace velmora
