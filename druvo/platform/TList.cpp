#include "druvo/platform/TList.h"

#include <algorithm>
#include <string>
#include <utility>

#include "druvo/platform/Exceptions.h"

namespace druvo {

TList::TList() = default;
TList::TList(const TList&) = default;
TList& TList::operator=(const TList&) = default;
TList::~TList() = default;

void TList::CheckIndex(int index) const {
  if (index < 0 || index >= Count()) {
    throw EListError("List index out of bounds (" + std::to_string(index) +
                     ")");
  }
}

void* TList::Items(int index) const {
  CheckIndex(index);
  return items_[index];
}

void TList::SetItems(int index, void* item) {
  CheckIndex(index);
  items_[index] = item;
}

void* TList::First() const { return Items(0); }
void* TList::Last() const { return Items(Count() - 1); }

int TList::Add(void* item) {
  items_.push_back(item);
  return Count() - 1;
}

void TList::Insert(int index, void* item) {
  if (index != Count()) CheckIndex(index);  // inserting at the end is allowed
  items_.insert(items_.begin() + index, item);
}

void TList::Delete(int index) {
  CheckIndex(index);
  items_.erase(items_.begin() + index);
}

int TList::Remove(void* item) {
  const int index = IndexOf(item);
  if (index >= 0) Delete(index);
  return index;
}

void TList::Exchange(int a, int b) {
  CheckIndex(a);
  CheckIndex(b);
  std::swap(items_[a], items_[b]);
}

void TList::Move(int from, int to) {
  CheckIndex(from);
  CheckIndex(to);
  if (from == to) return;
  void* item = items_[from];
  items_.erase(items_.begin() + from);
  items_.insert(items_.begin() + to, item);
}

int TList::IndexOf(const void* item) const {
  const auto found = std::find(items_.begin(), items_.end(), item);
  return found == items_.end() ? -1 : static_cast<int>(found - items_.begin());
}

void TList::Clear() { items_.clear(); }

}  // namespace druvo
