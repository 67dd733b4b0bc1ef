#pragma once
// The tag-list editor, and what the main window's tag-list grid shows of
// the lists in the "Tags" folder.
#include <string>
#include <vector>

#include "platform/gui/Form.h"
#include "platform/gui/StdCtrls.h"
#include "tag_editor/logic/TagList.h"
#include "tag_editor/controls/grid/VlSortGrd.h"

namespace velmora {

class TEditTagListFrm : public wb::gui::Form {
public:
    TEditTagListFrm();

    // The edit-mode flag: when set, the next showing loads this list;
    // when clear, it starts empty.
    void SetEditMode(bool edit, const std::string& listPath = {});
    bool EditMode() const { return editMode_; }
    // Where OK writes lists; the "Tags" folder beside the program unless set.
    void SetTagsFolder(const std::string& folder) { tagsFolder_ = folder; }
    const std::string& TagsFolder() const { return tagsFolder_; }

    // Fills the editor from a list file. Throws wb::IoError or TagListError,
    // leaving the editor empty.
    bool LoadTagList(const std::string& path);
    // The list as the boxes and the grid hold it.
    TTagList CurrentList() const;
    bool IsAlbum() const { return AlbumGrp->Checked(); }

    void FormShow();
    void AlbumGrpClick();
    void SamplerGrpClick();
    void OkBtnClick();
    void YearListEditKeyPress(char& key);
    void EditGridKeyPress(int& key);
    void EditGridSetEditText();
    void EditGridClick();
    void EditGridGetCellFormat(int col, int row, TFormatOptions& format);
    void BitBtn1Click();

    wb::gui::Child<wb::gui::RadioButton> AlbumGrp, SamplerGrp;
    wb::gui::Child<wb::gui::Label> ArtistLabel, AlbumLabel, YearLabel, CommentLabel, GenreLabel;
    wb::gui::Child<wb::gui::Edit> ArtistListEdit, AlbumListEdit, YearListEdit, CommentListEdit;
    wb::gui::Child<wb::gui::ComboBox> GenreCombo;
    wb::gui::Child<TVlSortGrid> EditGrid;
    wb::gui::Child<wb::gui::Button> BitBtn1, OkBtn, CancelBtn;

private:
    void StartEmptyGrid(bool album);
    void SetGridLayout(bool album);
    void AppendRow();
    void DropEmptyEndRows();
    void ShowArtistBox(bool album);
    // Empties the boxes and gives them their typing limits back.
    void ResetBoxes();
    bool GridIsAlbum() const { return EditGrid->ColCount() == 2; }

    bool editMode_ = false;
    std::string editPath_;
    std::string tagsFolder_;
};

// The folder of tag lists beside the program, created when missing.
std::string TagListFolder();

// For the main window's tag-list grid: three columns (artist, album and,
// practically hidden, the list file's path), no fixed column, whole rows.
void SetUpTagListGrid(TVlSortGrid& grid);
// Rebuilds it from the list files of the folder (names as on disk, shown
// as text, their paths kept byte for byte), sorted
// by artist, keeping the current row where it can.
void FillTagListGrid(TVlSortGrid& grid, const std::string& folder, const std::vector<std::string>& fileNames);
// The path of the list in a row of that grid, empty when the row has none.
std::string TagListPathAt(const TVlSortGrid& grid, int row);
// Its header row painted and centred.
void FormatTagListGridCell(int col, int row, TFormatOptions& format);

} // namespace velmora
