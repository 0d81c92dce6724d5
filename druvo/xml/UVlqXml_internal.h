// Helpers shared by the sources of the XML tree unit: the byte search the
// parser scans with, the search for the end tag of an element, and the
// blocks that nodes made by a parse are cut from.
// Private to the library: not installed and not part of druvo/druvo.h.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace druvo {
class TVLQXmlNode;
}

namespace druvo::xml_detail {

constexpr std::size_t npos = std::string_view::npos;

// The first of the bytes a, b and c in [from, end) of `s`; `end` when none.
// Sixteen bytes at a time where SSE2 is available, reading ahead up to
// `readable` (at least `end`), the size of the buffer `s` points into: short
// ranges, like most values, need no byte-by-byte tail.
inline std::size_t FindAnyOf(const char* s, std::size_t from, std::size_t end,
                             std::size_t readable, char a, char b, char c) {
#if defined(__SSE2__)
  const __m128i va = _mm_set1_epi8(a);
  const __m128i vb = _mm_set1_epi8(b);
  const __m128i vc = _mm_set1_epi8(c);
  for (; from < end && from + 16 <= readable; from += 16) {
    const __m128i chunk =
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + from));
    const __m128i hits = _mm_or_si128(
        _mm_or_si128(_mm_cmpeq_epi8(chunk, va), _mm_cmpeq_epi8(chunk, vb)),
        _mm_cmpeq_epi8(chunk, vc));
    const int mask = _mm_movemask_epi8(hits);
    if (mask != 0) {
      const std::size_t at =
          from + static_cast<std::size_t>(__builtin_ctz(mask));
      return at < end ? at : end;
    }
  }
#else
  (void)readable;
#endif
  for (; from < end; ++from) {
    if (s[from] == a || s[from] == b || s[from] == c) return from;
  }
  return end;
}

class EndTagIndex;

// Finds where elements end: at the first "</tag>" after their start. Lookups
// come in text order (the parser reads forward). Most elements hold no
// element, and their end tag is simply the next end tag of any name. The
// others are searched for in the text, each search for a name resuming what
// the last one for that name learnt. Nested elements are read once per
// ancestor that way; when the searches have read the text over
// kSearchBudget times (a deeply nested document), an index of every end tag
// takes over, which keeps the cost linear in the text's size.
class EndTagFinder {
 public:
  explicit EndTagFinder(std::string_view text);
  ~EndTagFinder();
  EndTagFinder(const EndTagFinder&) = delete;
  EndTagFinder& operator=(const EndTagFinder&) = delete;

  // Position of the first "</" + tag + ">" starting at or after `from` and
  // ending at or before `limit`; npos. `from` must not decrease between calls.
  std::size_t Find(std::string_view tag, std::size_t from, std::size_t limit);

 private:
  static constexpr std::size_t kSearchBudget = 8;
  // What the last search for a name found: no match starts in
  // [from, found), and `found` ends at or before `searched`; when found is
  // npos, no match lies within [from, searched).
  struct Search {
    bool used = false;
    std::string_view tag;
    std::size_t from = 0;
    std::size_t found = npos;
    std::size_t searched = 0;
  };

  std::size_t NextEndTag(std::size_t from);
  std::size_t Searched(std::string_view tag, std::size_t from,
                       std::size_t limit);
  void Charge(std::size_t bytes);
  Search& SearchOf(std::string_view tag);

  std::string_view text_;
  bool nextKnown_ = false;
  std::size_t nextFrom_ = 0;  // no "</" in [nextFrom_, nextAt_)
  std::size_t nextAt_ = npos;
  std::vector<Search> searches_;  // open addressing, size a power of two
  std::size_t searchesUsed_ = 0;
  std::size_t budget_;  // bytes the searches may still read
  std::unique_ptr<EndTagIndex> index_;
};

struct NodeBlock;

// Destroys childless nodes and frees their cells, releasing the cells of one
// block in runs rather than one atomic step per node.
class NodeReleaser {
 public:
  NodeReleaser() = default;
  NodeReleaser(const NodeReleaser&) = delete;
  NodeReleaser& operator=(const NodeReleaser&) = delete;
  ~NodeReleaser() { Flush(); }

  void Free(TVLQXmlNode* node);

 private:
  bool Holds(const void* p) const;
  void Flush();

  NodeBlock* block_ = nullptr;
  std::size_t count_ = 0;
};

// Hands out node cells from blocks of growing size; used by one parse.
class NodeBlocks {
 public:
  NodeBlocks() = default;
  NodeBlocks(const NodeBlocks&) = delete;
  NodeBlocks& operator=(const NodeBlocks&) = delete;
  ~NodeBlocks() { Retire(); }

  void* Allocate();

 private:
  void Start();
  void Retire();

  NodeBlock* block_ = nullptr;
  std::size_t capacity_ = 0;
  std::size_t used_ = 0;
};

// Makes `blocks` the source of new nodes on this thread while alive.
class UseNodeBlocks {
 public:
  explicit UseNodeBlocks(NodeBlocks& blocks);
  ~UseNodeBlocks();
  UseNodeBlocks(const UseNodeBlocks&) = delete;
  UseNodeBlocks& operator=(const UseNodeBlocks&) = delete;

 private:
  NodeBlocks* previous_;
};

}  // namespace druvo::xml_detail
