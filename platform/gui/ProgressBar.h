#pragma once
// A progress bar that logic drives through wb::Progress.
#include <string>

#include "platform/base/Progress.h"
#include "platform/gui/WidgetControl.h"

namespace wb::gui {

class ProgressBar : public WidgetControl, public wb::Progress {
public:
    explicit ProgressBar(Component* owner = nullptr);
    ProgressBar(WinControl& parent, const std::string& name);

    void SetRange(int min, int max);
    int Min() const;
    int Max() const override;
    // Long work runs inside one handler, so a moved bar paints at once.
    void SetPosition(int position) override;
    int Position() const;
    void SetVisible(bool visible) override { WidgetControl::SetVisible(visible); }
};

} // namespace wb::gui
