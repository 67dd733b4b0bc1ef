#pragma once
// A label that shows one entry of the running program's own version information.
#include <string>

#include "platform/base/VersionInfo.h"
#include "platform/gui/StdCtrls.h"

namespace velmora {

enum TInfoCategory : uint8_t {
    icVersion, icCompanyName, icFileDescription, icInternalName, icLegalCopyright,
    icLegalTrademarks, icOriginalFilename, icProductName, icComments
};

class TVersionView : public wb::gui::Label {
public:
    using Label::Label;
    static const wb::ClassInfo& StaticClass();
    const wb::ClassInfo& Class() const override { return StaticClass(); }

    TInfoCategory InfoCategory() const { return infoCategory_; }
    void SetInfoCategory(TInfoCategory c) { infoCategory_ = c; }
    // The file version's four numbers joined by dots; empty until built.
    std::string VersionNumber;

    std::string GetLabelText() override;

private:
    TInfoCategory infoCategory_ = icVersion;
    std::string shownText_;
};

// The program's version information, read once at start. Replacing it (or
// giving none) serves programs and tests with other data.
const wb::VersionData* ProgramVersionData();
void SetProgramVersionData(const wb::VersionData* data);

} // namespace velmora
