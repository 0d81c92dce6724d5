// The XML tree unit: finding the end tag of an element, by a search that
// resumes per name and, for deeply nested text, by an index of every end tag.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

#include "druvo/platform/Exceptions.h"
#include "druvo/xml/UVlqXml_internal.h"

namespace druvo::xml_detail {

namespace {

// Index of end tags. An element ends at the first "</tag>" after its start,
// which a plain search finds by scanning the element again for every
// ancestor. The index records, in one pass, the name of every "</" (the bytes
// up to the next '>') and chains the occurrences of each name in text order,
// so that each lookup costs the tag's length plus the occurrences it skips.
// The occurrences are kept in text order, which also answers the commonest
// lookup directly: a leaf's end tag is the next end tag of any name.
// Lookups come in text order (the parser reads forward), so every chain keeps
// a cursor that only moves forward.

// Names without '<' (all real ones) get a fast hash over 8-byte words; names
// with '<' occur only in nested regions and get a polynomial hash modulo
// 2^61 - 1 that can be rolled from the right. The choice depends on the name
// alone, so a tag and its end tag always meet in the same chain.
std::uint64_t WordHash(const char* p, std::size_t n) {
  std::uint64_t hash = 0x9E3779B97F4A7C15ull ^ n;
  for (; n >= 8; p += 8, n -= 8) {
    std::uint64_t word;
    std::memcpy(&word, p, 8);
    hash = (hash ^ word) * 0xBF58476D1CE4E5B9ull;
    hash ^= hash >> 31;
  }
  std::uint64_t tail = 0;
  for (std::size_t i = 0; i < n; ++i) {
    tail |= std::uint64_t{static_cast<unsigned char>(p[i])} << (8 * i);
  }
  hash = (hash ^ tail) * 0x94D049BB133111EBull;
  return hash ^ (hash >> 29);
}

constexpr std::uint64_t kHashModulus = (std::uint64_t{1} << 61) - 1;
constexpr std::uint64_t kHashBase = 0x1F3D5B79A2C4E68Dull % kHashModulus;

std::uint64_t MulMod(std::uint64_t a, std::uint64_t b) {
  __extension__ using Uint128 = unsigned __int128;
  const Uint128 product = static_cast<Uint128>(a) * b;
  std::uint64_t r = (static_cast<std::uint64_t>(product) & kHashModulus) +
                    static_cast<std::uint64_t>(product >> 61);
  r = (r & kHashModulus) + (r >> 61);
  return r >= kHashModulus ? r - kHashModulus : r;
}

std::uint64_t AddMod(std::uint64_t a, std::uint64_t b) {
  const std::uint64_t sum = a + b;
  return sum >= kHashModulus ? sum - kHashModulus : sum;
}

std::uint64_t RollingHash(std::string_view s) {
  std::uint64_t hash = 0;
  for (const char c : s) {
    hash = AddMod(MulMod(hash, kHashBase), static_cast<unsigned char>(c));
  }
  return hash;
}

std::uint64_t NameHash(std::string_view name) {
  const bool nested = name.find('<') != npos;
  return nested ? RollingHash(name) : WordHash(name.data(), name.size());
}

// Short names compare faster in a loop than through a memcmp call.
bool SameBytes(std::string_view a, const char* b) {
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i] != b[i]) return false;
  }
  return true;
}

}  // namespace

class EndTagIndex {
 public:
  // Indexes `text`.
  explicit EndTagIndex(std::string_view text);

  // Position of the first "</" + tag + ">" starting at or after `from` and
  // ending at or before `limit`; npos. `from` must not decrease between calls.
  std::size_t Find(std::string_view tag, std::size_t from, std::size_t limit);

 private:
  static constexpr std::uint32_t kNone = UINT32_MAX;
  struct Occurrence {
    std::uint32_t pos;
    std::uint32_t next;  // the next occurrence of the same name
  };
  struct Chain {
    std::uint64_t hash = 0;
    std::uint32_t length = kNone;  // kNone: unused slot
    std::uint32_t head = kNone;    // first occurrence not yet passed
    std::uint32_t tail = kNone;
  };

