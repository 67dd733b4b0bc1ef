#pragma once
// A progress bar as logic sees it: the window's bar implements this, tests
// use a recording fake, so long computations report progress without Qt.

namespace wb {

class Progress {
public:
    virtual ~Progress() = default;
    virtual void SetVisible(bool visible) = 0;
    virtual int Max() const = 0;
    virtual void SetPosition(int position) = 0;
};

} // namespace wb
