#include "tag_editor/controls/storage/Placemnt.h"

#include <charconv>
#include <cstdio>

#include "platform/base/RegistryIni.h"
#include "platform/base/TextUtil.h"
#include "platform/gui/Guard.h"
#include "tag_editor/controls/storage/AppUtils.h"
#include "tag_editor/controls/storage/StrUtils.h"
#include "tag_editor/controls/storage/VlProps.h"

namespace velmora {

using namespace wb::gui;

const wb::EnumType& PlacementOptionType() {
    static const wb::EnumType t{"TPlacementOption", {"fpState", "fpPosition", "fpActiveControl"}};
    return t;
}

namespace {

const wb::EnumType& RegRootType() {
    static const wb::EnumType t{"TPlacementRegRoot", {"prCurrentUser", "prLocalMachine", "prCurrentConfig",
                                                      "prClassesRoot", "prUsers", "prDynData"}};
    return t;
}

// A word that is no 32-bit decimal, one too large included, gives the fallback.
int WordAsInt(const std::string& text, int n, int fallback) {
    std::string word = NthWord(n, text, " ,");
    const char* first = word.data();
    const char* last = first + word.size();
    if (first != last && *first == '+') ++first;
    int v = 0;
    auto [end, ec] = std::from_chars(first, last, v);
    return ec == std::errc() && end == last && first != last ? v : fallback;
}

std::string FourNumbers(int a, int b, int c, int d) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%d,%d,%d,%d", a, b, c, d);
    return buf;
}

} // namespace

// ---- size limits

const wb::ClassInfo& TWinMinMaxInfo::StaticClass() {
    static wb::ClassInfo& info = []() -> wb::ClassInfo& {
        static wb::ClassInfo i("TWinMinMaxInfo", &wb::Persistent::StaticClass());
        using T = TWinMinMaxInfo;
        i.Integer<T, int>("MaxPosLeft", &T::MaxPosLeft, &T::SetMaxPosLeft);
        i.Integer<T, int>("MaxPosTop", &T::MaxPosTop, &T::SetMaxPosTop);
        i.Integer<T, int>("MaxSizeHeight", &T::MaxSizeHeight, &T::SetMaxSizeHeight);
        i.Integer<T, int>("MaxSizeWidth", &T::MaxSizeWidth, &T::SetMaxSizeWidth);
        i.Integer<T, int>("MaxTrackHeight", &T::MaxTrackHeight, &T::SetMaxTrackHeight);
        i.Integer<T, int>("MaxTrackWidth", &T::MaxTrackWidth, &T::SetMaxTrackWidth);
        i.Integer<T, int>("MinTrackHeight", &T::MinTrackHeight, &T::SetMinTrackHeight);
        i.Integer<T, int>("MinTrackWidth", &T::MinTrackWidth, &T::SetMinTrackWidth);
        return i;
    }();
    return info;
}

void TWinMinMaxInfo::Set(int& field, int v) {
    if (field == v) return;
    field = v;
    if (owner_) owner_->MinMaxInfoModified();
}

void TWinMinMaxInfo::Assign(const wb::Persistent& source) {
    const auto* other = dynamic_cast<const TWinMinMaxInfo*>(&source);
    if (!other) return Persistent::Assign(source);
    info_ = other->info_;
    if (owner_) owner_->MinMaxInfoModified();
}

bool TWinMinMaxInfo::DefaultMinMaxInfo() const {
    return info_.maxPosition == Point{} && info_.maxSize == Point{} && info_.maxTrackSize == Point{} &&
           info_.minTrackSize == Point{};
}

// ---- placement

// The registry stand-in knows the classes root and the user's own keys;
// every other root is kept with the user's.
std::unique_ptr<wb::IniStore> TFormPlacement::UserRegistryStore(const std::string& key, TPlacementRegRoot root,
                                                               bool) {
    return std::make_unique<wb::RegistryIni>(
        wb::Registry::User(), root == prClassesRoot ? wb::RegRoot::ClassesRoot : wb::RegRoot::CurrentUser, key);
}

