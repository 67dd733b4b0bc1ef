#include "platform/gui/Label.h"

#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

#include "platform/gui/Guard.h"
#include "platform/gui/WidgetSupport.h"

namespace wb::gui {

namespace {
// A zero-width space: where a wrapped label may break a path.
constexpr char16_t kBreak = 0x200B;

// The text as the label shows it.
QString Shown(QString text, bool wrap) {
    if (wrap) text.replace(QChar('/'), QString(QChar('/')) + QChar(kBreak));
    return text;
}
} // namespace

// The text is built at every paint, as a label asks for it then. A label
// with tab stops draws itself, as the style's text drawing knows only its
// own stops.
struct Label::Impl : QObject {
    Impl(Label* l, QLabel* t) : label(l), text(t) { text->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() != QEvent::Paint || label->Destroying()) return false;
        // The text may come from a program's override.
        RunGuarded([this] {
            const QString t = Shown(Q(label->GetLabelText()), label->wordWrap_);
            if (t != text->text()) text->setText(t);
        });
        if (tabStops.isEmpty()) return false;
        QPainter painter(text);
        painter.setFont(text->font());
        painter.setPen(text->palette().color(text->isEnabled() ? QPalette::Active : QPalette::Disabled,
                                             text->foregroundRole()));
        painter.drawText(QRectF(text->contentsRect()), text->text(), Option());
        return true;
    }
    QTextOption Option() const {
        QTextOption option(text->alignment());
        option.setWrapMode(QTextOption::NoWrap);
        option.setTabArray(tabStops);
        return option;
    }
    // The size of the text laid out to the stops, as the label's own size.
    void Fit() {
        if (tabStops.isEmpty()) return text->resize(text->sizeHint());
        QTextLayout layout(text->text(), text->font());
        layout.setTextOption(Option());
        layout.beginLayout();
        QTextLine line = layout.createLine();
        line.setNumColumns(int(text->text().size()));
        layout.endLayout();
        const QMargins m = text->contentsMargins();
        text->resize(int(std::ceil(line.naturalTextWidth())) + m.left() + m.right(), text->sizeHint().height());
    }
    Label* label;
    QLabel* text;
    QList<qreal> tabStops;
};

const ClassInfo& Label::StaticClass() {
    static ClassInfo& info = []() -> ClassInfo& {
        static ClassInfo i("Label", &WidgetControl::StaticClass());
        i.String<Label>("Caption", &Label::Caption, &Label::SetCaption);
        return i;
    }();
    return info;
}

Label::Label(Component* owner) : WidgetControl(owner, NewWidget<QLabel>()) {
    impl_ = std::make_unique<Impl>(this, static_cast<QLabel*>(Widget()));
    impl_->text->setTextFormat(Qt::PlainText);
}

Label::Label(WinControl& parent, const std::string& name, const std::string& caption) : Label(&parent) {
    Place(parent, name);
    SetCaption(caption);
}

Label::~Label() {
    Destroying_();
    impl_.reset();
}

void Label::SetCaption(const std::string& c) {
    caption_ = c;
    Refresh();
    if (autoSize_) impl_->Fit();
}

void Label::Refresh() {
    const QString text = Q(GetLabelText());
    // The whole text stays readable as the tool tip for what the lines cut off.
    if (wordWrap_) impl_->text->setToolTip(text);
    impl_->text->setText(Shown(text, wordWrap_));
}
int Label::TextWidth(const std::string& text) const {
    return impl_->text->fontMetrics().horizontalAdvance(Q(text));
}

std::string Label::ShownText() const { return impl_->text->text().remove(QChar(kBreak)).toStdString(); }

void Label::SetAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    if (autoSize_) impl_->Fit();
}

void Label::SetAlignment(TextAlign align, TextLayout layout) {
    impl_->text->setAlignment((align == TextAlign::Left     ? Qt::AlignLeft
                               : align == TextAlign::Center ? Qt::AlignHCenter
                                                            : Qt::AlignRight) |
                              (layout == TextLayout::Top      ? Qt::AlignTop
                               : layout == TextLayout::Center ? Qt::AlignVCenter
                                                              : Qt::AlignBottom));
}

void Label::SetLineWrap(bool wrap) { impl_->text->setWordWrap(wrap); }

void Label::SetWordWrap(bool wrap) {
    wordWrap_ = wrap;
    impl_->text->setWordWrap(wrap);
    impl_->text->setAlignment(wrap ? Qt::AlignLeft | Qt::AlignTop : Qt::AlignLeft | Qt::AlignVCenter);
    Refresh();
}

void Label::SetFont(int pixelHeight, bool bold, TColor color) {
    QLabel* l = impl_->text;
    QFont f = l->font();
    f.setPixelSize(pixelHeight);
    f.setBold(bold);
    l->setFont(f);
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, ToQColor(color));
    l->setPalette(p);
    if (autoSize_) impl_->Fit();
}

void Label::SetTabStops(const std::vector<int>& stops) {
    impl_->tabStops.clear();
    for (int x : stops) impl_->tabStops.append(qreal(x));
    if (autoSize_) impl_->Fit();
    impl_->text->update();
}

void Label::ShareTabStops(const std::vector<Label*>& labels, int gap) {
    std::vector<int> widest;
    for (const Label* l : labels) {
        const std::string caption = l->Caption();
        size_t column = 0;
        for (size_t from = 0;; ++column) {
            const size_t tab = caption.find('\t', from);
            if (widest.size() <= column) widest.push_back(0);
            widest[column] = std::max(widest[column], l->TextWidth(caption.substr(from, tab - from)));
            if (tab == std::string::npos) break;
            from = tab + 1;
        }
    }
    std::vector<int> stops;
    int x = 0;
    for (size_t i = 0; i + 1 < widest.size(); ++i) stops.push_back(x += widest[i] + gap);
    for (Label* l : labels) l->SetTabStops(stops);
}

} // namespace wb::gui
