// Memory hints for walks over large trees, shared by the library's sources
// (not installed). A walk over a large document waits mostly on memory;
// asking for the next nodes ahead of reading them lets the misses overlap.
// The hints change no result: without the compiler builtin they do nothing.
#pragma once

namespace druvo::platform_detail {

inline void PrefetchAddress(const void* address) {
#if defined(__GNUC__)
  __builtin_prefetch(address);
#else
  (void)address;
#endif
}

// Both cache lines of an object of up to 128 bytes (a tree node); a null
// object is passed over.
inline void PrefetchObject(const void* object) {
  if (object == nullptr) return;
  PrefetchAddress(object);
  PrefetchAddress(static_cast<const char*>(object) + 64);
}

}  // namespace druvo::platform_detail
