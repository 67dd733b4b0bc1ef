// The main window's "Customize names" tab: the patterns of file, folder and
// playlist names, and the settings every rename reads.
#include "tag_editor/windows/Main.h"

namespace velmora {

using namespace wb::gui;

namespace {
// Blank pixels between the legend's widest entry of a column and the next column.
constexpr int kLegendGap = 16;
} // namespace

void TID3Frm::BuildNameTab() {
    GroupBox4 = Make<GroupBox>(NameFormSheet, "GroupBox4");
    GroupBox4->SetCaption("Name formats :");
    GroupBox4->SetBounds(6, 6, 548, 292);
    FormatWarning = MakeLabel(GroupBox4, "FormatWarning", "(all without fileextensions !) :", 10, 22);
    const NamePatterns defaults;
    struct Row {
        Child<Label>& label;
        const char* labelName;
        const char* caption;
        Child<Edit>& edit;
        const char* editName;
        const std::string& text;
    };
    const Row rows[] = {
        {FileAlbumLabel, "FileAlbumLabel", "File name, album :", FileNameAlbumEdit, "FileNameAlbumEdit",
         defaults.FileNameAlbum},
        {FileSamplerLabel, "FileSamplerLabel", "File name, sampler :", FileNameSamplerEdit, "FileNameSamplerEdit",
         defaults.FileNameSampler},
        {DirAlbumLabel, "DirAlbumLabel", "Directory, album :", DirNameAlbumEdit, "DirNameAlbumEdit",
         defaults.DirNameAlbum},
        {DirSamplerLabel, "DirSamplerLabel", "Directory, sampler :", DirNameSamplerEdit, "DirNameSamplerEdit",
         defaults.DirNameSampler},
        {PListAlbumLabel, "PListAlbumLabel", "Playlist, album :", PListNameAlbumEdit, "PListNameAlbumEdit",
         defaults.PListNameAlbum},
        {PListSamplerLabel, "PListSamplerLabel", "Playlist, sampler :", PListNameSamplerEdit,
         "PListNameSamplerEdit", defaults.PListNameSampler},
    };
    int top = 44;
    for (const Row& r : rows) {
        r.label = MakeLabel(GroupBox4, r.labelName, r.caption, 10, top + 3);
        r.edit = MakeEdit(GroupBox4, r.editName, r.text, 150, top, 250);
        top += 28;
    }
    Legend1 = MakeLabel(GroupBox4, "Legend1", "%A = Artist\t%N = Albumname\t%Y = Year", 10, 220);
    Legend2 = MakeLabel(GroupBox4, "Legend2", "%S = Songname\t%T = Tracknumber (01,02,...)", 10, 240);
    Legend3 = MakeLabel(GroupBox4, "Legend3", "%G = Genre\t%C = Comment", 10, 260);
    // The three lines are one table: its columns start at the same x.
    Label::ShareTabStops({Legend1, Legend2, Legend3}, kLegendGap);
}

NameSettings TID3Frm::Settings() const {
    NameSettings s;
    s.Patterns.FileNameAlbum = FileNameAlbumEdit->Text();
    s.Patterns.FileNameSampler = FileNameSamplerEdit->Text();
    s.Patterns.DirNameAlbum = DirNameAlbumEdit->Text();
    s.Patterns.DirNameSampler = DirNameSamplerEdit->Text();
    s.Patterns.PListNameAlbum = PListNameAlbumEdit->Text();
    s.Patterns.PListNameSampler = PListNameSamplerEdit->Text();
    s.Album = AplAlbumChk->Checked();
    s.UseDot = UseDotChk->Checked();
    s.Replacement = UseIsteadSpaceEdit->Text();
    return s;
}

void TID3Frm::GroupBox4Exit() { UpdateRenameProposal(); }

} // namespace velmora