  void IndexNestedRegion(std::size_t first, std::size_t gt);
  void Add(std::size_t pos, std::uint64_t hash, std::size_t length);
  Chain* Lookup(std::uint64_t hash, std::size_t length, bool insert);
  void Grow();

  // Occurrences in chunks: no copying and no spare half while they grow.
  static constexpr unsigned kChunkBits = 12;
  static constexpr std::uint32_t kChunkMask = (1u << kChunkBits) - 1;
  Occurrence& At(std::uint32_t index) {
    return chunks_[index >> kChunkBits][index & kChunkMask];
  }

  std::string_view text_;
  std::vector<std::unique_ptr<Occurrence[]>> chunks_;
  std::uint32_t count_ = 0;
  std::uint32_t next_ = 0;  // the first occurrence not before the last lookup
  std::vector<Chain> chains_;  // open addressing, size a power of two
  std::size_t used_ = 0;
};

EndTagIndex::EndTagIndex(std::string_view text) : text_(text), chains_(64) {
  const char* s = text.data();
  const std::size_t n = text.size();
  // Anchored on '/', rarer than '<' in documents (one per end tag).
  for (std::size_t at = 0; at < n;) {
    const void* slash = std::memchr(s + at, '/', n - at);
    if (slash == nullptr) break;
    at = static_cast<const char*>(slash) - s;
    if (at == 0 || s[at - 1] != '<') {
      ++at;
      continue;
    }
    const std::size_t x = at - 1;
    bool nested = false;
    std::size_t gt = x + 2;
    for (; gt < n && s[gt] != '>'; ++gt) nested = nested || s[gt] == '<';
    if (gt == n) break;  // no '>' left: no end tag can follow
    if (nested) {
      IndexNestedRegion(x, gt);
    } else {
      Add(x, WordHash(s + x + 2, gt - x - 2), gt - x - 2);
    }
    at = gt + 1;
  }
}

// Several "</" before one '>' ("</a</b>"): their names are suffixes of one
// another, hashed right to left in one walk.
void EndTagIndex::IndexNestedRegion(std::size_t first, std::size_t gt) {
  const char* s = text_.data();
  std::uint64_t hash = 0;
  std::uint64_t power = 1;
  bool nameHasLt = false;
  struct Found {
    std::size_t pos;
    std::uint64_t hash;
  };
  std::vector<Found> found;
  for (std::size_t k = gt; k >= first + 2; --k) {  // name = s[k, gt)
    if (s[k - 2] == '<' && s[k - 1] == '/') {
      // Only the last "</" can have a name without '<'.
      found.push_back({k - 2, nameHasLt ? hash : WordHash(s + k, gt - k)});
    }
    nameHasLt = nameHasLt || s[k - 1] == '<';
    const std::uint64_t c = static_cast<unsigned char>(s[k - 1]);
    hash = AddMod(hash, MulMod(c, power));
    power = MulMod(power, kHashBase);
  }
  // Occurrences are kept in text order.
  for (auto it = found.rbegin(); it != found.rend(); ++it) {
    Add(it->pos, it->hash, gt - it->pos - 2);
  }
}

void EndTagIndex::Add(std::size_t pos, std::uint64_t hash, std::size_t length) {
  Chain* chain = Lookup(hash, length, true);
  const std::uint32_t index = count_++;
  if ((index & kChunkMask) == 0) {
    chunks_.push_back(
        std::make_unique_for_overwrite<Occurrence[]>(kChunkMask + 1));
  }
  At(index) = {static_cast<std::uint32_t>(pos), kNone};
  if (chain->head == kNone) {
    chain->head = index;
  } else {
    At(chain->tail).next = index;
  }
  chain->tail = index;
}

