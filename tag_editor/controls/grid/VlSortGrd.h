#pragma once
// The string grid behind every list window: a format event per cell, its own
// aligned and multi-line text, bevels, stable sorting by one column with the
// column's kind detected, row and column editing, delimited files, cell
// validation and proportional scroll-bar thumbs; from its header row a popup
// menu, width fitting, a cell search and a column layout (header entries)
// that the user edits in a dialog.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/base/FormatSettings.h"
#include "platform/gui/PopupMenu.h"
#include "platform/gui/StringGrid.h"
#include "tag_editor/controls/grid/GridHeader.h"
#include "tag_editor/controls/grid/GridSort.h"

#include "tag_editor/controls/VlCommon.h"

namespace velmora {

enum TVertAlignment : std::uint8_t { taTopJustify, taBottomJustify, taMiddle, taMultiLine };
enum TCellBevelStyle : std::uint8_t { cbNone, cbRaised, cbLowered };

struct TFormatOptions {
    wb::gui::TBrush* Brush = nullptr;  // the grid canvas's own brush
    wb::gui::TFont* Font = nullptr;    // the grid canvas's own font
    TAlignment AlignmentHorz = taLeftJustify;
    TVertAlignment AlignmentVert = taTopJustify;
    TCellBevelStyle BevelStyle = cbNone;
    wb::gui::TColor TopLeftColor = wb::gui::clWindow;
    wb::gui::TColor BottomRightColor = wb::gui::clWindow;
    bool HideText = false;
};

class TVlSortGrid;

using TFormatDrawCellEvent = std::function<void(TVlSortGrid* Sender, int Col, int Row,
                                                wb::gui::TGridDrawState State, TFormatOptions& FormatOptions)>;
using TClickHeaderEvent = std::function<void(TVlSortGrid* Sender, int Col, int Row, int MouseX, int MouseY)>;
using TUpdateGridEvent = std::function<void(TVlSortGrid* Sender, int Index)>;
using TColSizeEvent = std::function<void(TVlSortGrid* Sender)>;
using TSortGridNotifyEvent = std::function<void(TVlSortGrid* Sender)>;
using TSizeChangedEvent = std::function<void(TVlSortGrid* Sender, int OldColCount, int OldRowCount)>;
using TBeginSortEvent = std::function<void(TVlSortGrid* Sender, int Col, TSortOptions& SortOptions)>;
using TEndSortEvent = std::function<void(TVlSortGrid* Sender, int Col)>;
using TCellValidateEvent = std::function<void(TVlSortGrid* Sender, int Col, int Row, std::string& Value, bool& Valid)>;
using TGridHeaderEvent = std::function<void(THeaderEntryList& AktHeaderList)>;
using TWMVScrollEvent = std::function<void(wb::gui::TWMScroll& Msg)>;
using TWMHScrollEvent = std::function<void(wb::gui::TWMScroll& Msg)>;
using TCoordChangeEvent = std::function<void(int OldCol, int OldRow, int NewCol, int NewRow)>;

class TVlSortGrid : public wb::gui::StringGrid {
public:
    explicit TVlSortGrid(wb::Component* owner = nullptr);
    TVlSortGrid(wb::gui::WinControl& parent, const std::string& name);
    ~TVlSortGrid() override;

    // Published properties.
    int VlBnuKey() const { return vlBnuKey_; }
    void SetVlBnuKey(int v) { vlBnuKey_ = v; }
    int Vltag1() const { return vltag1_; }
    void SetVltag1(int v) { vltag1_ = v; }
    int Vltag2() const { return vltag2_; }
    void SetVltag2(int v) { vltag2_ = v; }
    TAlignment AlignmentHorz() const { return alignmentHorz_; }
    void SetAlignmentHorz(TAlignment v);
    TVertAlignment AlignmentVert() const { return alignmentVert_; }
    void SetAlignmentVert(TVertAlignment v);
    bool HeaderPopUp() const { return headerPopUp_; }
    void SetHeaderPopUp(bool v) { headerPopUp_ = v; }
    TSortPopUpSet HeaderPopUpSet() const { return headerPopUpSet_; }
    void SetHeaderPopUpSet(TSortPopUpSet v);
    TCellBevelStyle BevelStyle() const { return bevelStyle_; }
    void SetBevelStyle(TCellBevelStyle v);
    bool ProportionalScrollBars() const { return proportionalScrollBars_; }
    void SetProportionalScrollBars(bool v);
    bool ExtendedKeys() const { return extendedKeys_; }
    void SetExtendedKeys(bool v) { extendedKeys_ = v; }

