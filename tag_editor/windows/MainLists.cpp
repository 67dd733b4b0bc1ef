// The main window's "Tag from list" tab: the tag-list grid, its three
// buttons, Autotag and the playlist.
#include "tag_editor/windows/Main.h"

#include <filesystem>

#include "platform/gui/MessageBox.h"
#include "platform/gui/SaveDialog.h"
#include "tag_editor/logic/Autotag.h"
#include "tag_editor/windows/EditTag.h"
#include "tag_editor/windows/ID3FileBox.h"
#include "tag_editor/controls/VlDirectoryTree.h"
#include "tag_editor/controls/VlSortGrd.h"

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
        return f_.FileBox->Get()->ItemTexts();
    }

private:
    TID3Frm& f_;
};

void TID3Frm::FillTagListGrid() {
    RenFileBox->Get()->Reread();
    const std::vector<std::string> names = RenFileBox->Get()->ItemTexts();
    velmora::FillTagListGrid(*TagListGrd->Get(), TagsFolder(), names);
    TagListCounter->SetCaption(std::to_string(names.size()));
    TagListGrdClick();
}

std::string TID3Frm::ChosenTagList() const {
    return TagListPathAt(*TagListGrd->Get(), TagListGrd->Get()->Row());
}

void TID3Frm::TagListGrdClick() {
    const bool chosen = !ChosenTagList().empty();
    ChgTagListBtn->SetEnabled(chosen);
    DelTagListBtn->SetEnabled(chosen);
    AutoTagBtn->SetEnabled(chosen && FileBox->Get()->count() > 0 && !Autotag);
}

void TID3Frm::EditTagList(bool edit) {
    if (!EditTagListFrm) return;
    EditTagListFrm->SetTagsFolder(TagsFolder());
    const std::string path = ChosenTagList();
    if (!edit || !path.empty()) {
        EditTagListFrm->SetEditMode(edit, path);
        EditTagListFrm->ShowModal();
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
    AutoTag(host, DirTree->GetDirectory(), FileBox->Get()->ItemTexts(), list, ListOptions());
    TagListGrdClick();
}

void TID3Frm::MakePlListBtnClick() {
    ListHost host(*this);
    const bool album = EditTagListFrm ? EditTagListFrm->IsAlbum() : AplAlbumChk->Checked();
    MakePlaylist(host, DirTree->GetDirectory(), FileBox->Get()->ItemTexts(), album, ListOptions(), false);
}

void TID3Frm::TagListGrdGetCellFormat(int col, int row, TFormatOptions& format) {
    FormatTagListGridCell(col, row, format);
}

} // namespace velmora
