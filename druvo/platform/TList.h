// The runtime's ordered list of untyped pointers.
//
// TList owns nothing: destroying or clearing it leaves the pointed-to objects
// alone; TOwnedList<T> below owns and clones its items. Index errors raise
// EListError("List index out of bounds (N)").
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "druvo/platform/Export.h"

namespace druvo {

class DRUVO_API TList {
 public:
  TList();
  TList(const TList&);
  TList& operator=(const TList&);
  ~TList();

  int Count() const { return static_cast<int>(items_.size()); }
  void* Items(int index) const;
  void SetItems(int index, void* item);
  void* First() const;
  void* Last() const;

  int Add(void* item);  // returns the new index
  void Insert(int index, void* item);
  void Delete(int index);
  int Remove(void* item);  // index it had, or -1
  void Exchange(int a, int b);
  void Move(int from, int to);
  int IndexOf(const void* item) const;  // -1 when absent
  void Clear();

 private:
  void CheckIndex(int index) const;
  std::vector<void*> items_;
};

// For lists whose items the holder owns: destroys the items of `list` as
// `T`, from the last, and leaves the list empty. A null list is left alone.
template <typename T>
void DestroyItemsAs(TList* list) {
  if (list == nullptr) return;
  while (list->Count() > 0) {
    const int last = list->Count() - 1;
    std::unique_ptr<T> item(static_cast<T*>(list->Items(last)));
    list->SetItems(last, nullptr);
    list->Delete(last);
  }
}

// A TList that owns its items as T: destroying the list or DeleteAll()
// deletes them (null items are skipped). A copy clones every item (a null
// stays null), all clones made before the target changes, so a failing clone
// leaves it as it was. Items put in through the TList interface belong to the
// list as well; it is never deleted through a TList pointer.
template <typename T>
class TOwnedList : public TList {
 public:
  TOwnedList() = default;
  TOwnedList(const TOwnedList& other) : TList() { CopyFrom(other); }
  TOwnedList& operator=(const TOwnedList& other) {
    if (this != &other) CopyFrom(other);
    return *this;
  }
  ~TOwnedList() { DeleteAll(); }

  // Item `index`, or null outside the list.
  T* Item(int index) const {
    return index >= 0 && index < Count() ? static_cast<T*>(Items(index))
                                         : nullptr;
  }
  // Appends `item` and takes it over; should the list fail to grow, `item`
  // is destroyed before the error propagates. Returns the new index.
  int Adopt(T* item) {
    std::unique_ptr<T> guard(item);
    const int index = Add(item);
    guard.release();
    return index;
  }
  void DeleteAll() { DestroyItemsAs<T>(this); }

 private:
  void CopyFrom(const TOwnedList& other) {
    std::vector<std::unique_ptr<T>> clones;
    clones.reserve(static_cast<std::size_t>(other.Count()));
    for (int i = 0; i < other.Count(); ++i) {
      const T* item = other.Item(i);
      clones.push_back(item ? std::make_unique<T>(*item) : nullptr);
    }
    DeleteAll();
    for (auto& clone : clones) Adopt(clone.release());
  }
};

}  // namespace druvo
