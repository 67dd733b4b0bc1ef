#pragma once
// The match chooser: several inexact matches of a query, with a five-second
// countdown after which the current row is taken.
#include <vector>

#include "platform/gui/Form.h"
#include "platform/gui/StdCtrls.h"
#include "platform/gui/Timer.h"
#include "tag_editor/logic/CddbClient.h"
#include "tag_editor/controls/grid/VlSortGrd.h"

namespace velmora {

class TChooseFrm : public wb::gui::Form {
public:
    explicit TChooseFrm(wb::Component* owner = nullptr);

    // Fills the grid with the matches, makes row 1 current, shows the window
    // modally and gives the row current when it closed.
    int ChooseMatch(const std::vector<TCddbMatch>& matches);

    void FormShow();
    void Timer1Timer();
    void ChooseGrdClick();
    void ChooseGrdDblClick();
    void FormClose();
    void ChooseGrdGetCellFormat(TVlSortGrid* sender, int col, int row, wb::gui::TGridDrawState state,
                                TFormatOptions& fo);

    wb::gui::Child<TVlSortGrid> ChooseGrd;
    wb::gui::Child<wb::gui::Label> Label1, Label2;
    wb::gui::Child<wb::gui::Panel> CounterPanel;
    wb::gui::Child<wb::gui::Button> OKBtn;
    wb::gui::Timer Timer1;

private:
    int ChooseCountdown = 0;
};

} // namespace velmora
