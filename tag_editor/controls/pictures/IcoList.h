#pragma once
// An ordered list of icons that tells its owner once per change, and stores
// itself as one binary property: a count, then each icon's size and bytes.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "tag_editor/controls/pictures/VlIcon.h"

namespace velmora {

class TIconList {
public:
    TIconList() = default;
    ~TIconList();
    TIconList(const TIconList&) = delete;
    TIconList& operator=(const TIconList&) = delete;

    std::function<void(TIconList* Sender)> OnChange;

    void BeginUpdate();
    void EndUpdate();

    // An empty entry gives null.
    TIcon* GetIcon(int index) const { return entries_.at(std::size_t(index)).get(); }
    int GetCount() const { return int(entries_.size()); }
    void PutIcon(int index, const TIcon& icon);
    int Add(const TIcon& icon);
    void Clear();
    void Delete(int index);
    void Exchange(int index1, int index2);
    int IndexOf(const TIcon* icon) const;
    void Insert(int index, const TIcon& icon);
    void Move(int fromIndex, int toIndex);
    void Assign(const TIconList& source);
    void Assign(const TIcon& icon);

    // The stored form. Reading checks every count and size against the bytes
    // left before anything is taken, and on any fault raises EReadError with
    // the list as it was.
    void ReadData(const std::uint8_t* data, std::size_t size);
    std::vector<std::uint8_t> WriteData() const;
    void LoadFromBytes(const std::uint8_t* data, std::size_t size) { ReadData(data, size); }
    std::vector<std::uint8_t> SaveToBytes() const { return WriteData(); }
    // Whether the property differs from an ancestor's (or, without one, has entries).
    bool HasData(const TIconList* ancestor = nullptr) const;

private:
    void Changed();
    std::unique_ptr<TIcon> Watched(const TIcon& icon);
    std::vector<std::unique_ptr<TIcon>> entries_;
    int updates_ = 0;
};

} // namespace velmora
