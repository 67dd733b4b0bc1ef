// The three dialogs as drawn on this desktop: the designed fonts come out in
// the desktop's sans font, and no control is clipped or covers another.
#include "ParvexTestSupport.h"

#include <QAbstractButton>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>

#include "file_splitter/DialogResources.h"
#include "platform/gui/Dialog.h"
#include "platform/testing/GuiTest.h"

using namespace parvex;

namespace {

struct Layout {
    const char* name;
    const wb::gui::DialogTemplate& (*table)();
};

class DialogLayout : public ::testing::TestWithParam<Layout> {};

std::string Describe(const QWidget* w) {
    if (const auto* b = qobject_cast<const QAbstractButton*>(w)) return b->text().toStdString();
    if (const auto* l = qobject_cast<const QLabel*>(w)) return l->text().toStdString();
    return w->objectName().toStdString();
}

} // namespace

TEST_P(DialogLayout, DrawsInTheDesktopsSansFontWithNothingClipped) {
    wb::gui::test::App("Parvex");
    wb::gui::Dialog dialog(GetParam().table());
    const QFontInfo desktop(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    EXPECT_EQ(QFontInfo(dialog.Window()->font()).family(), desktop.family());

    std::vector<QWidget*> controls;
    for (auto* w : dialog.Client()->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (!qobject_cast<QGroupBox*>(w) && w->isWidgetType() && !w->isWindow()) controls.push_back(w);
    for (auto* w : controls) {
        if (auto* b = qobject_cast<QAbstractButton*>(w)) {
            if (b->isCheckable()) {
                // The circle or box drawn whole, and the text beside it.
                QStyleOptionButton opt;
                opt.initFrom(b);
                opt.text = b->text();
                const bool radio = qobject_cast<QRadioButton*>(b) != nullptr;
                const QRect indicator = b->style()->subElementRect(
                    radio ? QStyle::SE_RadioButtonIndicator : QStyle::SE_CheckBoxIndicator, &opt, b);
                const QRect text = b->style()->subElementRect(
                    radio ? QStyle::SE_RadioButtonContents : QStyle::SE_CheckBoxContents, &opt, b);
                EXPECT_TRUE(b->rect().contains(indicator)) << Describe(b);
                EXPECT_GE(text.height(), b->fontMetrics().height()) << Describe(b);
                EXPECT_GE(text.width(), b->fontMetrics().horizontalAdvance(b->text())) << Describe(b);
            } else {
                EXPECT_GE(b->height(), b->sizeHint().height()) << Describe(b);
            }
        }
        if (auto* l = qobject_cast<QLabel*>(w); l && !l->text().isEmpty()) {
            const int needed = l->wordWrap() ? l->heightForWidth(l->width()) : l->fontMetrics().height();
            EXPECT_LE(needed, l->height()) << l->text().toStdString();
            if (!l->wordWrap()) {
                EXPECT_LE(l->fontMetrics().horizontalAdvance(l->text()), l->width()) << l->text().toStdString();
            }
        }
        for (auto* other : controls) {
            if (w < other) {
                EXPECT_FALSE(w->geometry().intersects(other->geometry()))
                    << Describe(w) << " covers " << Describe(other);
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Dialogs, DialogLayout,
                         ::testing::Values(Layout{"Main", &MainDialogTemplate},
                                           Layout{"About", &AboutDialogTemplate},
                                           Layout{"Settings", &SettingsDialogTemplate}),
                         [](const auto& info) { return std::string(info.param.name); });
