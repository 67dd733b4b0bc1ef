#pragma once
// The grid's column dialog: the shown columns on the left, the hidden ones
// on the right; the user drags or moves columns between and within them.
// It edits the grid's own header-entry list, rebuilt only on OK.
#include <string>

#include "platform/gui/Button.h"
#include "platform/gui/Form.h"
#include "platform/gui/Label.h"
#include "platform/gui/ListBox.h"
#include "tag_editor/controls/grid/VlSortGrd.h"

namespace velmora {

class TSortGridForm : public wb::gui::Form {
public:
    static constexpr int mrOk = 1, mrCancel = 2;

    explicit TSortGridForm(wb::Component* owner = nullptr);
    ~TSortGridForm() override;

    // Shows the entries of list (the grid's own) in the two lists.
    void LoadHeaderList(THeaderEntryList& list, TGridHeaderEvent onGridHeaderDefault);
    bool Modified() const { return modified_; }

    wb::gui::Child<wb::gui::Button> SpeedButton1{*this, "SpeedButton1", "\u25B2"};
    wb::gui::Child<wb::gui::Button> SpeedButton2{*this, "SpeedButton2", "\u25BC"};
    wb::gui::Child<wb::gui::Label> Label1{*this, "Label1", "Angezeigte Spalten"};
    wb::gui::Child<wb::gui::Label> Label2{*this, "Label2", "Ausgeblendete Spalten"};
    wb::gui::Child<wb::gui::Button> BitBtn1{*this, "BitBtn1", "OK"};
    wb::gui::Child<wb::gui::Button> BitBtn2{*this, "BitBtn2", "Abbrechen"};
    wb::gui::Child<wb::gui::Button> BitBtn3{*this, "BitBtn3", "Ein-/Ausblenden"};
    wb::gui::Child<wb::gui::ListBox> Seiten{*this, "Seiten"};
    wb::gui::Child<wb::gui::ListBox> Komponenten{*this, "Komponenten"};
    wb::gui::Child<wb::gui::Button> LibVorgabeButton{*this, "LibVorgabeButton", "Vorgabe"};
    wb::gui::Child<wb::gui::Button> MoveButton{*this, "MoveButton", "\u21C4"};

    // Handlers.
    void Verschieben(wb::Persistent* Sender);
    void OkButtonClick(wb::Persistent* Sender);
    void FormDestroy(wb::Persistent* Sender);
    void FormCreate(wb::Persistent* Sender);
    void ListBoxDragDrop(wb::Persistent* Sender, wb::Persistent* Source, int X, int Y);
    void ListBoxDragOver(wb::Persistent* Sender, wb::Persistent* Source, int X, int Y, bool& Accept);
    void ListBoxMouseDown(wb::Persistent* Sender, wb::gui::TMouseButton Button, wb::gui::TShiftState Shift, int X,
                          int Y);
    void KomponentenEnter(wb::Persistent* Sender);
    void KomponentenExit(wb::Persistent* Sender);
    void LibVorgabeButtonClick(wb::Persistent* Sender);
    void Bewegen(wb::Persistent* Sender);
    void ListBoxKeyUp(wb::Persistent* Sender, int& Key, wb::gui::TShiftState Shift);
    void SeitenClick(wb::Persistent* Sender);
    void SeitenDrawItem(wb::Persistent* Control, wb::gui::Canvas& Canvas, int Index, const wb::gui::Rect& Rect,
                        bool Selected);

    // The list box that has (or last had) the keyboard focus.
    wb::gui::ListBox* FocusedList() const { return focused_; }
    void SetFocusedList(wb::gui::ListBox* list);
    // What the two list boxes hold.
    const THeaderEntryList& ShownItems() const { return shown_; }
    const THeaderEntryList& HiddenItems() const { return hidden_; }

private:
    // One of the two lists, or null.
    wb::gui::ListBox* ListOf(wb::Persistent* sender);
    THeaderEntryList& ItemsOf(wb::gui::ListBox* list);
    wb::gui::ListBox* OtherList(wb::gui::ListBox* list);
    void Refill(wb::gui::ListBox* list);
    void Reload();

    int dragIndex_ = -1;
    wb::gui::ListBox* dragSource_ = nullptr;
    wb::gui::ListBox* focused_ = nullptr;
    TGridHeaderEvent onGridHeaderDefault_;
    THeaderEntryList* list_ = nullptr;
    THeaderEntryList shown_, hidden_;
    bool modified_ = false;
};

} // namespace velmora
