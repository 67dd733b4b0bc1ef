#pragma once
// Long and short forms of a path.
#include <string>

namespace velmora {

// The absolute path with every element spelt as it is on disk: an element
// that does not exist in that spelling is matched without regard to case,
// and kept as given when nothing matches.
std::string MakeLongPath(const std::string& path);

// Linux volumes keep no short names: the path itself.
std::string MakeShortPath(const std::string& path);

} // namespace velmora
