#pragma once
// A dialog seen by its logic: controls addressed by id, as a dialog resource
// lays them out. No Qt here, so dialog logic is testable with a recording
// fake; the real window implements the same interface on Qt.
#include <functional>
#include <optional>
#include <string>

namespace wb::gui {

enum class MsgKind { Warning, Error, Plain, Information };

// What a control tells its dialog.
enum class Notify {
    Clicked,  // push button, check box or radio button clicked
    Changed   // an edit's text changed, typed or set by the program
};

struct OpenFileOptions {
    std::string title;
    std::string defaultExt;   // "*" for none
    std::string initialName;  // "*.*" for any
    std::string filter;       // "" for no filter; else "Name|pattern;pattern|..."
    std::string initialDir;
};

class DialogHost {
public:
    using CommandHandler = std::function<void(int id, Notify code)>;
    virtual ~DialogHost() = default;

    // Setting an edit's text notifies Changed like typing does, even when
    // the text is the same, as the platform's edits do.
    virtual void SetItemText(int id, const std::string& text) = 0;
    virtual std::string GetItemText(int id) const = 0;
    virtual void EnableItem(int id, bool enable) = 0;
    virtual bool IsItemEnabled(int id) const = 0;
    // Check boxes and radio buttons. Checking a radio button does not clear
    // the others of its group; automatic radios do that when clicked.
    virtual void CheckItem(int id, bool checked) = 0;
    virtual bool IsItemChecked(int id) const = 0;

    virtual void SetProgressRange(int id, int low, int high) = 0;
    virtual void SetProgressPos(int id, int pos) = 0;
    virtual int GetProgressPos(int id) const = 0;

    // A message box with the program's title as caption and one OK button.
    virtual void MessageBox(const std::string& text, MsgKind kind) = 0;
    // Empty when the user cancels.
    virtual std::optional<std::string> OpenFileDialog(const OpenFileOptions& options) = 0;

    // The dialog logic receives every control notification here.
    virtual void SetCommandHandler(CommandHandler handler) = 0;
    // Closes the dialog with a result code (1 OK, 2 cancel).
    virtual void EndDialog(int result) = 0;

    // Long work on the dialog's thread (a split, a join) runs between
    // BeginLongWork and EndLongWork and calls ServeWindow at short intervals.
    // Meanwhile the window repaints, moves and answers the desktop, takes no
    // input that would start something else, and holds a request to close
    // it until the handler that did the work has returned. Fakes that do
    // not care ignore these.
    virtual void BeginLongWork() {}
    virtual void ServeWindow() {}
    virtual void EndLongWork() {}

    // The window menu. Windows without one (and fakes that do not care)
    // ignore these; where the desktop owns the title bar's menu, the item
    // goes where the user finds the window's own commands.
    using SysCommandHandler = std::function<void(int commandId)>;
    virtual void AppendSystemMenuItem(int /*commandId*/, const std::string& /*text*/) {}
    virtual void SetSysCommandHandler(SysCommandHandler /*handler*/) {}
};

} // namespace wb::gui
