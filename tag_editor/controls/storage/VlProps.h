#pragma once
// Published properties of components as text keys and back, through
// caller-supplied read, write and erase handlers.
#include <functional>
#include <string>
#include <vector>

#include "platform/base/Component.h"

namespace velmora {

// The stored published properties of one object: every kind but methods
// and entries without a kind.
class TPropInfoList {
public:
    explicit TPropInfoList(const wb::Persistent* object);
    int Count() const { return static_cast<int>(items_.size()); }
    const wb::PropInfo* Item(int i) const { return items_.at(size_t(i)); }
    const wb::PropInfo* Find(std::string_view name) const;  // ignoring case

private:
    std::vector<const wb::PropInfo*> items_;
};

using TReadStrEvent = std::function<std::string(const std::string& section, const std::string& item,
                                                const std::string& def)>;
using TWriteStrEvent = std::function<void(const std::string& section, const std::string& item,
                                          const std::string& value)>;
using TEraseSectEvent = std::function<void(const std::string& section)>;

class TPropsStorage {
public:
    virtual ~TPropsStorage() = default;

    wb::Persistent* AObject = nullptr;
    wb::Component* Owner = nullptr;
    std::string Prefix;
    std::string Section;
    TReadStrEvent OnReadString;
    TWriteStrEvent OnWriteString;
    TEraseSectEvent OnEraseSection;

    // Every listed "Component.Property" of the owner's components.
    void SaveComponentProps(wb::Component* owner, wb::StringList& lines);
    void LoadComponentProps(wb::Component* owner, wb::StringList& lines);
    // One property of AObject.
    void StoreAnyProperty(const wb::PropInfo& prop);
    void LoadAnyProperty(const wb::PropInfo& prop);
    // Every stored property of AObject.
    void StoreProperties();
    void LoadProperties();

protected:
    virtual std::string ReadString(const std::string& section, const std::string& item, const std::string& def);
    virtual void WriteString(const std::string& section, const std::string& item, const std::string& value);
    virtual void EraseSection(const std::string& section);
    virtual std::string GetItemName(const std::string& propName) const { return Prefix + propName; }
    virtual std::unique_ptr<TPropsStorage> CreateStorage() const;

private:
    // Sets AObject and Prefix for each listed property found on its component
    // and hands the property to apply.
    void ForEachListedProperty(wb::Component* owner, wb::StringList& lines,
                               const std::function<void(const wb::PropInfo&)>& apply);
    std::string PropertyText(const wb::PropInfo& prop);
    void SetPropertyText(const wb::PropInfo& prop, const std::string& text);
    void StoreStrings(const wb::PropInfo& prop, wb::StringList& list);
    void LoadStrings(const wb::PropInfo& prop, wb::StringList& list);
    void StoreCollection(const wb::PropInfo& prop, wb::Collection& coll);
    void LoadCollection(const wb::PropInfo& prop, wb::Collection& coll);
    std::unique_ptr<TPropsStorage> Nested(wb::Persistent* object, const std::string& section,
                                          const std::string& prefix) const;
};

// A stored-property line: component name, ".", property name, both trimmed
// and not empty.
bool SplitStoredItem(const std::string& line, std::string& component, std::string& property);
std::string JoinStoredItem(const std::string& component, const std::string& property);
// From last line to first: a line that does not split goes. fromOwner: the
// owner's component of that name becomes the line's object (no such
// component: the line goes). Otherwise a line is rewritten with its
// object's present name (no object: the line goes).
void SyncStoredList(wb::Component* owner, wb::StringList& lines, bool fromOwner);

// The largest count of list lines or collection items a load accepts.
constexpr int kMaxStoredCount = 100000;

} // namespace velmora
