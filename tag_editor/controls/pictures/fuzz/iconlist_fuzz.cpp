// Reads any bytes as a stored icon list, writes it back and draws each icon.
#include <cstddef>
#include <cstdint>
#include <exception>

#include "tag_editor/controls/pictures/IcoList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velmora;
    TIconList list;
    try {
        list.ReadData(data, size);
    } catch (const std::exception&) {
        return 0;
    }
    std::vector<std::uint8_t> written = list.WriteData();
    TIconList again;
    again.ReadData(written.data(), written.size());
    for (int i = 0; i < list.GetCount(); ++i) {
        if (!list.GetIcon(i)) continue;
        try {
            list.GetIcon(i)->ToBitmap(wb::gui::clWhite);
        } catch (const std::exception&) {
        }
    }
    return 0;
}
