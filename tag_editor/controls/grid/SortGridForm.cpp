#include "tag_editor/controls/grid/SortGridForm.h"

#include <stdexcept>

#include "platform/gui/MessageBox.h"

namespace velmora {

using namespace wb::gui;

TSortGridForm::TSortGridForm(wb::Component* owner) : Form(owner, FormKind::Dialog) {
    SetName("SortGridForm");
    SetCaption("Spaltenkonfiguration");
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientSize(420, 288);
    Label1->SetBounds(8, 8, 180, 16);
    Label2->SetBounds(232, 8, 180, 16);
    Seiten->SetBounds(8, 28, 180, 212);
    Komponenten->SetBounds(232, 28, 180, 212);
    SpeedButton1->SetBounds(196, 60, 28, 28);
    SpeedButton2->SetBounds(196, 94, 28, 28);
    MoveButton->SetBounds(196, 146, 28, 28);
    LibVorgabeButton->SetBounds(8, 252, 90, 28);
    BitBtn3->SetBounds(104, 252, 120, 28);
    BitBtn1->SetBounds(236, 252, 84, 28);
    BitBtn2->SetBounds(328, 252, 84, 28);
    SpeedButton1->SetTag(-1);
    SpeedButton2->SetTag(1);
    SpeedButton1->SetHint("Nach oben");
    SpeedButton2->SetHint("Nach unten");
    MoveButton->SetHint("Ein-/Ausblenden");
    // Speed buttons take no focus, so the list they act on keeps it (and its selection).
    for (Button* b : {SpeedButton1.get(), SpeedButton2.get(), MoveButton.get(), LibVorgabeButton.get(), BitBtn3.get()})
        b->SetAcceptsFocus(false);
    BitBtn1->SetDefault(true);

    for (ListBox* list : {Seiten.get(), Komponenten.get()}) {
        list->OnMouseDown = [this](wb::Persistent* s, TMouseButton b, TShiftState sh, int x, int y) {
            ListBoxMouseDown(s, b, sh, x, y);
        };
        list->OnDragOver = [this](wb::Persistent* s, wb::Persistent* src, int x, int y, bool& accept) {
            ListBoxDragOver(s, src, x, y, accept);
        };
        list->OnDragDrop = [this](wb::Persistent* s, wb::Persistent* src, int x, int y) {
            ListBoxDragDrop(s, src, x, y);
        };
        list->OnKeyUp = [this](wb::Persistent* s, int& key, TShiftState sh) { ListBoxKeyUp(s, key, sh); };
    }
    Seiten->OnEnter = [this](wb::Persistent*) { SetFocusedList(Seiten.get()); };
    Komponenten->OnEnter = [this](wb::Persistent* s) {
        SetFocusedList(Komponenten.get());
        KomponentenEnter(s);
    };
    Komponenten->OnExit = [this](wb::Persistent* s) { KomponentenExit(s); };
    Seiten->SetStyle(ListBox::Style::OwnerDrawFixed);
    Seiten->OnDrawItem = [this](wb::Persistent* s, Canvas& c, int i, const Rect& r, bool selected) {
        SeitenDrawItem(s, c, i, r, selected);
    };
    Seiten->OnCurrentChange = [this](wb::Persistent* s) { SeitenClick(s); };
    focused_ = Seiten.get();

    SpeedButton1->OnClick = [this](wb::Persistent* s) { Verschieben(s); };
    SpeedButton2->OnClick = [this](wb::Persistent* s) { Verschieben(s); };
    MoveButton->OnClick = [this](wb::Persistent* s) { Bewegen(s); };
    BitBtn3->OnClick = [this](wb::Persistent* s) { Bewegen(s); };
    LibVorgabeButton->OnClick = [this](wb::Persistent* s) { LibVorgabeButtonClick(s); };
    BitBtn1->OnClick = [this](wb::Persistent* s) {
        OkButtonClick(s);
        SetModalResult(mrOk);
    };
    BitBtn2->OnClick = [this](wb::Persistent*) { SetModalResult(mrCancel); };
    OnDestroy = [this](wb::Persistent* s) { FormDestroy(s); };
    FormCreate(this);
}

TSortGridForm::~TSortGridForm() {
    // FormDestroy is a member of this class: it runs while the members are whole.
    BeforeDestruction();
}

void TSortGridForm::FormCreate(wb::Persistent*) { modified_ = false; }

void TSortGridForm::FormDestroy(wb::Persistent*) {}

void TSortGridForm::LoadHeaderList(THeaderEntryList& list, TGridHeaderEvent onGridHeaderDefault) {
    list_ = &list;
    onGridHeaderDefault_ = std::move(onGridHeaderDefault);
    LibVorgabeButton->SetVisible(bool(onGridHeaderDefault_));
    Reload();
}

void TSortGridForm::Reload() {
    SplitHeaderList(*list_, shown_, hidden_);
    Refill(Seiten.get());
    Refill(Komponenten.get());
}

void TSortGridForm::SetFocusedList(ListBox* list) { focused_ = list; }

ListBox* TSortGridForm::ListOf(wb::Persistent* sender) {
    if (sender == Seiten.get()) return Seiten.get();
    if (sender == Komponenten.get()) return Komponenten.get();
    return nullptr;
}

THeaderEntryList& TSortGridForm::ItemsOf(ListBox* list) {
    if (list == Seiten.get()) return shown_;
    if (list == Komponenten.get()) return hidden_;
    throw std::invalid_argument("Not a list of the column dialog");
}

ListBox* TSortGridForm::OtherList(ListBox* list) { return list == Seiten.get() ? Komponenten.get() : Seiten.get(); }

void TSortGridForm::Refill(ListBox* list) {
    list->Clear();
    for (const auto& item : ItemsOf(list)) list->AddItem(item.Caption);
    list->SetItemIndex(-1);
    if (list == Seiten.get()) SeitenClick(nullptr);
}

// The canvas comes with the list's colours for the item's state.
void TSortGridForm::SeitenDrawItem(wb::Persistent*, Canvas& Canvas, int Index, const Rect& Rect, bool) {
    Canvas.FillRect(Rect);
    if (Index < 0 || Index >= int(shown_.size())) return;
    const THeaderItem& item = shown_[Index];
    const wb::gui::Point text{Rect.left + 2, Rect.top};
    // A column the user may not hide or move stands on red.
    if (item.Entry && item.Entry->State == hsFixed) {
        const TBrush back = Canvas.Brush();
        Canvas.Brush() = {clRed, BrushStyle::Solid};
        Canvas.FillRect({text.x, text.y, text.x + Canvas.TextWidth(item.Caption),
                         text.y + Canvas.TextHeight(item.Caption)});
        Canvas.Brush() = back;
    }
    Canvas.Brush().Style = BrushStyle::Clear;
    Canvas.TextOut(text.x, text.y, item.Caption);
}

void TSortGridForm::SeitenClick(wb::Persistent*) {
    const int i = Seiten->ItemIndex();
    MoveButton->SetEnabled(i >= 0 && i < int(shown_.size()) && shown_[i].Entry &&
                          shown_[i].Entry->State != hsFixed);
}

void TSortGridForm::KomponentenEnter(wb::Persistent*) {
    if (Komponenten->Count() > 0) Komponenten->SetItemIndex(0);
}

void TSortGridForm::KomponentenExit(wb::Persistent*) {
    Komponenten->SetItemIndex(-1);
}

// A drag begins only on an entry the user may move.
void TSortGridForm::ListBoxMouseDown(wb::Persistent* Sender, TMouseButton Button, TShiftState, int X, int Y) {
    ListBox* list = ListOf(Sender);
    if (!list || Button != mbLeft) return;
    dragIndex_ = -1;
    dragSource_ = nullptr;
    const int i = list->ItemAtPos(X, Y);
    const THeaderEntryList& items = ItemsOf(list);
    if (i < 0 || i >= int(items.size()) || !items[i].Entry || items[i].Entry->State == hsFixed) return;
    dragIndex_ = i;
    dragSource_ = list;
    list->BeginDrag(false);
}

void TSortGridForm::ListBoxDragOver(wb::Persistent*, wb::Persistent* Source, int, int, bool& Accept) {
    Accept = ListOf(Source) != nullptr;
}

void TSortGridForm::ListBoxDragDrop(wb::Persistent* Sender, wb::Persistent* SourceList, int X, int Y) {
    const int from = dragIndex_;
    dragIndex_ = -1;
    ListBox* Target = ListOf(Sender);
    ListBox* Source = ListOf(SourceList);
    try {
        if (!Target || !Source || from < 0 || Source != dragSource_) return;
        THeaderEntryList& source = ItemsOf(Source);
        THeaderEntryList& target = ItemsOf(Target);
        const int at = Target->ItemAtPos(X, Y);
        if (Source == Target) {
            const int to = at < 0 ? int(source.size()) - 1 : at;
            if (!MoveWithin(source, from, to)) return;
            Refill(Target);
            Target->SetItemIndex(to);
        } else {
            if (!MoveAcross(source, from, target, X <= 0 ? -1 : at)) return;
            Refill(Source);
            Refill(Target);
        }
        modified_ = true;
    } catch (const std::exception&) {
        ShowMessage("DragDrop Error", MsgKind::Error, Window());
    }
}

void TSortGridForm::Bewegen(wb::Persistent*) {
    ListBox* from = focused_;
    if (!from) return;
    const int i = from->ItemIndex();
    try {
        THeaderEntryList& source = ItemsOf(from);
        if (i < 0 || i >= int(source.size())) return;
        // A fixed column is never hidden.
        if (EntryOf(source[i]).State == hsFixed) return;
        if (!MoveAcross(source, i, ItemsOf(OtherList(from)), -1)) return;
        Refill(Seiten.get());
        Refill(Komponenten.get());
        from->SetItemIndex(i < from->Count() ? i : -1);
        modified_ = true;
    } catch (const std::exception&) {
        ShowMessage("DragDrop Error", MsgKind::Error, Window());
    }
}

void TSortGridForm::ListBoxKeyUp(wb::Persistent* Sender, int& Key, TShiftState) {
    ListBox* list = ListOf(Sender);
    if (!list || (Key != VK_INSERT && Key != VK_DELETE)) return;
    focused_ = list;
    Bewegen(nullptr);
}

void TSortGridForm::Verschieben(wb::Persistent* Sender) {
    auto* button = dynamic_cast<wb::Component*>(Sender);
    ListBox* list = focused_;
    if (!button || !list) return;
    const int direction = int(button->Tag()), i = list->ItemIndex();
    if (!ExchangeWithNeighbour(ItemsOf(list), i, direction)) return;
    Refill(list);
    list->SetItemIndex(i + direction);
    // Hidden columns keep their order too, so their exchange is a change as well.
    modified_ = true;
}

void TSortGridForm::LibVorgabeButtonClick(wb::Persistent*) {
    if (!list_) return;
    if (onGridHeaderDefault_) onGridHeaderDefault_(*list_);
    Reload();
}

void TSortGridForm::OkButtonClick(wb::Persistent*) {
    if (modified_ && list_) *list_ = JoinHeaderLists(shown_, hidden_);
}

} // namespace velmora
