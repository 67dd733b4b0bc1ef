#include "tag_editor/controls/storage/VlProps.h"

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <map>

#include "platform/base/CodePage.h"
#include "platform/base/ScopeExit.h"
#include "platform/base/TextUtil.h"
#include "tag_editor/controls/storage/StrUtils.h"

namespace velmora {

using wb::PropInfo;
using wb::TypeKind;

TPropInfoList::TPropInfoList(const wb::Persistent* object) {
    if (!object) return;
    for (const PropInfo* p : object->Class().Properties())
        if (p->kind != TypeKind::Method && p->kind != TypeKind::Unknown) items_.push_back(p);
}

const PropInfo* TPropInfoList::Find(std::string_view name) const {
    for (const PropInfo* p : items_)
        if (wb::SameText(p->name, name)) return p;
    return nullptr;
}

// ---- stored-property lines

bool SplitStoredItem(const std::string& line, std::string& component, std::string& property) {
    component.clear();
    property.clear();
    size_t dot = line.find('.');
    if (line.empty() || dot == std::string::npos) return false;
    component = wb::Trim(std::string_view(line).substr(0, dot));
    property = wb::Trim(std::string_view(line).substr(dot + 1));
    return !component.empty() && !property.empty();
}

std::string JoinStoredItem(const std::string& component, const std::string& property) {
    if (component.empty() || property.empty()) return {};
    return component + "." + property;
}

void SyncStoredList(wb::Component* owner, wb::StringList& lines, bool fromOwner) {
    for (int i = lines.Count() - 1; i >= 0; --i) {
        std::string component, property;
        if (!SplitStoredItem(lines[i], component, property)) {
            lines.Delete(i);
            continue;
        }
        if (fromOwner) {
            wb::Component* c = owner ? owner->FindComponent(component) : nullptr;
            if (c) lines.SetObject(i, c);
            else lines.Delete(i);
        } else if (auto* c = dynamic_cast<wb::Component*>(lines.Object(i))) {
            lines.Set(i, JoinStoredItem(c->Name(), property));
        } else {
            lines.Delete(i);
        }
    }
}

// ---- conversions

namespace {

int SignificantDigits(wb::FloatType t) {
    switch (t) {
        case wb::FloatType::Single: return 7;
        case wb::FloatType::Double: return 15;
        case wb::FloatType::Extended: return 18;
        case wb::FloatType::Comp: return 18;
        case wb::FloatType::Currency: return 19;
    }
    return 15;
}

std::string FloatText(double v, wb::FloatType t) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*G", SignificantDigits(t), v);
    std::string s = buf;
    for (char& c : s)
        if (c == ',') c = '.';  // the locale's separator, whatever it is
    return s;
}

double ParseFloat(const std::string& text) {
    std::string s = text;
    for (char& c : s)
        if (c == ',') c = '.';
    double v = 0;
    const char* first = s.data();
    if (!s.empty() && *first == '+') ++first;
    auto [ptr, ec] = std::from_chars(first, s.data() + s.size(), v);
    if (ec != std::errc() || ptr != s.data() + s.size() || s.empty())
        throw wb::PropertyError("\"" + text + "\" is not a valid number");
    return v;
}

int64_t ParseInt(const std::string& text) {
    int64_t v = 0;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (first != last && *first == '+') ++first;
    auto [ptr, ec] = std::from_chars(first, last, v);
    return ec == std::errc() && ptr == last && !text.empty() ? v : 0;
}

bool IsStringKind(TypeKind k) {
    return k == TypeKind::ShortString || k == TypeKind::LString || k == TypeKind::WChar;
}

// The first code point of UTF-8 text, or -1 for an empty text.
int64_t FirstCodePoint(const std::string& s) {
    if (s.empty()) return -1;
    auto b = static_cast<unsigned char>(s[0]);
    int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
    int64_t cp = extra == 0 ? b : b & (0x3F >> extra);
    for (int i = 1; i <= extra && size_t(i) < s.size(); ++i)
        cp = (cp << 6) | (static_cast<unsigned char>(s[size_t(i)]) & 0x3F);
    return cp;
}

// A stored value is one line of its file, so a line break (CR LF, CR or LF)
// and every other control character are stored as one blank each, rather
// than refused and the setting lost.
std::string OneLine(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        out += c < 0x20 || c == 0x7F ? ' ' : char(c);
    }
    return out;
}

