#pragma once
#include <QIcon>
#include <QRect>
#include <functional>
#include <map>
#include <set>
#include <memory>
#include <string>

#include "platform/gui/DialogHost.h"
#include "platform/gui/DialogRunner.h"
#include "platform/gui/DialogTemplate.h"
#include "platform/gui/DialogUnits.h"
#include "platform/gui/Form.h"
#include "platform/gui/Icon.h"

class QMenu;

namespace wb::gui {

class Image;

// A modal dialog built from a resource table: a dialog form whose controls
// are laid out in dialog units of the table's font and addressed by id.
//
// Every notification goes to the command handler. Enter (when no button
// takes it) reports id 1, Esc and the close box id 2; the handler decides
// whether to end the dialog. Without a handler, 1 and 2 end it.
class Dialog : public Form, public DialogHost {
public:
    explicit Dialog(const DialogTemplate& table, QWidget* parent = nullptr);
    ~Dialog() override;

    // The opening runs first (its messages come before the window shows);
    // then the modal loop, unless the opening already ended the dialog.
    int Run(const std::function<void()>& onOpen = {});

    // The widget of the control with this id, or null.
    QWidget* Item(int id) const;
    BaseUnits Units() const { return units_; }
    QRect PixelRect(int x, int y, int cx, int cy) const;
    void SetDialogIcon(const QIcon& icon);

    // DialogHost
    void SetItemText(int id, const std::string& text) override;
    std::string GetItemText(int id) const override;
    void EnableItem(int id, bool enable) override;
    bool IsItemEnabled(int id) const override;
    void CheckItem(int id, bool checked) override;
    bool IsItemChecked(int id) const override;
    void SetProgressRange(int id, int low, int high) override;
    void SetProgressPos(int id, int pos) override;
    int GetProgressPos(int id) const override;
    void MessageBox(const std::string& text, MsgKind kind) override;
    std::optional<std::string> OpenFileDialog(const OpenFileOptions& options) override;
    void SetCommandHandler(CommandHandler handler) override;
    void EndDialog(int result) override;
    void AppendSystemMenuItem(int commandId, const std::string& text) override;
    void SetSysCommandHandler(SysCommandHandler handler) override;
    void BeginLongWork() override;
    void ServeWindow() override;
    void EndLongWork() override;

    // The menu that stands in for the window menu (right click on the
    // dialog's background).
    QMenu* WindowMenu() const { return windowMenu_; }

private:
    struct Keys;
    struct Busy;
    void Build(const DialogTemplate& table);
    void Send(int id, Notify code);
    WidgetControl* Require(int id) const;
    void Ask(bool& canClose);
    void CloseIfHeld();

    BaseUnits units_;
    std::unique_ptr<Keys> keys_;
    std::unique_ptr<Busy> busy_;  // while long work runs
    bool closeHeld_ = false;      // a close request came during long work
    int sending_ = 0;             // depth of handlers running
    std::map<int, WidgetControl*> items_;
    std::vector<Image*> icons_;
    Icon dialogIcon_;
    std::set<int> editIds_;
    CommandHandler handler_;
    SysCommandHandler sysHandler_;
    QMenu* windowMenu_ = nullptr;
    QIcon icon_;
    bool ended_ = false;
    bool asking_ = false;  // inside the close query
    int endResult_ = kIdCancel;
};

// Base units of a font, from its metrics.
BaseUnits BaseUnitsOf(const QFont& font);
// The font that stands in for a design's face ("MS Sans Serif" is a sans
// serif, "Times New Roman" a serif) at its point size.
QFont DialogFont(const std::string& face, int pointSize);

// Runs further dialogs as real windows, each with the program's icon.
class QtDialogRunner : public DialogRunner {
public:
    explicit QtDialogRunner(QIcon icon = {}) : icon_(std::move(icon)) {}
    int RunModal(const DialogTemplate& table, const OpenHandler& onOpen) override;

private:
    QIcon icon_;
};

} // namespace wb::gui
