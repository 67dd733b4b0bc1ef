#pragma once
// A top-level window (a form): its menu bar, client area, placement and
// modal or main-window run, seen without Qt. Every window of every program
// is one of these, so hooks, placement and storage work on all of them.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/gui/ScreenInfo.h"
#include "platform/gui/Colors.h"
#include "platform/gui/Region.h"
#include "platform/gui/WidgetControl.h"

class QMenu;

namespace wb::gui {
class Canvas;
}

namespace wb::gui {

enum TBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIcon : uint32_t { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TPosition {
    poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter,
    poDesktopCenter, poMainFormCenter, poOwnerFormCenter
};
enum TWindowState { wsNormal, wsMinimized, wsMaximized };

// Show commands of a placement record.
constexpr uint32_t SW_HIDE = 0, SW_SHOWNORMAL = 1, SW_SHOWMINIMIZED = 2, SW_SHOWMAXIMIZED = 3,
                   SW_SHOWNOACTIVATE = 4, SW_SHOW = 5, SW_MINIMIZE = 6, SW_SHOWMINNOACTIVE = 7,
                   SW_SHOWNA = 8, SW_RESTORE = 9;
constexpr uint32_t WPF_SETMINPOSITION = 1;

struct WindowPlacement {
    uint32_t length = 44;
    uint32_t flags = 0;
    uint32_t showCmd = SW_SHOWNORMAL;
    Point minPosition{-1, -1};
    Point maxPosition{-1, -1};
    Rect normalPosition;
};

// Border, caption and icon sizes by the system-metric index of the same name.
constexpr int SM_CYCAPTION = 4, SM_CXBORDER = 5, SM_CYBORDER = 6, SM_CXDLGFRAME = 7, SM_CYDLGFRAME = 8,
              SM_CXICON = 11, SM_CYICON = 12, SM_CXSIZE = 30, SM_CYSIZE = 31, SM_CXFRAME = 32,
              SM_CYFRAME = 33, SM_CXSMICON = 49, SM_CYSMICON = 50, SM_CYSMCAPTION = 51,
              SM_CXSMSIZE = 52, SM_CYSMSIZE = 53;
int GetSystemMetrics(int index);

// The caption buttons a border shows of the given border icons.
uint32_t CaptionButtonIcons(TBorderStyle style, uint32_t icons);
// How many button places they take: minimise and maximise come as a pair.
int CaptionButtonCount(uint32_t shownIcons);
// The width of the frame around a window of this border.
int FrameWidth(TBorderStyle style);
// The height of its title bar and the width of one caption button: tool
// windows have the small ones.
int CaptionHeight(TBorderStyle style);
int CaptionButtonWidth(TBorderStyle style);
// The title bar without its buttons, in window coordinates.
Rect CaptionRect(int width, int height, TBorderStyle style, uint32_t icons);

// Escape on a form clicks its cancel button when it has one, before the
// focused control sees the key; without one it closes a dialog form and does
// nothing on a main form, which is left through its menu or title bar only.
enum class FormKind {
    Main,   // a program's window
    Dialog  // a secondary form, usually shown modally
};

class Button;

class Form : public WidgetControl {
public:
    explicit Form(Component* owner = nullptr, FormKind kind = FormKind::Main);
    ~Form() override;
    static const ClassInfo& StaticClass();
    const ClassInfo& Class() const override { return StaticClass(); }
    QWidget* ClientWidget() const override;
    FormKind Kind() const { return kind_; }

    void SetBounds(int left, int top, int width, int height) override;
    std::string Caption() const;
    void SetCaption(const std::string& caption);

    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle style);  // re-creates the window
    uint32_t BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(uint32_t icons);
    TFormStyle FormStyle() const { return formStyle_; }
    void SetFormStyle(TFormStyle style);
    TPosition Position() const { return position_; }
    void SetPosition(TPosition position);
    TWindowState WindowState() const;
    void SetWindowState(TWindowState state);
    // Sets the state remembered for the next show, without touching the window.
    void SetWindowStateField(TWindowState state);
    // The button Escape clicks, or null; a freed button is let go of.
    Button* CancelButton() const { return cancel_; }
    void SetCancelButton(Button* button);
    WinControl* ActiveControl() const { return activeControl_; }
    void SetActiveControl(WinControl* control);
    bool HasMenu() const;