const wb::ClassInfo& TFormPlacement::StaticClass() {
    static wb::ClassInfo& info = []() -> wb::ClassInfo& {
        static wb::ClassInfo i("TFormPlacement", &wb::Component::StaticClass());
        using T = TFormPlacement;
        i.Boolean<T>("Active", &T::Active, &T::SetActive);
        i.String<T>("IniFileName", &T::IniFileName, &T::SetIniFileName);
        i.String<T>("IniSection", &T::IniSection, &T::SetIniSection);
        i.Object<T, TWinMinMaxInfo>("MinMaxInfo", TWinMinMaxInfo::StaticClass(), &T::MinMaxInfo, &T::SetMinMaxInfo);
        i.Set<T>("Options", PlacementOptionType(), &T::Options, &T::SetOptions);
        i.Boolean<T>("PreventResize", &T::PreventResize, &T::SetPreventResize);
        i.Enum<T, TPlacementRegRoot>("RegistryRoot", RegRootType(), &T::RegistryRoot, &T::SetRegistryRoot);
        i.Boolean<T>("UseRegistry", &T::UseRegistry, &T::SetUseRegistry);
        i.Integer<T, int>("Version", &T::Version, &T::SetVersion);
        return i;
    }();
    return info;
}

TFormPlacement::TFormPlacement(wb::Component* owner)
    : Component(owner), minMaxInfo_(std::make_unique<TWinMinMaxInfo>(this)) {
    hook_ = new TVlWindowHook(this);
    hook_->SetActive(false);
    hook_->AfterMessage = [this](wb::Persistent*, Message& msg, bool&) { HookAfterMessage(msg); };
    options_ = dynamic_cast<Form*>(owner) ? (fpState | fpPosition) : 0;
}

TFormPlacement::~TFormPlacement() {
    Destroying_();
    if (!Designing()) {
        hook_->SetActive(false);
        hook_->SetWinControl(nullptr);
        if (Form* form = OwnerForm(); form && eventsTaken_) {
            form->OnShow = saveShow_;
            form->OnCloseQuery = saveCloseQuery_;
            form->OnDestroy = saveDestroy_;
        }
    }
    storage_.reset();
}

Form* TFormPlacement::OwnerForm() const { return dynamic_cast<Form*>(Owner()); }

std::string TFormPlacement::IniFileName() const {
    if (!iniFileName_.empty() || Designing()) return iniFileName_;
    return useRegistry_ ? DefaultRegistryKey() : DefaultIniName();
}

std::string TFormPlacement::IniSection() const {
    if (!iniSection_.empty() || Designing()) return iniSection_;
    return DefaultSectionName(Owner());
}

void TFormPlacement::Loaded() {
    bool wasLoading = Loading();
    Component::Loaded();
    if (Designing()) return;
    if (wasLoading) TakeOverEvents();
    UpdateHook();
}

void TFormPlacement::TakeOverEvents() {
    Form* form = OwnerForm();
    if (!form || eventsTaken_) return;
    saveShow_ = form->OnShow;
    saveCloseQuery_ = form->OnCloseQuery;
    saveDestroy_ = form->OnDestroy;
    form->OnShow = [this](wb::Persistent* s) { FormShow(s); };
    form->OnCloseQuery = [this](wb::Persistent* s, bool& c) { FormCloseQuery(s, c); };
    form->OnDestroy = [this](wb::Persistent* s) { FormDestroy(s); };
    eventsTaken_ = true;
    defMaximize_ = form->BorderIcons() & biMaximize;
    if (preventResize_) UpdatePreventResize();
}

// A storage that fails is shown, and neither stops the window nor keeps the
// form's own handler from running.
void TFormPlacement::FormShow(wb::Persistent* sender) {
    if (active_) RunGuarded([this] { RestoreFromStorage(); });
    if (saveShow_) saveShow_(sender);
}