    const TFormatDrawCellEvent& OnGetCellFormat() const { return onGetCellFormat_; }
    void SetOnGetCellFormat(TFormatDrawCellEvent e) { onGetCellFormat_ = std::move(e); Invalidate(); }
    const TClickHeaderEvent& OnHeaderClick() const { return onHeaderClick_; }
    void SetOnHeaderClick(TClickHeaderEvent e) { onHeaderClick_ = std::move(e); }
    const TUpdateGridEvent& OnRowInsert() const { return onRowInsert_; }
    void SetOnRowInsert(TUpdateGridEvent e) { onRowInsert_ = std::move(e); }
    const TUpdateGridEvent& OnRowDelete() const { return onRowDelete_; }
    void SetOnRowDelete(TUpdateGridEvent e) { onRowDelete_ = std::move(e); }
    const TUpdateGridEvent& OnColumnInsert() const { return onColumnInsert_; }
    void SetOnColumnInsert(TUpdateGridEvent e) { onColumnInsert_ = std::move(e); }
    const TUpdateGridEvent& OnColumnDelete() const { return onColumnDelete_; }
    void SetOnColumnDelete(TUpdateGridEvent e) { onColumnDelete_ = std::move(e); }
    const TColSizeEvent& OnColumnWidthsChanged() const { return onColumnWidthsChanged_; }
    void SetOnColumnWidthsChanged(TColSizeEvent e) { onColumnWidthsChanged_ = std::move(e); }
    const TSortGridNotifyEvent& OnRowHeightsChanged() const { return onRowHeightsChanged_; }
    void SetOnRowHeightsChanged(TSortGridNotifyEvent e) { onRowHeightsChanged_ = std::move(e); }
    const TSizeChangedEvent& OnSizeChanged() const { return onSizeChanged_; }
    void SetOnSizeChanged(TSizeChangedEvent e) { onSizeChanged_ = std::move(e); }
    const TBeginSortEvent& OnBeginSort() const { return onBeginSort_; }
    void SetOnBeginSort(TBeginSortEvent e) { onBeginSort_ = std::move(e); }
    const TEndSortEvent& OnEndSort() const { return onEndSort_; }
    void SetOnEndSort(TEndSortEvent e) { onEndSort_ = std::move(e); }
    const TCellValidateEvent& OnCellValidate() const { return onCellValidate_; }
    void SetOnCellValidate(TCellValidateEvent e) { onCellValidate_ = std::move(e); }
    const TGridHeaderEvent& OnGridHeaderDefault() const { return onGridHeaderDefault_; }
    void SetOnGridHeaderDefault(TGridHeaderEvent e) { onGridHeaderDefault_ = std::move(e); }
    const TSortGridNotifyEvent& OnSetHeaderTab() const { return onSetHeaderTab_; }
    void SetOnSetHeaderTab(TSortGridNotifyEvent e) { onSetHeaderTab_ = std::move(e); }
    const TWMVScrollEvent& OnWMVScrollEvent() const { return onWMVScrollEvent_; }
    void SetOnWMVScrollEvent(TWMVScrollEvent e) { onWMVScrollEvent_ = std::move(e); }
    const TWMHScrollEvent& OnWMHScrollEvent() const { return onWMHScrollEvent_; }
    void SetOnWMHScrollEvent(TWMHScrollEvent e) { onWMHScrollEvent_ = std::move(e); }
    const TCoordChangeEvent& OnCoordChange() const { return onCoordChange_; }
    void SetOnCoordChange(TCoordChangeEvent e) { onCoordChange_ = std::move(e); }

    // How numbers and dates in cells are read when sorting; fixed, so the
    // order does not depend on the machine.
    const wb::FormatSettings& FormatSettings() const { return formatSettings_; }
    void SetFormatSettings(const wb::FormatSettings& fs) { formatSettings_ = fs; }

    virtual void SortRows(int Col, const TSortOptions& Options);
    virtual std::uint8_t DetectSortKind(int Col);
    virtual void UpdateScrollBarPages();
    virtual void RememberCell();
    virtual void GotoCell(int ACol, int ARow);
    virtual void ClearGrid();
    virtual void InsertGridRow(int Index);
    virtual void InsertGridColumn(int Index);
    virtual void DeleteGridRow(int Index);
    virtual void DeleteGridColumn(int Index);
    virtual void MoveGridRow(int FromIndex, int ToIndex);
    virtual void MoveGridColumn(int FromIndex, int ToIndex);
    virtual void SwapRows(int A, int B);
    virtual void SwapColumns(int A, int B);
    virtual void SortColumn(int Col, const TSortOptions& Options);
    virtual void LoadFromFile(const std::string& FileName, char Delimiter);
    virtual void SaveToFile(const std::string& FileName, char Delimiter);
    virtual bool SortListValid();
    virtual void UndoSort();
    virtual void ValidateCell();

