#pragma once
// The virtual CD: the MP3 files of a folder as the tracks of a disc, in
// track-number or file-name order, each used or not, made into a CDDB request.
#include <functional>
#include <string>
#include <vector>

#include "platform/gui/Form.h"
#include "platform/gui/StdCtrls.h"
#include "tag_editor/logic/CDDBCalc.h"
#include "tag_editor/controls/grid/VlSortGrd.h"

namespace velmora {

class TVirtualCD : public wb::gui::Form {
public:
    // addRequest is the main window's AddCddbRequest.
    explicit TVirtualCD(std::function<void(const TDiskInfoRec&)> addRequest, wb::Component* owner = nullptr);

    // Lists the files of the folder (names as the folder gives them, in the
    // file list's order).
    void FillList(const std::string& folder, const std::vector<std::string>& files);

    void FormCreate();
    void FileListGetCellFormat(TVlSortGrid* sender, int col, int row, wb::gui::TGridDrawState state,
                               TFormatOptions& fo);
    void FileListDrawCell(int col, int row, const wb::gui::Rect& rect);
    void FileListMouseDown();
    void FileListMouseUp();
    void UnChkBtnClick();
    void ChkBtnClick();
    void NumberTracks();
    void CreateBtnClick();

    wb::gui::Child<TVlSortGrid> FileList;
    wb::gui::Child<wb::gui::Label> Label1;
    wb::gui::Child<wb::gui::Panel> TrackPanel;
    wb::gui::Child<wb::gui::Button> CreateBtn, CancelBtn, UnChkBtn, ChkBtn;

private:
    void CheckAll(const char* mark);
    std::function<void(const TDiskInfoRec&)> addRequest_;
    std::string folder_;
    bool MouseWasDown = false;
};

} // namespace velmora