bool IsComponentProperty(const PropInfo& prop, wb::Persistent* value) {
    if (value) return dynamic_cast<wb::Component*>(value) != nullptr;
    return prop.classType && prop.classType->InheritsFrom(wb::Component::StaticClass());
}

} // namespace

std::string TPropsStorage::PropertyText(const PropInfo& prop) {
    const wb::Persistent& obj = *AObject;
    switch (prop.kind) {
        case TypeKind::Integer: return std::to_string(wb::GetOrdProp(obj, prop));
        case TypeKind::Char: return std::string(1, static_cast<char>(wb::GetOrdProp(obj, prop)));
        case TypeKind::WChar: {
            std::string s;
            wb::AppendUtf8(s, static_cast<char32_t>(wb::GetOrdProp(obj, prop)));
            return s;
        }
        case TypeKind::Enumeration: {
            int64_t v = wb::GetOrdProp(obj, prop);
            const auto& names = prop.enumType->names;
            return v >= 0 && size_t(v) < names.size() ? names[size_t(v)] : std::to_string(v);
        }
        case TypeKind::Float: return FloatText(wb::GetFloatProp(obj, prop), prop.floatType);
        case TypeKind::ShortString:
        case TypeKind::LString: return wb::GetStrProp(obj, prop);
        case TypeKind::Set: {
            uint64_t mask = static_cast<uint64_t>(wb::GetOrdProp(obj, prop));
            std::string s = "[";
            const auto& names = prop.enumType->names;
            for (size_t i = 0; i < names.size() && i < 32; ++i) {
                if (!(mask & (uint64_t(1) << i))) continue;
                if (s.size() > 1) s += ",";
                s += names[i];
            }
            return s + "]";
        }
        case TypeKind::Variant: return wb::GetVariantProp(obj, prop).ToString();
        case TypeKind::Int64: return std::to_string(wb::GetInt64Prop(obj, prop));
        case TypeKind::Class: {
            wb::Persistent* value = wb::GetObjectProp(obj, prop);
            if (!IsComponentProperty(prop, value)) return {};
            auto* c = dynamic_cast<wb::Component*>(value);
            if (!c) return "(null)";
            if (!c->Owner() || c->Owner() == Owner) return c->Name();
            std::string ownerName = c->Owner()->Name();
            if (ownerName.empty()) {
                ownerName = c->Owner()->ClassName();
                if (!ownerName.empty() && (ownerName[0] == 'T' || ownerName[0] == 't'))
                    ownerName.erase(0, 1);
            }
            return ownerName + "." + c->Name();
        }
        default: return {};
    }
}

void TPropsStorage::SetPropertyText(const PropInfo& prop, const std::string& text) {
    wb::Persistent& obj = *AObject;
    switch (prop.kind) {
        case TypeKind::Integer: {
            // An integer property holds 32 bits: a larger number does not convert.
            const int64_t v = ParseInt(text);
            wb::SetOrdProp(obj, prop, v >= INT32_MIN && v <= INT32_MAX ? v : 0);
            break;
        }
        case TypeKind::Char:
            if (!text.empty()) wb::SetOrdProp(obj, prop, static_cast<unsigned char>(text[0]));
            break;
        case TypeKind::WChar:
            if (!text.empty()) wb::SetOrdProp(obj, prop, FirstCodePoint(text));
            break;
        case TypeKind::Enumeration: {
            int v = prop.enumType->IndexOf(text);
            if (v >= 0) wb::SetOrdProp(obj, prop, v);
            break;
        }
        case TypeKind::Float: wb::SetFloatProp(obj, prop, ParseFloat(text)); break;
        case TypeKind::ShortString:
        case TypeKind::LString: wb::SetStrProp(obj, prop, text); break;
        case TypeKind::Set: {
            uint32_t mask = 0;
            for (int i = 1, n = CountWords(text, " ,[]"); i <= n; ++i) {
                int v = prop.enumType->IndexOf(NthWord(i, text, " ,[]"));
                if (v >= 0 && v < 32) mask |= uint32_t(1) << v;
            }
            wb::SetOrdProp(obj, prop, mask);
            break;
        }
        case TypeKind::Variant: wb::SetVariantProp(obj, prop, wb::Variant(text)); break;
        case TypeKind::Int64: wb::SetInt64Prop(obj, prop, ParseInt(text)); break;
        case TypeKind::Class: {
            if (text.empty()) break;
            if (wb::SameText(text, "(null)")) {
                wb::SetObjectProp(obj, prop, nullptr);
                break;
            }
            std::string ownerName, name;
            size_t dot = text.find('.');
            if (dot == std::string::npos) name = wb::Trim(text);
            else {
                ownerName = wb::Trim(std::string_view(text).substr(0, dot));
                name = wb::Trim(std::string_view(text).substr(dot + 1));
            }
            wb::Component* owner = ownerName.empty() ? Owner : wb::FindFormByName(ownerName);
            if (owner) wb::SetObjectProp(obj, prop, owner->FindComponent(name));
            break;
        }
        default: break;
    }
}