void TFormPlacement::FormCloseQuery(wb::Persistent* sender, bool& canClose) {
    if (saveCloseQuery_) saveCloseQuery_(sender, canClose);
    if (canClose && active_ && OwnerForm() && OwnerForm()->HandleAllocated())
        RunGuarded([this] { SaveToStorage(); });
}

void TFormPlacement::FormDestroy(wb::Persistent* sender) {
    if (active_ && !saved_) {
        destroying_ = true;
        RunGuarded([this] { SaveToStorage(); });
        destroying_ = false;
    }
    if (saveDestroy_) saveDestroy_(sender);
}

// Closes the storage on every path out of a save or restore.
class TFormPlacement::StorageScope {
public:
    StorageScope(TFormPlacement& p, bool readOnly) : p_(p) { p_.OpenStorage(readOnly); }
    ~StorageScope() { p_.storage_.reset(); }

private:
    TFormPlacement& p_;
};

void TFormPlacement::OpenStorage(bool readOnly) {
    storage_.reset();
    if (useRegistry_) {
        if (!RegistryStoreFactory)
            throw std::runtime_error("No registry store is available for \"" + IniFileName() + "\"");
        storage_ = RegistryStoreFactory(IniFileName(), registryRoot_, readOnly);
    } else {
        storage_ = std::make_unique<wb::IniFile>(IniFileName());
    }
}

void TFormPlacement::SaveToStorage() {
    if (!restored_ && active_) return;
    StorageScope scope(*this, false);
    WriteInteger("FormVersion", version_);
    SaveState();
    DoSave();
    saved_ = true;
}

void TFormPlacement::RestoreFromStorage() {
    saved_ = false;
    {
        StorageScope scope(*this, true);
        if (ReadInteger("FormVersion", 0) >= version_) {
            RestoreState();
            restored_ = true;
            DoRestore();
            Form* form = OwnerForm();
            if ((options_ & fpActiveControl) && form) {
                std::string name = ReadString("ActiveControl", "");
                auto* control = dynamic_cast<WinControl*>(form->FindComponent(name));
                if (control && control->CanFocus()) form->SetActiveControl(control);
            }
        }
        restored_ = true;
    }
    UpdatePlacement();
}

std::string TFormPlacement::ReadStorageString(const std::string& section, const std::string& ident,
                                              const std::string& def) {
    return ProfileReadString(storage_.get(), section, ident, def);
}

void TFormPlacement::WriteStorageString(const std::string& section, const std::string& ident,
                                        const std::string& value) {
    ProfileWriteString(storage_.get(), section, ident, value);
}

void TFormPlacement::EraseStorageSection(const std::string& section) {
    if (storage_) storage_->EraseSection(section);
}

std::string TFormPlacement::ReadString(const std::string& ident, const std::string& def) {
    if (storage_) return ReadStorageString(IniSection(), ident, def);
    StorageScope scope(*this, true);
    return ReadStorageString(IniSection(), ident, def);
}

void TFormPlacement::WriteString(const std::string& ident, const std::string& value) {
    if (storage_) return WriteStorageString(IniSection(), ident, value);
    StorageScope scope(*this, false);
    WriteStorageString(IniSection(), ident, value);
}

int TFormPlacement::ReadInteger(const std::string& ident, int def) {
    if (storage_) return ProfileReadInteger(storage_.get(), IniSection(), ident, def);
    StorageScope scope(*this, true);
    return ProfileReadInteger(storage_.get(), IniSection(), ident, def);
}

void TFormPlacement::WriteInteger(const std::string& ident, int value) {
    if (storage_) return ProfileWriteInteger(storage_.get(), IniSection(), ident, value);
    StorageScope scope(*this, false);
    ProfileWriteInteger(storage_.get(), IniSection(), ident, value);
}

void TFormPlacement::SaveState() {
    Form* form = OwnerForm();
    if (!form) return;
    WriteWindowPlacement(form, storage_.get(), IniSection());
    if ((options_ & fpActiveControl) && form->ActiveControl())
        WriteStorageString(IniSection(), "ActiveControl", form->ActiveControl()->Name());
    if (storage_) storage_->WriteBool(IniSection(), "Visible", destroying_);
}