EndTagIndex::Chain* EndTagIndex::Lookup(std::uint64_t hash, std::size_t length,
                                        bool insert) {
  if (insert && 2 * (used_ + 1) > chains_.size()) Grow();
  const std::size_t mask = chains_.size() - 1;
  std::uint64_t slot =
      (hash ^ (length * 0x9E3779B97F4A7C15ull)) * 0xBF58476D1CE4E5B9ull;
  slot ^= slot >> 31;
  for (;; ++slot) {
    Chain& chain = chains_[slot & mask];
    if (chain.length == kNone) {
      if (!insert) return nullptr;
      chain.hash = hash;
      chain.length = static_cast<std::uint32_t>(length);
      ++used_;
      return &chain;
    }
    if (chain.hash == hash && chain.length == length) return &chain;
  }
}

void EndTagIndex::Grow() {
  std::vector<Chain> old(chains_.size() * 2);
  old.swap(chains_);
  used_ = 0;
  for (const Chain& chain : old) {
    if (chain.length == kNone) continue;
    *Lookup(chain.hash, chain.length, true) = chain;
  }
}

std::size_t EndTagIndex::Find(std::string_view tag, std::size_t from,
                              std::size_t limit) {
  // Most elements hold no element: their end tag is the first of all end
  // tags from `from` on, which needs no hashing.
  while (next_ < count_ && At(next_).pos < from) ++next_;
  if (next_ < count_) {
    const std::size_t pos = At(next_).pos;
    if (pos + tag.size() + 3 <= text_.size() &&
        text_[pos + 2 + tag.size()] == '>' &&
        SameBytes(tag, text_.data() + pos + 2)) {
      return pos + tag.size() + 3 <= limit ? pos : npos;
    }
  }
  Chain* chain = Lookup(NameHash(tag), tag.size(), false);
  if (chain == nullptr) return npos;
  std::uint32_t at = chain->head;
  while (at != kNone && At(at).pos < from) {
    at = At(at).next;
  }
  chain->head = at;
  for (; at != kNone; at = At(at).next) {
    const std::size_t pos = At(at).pos;
    if (pos + tag.size() + 3 > limit) return npos;
    // Equal hashes of different names are possible, if unlikely.
    if (SameBytes(tag, text_.data() + pos + 2)) return pos;
  }
  return npos;
}

// ---------------------------------------------------------------------------
// The finder.

namespace {

// First "</" + tag + ">" starting in [from, limit - its length]; npos.
// Sixteen start positions at a time where SSE2 is available: a candidate
// needs '<', '/' and '>' in their places before its name is compared.
std::size_t FindEndTagText(std::string_view text, std::string_view tag,
                           std::size_t from, std::size_t limit) {
  const std::size_t n = tag.size() + 3;
  if (limit > text.size()) limit = text.size();
  if (from >= limit || limit - from < n) return npos;
  const std::size_t last = limit - n;
  const char* s = text.data();
  std::size_t at = from;
#if defined(__SSE2__)
  const __m128i lt = _mm_set1_epi8('<');
  const __m128i slash = _mm_set1_epi8('/');
  const __m128i gt = _mm_set1_epi8('>');
  const auto load = [s](std::size_t p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + p));
  };
  for (; at <= last && at + n - 1 + 16 <= text.size(); at += 16) {
    const __m128i hits =
        _mm_and_si128(_mm_and_si128(_mm_cmpeq_epi8(load(at), lt),
                                    _mm_cmpeq_epi8(load(at + 1), slash)),
                      _mm_cmpeq_epi8(load(at + n - 1), gt));
    for (unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(hits));
         mask != 0; mask &= mask - 1) {
      const std::size_t p = at + static_cast<std::size_t>(__builtin_ctz(mask));
      if (p > last) return npos;
      if (SameBytes(tag, s + p + 2)) return p;
    }
  }
