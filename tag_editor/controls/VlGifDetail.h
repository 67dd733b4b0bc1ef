#pragma once
// What the GIF units share inside: the progress call of a long step.
#include <string>

#include "tag_editor/controls/VlGIF.h"

namespace velmora::gifdetail {

inline void ProgressAt(const TProgressEvent& progress, TProgressStage stage, int percent,
                       const std::string& msg = {}) {
    if (progress) progress(stage, percent, msg);
}

} // namespace velmora::gifdetail