void TFormPlacement::RestoreState() {
    if (Form* form = OwnerForm())
        ReadWindowPlacement(form, storage_.get(), IniSection(), options_ & fpState, options_ & fpPosition);
}

void TFormPlacement::DoSave() {
    if (OnSavePlacement) OnSavePlacement(this);
}

void TFormPlacement::DoRestore() {
    if (OnRestorePlacement) OnRestorePlacement(this);
}

void TFormPlacement::UpdateHook() {
    Form* form = OwnerForm();
    bool attach = (!minMaxInfo_->DefaultMinMaxInfo() || preventResize_) && !Designing() && form;
    if (attach) {
        hook_->SetWinControl(form);
        hook_->SetActive(true);
    } else {
        hook_->SetActive(false);
        hook_->SetWinControl(nullptr);
    }
    // Qt asks for no limits by itself: give it the new ones now.
    if (form && !form->Destroying()) form->UpdateSizeLimits();
}

void TFormPlacement::UpdatePlacement() {
    Form* form = OwnerForm();
    if (!form || !form->HandleAllocated() || Loading() || preventResize_ || minMaxInfo_->DefaultMinMaxInfo())
        return;
    WindowPlacement p = form->GetWindowPlacement();
    if (!form->IsWindowVisible()) p.showCmd = SW_HIDE;
    switch (form->BorderStyle()) {
        case bsNone: p.maxPosition = {0, 0}; break;
        case bsSingle:
        case bsToolWindow: p.maxPosition = {-GetSystemMetrics(SM_CXBORDER), -GetSystemMetrics(SM_CYBORDER)}; break;
        case bsSizeable:
        case bsSizeToolWin: p.maxPosition = {-GetSystemMetrics(SM_CXFRAME), -GetSystemMetrics(SM_CYFRAME)}; break;
        case bsDialog: p.maxPosition = {-GetSystemMetrics(SM_CXDLGFRAME), -GetSystemMetrics(SM_CYDLGFRAME)}; break;
    }
    form->SetWindowPlacement(p);
}

void TFormPlacement::MinMaxInfoModified() {
    UpdatePlacement();
    if (!Loading()) UpdateHook();
}

void TFormPlacement::SetPreventResize(bool v) {
    if (!OwnerForm() || v == preventResize_) return;
    preventResize_ = v;
    UpdatePlacement();
    UpdatePreventResize();
}

void TFormPlacement::UpdatePreventResize() {
    Form* form = OwnerForm();
    if (!form || Designing()) return;
    if (preventResize_) defMaximize_ = form->BorderIcons() & biMaximize;
    bool wasActive = active_;
    active_ = false;
    uint32_t icons = form->BorderIcons();
    if (!preventResize_ && defMaximize_ && form->BorderStyle() != bsDialog) icons |= biMaximize;
    else icons &= ~uint32_t(biMaximize);
    form->SetBorderIcons(icons);
    active_ = wasActive;
    if (!Loading()) UpdateHook();
}

void TFormPlacement::HookAfterMessage(Message& msg) {
    Form* form = OwnerForm();
    if (preventResize_ && form) {
        switch (msg.Msg) {
            case WM_GETMINMAXINFO:
                if (form->HandleAllocated() && form->IsWindowVisible()) {
                    auto* info = reinterpret_cast<wb::gui::MinMaxInfo*>(msg.LParam);
                    info->minTrackSize = {form->Width(), form->Height()};
                    info->maxTrackSize = {form->Width(), form->Height()};
                    msg.Result = 1;
                }
                break;
            case WM_NCHITTEST:
                if (msg.Result >= HTLEFT && msg.Result <= HTBOTTOMRIGHT) msg.Result = HTNOWHERE;
                break;
            case WM_INITMENUPOPUP:
                // The system menu: this platform has none to grey; the form
                // keeps its size through the limits above.
                if ((msg.LParam >> 16) & 0xFFFF) msg.Result = 1;
                break;
            default: break;
        }
        return;
    }
    if (msg.Msg != WM_GETMINMAXINFO) return;
    auto* info = reinterpret_cast<wb::gui::MinMaxInfo*>(msg.LParam);
    if (!info) return;
    const wb::gui::MinMaxInfo& mine = minMaxInfo_->Info();
    if (!minMaxInfo_->DefaultMinMaxInfo()) {
        auto take = [](int& target, int v) { if (v != 0) target = v; };
        take(info->maxPosition.x, mine.maxPosition.x);
        take(info->maxPosition.y, mine.maxPosition.y);
        take(info->maxSize.x, mine.maxSize.x);
        take(info->maxSize.y, mine.maxSize.y);
        take(info->maxTrackSize.x, mine.maxTrackSize.x);
        take(info->maxTrackSize.y, mine.maxTrackSize.y);
        take(info->minTrackSize.x, mine.minTrackSize.x);
        take(info->minTrackSize.y, mine.minTrackSize.y);
    } else {
        info->maxPosition = {0, 0};
    }
    msg.Result = 1;
}