#endif
  for (; at <= last; ++at) {
    if (s[at] == '<' && s[at + 1] == '/' && s[at + n - 1] == '>' &&
        SameBytes(tag, s + at + 2)) {
      return at;
    }
  }
  return npos;
}

}  // namespace

EndTagFinder::EndTagFinder(std::string_view text)
    : text_(text), searches_(16), budget_(kSearchBudget * text.size() + 65536) {
  if (text.size() >= UINT32_MAX) {
    throw Exception("Invalid XML format: text longer than 4294967294 bytes");
  }
}

EndTagFinder::~EndTagFinder() = default;

std::size_t EndTagFinder::Find(std::string_view tag, std::size_t from,
                               std::size_t limit) {
  if (index_ != nullptr) return index_->Find(tag, from, limit);
  // Most elements hold no element: their end tag is the next end tag.
  const std::size_t next = NextEndTag(from);
  if (next == npos) return npos;
  const std::size_t end = next + tag.size() + 3;
  if (end <= text_.size() && text_[end - 1] == '>' &&
      SameBytes(tag, text_.data() + next + 2)) {
    return end <= limit ? next : npos;
  }
  return Searched(tag, from, limit);
}

// The first "</" at or after `from`; npos. Remembered, so that the text
// between two end tags is read once however many lookups start in it.
std::size_t EndTagFinder::NextEndTag(std::size_t from) {
  if (nextKnown_ && from >= nextFrom_ && from <= nextAt_) return nextAt_;
  const char* s = text_.data();
  const std::size_t n = text_.size();
  std::size_t at = from;
  for (;;) {
    at = FindAnyOf(s, at, n, n, '/', '/', '/');
    if (at == n) {
      at = npos;
      break;
    }
    if (at > from && s[at - 1] == '<') {
      --at;
      break;
    }
    ++at;
  }
  nextKnown_ = true;
  nextFrom_ = from;
  nextAt_ = at;
  return at;
}

// The end tag searched for in the text, from where the last search for the
// same name left off when that tells anything.
std::size_t EndTagFinder::Searched(std::string_view tag, std::size_t from,
                                   std::size_t limit) {
  Search& last = SearchOf(tag);
  const std::size_t n = tag.size() + 3;
  std::size_t start = from;
  std::size_t knownFrom = from;
  if (last.from <= from) {
    if (last.found != npos && last.found >= from) {
      return last.found + n <= limit ? last.found : npos;
    }
    if (last.found == npos) {
      if (limit <= last.searched) return npos;
      // Matches that end by `searched` were ruled out.
      if (last.searched >= n && last.searched - n + 1 > from) {
        start = last.searched - n + 1;
        knownFrom = last.from;
      }
    }
  }
  const std::size_t found = FindEndTagText(text_, tag, start, limit);
  last.from = knownFrom;
  last.found = found;
  last.searched = limit;
  Charge((found == npos ? std::min(limit, text_.size()) : found + n) - start);
  return found;
}

// Counts bytes read by searches; past the budget the index takes over.
void EndTagFinder::Charge(std::size_t bytes) {
  if (bytes <= budget_) {
    budget_ -= bytes;
    return;
  }
  index_ = std::make_unique<EndTagIndex>(text_);
  searches_.clear();
}

EndTagFinder::Search& EndTagFinder::SearchOf(std::string_view tag) {
  if (2 * (searchesUsed_ + 1) > searches_.size()) {
    std::vector<Search> old(searches_.size() * 2);
    old.swap(searches_);
    searchesUsed_ = 0;
    for (Search& search : old) {
      if (search.used) SearchOf(search.tag) = search;
    }
  }
  const std::size_t mask = searches_.size() - 1;
  for (std::uint64_t slot = WordHash(tag.data(), tag.size());; ++slot) {
    Search& search = searches_[slot & mask];
    if (!search.used) {
      search.used = true;
      search.tag = tag;
      search.from = npos;
      ++searchesUsed_;
      return search;
    }
    if (search.tag == tag) return search;
  }
}

}  // namespace druvo::xml_detail
