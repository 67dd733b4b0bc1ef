#include "platform/base/Published.h"

#include <cmath>
#include <cstdio>

#include "platform/base/Component.h"
#include "platform/base/TextUtil.h"

namespace wb {

std::string Variant::ToString() const {
    struct Visit {
        std::string operator()(std::monostate) const { return {}; }
        std::string operator()(bool b) const { return b ? "True" : "False"; }
        std::string operator()(int64_t i) const { return std::to_string(i); }
        std::string operator()(double d) const {
            char buf[64];
            std::snprintf(buf, sizeof buf, "%.15G", d);
            std::string s = buf;
            for (char& c : s)
                if (c == ',') c = '.';
            return s;
        }
        std::string operator()(const std::string& s) const { return s; }
    };
    return std::visit(Visit{}, v_);
}

int EnumType::IndexOf(std::string_view valueName) const {
    for (size_t i = 0; i < names.size(); ++i)
        if (SameText(names[i], valueName)) return static_cast<int>(i);
    return -1;
}

const EnumType& BooleanType() {
    static const EnumType t{"Boolean", {"False", "True"}};
    return t;
}

bool ClassInfo::InheritsFrom(const ClassInfo& other) const {
    for (const ClassInfo* c = this; c; c = c->parent_)
        if (c == &other) return true;
    return false;
}

std::vector<const PropInfo*> ClassInfo::Properties() const {
    std::vector<const PropInfo*> all = parent_ ? parent_->Properties() : std::vector<const PropInfo*>{};
    for (const auto& p : props_) {
        // A class may publish again what its parent declared: the later one counts.
        bool replaced = false;
        for (auto& q : all)
            if (SameText(q->name, p->name)) { q = p.get(); replaced = true; }
        if (!replaced) all.push_back(p.get());
    }
    return all;
}

const PropInfo* ClassInfo::FindProperty(std::string_view name) const {
    for (const ClassInfo* c = this; c; c = c->parent_)
        for (const auto& p : c->props_)
            if (SameText(p->name, name)) return p.get();
    return nullptr;
}

ClassInfo& ClassInfo::Add(PropInfo prop) {
    props_.push_back(std::make_unique<PropInfo>(std::move(prop)));
    return *this;
}

namespace {

[[noreturn]] void Misfit(const PropInfo& prop, const char* what) {
    throw PropertyError("Property \"" + prop.name + "\" " + what);
}

bool IsOrdinal(TypeKind k) {
    return k == TypeKind::Integer || k == TypeKind::Char || k == TypeKind::WChar ||
           k == TypeKind::Enumeration || k == TypeKind::Set;
}
bool IsString(TypeKind k) {
    return k == TypeKind::ShortString || k == TypeKind::LString || k == TypeKind::WString;
}

} // namespace

int64_t GetOrdProp(const Persistent& obj, const PropInfo& prop) {
    if (!IsOrdinal(prop.kind) || !prop.getOrd) Misfit(prop, "is not an ordinal property");
    return prop.getOrd(obj);
}
void SetOrdProp(Persistent& obj, const PropInfo& prop, int64_t value) {
    if (!IsOrdinal(prop.kind)) Misfit(prop, "is not an ordinal property");
    if (!prop.setOrd) Misfit(prop, "is read only");
    prop.setOrd(obj, value);
}
double GetFloatProp(const Persistent& obj, const PropInfo& prop) {
    if (prop.kind != TypeKind::Float || !prop.getFloat) Misfit(prop, "is not a real property");
    return prop.getFloat(obj);
}
void SetFloatProp(Persistent& obj, const PropInfo& prop, double value) {
    if (prop.kind != TypeKind::Float) Misfit(prop, "is not a real property");
    if (!prop.setFloat) Misfit(prop, "is read only");
    prop.setFloat(obj, value);
}
std::string GetStrProp(const Persistent& obj, const PropInfo& prop) {
    if (!IsString(prop.kind) || !prop.getStr) Misfit(prop, "is not a text property");
    return prop.getStr(obj);
}
void SetStrProp(Persistent& obj, const PropInfo& prop, const std::string& value) {
    if (!IsString(prop.kind)) Misfit(prop, "is not a text property");
    if (!prop.setStr) Misfit(prop, "is read only");
    prop.setStr(obj, value);
}
Variant GetVariantProp(const Persistent& obj, const PropInfo& prop) {
    if (prop.kind != TypeKind::Variant || !prop.getVar) Misfit(prop, "is not a variant property");
    return prop.getVar(obj);
}
void SetVariantProp(Persistent& obj, const PropInfo& prop, const Variant& value) {
    if (prop.kind != TypeKind::Variant) Misfit(prop, "is not a variant property");
    if (!prop.setVar) Misfit(prop, "is read only");
    prop.setVar(obj, value);
}
int64_t GetInt64Prop(const Persistent& obj, const PropInfo& prop) {
    if (prop.kind != TypeKind::Int64 || !prop.getOrd) Misfit(prop, "is not a 64-bit property");
    return prop.getOrd(obj);
}
void SetInt64Prop(Persistent& obj, const PropInfo& prop, int64_t value) {
    if (prop.kind != TypeKind::Int64) Misfit(prop, "is not a 64-bit property");
    if (!prop.setOrd) Misfit(prop, "is read only");
    prop.setOrd(obj, value);
}
Persistent* GetObjectProp(const Persistent& obj, const PropInfo& prop) {
    if (prop.kind != TypeKind::Class || !prop.getObj) Misfit(prop, "is not an object property");
    return prop.getObj(obj);
}
void SetObjectProp(Persistent& obj, const PropInfo& prop, Persistent* value) {
    if (prop.kind != TypeKind::Class) Misfit(prop, "is not an object property");
    if (!prop.setObj) Misfit(prop, "is read only");
    prop.setObj(obj, value);
}

} // namespace wb