// ---- placement keys

void WriteWindowPlacement(Form* form, wb::IniStore* store, const std::string& section) {
    WindowPlacement p = form->GetWindowPlacement();
    p.length = 44;
    if (form == MainForm() && ApplicationMinimized()) p.showCmd = SW_SHOWMINIMIZED;
    if (form->FormStyle() == fsMDIChild && form->WindowState() == wsMinimized) p.flags |= WPF_SETMINPOSITION;
    ProfileWriteInteger(store, section, "Flags", static_cast<int>(p.flags));
    ProfileWriteInteger(store, section, "ShowCmd", static_cast<int>(p.showCmd));
    ProfileWriteInteger(store, section, "PixelsPerInch", Screen().pixelsPerInch);
    WritePlacementText(store, section, "MinMaxPos",
                       FourNumbers(p.minPosition.x, p.minPosition.y, p.maxPosition.x, p.maxPosition.y));
    WritePlacementText(store, section, "NormPos",
                       FourNumbers(p.normalPosition.left, p.normalPosition.top, p.normalPosition.right,
                                   p.normalPosition.bottom));
}

void ReadWindowPlacement(Form* form, const wb::IniStore* store, const std::string& section,
                         bool restoreState, bool restorePosition) {
    if (!restoreState && !restorePosition) return;
    WindowPlacement p = form->GetWindowPlacement();
    if (!form->IsWindowVisible()) p.showCmd = SW_HIDE;
    if (restorePosition) {
        p.flags = static_cast<uint32_t>(ProfileReadInteger(store, section, "Flags", static_cast<int>(p.flags)));
        std::string minMax = ReadPlacementText(store, section, "MinMaxPos");
        if (!minMax.empty()) {
            p.minPosition = {WordAsInt(minMax, 1, 0), WordAsInt(minMax, 2, 0)};
            p.maxPosition = {WordAsInt(minMax, 3, 0), WordAsInt(minMax, 4, 0)};
        }
        std::string norm = ReadPlacementText(store, section, "NormPos");
        if (!norm.empty()) {
            p.normalPosition = {WordAsInt(norm, 1, form->Left()), WordAsInt(norm, 2, form->Top()),
                                WordAsInt(norm, 3, form->Left() + form->Width()),
                                WordAsInt(norm, 4, form->Top() + form->Height())};
        }
        int ppi = ProfileReadInteger(store, section, "PixelsPerInch", Screen().pixelsPerInch);
        if ((!minMax.empty() || !norm.empty()) && ppi == Screen().pixelsPerInch) {
            if (form->BorderStyle() != bsSizeable && form->BorderStyle() != bsSizeToolWin) {
                p.normalPosition.right = p.normalPosition.left + form->Width();
                p.normalPosition.bottom = p.normalPosition.top + form->Height();
            }
            // An empty or inverted rectangle would put the window nowhere.
            if (p.normalPosition.right > p.normalPosition.left && p.normalPosition.bottom > p.normalPosition.top) {
                if (form->Position() == poScreenCenter || form->Position() == poDesktopCenter) {
                    bool designing = form->Designing();
                    form->SetDesigning(true);
                    form->SetPosition(poDesigned);
                    form->SetDesigning(designing);
                }
                form->SetWindowPlacement(p);
            }
        }
    }
    if (restoreState) {
        TWindowState state = wsNormal;
        bool mainForm = form == MainForm() || !MainForm();
        if (mainForm && (form->FormStyle() == fsMDIForm ||
                         (form->FormStyle() == fsNormal && form->Position() == poDefault)))
            state = wsMaximized;
        switch (ProfileReadInteger(store, section, "ShowCmd", SW_HIDE)) {
            case SW_SHOWNORMAL:
            case SW_SHOW:
            case SW_RESTORE: state = wsNormal; break;
            case SW_SHOWMINIMIZED:
            case SW_MINIMIZE:
            case SW_SHOWMINNOACTIVE: state = wsMinimized; break;
            case SW_SHOWMAXIMIZED: state = wsMaximized; break;
            default: break;
        }
        if (state == wsMinimized && mainForm) {
            form->SetWindowStateField(wsNormal);
            PostMessage(ApplicationHandle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
            return;
        }
        if (form->FormStyle() == fsMDIChild || form->FormStyle() == fsMDIForm) form->SetWindowStateField(state);
        else form->SetWindowState(state);
    }
    form->Update();
}

// ---- stored values

const wb::ClassInfo& TStoredValue::StaticClass() {
    static wb::ClassInfo& info = []() -> wb::ClassInfo& {
        static wb::ClassInfo i("TStoredValue", &wb::CollectionItem::StaticClass());
        i.String<TStoredValue>("Name", &TStoredValue::Name, &TStoredValue::SetName);
        wb::PropInfo v;
        v.name = "Value";
        v.kind = wb::TypeKind::Variant;
        v.getVar = [](const wb::Persistent& o) { return static_cast<const TStoredValue&>(o).Value(); };
        v.setVar = [](wb::Persistent& o, const wb::Variant& x) { static_cast<TStoredValue&>(o).SetValue(x); };
        i.Add(v);
        i.String<TStoredValue>("KeyString", &TStoredValue::KeyString, &TStoredValue::SetKeyString);
        return i;
    }();
    return info;
}

void TStoredValue::Assign(const wb::Persistent& source) {
    const auto* other = dynamic_cast<const TStoredValue*>(&source);
    if (!other) return Persistent::Assign(source);
    value_ = other->value_;
    SetName(other->name_);
    keyString_ = other->keyString_;
}

std::string TStoredValue::DisplayName() const { return name_.empty() ? CollectionItem::DisplayName() : name_; }

void TStoredValue::SetName(const std::string& name) {
    if (!name.empty() && !wb::SameText(name, name_)) {
        if (auto* values = dynamic_cast<TStoredValues*>(GetCollection()); values && values->IndexOf(name) >= 0)
            throw wb::PropertyError("In der Stringliste sind Duplikate nicht erlaubt");
    }
    name_ = name;
}

TFormStorage* TStoredValue::Storage() const {
    auto* values = dynamic_cast<TStoredValues*>(GetCollection());
    return values ? values->Storage() : nullptr;
}

void TStoredValue::Save() {
    TFormStorage* storage = Storage();
    if (!storage || name_.empty()) return;  // a key needs a name
    wb::Variant v = value_;
    if (OnSave) OnSave(this, v);
    std::string text = v.ToString();
    if (!keyString_.empty()) text = HexXorEncode(keyString_, text);
    storage->WriteString(name_, text);
}

void TStoredValue::Restore() {
    TFormStorage* storage = Storage();
    if (!storage || name_.empty()) return;
    std::string def = value_.ToString();
    if (!keyString_.empty()) def = HexXorEncode(keyString_, def);
    std::string text = storage->ReadString(name_, def);
    if (!keyString_.empty()) text = HexXorDecode(keyString_, text);
    wb::Variant v(text);
    if (OnRestore) OnRestore(this, v);
    value_ = v;
}

TStoredValues::TStoredValues(TFormStorage* storage)
    : Collection([](wb::Collection* c) { return std::make_unique<TStoredValue>(c); }), storage_(storage) {}

const wb::ClassInfo& TStoredValues::StaticClass() {
    static const wb::ClassInfo info("TStoredValues", &wb::Collection::StaticClass());
    return info;
}

int TStoredValues::IndexOf(const std::string& name) const {
    for (int i = 0; i < Count(); ++i)
        if (wb::SameText(Value(i)->Name(), name)) return i;
    return -1;
}

void TStoredValues::SaveValues() {
    for (int i = 0; i < Count(); ++i) Value(i)->Save();
}

void TStoredValues::RestoreValues() {
    for (int i = 0; i < Count(); ++i) Value(i)->Restore();
}

// ---- form storage

const wb::ClassInfo& TFormStorage::StaticClass() {
    static wb::ClassInfo& info = []() -> wb::ClassInfo& {
        static wb::ClassInfo i("TFormStorage", &TFormPlacement::StaticClass());
        i.Object<TFormStorage, wb::StringList>("StoredProps", wb::StringList::StaticClass(),
                                              &TFormStorage::StoredProps, &TFormStorage::SetStoredProps);
        i.Object<TFormStorage, TStoredValues>("StoredValues", TStoredValues::StaticClass(),
                                             &TFormStorage::StoredValues, &TFormStorage::SetStoredValues);
        return i;
    }();
    return info;
}

TFormStorage::TFormStorage(wb::Component* owner)
    : TFormPlacement(owner), storedProps_(std::make_unique<wb::StringList>()),
      storedValues_(std::make_unique<TStoredValues>(this)) {}

TFormStorage::~TFormStorage() { Destroying_(); }

void TFormStorage::SetStoredProps(wb::StringList* lines) {
    if (!lines || lines == storedProps_.get()) return;
    storedProps_->Assign(*lines);
    for (int i = 0; i < storedProps_->Count(); ++i)
        if (auto* c = dynamic_cast<wb::Component*>(storedProps_->Object(i))) FreeNotification(c);
}

void TFormStorage::Loaded() {
    TFormPlacement::Loaded();
    SyncStoredList(Owner(), *storedProps_, true);
    for (int i = 0; i < storedProps_->Count(); ++i)
        if (auto* c = dynamic_cast<wb::Component*>(storedProps_->Object(i))) FreeNotification(c);
}

void TFormStorage::Notification(wb::Component* c, wb::Operation op) {
    TFormPlacement::Notification(c, op);
    if (op != wb::Operation::Remove || !c || Destroying() || !storedProps_) return;
    for (int i = storedProps_->Count() - 1; i >= 0; --i)
        if (storedProps_->Object(i) == c) storedProps_->Delete(i);
}

void TFormStorage::SaveState() {
    TFormPlacement::SaveState();
    WriteStoredProps();
    storedValues_->SaveValues();
}

void TFormStorage::RestoreState() {
    TFormPlacement::RestoreState();
    restored_ = true;
    ReadStoredProps();
    storedValues_->RestoreValues();
}

// Property storage whose keys go through the form storage's own access.
std::unique_ptr<TPropsStorage> TFormStorage::StoredPropsStorage() {
    auto s = std::make_unique<TPropsStorage>();
    s->Section = IniSection();
    s->OnReadString = [this](const std::string& sec, const std::string& id, const std::string& d) {
        return ReadStorageString(sec, id, d);
    };
    s->OnWriteString = [this](const std::string& sec, const std::string& id, const std::string& v) {
        WriteStorageString(sec, id, v);
    };
    s->OnEraseSection = [this](const std::string& sec) { EraseStorageSection(sec); };
    return s;
}

void TFormStorage::WriteStoredProps() { StoredPropsStorage()->SaveComponentProps(Owner(), *storedProps_); }

void TFormStorage::ReadStoredProps() { StoredPropsStorage()->LoadComponentProps(Owner(), *storedProps_); }

} // namespace velmora