// ---- storage

std::string TPropsStorage::ReadString(const std::string& section, const std::string& item,
                                      const std::string& def) {
    return OnReadString ? OnReadString(section, item, def) : std::string();
}

void TPropsStorage::WriteString(const std::string& section, const std::string& item, const std::string& value) {
    if (OnWriteString) OnWriteString(section, item, value);
}

void TPropsStorage::EraseSection(const std::string& section) {
    if (OnEraseSection) OnEraseSection(section);
}

std::unique_ptr<TPropsStorage> TPropsStorage::CreateStorage() const { return std::make_unique<TPropsStorage>(); }

std::unique_ptr<TPropsStorage> TPropsStorage::Nested(wb::Persistent* object, const std::string& section,
                                                     const std::string& prefix) const {
    auto s = CreateStorage();
    s->AObject = object;
    s->Owner = Owner;
    s->Section = section;
    s->Prefix = prefix;
    s->OnReadString = OnReadString;
    s->OnWriteString = OnWriteString;
    s->OnEraseSection = OnEraseSection;
    return s;
}

void TPropsStorage::StoreAnyProperty(const PropInfo& prop) {
    if (!AObject) return;
    if (prop.kind == TypeKind::Class) {
        wb::Persistent* value = wb::GetObjectProp(*AObject, prop);
        if (auto* list = dynamic_cast<wb::StringList*>(value)) return StoreStrings(prop, *list);
        if (auto* coll = dynamic_cast<wb::Collection*>(value)) return StoreCollection(prop, *coll);
        if (value && !IsComponentProperty(prop, value)) {
            Nested(value, Section, GetItemName(prop.name))->StoreProperties();
            return;
        }
    }
    std::string text = PropertyText(prop);
    if (text.empty() && !IsStringKind(prop.kind)) return;
    WriteString(Section, GetItemName(prop.name), OneLine(wb::Trim(text)));
}

void TPropsStorage::LoadAnyProperty(const PropInfo& prop) {
    if (!AObject) return;
    try {
        if (prop.kind == TypeKind::Class) {
            wb::Persistent* value = wb::GetObjectProp(*AObject, prop);
            if (auto* list = dynamic_cast<wb::StringList*>(value)) return LoadStrings(prop, *list);
            if (auto* coll = dynamic_cast<wb::Collection*>(value)) return LoadCollection(prop, *coll);
            if (value && !IsComponentProperty(prop, value)) {
                Nested(value, Section, GetItemName(prop.name))->LoadProperties();
                return;
            }
        }
        std::string text = PropertyText(prop);
        if (!text.empty() || IsStringKind(prop.kind) || prop.kind == TypeKind::Class)
            text = wb::Trim(ReadString(Section, GetItemName(prop.name), text));
        else
            text.clear();
        SetPropertyText(prop, text);
    } catch (const std::exception&) {
        // A value that does not convert leaves the property as it was.
    }
}

void TPropsStorage::StoreProperties() {
    TPropInfoList list(AObject);
    for (int i = 0; i < list.Count(); ++i) StoreAnyProperty(*list.Item(i));
}

void TPropsStorage::LoadProperties() {
    TPropInfoList list(AObject);
    for (int i = 0; i < list.Count(); ++i) LoadAnyProperty(*list.Item(i));
}

