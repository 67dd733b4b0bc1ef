#include "tag_editor/controls/filesystem/VlLFName.h"

#include <filesystem>
#include <system_error>

#include "platform/base/TextUtil.h"

namespace velmora {

namespace fs = std::filesystem;

namespace {

// The on-disk spelling of `name` inside `dir`.
std::string LongName(const fs::path& dir, const std::string& name) {
    std::error_code ec;
    if (fs::exists(dir / name, ec)) return name;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        std::string candidate = it->path().filename().string();
        if (wb::SameText(candidate, name)) return candidate;
    }
    return name;
}

} // namespace

std::string MakeLongPath(const std::string& path) {
    std::error_code ec;
    fs::path full = fs::absolute(path.empty() ? fs::path(".") : fs::path(path), ec).lexically_normal();
    std::string text = full.string();
    if (text.size() <= 1) return text;
    if (text.size() > 1 && text.back() == '/') text.pop_back();
    fs::path result = "/";
    for (const fs::path& element : fs::path(text).relative_path())
        result /= LongName(result, element.string());
    return result.string();
}

std::string MakeShortPath(const std::string& path) { return path; }

} // namespace velmora
