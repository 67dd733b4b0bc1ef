#pragma once
// Forms and the standard controls a program's windows are built from, with
// the properties and events the programs expect (caption, bounds, Visible,
// Enabled, hints, OnClick, OnChange). No Qt in this header, so a program's
// window units stay free of it; each control wraps one Qt widget that its
// form's window owns.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/base/Progress.h"
#include "platform/gui/Colors.h"

class QWidget;
class QAction;
class QMenu;

namespace wb::gui {
class Canvas;
}

// Apart from the window-message forms of Form.h: these wrap Qt widgets
// directly and are what Sonafex's windows are built from.
namespace wb::gui::widgets {

class Form;

using TNotify = std::function<void()>;

class Control {
public:
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    void SetBounds(int left, int top, int width, int height);
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    // The control's own flag: true for a shown control on a hidden form.
    void SetVisible(bool visible);
    bool Visible() const;
    void SetEnabled(bool enabled);
    bool Enabled() const;
    void SetHint(const std::string& hint);
    std::string Hint() const;
    std::string Name() const;
    void BringToFront();

    QWidget* Widget() const { return widget_; }

protected:
    Control(QWidget* widget, const std::string& name);
    QWidget* widget_;
};

enum class TextAlign { Left, Center, Right };

// A caption; it sizes itself to its text unless AutoSize is switched off.
class Label : public Control {
public:
    Label(Form& owner, const std::string& name, const std::string& caption = "");
    void SetCaption(const std::string& caption);
    std::string Caption() const;
    void SetAutoSize(bool autoSize);
    void SetAlignment(TextAlign align);
    void SetFont(int pixelHeight, bool bold, TColor color = clWindowText);
    // Wraps the caption over the label's lines, a long path after any '/',
    // and keeps the whole caption as the tool tip for what the lines cut off.
    void SetWordWrap(bool wrap);

private:
    bool autoSize_ = true;
    bool wordWrap_ = false;
};

// A push button; a kind "OK" button carries the usual tick glyph.
class Button : public Control {
public:
    Button(Form& owner, const std::string& name, const std::string& caption);
    void SetCaption(const std::string& caption);
    std::string Caption() const;
    void SetOkGlyph();
    // Clicks as the user would: nothing happens while disabled.
    void Click();
    TNotify OnClick;
};

class Edit : public Control {
public:
    Edit(Form& owner, const std::string& name, const std::string& text = "");
    void SetText(const std::string& text);
    std::string Text() const;
    void SetReadOnly(bool readOnly);
};

// A multi-line text, read-only when asked.
class Memo : public Control {
public:
    Memo(Form& owner, const std::string& name);
    void SetLines(const std::vector<std::string>& lines);
    std::vector<std::string> Lines() const;
    void SetReadOnly(bool readOnly);
    void SetColor(TColor color);
};

enum class Orientation { Horizontal, Vertical };

// A slider. A vertical one has its minimum at the top.
class TrackBar : public Control {
public:
    TrackBar(Form& owner, const std::string& name, Orientation orientation = Orientation::Horizontal);
    void SetRange(int min, int max);
    int Min() const;
    int Max() const;
    // Setting the position fires OnChange when it changes, as moving it does.
    void SetPosition(int position);
    int Position() const;
    void SetLineSize(int step);
    void SetPageSize(int step);
    void SetFrequency(int ticks);  // kept; ticks are drawn only with a tick style
    void SetTicksVisible(bool visible);
    // Moves by line steps, as the arrow keys do.
    void StepBy(int lines);
    TNotify OnChange;
};

enum class UpDownButton { Up, Down };

// Two arrow buttons that step a position within its range by the increment
// (the up button adds it, so a negative increment counts down).
class UpDown : public Control {
public:
    UpDown(Form& owner, const std::string& name);
    void SetRange(int min, int max);
    void SetIncrement(int increment);
    void SetPosition(int position);
    int Position() const;
    int Min() const { return min_; }
    int Max() const { return max_; }
    // A click on one of the arrows: steps, then fires OnClick.
    void Click(UpDownButton button);
    std::function<void(UpDownButton)> OnClick;

private:
    int min_ = 0, max_ = 100, position_ = 0, increment_ = 1;
};

// A progress bar that logic drives through wb::Progress.
class ProgressBar : public Control, public wb::Progress {
public:
    ProgressBar(Form& owner, const std::string& name);
    void SetRange(int min, int max);
    void SetVisible(bool visible) override { Control::SetVisible(visible); }
    int Max() const override;
    void SetPosition(int position) override;
    int Position() const;
    bool Visible() const { return Control::Visible(); }
};

// A picture drawn through a canvas at the control's size, so it stretches
// with the control.
class Image : public Control {
public:
    Image(Form& owner, const std::string& name);
    std::function<void(Canvas&, int width, int height)> OnPaint;
    void Invalidate();
};

enum class BevelStyle { Lowered, Raised };

// A frame drawn around an area.
class Bevel : public Control {
public:
    Bevel(Form& owner, const std::string& name, BevelStyle style = BevelStyle::Lowered);
};

// A menu of the form's menu bar, or an item of a menu. The caption "-" makes
// a separator. Items appear in the order they are made.
class MenuItem {
public:
    MenuItem(Form& owner, const std::string& name, const std::string& caption);
    MenuItem(MenuItem& parent, const std::string& name, const std::string& caption,
             const std::string& shortCut = "");
    ~MenuItem();
    MenuItem(const MenuItem&) = delete;
    MenuItem& operator=(const MenuItem&) = delete;

    void SetEnabled(bool enabled);
    bool Enabled() const;
    std::string Caption() const;
    std::string ShortCut() const;
    std::string Name() const { return name_; }
    // Chooses the item as the user would: nothing happens while disabled.
    void Click();
    TNotify OnClick;

    QAction* Action() const { return action_; }

private:
    std::string name_;
    QMenu* menu_ = nullptr;  // for a menu of the bar
    QAction* action_ = nullptr;
};

enum class FormKind {
    Main,   // the program's window: Escape does not close it
    Dialog  // a secondary form, usually shown modally
};

class Form {
public:
    Form(const std::string& name, FormKind kind);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    void SetCaption(const std::string& caption);
    std::string Caption() const;
    // The client area, below the menu bar when there is one.
    void SetClientSize(int width, int height);
    int ClientWidth() const;
    int ClientHeight() const;
    void SetColor(TColor color);
    void SetFont(const std::string& family, int pixelHeight);
    // A single border: no resizing, no maximise button.
    void SetSingleBorder(bool minimizeBox);
    void SetAlwaysOnTop(bool onTop);

    void Show();
    // Runs until the form is closed; gives the result of ModalResult.
    int ShowModal();
    void Close();
    bool Visible() const;
    void SetModalResult(int result);

    // Shows the form and runs the event loop until it closes.
    int RunAsMain();
    // Runs a piece of work once the event loop is running.
    static void Post(TNotify work);

    // Writes a picture of the whole form, menu bar included.
    bool SaveScreenshot(const std::string& pngPath);

    // When the form is closed by any means.
    TNotify OnClose;

    QWidget* Window() const;
    QWidget* Client() const;
    QMenu* AddMenu(const std::string& caption);

private:
    struct Impl;
    std::unique_ptr<Impl> d_;
};

} // namespace wb::gui::widgets
