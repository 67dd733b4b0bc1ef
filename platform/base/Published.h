#pragma once
// Published properties: what a class lists about itself so its state can be
// written out as text and read back by name, without knowing the class.
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/Variant.h"

namespace wb {

class Persistent;
class ClassInfo;

enum class TypeKind {
    Unknown, Integer, Char, Enumeration, Float, ShortString, Set, Class, Method,
    WChar, LString, WString, Variant, Array, Record, Interface, Int64
};

enum class FloatType { Single, Double, Extended, Comp, Currency };

// The names of an enumeration's values by ordinal; also the member type of a set.
struct EnumType {
    std::string name;
    std::vector<std::string> names;
    int IndexOf(std::string_view valueName) const;  // ignoring case; -1 when none
};
const EnumType& BooleanType();  // "False", "True"

class PropertyError : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

// One published property. Ordinal kinds (integer, character, wide character,
// enumeration, set as a bit mask) share the ordinal accessors.
struct PropInfo {
    std::string name;
    TypeKind kind = TypeKind::Unknown;
    const EnumType* enumType = nullptr;    // enumeration; set members
    FloatType floatType = FloatType::Double;
    const ClassInfo* classType = nullptr;  // class kind: the declared class

    std::function<int64_t(const Persistent&)> getOrd;
    std::function<void(Persistent&, int64_t)> setOrd;
    std::function<double(const Persistent&)> getFloat;
    std::function<void(Persistent&, double)> setFloat;
    std::function<std::string(const Persistent&)> getStr;
    std::function<void(Persistent&, const std::string&)> setStr;
    std::function<Variant(const Persistent&)> getVar;
    std::function<void(Persistent&, const Variant&)> setVar;
    std::function<Persistent*(const Persistent&)> getObj;
    std::function<void(Persistent&, Persistent*)> setObj;
};

// A class's name, its parent and its own published properties in
// declaration order.
class ClassInfo {
public:
    ClassInfo(std::string name, const ClassInfo* parent) : name_(std::move(name)), parent_(parent) {}
    ClassInfo(const ClassInfo&) = delete;
    ClassInfo& operator=(const ClassInfo&) = delete;

    const std::string& Name() const { return name_; }
    const ClassInfo* Parent() const { return parent_; }
    bool InheritsFrom(const ClassInfo& other) const;
    // Inherited properties first, then this class's own, in declaration order.
    std::vector<const PropInfo*> Properties() const;
    const PropInfo* FindProperty(std::string_view name) const;  // ignoring case

    ClassInfo& Add(PropInfo prop);

    // Builders for the common shapes; C is the class declaring the property.
    template <class C, class T>
    ClassInfo& Integer(std::string name, T (C::*get)() const, void (C::*set)(T)) {
        return Ordinal<C, T>(std::move(name), TypeKind::Integer, nullptr, get, set);
    }
    template <class C>
    ClassInfo& Boolean(std::string name, bool (C::*get)() const, void (C::*set)(bool)) {
        return Ordinal<C, bool>(std::move(name), TypeKind::Enumeration, &BooleanType(), get, set);
    }
    template <class C, class E>
    ClassInfo& Enum(std::string name, const EnumType& type, E (C::*get)() const, void (C::*set)(E)) {
        return Ordinal<C, E>(std::move(name), TypeKind::Enumeration, &type, get, set);
    }
    // A set of members of an enumeration, held as a bit mask (bit n = ordinal n).
    template <class C>
    ClassInfo& Set(std::string name, const EnumType& members, uint32_t (C::*get)() const,
                   void (C::*set)(uint32_t)) {
        return Ordinal<C, uint32_t>(std::move(name), TypeKind::Set, &members, get, set);
    }
    template <class C>
    ClassInfo& String(std::string name, std::string (C::*get)() const,
                      void (C::*set)(const std::string&)) {
        PropInfo p;
        p.name = std::move(name);
        p.kind = TypeKind::LString;
        p.getStr = [get](const Persistent& o) { return (static_cast<const C&>(o).*get)(); };
        if (set) p.setStr = [set](Persistent& o, const std::string& v) { (static_cast<C&>(o).*set)(v); };
        return Add(std::move(p));
    }
    // An object property; the setter may be null (the object is owned and
    // read only, its contents are what gets stored).
    template <class C, class T>
    ClassInfo& Object(std::string name, const ClassInfo& type, T* (C::*get)() const,
                      void (C::*set)(T*) = nullptr) {
        PropInfo p;
        p.name = std::move(name);
        p.kind = TypeKind::Class;
        p.classType = &type;
        p.getObj = [get](const Persistent& o) -> Persistent* { return (static_cast<const C&>(o).*get)(); };
        if (set)
            p.setObj = [set](Persistent& o, Persistent* v) { (static_cast<C&>(o).*set)(dynamic_cast<T*>(v)); };
        return Add(std::move(p));
    }

private:
    template <class C, class T>
    ClassInfo& Ordinal(std::string name, TypeKind kind, const EnumType* type, T (C::*get)() const,
                       void (C::*set)(T)) {
        PropInfo p;
        p.name = std::move(name);
        p.kind = kind;
        p.enumType = type;
        p.getOrd = [get](const Persistent& o) { return static_cast<int64_t>((static_cast<const C&>(o).*get)()); };
        if (set) p.setOrd = [set](Persistent& o, int64_t v) { (static_cast<C&>(o).*set)(static_cast<T>(v)); };
        return Add(std::move(p));
    }

    std::string name_;
    const ClassInfo* parent_;
    std::vector<std::unique_ptr<PropInfo>> props_;
};

// Typed access; a kind that does not fit, or a property without a setter,
// throws PropertyError.
int64_t GetOrdProp(const Persistent& obj, const PropInfo& prop);
void SetOrdProp(Persistent& obj, const PropInfo& prop, int64_t value);
double GetFloatProp(const Persistent& obj, const PropInfo& prop);
void SetFloatProp(Persistent& obj, const PropInfo& prop, double value);
std::string GetStrProp(const Persistent& obj, const PropInfo& prop);
void SetStrProp(Persistent& obj, const PropInfo& prop, const std::string& value);
Variant GetVariantProp(const Persistent& obj, const PropInfo& prop);
void SetVariantProp(Persistent& obj, const PropInfo& prop, const Variant& value);
int64_t GetInt64Prop(const Persistent& obj, const PropInfo& prop);
void SetInt64Prop(Persistent& obj, const PropInfo& prop, int64_t value);
Persistent* GetObjectProp(const Persistent& obj, const PropInfo& prop);
void SetObjectProp(Persistent& obj, const PropInfo& prop, Persistent* value);

} // namespace wb
