#pragma once
// The desktop's icons for files, folders and drives, and the extension icon
// cache that every file list shares.
#include <QIcon>

#include <string>

#include "platform/base/Volumes.h"

namespace velmora {

// The icon of a file or folder from the icon theme by MIME type, the style's
// own when the theme has none.
QIcon DesktopIcon(const std::string& path, bool isDir, bool open);
QIcon DriveIcon(wb::VolumeKind kind);
// A file's icon for a list: one per lower-case extension from the cache,
// except for the kinds whose files carry icons of their own.
QIcon CachedFileIcon(const std::string& path, const std::string& name);
// The icons the cache holds now.
int CachedIconCount();

} // namespace velmora
