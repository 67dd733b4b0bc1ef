#include "tag_editor/controls/SortGridForm.h"

#include <QApplication>
#include <QDrag>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include <stdexcept>

#include "platform/gui/Guard.h"
#include "platform/gui/MessageBox.h"

namespace velmora {

using namespace wb::gui;

namespace {

constexpr const char* kDragFormat = "application/x-velmora-header-entry";

class SeitenDelegate : public QStyledItemDelegate {
public:
    SeitenDelegate(TSortGridForm& form, QObject* parent) : QStyledItemDelegate(parent), form_(form) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        RunGuarded([&] { form_.SeitenDrawItem(*painter, option.rect, index.row(), option.state & QStyle::State_Selected); });
    }

private:
    TSortGridForm& form_;
};

} // namespace

// Turns the list boxes' mouse, drag, key and focus events into the form's handlers.
class TSortGridForm::Filter : public QObject {
public:
    explicit Filter(TSortGridForm& form) : form_(form) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        QListWidget* list = ListOf(watched);
        if (!list) return false;
        bool taken = false;
        RunGuarded([&] { taken = Handle(list, event); });
        return taken;
    }

private:
    QListWidget* ListOf(QObject* o) const {
        for (QListWidget* l : {form_.Seiten.Get(), form_.Komponenten.Get()})
            if (o == l || o == l->viewport()) return l;
        return nullptr;
    }

    bool Handle(QListWidget* list, QEvent* event) {
        switch (event->type()) {
        case QEvent::FocusIn:
            form_.SetFocusedList(list);
            if (list == form_.Komponenten.Get()) form_.KomponentenEnter(nullptr);
            return false;
        case QEvent::FocusOut:
            if (list == form_.Komponenten.Get() && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
                form_.KomponentenExit(nullptr);
            return false;
        case QEvent::MouseButtonPress: {
            auto* e = static_cast<QMouseEvent*>(event);
            if (e->button() != Qt::LeftButton) return false;
            form_.ListBoxMouseDown(list, e->position().toPoint().x(), e->position().toPoint().y());
            press_ = e->position().toPoint();
            return false;
        }
        case QEvent::MouseMove: {
            auto* e = static_cast<QMouseEvent*>(event);
            if (!(e->buttons() & Qt::LeftButton) || (e->position().toPoint() - press_).manhattanLength() <
                                                         QApplication::startDragDistance())
                return false;
            return form_.StartDrag(list);
        }
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* e = static_cast<QDragMoveEvent*>(event);
            if (form_.DragOver(e->source())) e->acceptProposedAction();
            else e->ignore();
            return true;
        }
        case QEvent::Drop: {
            auto* e = static_cast<QDropEvent*>(event);
            auto* source = qobject_cast<QListWidget*>(e->source());
            const QPoint at = e->position().toPoint();
            e->acceptProposedAction();
            form_.ListBoxDragDrop(list, source, at.x(), at.y());
            return true;
        }
        case QEvent::KeyRelease:
            form_.ListBoxKeyUp(list, static_cast<QKeyEvent*>(event)->key());
            return false;
        default: return false;
        }
    }

    TSortGridForm& form_;
    QPoint press_;
};

