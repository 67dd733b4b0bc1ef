#pragma once
// The grid's column dialog: the shown columns on the left, the hidden ones
// on the right; the user drags or moves columns between and within them.
// It edits the grid's own header-entry list, rebuilt only on OK.
#include <string>

#include "platform/gui/Button.h"
#include "platform/gui/Form.h"
#include "platform/gui/HostedControl.h"
#include "platform/gui/Label.h"
#include "tag_editor/controls/VlSortGrd.h"

#include <QListWidget>

class QPainter;
class QRect;

namespace velmora {

class TSortGridForm : public wb::gui::Form {
public:
    static constexpr int mrOk = 1, mrCancel = 2;

    explicit TSortGridForm(wb::Component* owner = nullptr);
    ~TSortGridForm() override;

    // Shows the entries of list (the grid's own) in the two lists.
    void LoadHeaderList(THeaderEntryList& list, TGridHeaderEvent onGridHeaderDefault);
    bool Modified() const { return modified_; }

    wb::gui::Button SpeedButton1{*this, "SpeedButton1", "\u25B2"};
    wb::gui::Button SpeedButton2{*this, "SpeedButton2", "\u25BC"};
    wb::gui::Label Label1{*this, "Label1", "Angezeigte Spalten"};
    wb::gui::Label Label2{*this, "Label2", "Ausgeblendete Spalten"};
    wb::gui::Button BitBtn1{*this, "BitBtn1", "OK"};
    wb::gui::Button BitBtn2{*this, "BitBtn2", "Abbrechen"};
    wb::gui::Button BitBtn3{*this, "BitBtn3", "Ein-/Ausblenden"};
    wb::gui::HostedControl<QListWidget> Seiten{*this, "Seiten"};
    wb::gui::HostedControl<QListWidget> Komponenten{*this, "Komponenten"};
    wb::gui::Button LibVorgabeButton{*this, "LibVorgabeButton", "Vorgabe"};
    wb::gui::Button MoveButton{*this, "MoveButton", "\u21C4"};

    // Handlers.
    void Verschieben(wb::Persistent* Sender);
    void OkButtonClick(wb::Persistent* Sender);
    void FormDestroy(wb::Persistent* Sender);
    void FormCreate(wb::Persistent* Sender);
    // X and Y in the target's viewport.
    void ListBoxDragDrop(QListWidget* Target, QListWidget* Source, int X, int Y);
    bool DragOver(QObject* Source) const;
    void ListBoxMouseDown(QListWidget* Sender, int X, int Y);
    void KomponentenEnter(wb::Persistent* Sender);
    void KomponentenExit(wb::Persistent* Sender);
    void LibVorgabeButtonClick(wb::Persistent* Sender);
    void Bewegen(wb::Persistent* Sender);
    void ListBoxKeyUp(QListWidget* Sender, int Key);
    void SeitenClick(wb::Persistent* Sender);
    void SeitenDrawItem(QPainter& Canvas, const QRect& Rect, int Index, bool Selected);

    // The list box that has (or last had) the keyboard focus.
    QListWidget* FocusedList() const { return focused_; }
    void SetFocusedList(QListWidget* list);
    // What the two list boxes hold.
    const THeaderEntryList& ShownItems() const { return shown_; }
    const THeaderEntryList& HiddenItems() const { return hidden_; }

private:
    class Filter;
    THeaderEntryList& ItemsOf(QListWidget* list);
    QListWidget* OtherList(QListWidget* list) const;
    void Refill(QListWidget* list);
    void Reload();
    // True when a drag of the entry pressed in source began.
    bool StartDrag(QListWidget* source);

    Filter* filter_ = nullptr;
    int dragIndex_ = -1;
    QListWidget* dragSource_ = nullptr;
    QListWidget* focused_ = nullptr;
    TGridHeaderEvent onGridHeaderDefault_;
    THeaderEntryList* list_ = nullptr;
    THeaderEntryList shown_, hidden_;
    bool modified_ = false;
};

} // namespace velmora
