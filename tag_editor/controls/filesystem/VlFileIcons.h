#pragma once
// The extension icon cache that every file list shares; the desktop's own
// lookups are the layer's Icon::ForFile and Icon::ForVolume.
#include <string>

#include "platform/gui/Icon.h"

namespace velmora {

// A file's icon for a list: one per lower-case extension from the cache,
// except for the kinds whose files carry icons of their own.
wb::gui::Icon CachedFileIcon(const std::string& path, const std::string& name);
// The icons the cache holds now.
int CachedIconCount();

} // namespace velmora
