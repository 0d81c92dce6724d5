// The runtime's ordered list of untyped pointers.
//
// TList owns nothing: destroying or clearing it leaves the pointed-to objects
// alone. Index errors raise EListError("List index out of bounds (N)").
#pragma once

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

}  // namespace druvo
