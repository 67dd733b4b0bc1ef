#include "tag_editor/controls/decoration/VerView.h"

#include <optional>

#include "ProgramVersion.h"

namespace velmora {

namespace {

wb::VersionData BuiltIn() {
    wb::VersionData d;
    d.fileVersion[0] = WB_VERSION_MAJOR;
    d.fileVersion[1] = WB_VERSION_MINOR;
    d.fileVersion[2] = WB_VERSION_PATCH;
    d.fileVersion[3] = WB_VERSION_TWEAK;
    d.translations = {0x04E40409};  // US English, Western code page
    d.strings["040904E4"] = {
        {"CompanyName", "Velmora"},
        {"FileDescription", "Velmora MP3 tag editor"},
        {"FileVersion", WB_VERSION_TEXT},
        {"InternalName", "velmora"},
        {"OriginalFilename", "velmora"},
        {"ProductName", "Velmora"},
        {"ProductVersion", WB_VERSION_TEXT},
    };
    return d;
}

struct UnitState {
    wb::VersionData builtIn = BuiltIn();
    const wb::VersionData* data = &builtIn;
};
UnitState& State() {
    static UnitState s;
    return s;
}

const char* const kEntryNames[] = {"", "CompanyName", "FileDescription", "InternalName", "LegalCopyright",
                                   "LegalTrademarks", "OriginalFilename", "ProductName", "Comments"};

std::string Hex4(uint32_t v) {
    static const char digits[] = "0123456789ABCDEF";
    std::string s(4, '0');
    for (int i = 3; i >= 0; --i, v >>= 4) s[size_t(i)] = digits[v & 15];
    return s;
}

const wb::EnumType& InfoCategoryType() {
    static const wb::EnumType t{"TInfoCategory",
                                {"icVersion", "icCompanyName", "icFileDescription", "icInternalName",
                                 "icLegalCopyright", "icLegalTrademarks", "icOriginalFilename", "icProductName",
                                 "icComments"}};
    return t;
}

} // namespace

const wb::VersionData* ProgramVersionData() { return State().data; }
void SetProgramVersionData(const wb::VersionData* data) { State().data = data; }

const wb::ClassInfo& TVersionView::StaticClass() {
    static wb::ClassInfo& info = []() -> wb::ClassInfo& {
        static wb::ClassInfo i("TVersionView", &wb::gui::Label::StaticClass());
        i.Enum<TVersionView, TInfoCategory>("InfoCategory", InfoCategoryType(), &TVersionView::InfoCategory,
                                            &TVersionView::SetInfoCategory);
        return i;
    }();
    return info;
}

std::string TVersionView::GetLabelText() {
    shownText_ = "Unknown";
    const wb::VersionData* data = ProgramVersionData();
    if (!data) return shownText_;
    wb::VersionValue v;
    if (infoCategory_ == icVersion) {
        if (wb::QueryVersionValue(*data, "\\", v))
            VersionNumber = std::to_string(v.fileVersionMS >> 16) + "." + std::to_string(v.fileVersionMS & 0xFFFF) +
                            "." + std::to_string(v.fileVersionLS >> 16) + "." +
                            std::to_string(v.fileVersionLS & 0xFFFF);
        shownText_ = "Version " + VersionNumber;
        return shownText_;
    }
    if (infoCategory_ > icComments) return shownText_;
    std::string key;
    if (wb::QueryVersionValue(*data, "\\\\VarFileInfo\\\\Translation", v) && !v.translations.empty())
        key = Hex4(v.translations[0] & 0xFFFF) + Hex4(v.translations[0] >> 16);
    if (wb::QueryVersionValue(*data, "\\\\StringFileInfo\\\\" + key + "\\\\" + kEntryNames[infoCategory_], v))
        // A reported length of 0 is an empty text, not one less than nothing.
        shownText_ = v.length == 0 ? std::string() : v.text.substr(0, v.length - 1);
    return shownText_;
}

} // namespace velmora
