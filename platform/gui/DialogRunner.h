#pragma once
// Opening a further modal dialog from dialog logic, without Qt, so the
// logic that opens one stays testable with a fake.
#include <functional>

#include "platform/gui/DialogHost.h"
#include "platform/gui/DialogTemplate.h"

namespace wb::gui {

class DialogRunner {
public:
    using OpenHandler = std::function<void(DialogHost& dialog)>;
    virtual ~DialogRunner() = default;
    // Builds the dialog from its table, runs onOpen (which sets its command
    // handler and fills it) and then its modal loop over the active window.
    // Returns the code given to EndDialog.
    virtual int RunModal(const DialogTemplate& table, const OpenHandler& onOpen) = 0;
};

} // namespace wb::gui