TSortGridForm::TSortGridForm(wb::Component* owner) : Form(owner, FormKind::Dialog) {
    SetName("SortGridForm");
    SetCaption("Spaltenkonfiguration");
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientSize(420, 288);
    Label1.SetBounds(8, 8, 180, 16);
    Label2.SetBounds(232, 8, 180, 16);
    Seiten.SetBounds(8, 28, 180, 212);
    Komponenten.SetBounds(232, 28, 180, 212);
    SpeedButton1.SetBounds(196, 60, 28, 28);
    SpeedButton2.SetBounds(196, 94, 28, 28);
    MoveButton.SetBounds(196, 146, 28, 28);
    LibVorgabeButton.SetBounds(8, 252, 90, 28);
    BitBtn3.SetBounds(104, 252, 120, 28);
    BitBtn1.SetBounds(236, 252, 84, 28);
    BitBtn2.SetBounds(328, 252, 84, 28);
    SpeedButton1.SetTag(-1);
    SpeedButton2.SetTag(1);
    SpeedButton1.SetHint("Nach oben");
    SpeedButton2.SetHint("Nach unten");
    MoveButton.SetHint("Ein-/Ausblenden");
    // Speed buttons take no focus, so the list they act on keeps it (and its selection).
    for (Button* b : {&SpeedButton1, &SpeedButton2, &MoveButton, &LibVorgabeButton, &BitBtn3})
        b->Widget()->setFocusPolicy(Qt::NoFocus);
    BitBtn1.SetDefault(true);

    filter_ = new Filter(*this);
    filter_->setParent(Seiten.Get());
    for (QListWidget* list : {Seiten.Get(), Komponenten.Get()}) {
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setAcceptDrops(true);
        list->installEventFilter(filter_);
        list->viewport()->installEventFilter(filter_);
    }
    Seiten->setItemDelegate(new SeitenDelegate(*this, Seiten.Get()));
    QObject::connect(Seiten.Get(), &QListWidget::currentRowChanged, Seiten.Get(),
                     [this](int) { RunGuarded([&] { SeitenClick(nullptr); }); });
    focused_ = Seiten.Get();

    SpeedButton1.OnClick = [this](wb::Persistent* s) { Verschieben(s); };
    SpeedButton2.OnClick = [this](wb::Persistent* s) { Verschieben(s); };
    MoveButton.OnClick = [this](wb::Persistent* s) { Bewegen(s); };
    BitBtn3.OnClick = [this](wb::Persistent* s) { Bewegen(s); };
    LibVorgabeButton.OnClick = [this](wb::Persistent* s) { LibVorgabeButtonClick(s); };
    BitBtn1.OnClick = [this](wb::Persistent* s) {
        OkButtonClick(s);
        SetModalResult(mrOk);
    };
    BitBtn2.OnClick = [this](wb::Persistent*) { SetModalResult(mrCancel); };
    OnDestroy = [this](wb::Persistent* s) { FormDestroy(s); };
    FormCreate(this);
}

TSortGridForm::~TSortGridForm() {
    // FormDestroy is a member of this class: it runs while the members are whole.
    BeforeDestruction();
    // The lists go one after the other; the filter must not see the first go.
    delete filter_;
}

void TSortGridForm::FormCreate(wb::Persistent*) { modified_ = false; }

void TSortGridForm::FormDestroy(wb::Persistent*) {}

void TSortGridForm::LoadHeaderList(THeaderEntryList& list, TGridHeaderEvent onGridHeaderDefault) {
    list_ = &list;
    onGridHeaderDefault_ = std::move(onGridHeaderDefault);
    LibVorgabeButton.SetVisible(bool(onGridHeaderDefault_));
    Reload();
}

void TSortGridForm::Reload() {
    SplitHeaderList(*list_, shown_, hidden_);
    Refill(Seiten.Get());
    Refill(Komponenten.Get());
}

void TSortGridForm::SetFocusedList(QListWidget* list) { focused_ = list; }

THeaderEntryList& TSortGridForm::ItemsOf(QListWidget* list) {
    if (list == Seiten.Get()) return shown_;
    if (list == Komponenten.Get()) return hidden_;
    throw std::invalid_argument("Not a list of the column dialog");
}

QListWidget* TSortGridForm::OtherList(QListWidget* list) const {
    return list == Seiten.Get() ? Komponenten.Get() : Seiten.Get();
}

void TSortGridForm::Refill(QListWidget* list) {
    const QSignalBlocker quiet(list);
    list->clear();
    for (const auto& item : ItemsOf(list)) list->addItem(QString::fromStdString(item.Caption));
    list->setCurrentRow(-1);
    if (list == Seiten.Get()) SeitenClick(nullptr);
}

void TSortGridForm::SeitenDrawItem(QPainter& Canvas, const QRect& Rect, int Index, bool Selected) {
    const QPalette& pal = Seiten->palette();
    Canvas.fillRect(Rect, Selected ? pal.highlight() : pal.base());
    if (Index < 0 || Index >= int(shown_.size())) return;
    const THeaderItem& item = shown_[Index];
    const QString caption = QString::fromStdString(item.Caption);
    const QRect text = Rect.adjusted(2, 0, 0, 0);
    const QRect bounds = Canvas.fontMetrics().boundingRect(text, Qt::AlignLeft | Qt::AlignTop, caption);
    // A column the user may not hide or move stands on red.
    if (item.Entry && item.Entry->State == hsFixed) Canvas.fillRect(bounds, QColor(0xFF, 0, 0));
    Canvas.setPen(Selected ? pal.highlightedText().color() : pal.text().color());
    Canvas.drawText(text, Qt::AlignLeft | Qt::AlignTop, caption);
}

