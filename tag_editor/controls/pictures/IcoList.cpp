#include "tag_editor/controls/pictures/IcoList.h"

#include <algorithm>

#include "tag_editor/controls/pictures/VlBytes.h"

namespace velmora {

TIconList::~TIconList() {
    OnChange = nullptr;
    for (auto& e : entries_)
        if (e) e->OnChange = nullptr;
}

void TIconList::Changed() {
    if (updates_ == 0 && OnChange) OnChange(this);
}

void TIconList::BeginUpdate() { ++updates_; }

void TIconList::EndUpdate() {
    if (updates_ > 0 && --updates_ == 0) Changed();
}

std::unique_ptr<TIcon> TIconList::Watched(const TIcon& icon) {
    auto copy = std::make_unique<TIcon>();
    copy->Assign(icon);
    copy->OnChange = [this] { Changed(); };
    return copy;
}

void TIconList::PutIcon(int index, const TIcon& icon) {
    BeginUpdate();
    if (index == GetCount()) entries_.push_back(nullptr);
    auto& e = entries_.at(std::size_t(index));
    if (!e) {
        e = std::make_unique<TIcon>();
        e->OnChange = [this] { Changed(); };
    }
    e->Assign(icon);
    EndUpdate();
}

int TIconList::Add(const TIcon& icon) {
    entries_.push_back(Watched(icon));
    Changed();
    return GetCount() - 1;
}

void TIconList::Insert(int index, const TIcon& icon) {
    if (index < 0 || index > GetCount()) throw std::out_of_range("icon list index");
    entries_.insert(entries_.begin() + index, Watched(icon));
    Changed();
}

void TIconList::Delete(int index) {
    auto& e = entries_.at(std::size_t(index));
    if (e) e->OnChange = nullptr;
    entries_.erase(entries_.begin() + index);
    Changed();
}

void TIconList::Clear() {
    BeginUpdate();
    for (int i = GetCount() - 1; i >= 0; --i) Delete(i);
    EndUpdate();
}

void TIconList::Exchange(int index1, int index2) {
    std::swap(entries_.at(std::size_t(index1)), entries_.at(std::size_t(index2)));
    Changed();
}

void TIconList::Move(int fromIndex, int toIndex) {
    if (fromIndex == toIndex) return;
    if (toIndex < 0 || toIndex >= GetCount()) throw std::out_of_range("icon list index");
    auto e = std::move(entries_.at(std::size_t(fromIndex)));
    entries_.erase(entries_.begin() + fromIndex);
    entries_.insert(entries_.begin() + toIndex, std::move(e));
    Changed();
}

int TIconList::IndexOf(const TIcon* icon) const {
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].get() == icon) return int(i);
    return -1;
}

void TIconList::Assign(const TIconList& source) {
    if (&source == this) return;
    BeginUpdate();
    Clear();
    for (const auto& e : source.entries_) {
        if (e)
            Add(*e);
        else
            entries_.push_back(nullptr);
    }
    EndUpdate();
}

void TIconList::Assign(const TIcon& icon) {
    BeginUpdate();
    Clear();
    Add(icon);
    EndUpdate();
}

void TIconList::ReadData(const std::uint8_t* data, std::size_t size) {
    TByteReader r(data, size);
    std::uint32_t count;
    if (!r.ReadLE32(count)) throw EReadError();
    if (std::int32_t(count) < 0) count = 0;  // a signed count below zero counts no entries
    // Every entry holds at least its 4-byte size.
    if (std::uint64_t(count) * 4 > r.Left()) throw EReadError();
    std::vector<std::unique_ptr<TIcon>> read;
    read.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint32_t n;
        if (!r.ReadLE32(n)) throw EReadError();
        if (std::int32_t(n) <= 0) {
            read.push_back(nullptr);
            continue;
        }
        if (n > r.Left()) throw EReadError();
        auto icon = std::make_unique<TIcon>();
        try {
            icon->LoadFromBytes(r.Here(), n);
        } catch (const EInvalidGraphic&) {
            throw EReadError();
        }
        r.Skip(n);
        read.push_back(std::move(icon));
    }
    BeginUpdate();
    Clear();
    for (auto& icon : read) {
        if (icon) icon->OnChange = [this] { Changed(); };
        entries_.push_back(std::move(icon));
    }
    Changed();
    EndUpdate();
}

std::vector<std::uint8_t> TIconList::WriteData() const {
    std::vector<std::uint8_t> out;
    PutLE32(out, std::uint32_t(entries_.size()));
    for (const auto& e : entries_) {
        if (e && !e->Empty()) {
            const auto& bytes = e->SaveToBytes();
            PutLE32(out, std::uint32_t(bytes.size()));
            out.insert(out.end(), bytes.begin(), bytes.end());
        } else {
            PutLE32(out, 0);
        }
    }
    return out;
}

bool TIconList::HasData(const TIconList* ancestor) const {
    if (ancestor && ancestor->GetCount() == GetCount() && GetCount() > 0) {
        for (int i = 0; i < GetCount(); ++i)
            if (entries_[std::size_t(i)].get() != ancestor->entries_[std::size_t(i)].get()) return true;
        return false;
    }
    return GetCount() > 0;
}

} // namespace velmora