    // The header row: its popup menu, width fitting, search and column layout.
    virtual void BuildHeaderPopup();
    // Runs the item of HeaderMenuLayout with this tag.
    virtual void HeaderPopupClick(int Tag);
    virtual void FitColumnWidth(int Col);
    virtual void FitAllColumnWidths(bool IncludeFixed, int Extra);
    virtual bool FindCellText(const std::string& Text, int Col, int& FoundRow, int& FoundCol, bool Select);
    virtual void AddHeaderEntry(const std::string& Caption, std::uint8_t State, int Width, int UserValue);
    virtual void ClearHeaderEntries();
    virtual int VisibleHeaderCount();
    virtual void ApplyHeaderEntries();
    virtual void ShowColumnDialog();
    THeaderEntryList& HeaderEntries() { return headerEntries_; }
    wb::gui::PopupMenu& HeaderPopupMenu() { return headerMenu_; }
    // The header column last right-clicked.
    int ClickedHeaderColumn() const { return clickedCol_; }
    const std::string& LastSearchText() const { return lastSearch_; }

    // The sort state: -1 before the first sort.
    int LastSortedColumn() const { return lastSortCol_; }
    const TSortOptions& LastSortOptions() const { return lastSortOptions_; }
    const std::vector<TSortedListEntry>& SortList() const { return sortList_; }
    bool Edited() const { return edited_; }

    // Overridden steps of the string grid.
    void KeyDown(int& key, wb::gui::TShiftState shift) override;
    void Click() override;
    void DoEnter() override;
    void DoExit() override;
    void WMVScroll(wb::gui::TWMScroll& msg) override;
    void WMHScroll(wb::gui::TWMScroll& msg) override;
    void SetEditText(int col, int row, const std::string& value) override;
    void MouseUp(wb::gui::TMouseButton button, wb::gui::TShiftState shift, int x, int y) override;

protected:
    void DrawCell(int col, int row, const wb::gui::Rect& rect, wb::gui::TGridDrawState state) override;
    bool SelectCell(int col, int row) override;
    void SizeChanged(int oldColCount, int oldRowCount) override;
    void RowHeightsChanged() override;
    void ColWidthsChanged() override;
    void ColumnMoved(int fromIndex, int toIndex) override;
    void WMSize() override;

private:
    TFormatOptions PresetFormat();
    wb::gui::TGridDrawState DrawStateOf(int col, int row);
    void DrawCellText(int col, int row, const wb::gui::Rect& rect, const TFormatOptions& fo);
    void ForgetSort() { sortList_.clear(); }
    // A cell without text and object.
    void EmptyCell(int col, int row);
    std::vector<TSortedListEntry> CollectEntries(int col) const;
    // Runs f with goAlwaysShowEditor taken out of the options.
    template <class F> void WithoutAlwaysShowEditor(F f);

    std::vector<TSortedListEntry> sortList_;
    // The sort column's texts, read once by SortColumn for detection and sort.
    std::vector<TSortedListEntry> prepared_;
    std::vector<double> preparedNumbers_;  // their numbers, when detection found a numeric column
    int preparedCol_ = -1;
    int vlBnuKey_ = 0, vltag1_ = 0, vltag2_ = 0;
    TAlignment alignmentHorz_ = taLeftJustify;
    TVertAlignment alignmentVert_ = taTopJustify;
    bool headerPopUp_ = true;
    TCellBevelStyle bevelStyle_ = cbNone;
    bool proportionalScrollBars_ = false;
    bool extendedKeys_ = false;
    bool edited_ = false;
    std::string remText_;
    int remCol_ = 0, remRow_ = 0;
    bool remEdited_ = false;
    bool entered_ = false;
    int drawnCol_ = 0, drawnRow_ = 0;
    TSortPopUpSet headerPopUpSet_ =
        SortPopUpItem(TagAscending) | SortPopUpItem(TagDescending) | SortPopUpItem(TagMaxColWidth);
    TFormatDrawCellEvent onGetCellFormat_;
    TClickHeaderEvent onHeaderClick_;
    TUpdateGridEvent onRowInsert_, onRowDelete_, onColumnInsert_, onColumnDelete_;
    TColSizeEvent onColumnWidthsChanged_;
    TSortGridNotifyEvent onRowHeightsChanged_;
    TSizeChangedEvent onSizeChanged_;
    TBeginSortEvent onBeginSort_;
    TEndSortEvent onEndSort_;
    TCellValidateEvent onCellValidate_;
    TGridHeaderEvent onGridHeaderDefault_;
    TSortGridNotifyEvent onSetHeaderTab_;
    TWMVScrollEvent onWMVScrollEvent_;
    TWMHScrollEvent onWMHScrollEvent_;
    TCoordChangeEvent onCoordChange_;
    int lastSortCol_ = -1;
    TSortOptions lastSortOptions_;
    wb::FormatSettings formatSettings_;
    THeaderEntryList headerEntries_;
    wb::gui::PopupMenu headerMenu_;
    int clickedCol_ = -1;
    std::string lastSearch_;
    bool applying_ = false;
    // Set while the width step corrects widths, which re-enters it.
    bool settlingWidths_ = false;
};

} // namespace velmora
