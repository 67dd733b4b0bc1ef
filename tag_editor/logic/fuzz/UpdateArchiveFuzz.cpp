// The check a downloaded update archive passes before the updater gets it,
// fed whatever a server might send: it must answer, never read past the
// bytes it was given.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "tag_editor/logic/UpdateRules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    velmora::IsCompleteZip(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
