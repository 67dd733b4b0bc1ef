#pragma once
// An icon of the desktop's theme, drawn through a canvas at any size; cheap
// to copy, since copies share one picture.
#include <memory>
#include <string>

#include "platform/base/Volumes.h"
#include "platform/gui/Geometry.h"

namespace wb::gui {

class Canvas;

class Icon {
public:
    Icon();
    ~Icon();
    Icon(const Icon&);
    Icon& operator=(const Icon&);

    bool IsNull() const;
    // The selected look is the desktop's own where its theme has one.
    void Draw(Canvas& canvas, const Rect& r, bool selected = false) const;

    // By MIME type from the file's extension, the style's own when the theme has none.
    static Icon ForFile(const std::string& path, bool isDir, bool open);
    static Icon ForVolume(VolumeKind kind);

private:
    friend struct IconAccess;
    struct Data;
    std::shared_ptr<const Data> data_;
};

} // namespace wb::gui