    // The client area, below the menu bar when there is one.
    void SetClientSize(int width, int height);
    int ClientWidth() const;
    int ClientHeight() const;
    void SetColor(TColor color);
    void SetFont(const std::string& family, int pixelHeight);
    // A single border: no resizing, no maximise button.
    void SetSingleBorder(bool minimizeBox);
    void SetAlwaysOnTop(bool onTop);
    // A menu of the menu bar, made with the bar on first use.
    QMenu* AddMenu(const std::string& caption);

    // The window's frame and title bar drawn by the form itself (through
    // WM_NCPAINT, so hooks may paint the caption), instead of the window
    // manager's. Off when WB_SYSTEM_FRAMES=1 is set in the environment.
    void SetOwnFrame(bool own);
    bool OwnFrame() const { return ownFrame_; }
    static bool OwnFramesAllowed();
    // Where WM_NCPAINT's painting goes, in window coordinates; set only
    // while the form paints its frame. A WM_NCPAINT sent at another time
    // asks for the frame to be painted soon.
    Canvas* NonClientCanvas() const { return ncCanvas_; }
    // The look the frame is painted in, as WM_NCACTIVATE last said.
    bool NonClientActive() const { return ncActive_; }
    // The form's icon, else the program's, at the given size.
    void DrawIcon(Canvas& canvas, int x, int y, int size) const;

    void SetVisible(bool visible) override;
    void Show();   // OnShow, then the window appears
    void Hide();
    // Asks OnCloseQuery (through WM_CLOSE); true when the form closed.
    bool Close();
    // Shows the form and runs until it closes; gives its modal result.
    int ShowModal();
    int ModalResult() const { return modalResult_; }
    // Closes a modal form with this result, as a button of it would.
    void SetModalResult(int result);
    // Shows the form and runs the event loop until it closes.
    int RunAsMain();
    // Runs a piece of work, guarded, once the event loop is running.
    static void Post(std::function<void()> work);
    // Writes a picture of the whole form, menu bar included.
    bool SaveScreenshot(const std::string& pngPath);
    // The top-level window.
    QWidget* Window() const { return Widget(); }
    QWidget* Client() const { return ClientWidget(); }
    // Paints pending areas now.
    void Update();

    WindowPlacement GetWindowPlacement() const;
    // A normal rectangle that does not fit the screen's work area is moved
    // (and if need be shrunk) onto it. A show command other than SW_HIDE shows the window.
    bool SetWindowPlacement(const WindowPlacement& placement);
    bool IsWindowVisible() const;
    bool IsIconic() const;
    // Asks the window's procedure for its size limits (WM_GETMINMAXINFO) and
    // applies them; done at every show as well.
    void UpdateSizeLimits();

    std::function<void(Persistent* sender)> OnShow;
    std::function<void(Persistent* sender, bool& canClose)> OnCloseQuery;
    // Fired once, while the whole form still exists: a form class of its own
    // calls BeforeDestruction first in its destructor, so the handler sees
    // its members; for a plain form ~Form fires it. Its owned components and
    // controls are all still there either way.
    std::function<void(Persistent* sender)> OnDestroy;
    // When the form has closed, by any means.
    TNotifyEvent OnClose;

protected:
    void WndProc(Message& msg) override;
    void Notification(Component* c, Operation op) override;
    // Leaves the list of open forms and fires OnDestroy; only the first call
    // does anything.
    void BeforeDestruction();

private:
    struct Impl;
    friend struct Impl;
    friend class FormWindow;
    void ApplyFlags();
    bool Sizeable() const;
    bool IsZoomed() const;
    // A form without a sizing border keeps the size it was given.
    void FixSize();
    void PrepareShow();
    void PaintFrame(Canvas& canvas, const Region& region);
    intptr_t HitTest(Point screen) const;
    std::unique_ptr<Impl> impl_;
    TBorderStyle borderStyle_ = bsSizeable;
    uint32_t borderIcons_ = biSystemMenu | biMinimize | biMaximize;
    TFormStyle formStyle_ = fsNormal;
    FormKind kind_;
    int modalResult_ = 0;
    bool ownFrame_ = false;
    bool ncActive_ = false;
    Canvas* ncCanvas_ = nullptr;
    TPosition position_ = poDesigned;
    WinControl* activeControl_ = nullptr;
    Button* cancel_ = nullptr;
    Point maxPosition_{-1, -1};
    bool destroyFired_ = false;
};

// The application's main form: the first form made, unless set.
Form* MainForm();
void SetMainForm(Form* form);
// The application's own window: it takes WM_SYSCOMMAND SC_MINIMIZE and
// SC_RESTORE for the whole program.
WindowHandle ApplicationHandle();
bool ApplicationMinimized();

} // namespace wb::gui