void TSortGridForm::SeitenClick(wb::Persistent*) {
    const int i = Seiten->currentRow();
    MoveButton.SetEnabled(i >= 0 && i < int(shown_.size()) && shown_[i].Entry &&
                          shown_[i].Entry->State != hsFixed);
}

void TSortGridForm::KomponentenEnter(wb::Persistent*) {
    if (Komponenten->count() > 0) Komponenten->setCurrentRow(0);
}

void TSortGridForm::KomponentenExit(wb::Persistent*) {
    Komponenten->setCurrentRow(-1);
    Komponenten->clearSelection();
}

void TSortGridForm::ListBoxMouseDown(QListWidget* Sender, int X, int Y) {
    dragIndex_ = -1;
    dragSource_ = nullptr;
    QListWidgetItem* under = Sender->itemAt(X, Y);
    if (!under) return;
    const int i = Sender->row(under);
    const THeaderEntryList& items = ItemsOf(Sender);
    if (i < 0 || i >= int(items.size()) || !items[i].Entry || items[i].Entry->State == hsFixed) return;
    dragIndex_ = i;
    dragSource_ = Sender;
}

bool TSortGridForm::StartDrag(QListWidget* source) {
    if (dragIndex_ < 0 || dragSource_ != source) return false;
    auto* drag = new QDrag(source);
    auto* data = new QMimeData;
    data->setData(kDragFormat, QByteArray::number(dragIndex_));
    drag->setMimeData(data);
    drag->exec(Qt::MoveAction);
    return true;
}

bool TSortGridForm::DragOver(QObject* Source) const {
    return Source == Seiten.Get() || Source == Komponenten.Get();
}

void TSortGridForm::ListBoxDragDrop(QListWidget* Target, QListWidget* Source, int X, int Y) {
    const int from = dragIndex_;
    dragIndex_ = -1;
    try {
        if (!Source || from < 0 || Source != dragSource_) return;
        THeaderEntryList& source = ItemsOf(Source);
        THeaderEntryList& target = ItemsOf(Target);
        QListWidgetItem* under = Target->itemAt(X, Y);
        const int at = under ? Target->row(under) : -1;
        if (Source == Target) {
            const int to = at < 0 ? int(source.size()) - 1 : at;
            if (!MoveWithin(source, from, to)) return;
            Refill(Target);
            Target->setCurrentRow(to);
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
    QListWidget* from = focused_;
    if (!from) return;
    const int i = from->currentRow();
    try {
        THeaderEntryList& source = ItemsOf(from);
        if (i < 0 || i >= int(source.size())) return;
        // A fixed column is never hidden.
        if (EntryOf(source[i]).State == hsFixed) return;
        if (!MoveAcross(source, i, ItemsOf(OtherList(from)), -1)) return;
        Refill(Seiten.Get());
        Refill(Komponenten.Get());
        from->setCurrentRow(i < from->count() ? i : -1);
        modified_ = true;
    } catch (const std::exception&) {
        ShowMessage("DragDrop Error", MsgKind::Error, Window());
    }
}

void TSortGridForm::ListBoxKeyUp(QListWidget* Sender, int Key) {
    if (Key != Qt::Key_Insert && Key != Qt::Key_Delete) return;
    focused_ = Sender;
    Bewegen(nullptr);
}

void TSortGridForm::Verschieben(wb::Persistent* Sender) {
    auto* button = dynamic_cast<wb::Component*>(Sender);
    QListWidget* list = focused_;
    if (!button || !list) return;
    const int direction = int(button->Tag()), i = list->currentRow();
    if (!ExchangeWithNeighbour(ItemsOf(list), i, direction)) return;
    Refill(list);
    list->setCurrentRow(i + direction);
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