void TPropsStorage::StoreStrings(const PropInfo& prop, wb::StringList& list) {
    std::string section = Section + "." + GetItemName(prop.name);
    EraseSection(section);
    if (list.Count() == 0) return;
    // "Count" goes last: a write that fails on the way leaves no count that
    // promises lines the section does not hold.
    for (int i = 0; i < list.Count(); ++i) WriteString(section, "Item" + std::to_string(i), OneLine(list[i]));
    WriteString(section, "Count", std::to_string(list.Count()));
}

void TPropsStorage::LoadStrings(const PropInfo& prop, wb::StringList& list) {
    std::string section = Section + "." + GetItemName(prop.name);
    int64_t count = ParseInt(wb::Trim(ReadString(section, "Count", "0")));
    // A damaged count must not hang the load nor empty the list.
    if (count <= 0 || count > kMaxStoredCount) return;
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i) lines.push_back(ReadString(section, "Item" + std::to_string(i), ""));
    list.SetLines(lines);
}

void TPropsStorage::StoreCollection(const PropInfo& prop, wb::Collection& coll) {
    std::string item = GetItemName(prop.name);
    std::string section = Section + "." + item;
    EraseSection(section);
    WriteString(Section, item + ".Count", std::to_string(coll.Count()));
    for (int i = 0; i < coll.Count(); ++i)
        Nested(coll.Item(i), section, "Item" + std::to_string(i) + "_")->StoreProperties();
}

void TPropsStorage::LoadCollection(const PropInfo& prop, wb::Collection& coll) {
    std::string item = GetItemName(prop.name);
    std::string section = Section + "." + item;
    std::string text = wb::Trim(ReadString(Section, item + ".Count", std::to_string(coll.Count())));
    int64_t count = ParseInt(text);
    if (count < 0 || count > kMaxStoredCount || (count == 0 && text != "0")) return;
    coll.BeginUpdate();
    auto endUpdate = wb::OnScopeExit([&] { coll.EndUpdate(); });
    if (count != coll.Count()) {
        coll.Clear();
        for (int i = 0; i < count; ++i) coll.Add();
    }
    for (int i = 0; i < coll.Count(); ++i)
        Nested(coll.Item(i), section, "Item" + std::to_string(i) + "_")->LoadProperties();
}

void TPropsStorage::ForEachListedProperty(wb::Component* owner, wb::StringList& lines,
                                         const std::function<void(const PropInfo&)>& apply) {
    std::map<std::string, std::unique_ptr<TPropInfoList>> lists;
    try {
        SyncStoredList(owner, lines, false);
        for (int i = 0; i < lines.Count(); ++i)
            if (auto* c = dynamic_cast<wb::Component*>(lines.Object(i)))
                lists.try_emplace(wb::LowerText(c->Name()), std::make_unique<TPropInfoList>(c));
    } catch (const std::exception&) {
        return;
    }
    Owner = owner;
    for (int i = 0; i < lines.Count(); ++i) {
        std::string component, property;
        if (!SplitStoredItem(lines[i], component, property)) continue;
        auto* c = dynamic_cast<wb::Component*>(lines.Object(i));
        if (!c) continue;
        AObject = c;
        Prefix = c->Name();
        auto it = lists.find(wb::LowerText(c->Name()));
        if (it == lists.end()) continue;
        Prefix = c->Name() + "_";
        if (const PropInfo* p = it->second->Find(property)) apply(*p);
    }
    Owner = nullptr;
    AObject = nullptr;
}

void TPropsStorage::SaveComponentProps(wb::Component* owner, wb::StringList& lines) {
    // A storage that fails is not passed over: the other properties are
    // still stored, then the first failure goes on to the caller.
    std::exception_ptr failure;
    ForEachListedProperty(owner, lines, [this, &failure](const PropInfo& p) {
        try {
            StoreAnyProperty(p);
        } catch (const wb::PropertyError&) {
            // A property that cannot be read keeps the value stored before.
        } catch (...) {
            if (!failure) failure = std::current_exception();
        }
    });
    if (failure) std::rethrow_exception(failure);
}

void TPropsStorage::LoadComponentProps(wb::Component* owner, wb::StringList& lines) {
    ForEachListedProperty(owner, lines, [this](const PropInfo& p) { LoadAnyProperty(p); });
}

} // namespace velmora
