#pragma once
// How the file-system controls show a message and open a file with the
// desktop. Tests put their own in place.
#include <functional>
#include <string>

namespace velmora {

struct TVlShell {
    static std::function<void(const std::string& text)> ShowInfo;
    static std::function<void(const std::string& text)> ShowError;
    static std::function<bool(const std::string& path)> Open;
};

} // namespace velmora
