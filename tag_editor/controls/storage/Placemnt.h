#pragma once
// Saving and restoring a form's placement, focused control, chosen
// properties and free values in a settings file.
#include <functional>
#include <memory>
#include <string>

#include "platform/base/Component.h"
#include "platform/base/IniFile.h"
#include "platform/gui/Form.h"
#include "tag_editor/controls/VlHook.h"

namespace velmora {

enum TPlacementOption : uint32_t { fpState = 1, fpPosition = 2, fpActiveControl = 4 };
using TPlacementOptions = uint32_t;
const wb::EnumType& PlacementOptionType();

enum TPlacementRegRoot { prCurrentUser, prLocalMachine, prCurrentConfig, prClassesRoot, prUsers, prDynData };

class TFormPlacement;
class TPropsStorage;

class TWinMinMaxInfo : public wb::Persistent {
public:
    explicit TWinMinMaxInfo(TFormPlacement* owner) : owner_(owner) {}
    static const wb::ClassInfo& StaticClass();
    const wb::ClassInfo& Class() const override { return StaticClass(); }
    void Assign(const wb::Persistent& source) override;
    bool DefaultMinMaxInfo() const;

    int MaxPosLeft() const { return info_.maxPosition.x; }
    int MaxPosTop() const { return info_.maxPosition.y; }
    int MaxSizeHeight() const { return info_.maxSize.y; }
    int MaxSizeWidth() const { return info_.maxSize.x; }
    int MaxTrackHeight() const { return info_.maxTrackSize.y; }
    int MaxTrackWidth() const { return info_.maxTrackSize.x; }
    int MinTrackHeight() const { return info_.minTrackSize.y; }
    int MinTrackWidth() const { return info_.minTrackSize.x; }
    void SetMaxPosLeft(int v) { Set(info_.maxPosition.x, v); }
    void SetMaxPosTop(int v) { Set(info_.maxPosition.y, v); }
    void SetMaxSizeHeight(int v) { Set(info_.maxSize.y, v); }
    void SetMaxSizeWidth(int v) { Set(info_.maxSize.x, v); }
    void SetMaxTrackHeight(int v) { Set(info_.maxTrackSize.y, v); }
    void SetMaxTrackWidth(int v) { Set(info_.maxTrackSize.x, v); }
    void SetMinTrackHeight(int v) { Set(info_.minTrackSize.y, v); }
    void SetMinTrackWidth(int v) { Set(info_.minTrackSize.x, v); }
    const wb::gui::MinMaxInfo& Info() const { return info_; }

private:
    void Set(int& field, int v);
    TFormPlacement* owner_;
    wb::gui::MinMaxInfo info_{};
};

class TFormPlacement : public wb::Component {
public:
    explicit TFormPlacement(wb::Component* owner = nullptr);
    ~TFormPlacement() override;
    static const wb::ClassInfo& StaticClass();
    const wb::ClassInfo& Class() const override { return StaticClass(); }

    bool Active() const { return active_; }
    void SetActive(bool v) { active_ = v; }
    std::string IniFileName() const;
    void SetIniFileName(const std::string& v) { iniFileName_ = v; }
    std::string IniSection() const;
    void SetIniSection(const std::string& v) { iniSection_ = v; }
    TWinMinMaxInfo* MinMaxInfo() const { return minMaxInfo_.get(); }
    void SetMinMaxInfo(TWinMinMaxInfo* v) { if (v) minMaxInfo_->Assign(*v); }
    TPlacementOptions Options() const { return options_; }
    void SetOptions(TPlacementOptions v) { options_ = v; }
    bool PreventResize() const { return preventResize_; }
    void SetPreventResize(bool v);
    TPlacementRegRoot RegistryRoot() const { return registryRoot_; }
    void SetRegistryRoot(TPlacementRegRoot v) { registryRoot_ = v; }
    bool UseRegistry() const { return useRegistry_; }
    void SetUseRegistry(bool v) { useRegistry_ = v; }
    int Version() const { return version_; }
    void SetVersion(int v) { version_ = v; }
    std::function<void(wb::Persistent*)> OnSavePlacement;
    std::function<void(wb::Persistent*)> OnRestorePlacement;

    void SaveToStorage();
    void RestoreFromStorage();
    // One key of IniSection, through the open storage or one opened for the access.
    std::string ReadString(const std::string& ident, const std::string& def);
    void WriteString(const std::string& ident, const std::string& value);
    int ReadInteger(const std::string& ident, int def);
    void WriteInteger(const std::string& ident, int value);

    bool Restored() const { return restored_; }
    bool Saved() const { return saved_; }

    // What opens a registry-backed store (key, root, read only): the
    // registry stand-in unless replaced.
    std::function<std::unique_ptr<wb::IniStore>(const std::string&, TPlacementRegRoot, bool)>
        RegistryStoreFactory = UserRegistryStore;
    static std::unique_ptr<wb::IniStore> UserRegistryStore(const std::string& key, TPlacementRegRoot root,
                                                           bool readOnly);

protected:
    void Loaded() override;
    virtual void SaveState();
    virtual void RestoreState();
    virtual std::string ReadStorageString(const std::string& section, const std::string& ident,
                                          const std::string& def);
    virtual void WriteStorageString(const std::string& section, const std::string& ident,
                                    const std::string& value);
    virtual void DoSave();
    virtual void DoRestore();
    wb::gui::Form* OwnerForm() const;
    wb::IniStore* Storage() const { return storage_.get(); }
    void EraseStorageSection(const std::string& section);
    bool restored_ = false;

private:
    friend class TWinMinMaxInfo;
    class StorageScope;
    void OpenStorage(bool readOnly);
    void TakeOverEvents();
    void UpdateHook();
    void UpdatePlacement();
    void UpdatePreventResize();
    void MinMaxInfoModified();
    void HookAfterMessage(Message& msg);
    void FormShow(wb::Persistent* sender);
    void FormCloseQuery(wb::Persistent* sender, bool& canClose);
    void FormDestroy(wb::Persistent* sender);

    bool active_ = true;
    std::string iniFileName_, iniSection_;
    std::unique_ptr<TWinMinMaxInfo> minMaxInfo_;
    TPlacementOptions options_ = 0;
    bool preventResize_ = false;
    TPlacementRegRoot registryRoot_ = prCurrentUser;
    bool useRegistry_ = false;
    int version_ = 0;

    std::unique_ptr<wb::IniStore> storage_;
    bool saved_ = false, destroying_ = false, defMaximize_ = false, eventsTaken_ = false;
    TVlWindowHook* hook_;
    std::function<void(wb::Persistent*)> saveShow_, saveDestroy_;
    std::function<void(wb::Persistent*, bool&)> saveCloseQuery_;
};

// Writes and reads the placement keys of a form (see the key table of the
// form storage).
void WriteWindowPlacement(wb::gui::Form* form, wb::IniStore* store, const std::string& section);
void ReadWindowPlacement(wb::gui::Form* form, const wb::IniStore* store, const std::string& section,
                         bool restoreState, bool restorePosition);

class TStoredValues;
class TFormStorage;

class TStoredValue : public wb::CollectionItem {
public:
    using TStoredValueEvent = std::function<void(TStoredValue* sender, wb::Variant& value)>;
    explicit TStoredValue(wb::Collection* collection) : CollectionItem(collection) {}
    static const wb::ClassInfo& StaticClass();
    const wb::ClassInfo& Class() const override { return StaticClass(); }
    void Assign(const wb::Persistent& source) override;
    std::string DisplayName() const override;

    std::string Name() const { return name_; }
    // Throws wb::PropertyError for a name another item has (ignoring case).
    void SetName(const std::string& name);
    wb::Variant Value() const { return value_; }
    void SetValue(const wb::Variant& v) { value_ = v; }
    std::string KeyString() const { return keyString_; }
    void SetKeyString(const std::string& k) { keyString_ = k; }
    TStoredValueEvent OnSave;
    TStoredValueEvent OnRestore;

    void Save();
    void Restore();

private:
    TFormStorage* Storage() const;
    std::string name_, keyString_;
    wb::Variant value_;
};

class TStoredValues : public wb::Collection {
public:
    explicit TStoredValues(TFormStorage* storage);
    static const wb::ClassInfo& StaticClass();
    const wb::ClassInfo& Class() const override { return StaticClass(); }
    TFormStorage* Storage() const { return storage_; }
    int IndexOf(const std::string& name) const;  // ignoring case; -1 when none
    TStoredValue* Value(int i) const { return static_cast<TStoredValue*>(Item(i)); }
    TStoredValue* Add() { return static_cast<TStoredValue*>(Collection::Add()); }
    void SaveValues();
    void RestoreValues();

private:
    TFormStorage* storage_;
};

class TFormStorage : public TFormPlacement {
public:
    explicit TFormStorage(wb::Component* owner = nullptr);
    ~TFormStorage() override;
    static const wb::ClassInfo& StaticClass();
    const wb::ClassInfo& Class() const override { return StaticClass(); }

    wb::StringList* StoredProps() const { return storedProps_.get(); }
    // Copies the lines with their components and watches those components.
    void SetStoredProps(wb::StringList* lines);
    TStoredValues* StoredValues() const { return storedValues_.get(); }
    void SetStoredValues(TStoredValues* values) { if (values) storedValues_->Assign(*values); }

protected:
    void Loaded() override;
    void Notification(wb::Component* c, wb::Operation op) override;
    void SaveState() override;
    void RestoreState() override;
    virtual void WriteStoredProps();
    virtual void ReadStoredProps();

private:
    std::unique_ptr<TPropsStorage> StoredPropsStorage();

    std::unique_ptr<wb::StringList> storedProps_;
    std::unique_ptr<TStoredValues> storedValues_;
};

} // namespace velmora
