#include "druvo/qstruct/QXML.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "druvo/platform/Exceptions.h"

namespace druvo {

namespace {

constexpr std::size_t npos = std::string_view::npos;

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

// First occurrence of `needle` in text[from, end); npos when none. A
// Knuth-Morris-Pratt search, linear whatever the text and the needle hold, so
// a long hostile name cannot make the search quadratic; memchr skips to the
// candidates for the needle's first byte.
std::size_t FindText(std::string_view text, std::size_t from, std::size_t end,
                     std::string_view needle) {
  if (from > end || needle.size() > end - from) return npos;
  if (needle.empty()) return from;
  // fail[j]: the length of the longest proper border of needle[0..j].
  std::array<std::size_t, 64> shortFail;
  std::vector<std::size_t> longFail;
  std::size_t* fail = shortFail.data();
  if (needle.size() > shortFail.size()) {
    longFail.resize(needle.size());
    fail = longFail.data();
  }
  fail[0] = 0;
  for (std::size_t j = 1, k = 0; j < needle.size(); ++j) {
    while (k > 0 && needle[j] != needle[k]) k = fail[k - 1];
    if (needle[j] == needle[k]) ++k;
    fail[j] = k;
  }
  std::size_t matched = 0;  // needle bytes matched just before text[i]
  std::size_t i = from;
  while (matched < needle.size()) {
    if (matched == 0) {
      if (i >= end) return npos;
      const void* hit = std::memchr(text.data() + i, needle[0], end - i);
      if (hit == nullptr) return npos;
      i = static_cast<std::size_t>(static_cast<const char*>(hit) -
                                   text.data()) +
          1;
      matched = 1;
    } else if (i >= end) {
      return npos;
    } else if (text[i] == needle[matched]) {
      ++i;
      ++matched;
    } else {
      matched = fail[matched - 1];
    }
  }
  return i - matched;
}

std::string CloseTag(std::string_view name) {
  std::string close;
  close.reserve(name.size() + 3);
  close.append("</").append(name).append(">");
  return close;
}

// The characters from `first` up to, not including, `last` (empty when last
// does not lie beyond first).
std::string_view Between(std::string_view text, std::size_t first,
                         std::size_t last) {
  return last > first ? text.substr(first, last - first) : std::string_view();
}

// The name of the start tag [lt, gt) and whether it is self-closing, by the
// cutting rules; `start` is where the text begins.
struct Tag {
  std::string_view name;
  bool selfClosing = false;
};

Tag ReadTag(std::string_view text, std::size_t start, std::size_t lt,
            std::size_t gt) {
  Tag tag;
  tag.selfClosing = gt > start && text[gt - 1] == '/';
  tag.name = Between(text, lt + 1, tag.selfClosing ? gt - 1 : gt);
  return tag;
}

// Every "</" of a text, keyed by the characters up to the next ">", so
// that the first "</name>" at or after a position is found without scanning
// the text between: a search costs the name's length and a binary search.
// Keys are hashed right to left in one pass (a polynomial hash modulo
// 2^61 - 1 with a per-index base), so overlapping keys cost nothing extra;
// every hit is checked against the text, so collisions cost time only.
class EndTagIndex {
 public:
  explicit EndTagIndex(std::string_view text) : text_(text) {
    std::mt19937_64 random(std::random_device{}());
    base_ =
        std::uniform_int_distribution<std::uint64_t>(256, kModulus - 1)(random);
    std::uint64_t hashes[3] = {0, 0, 0};  // at i, i + 1, i + 2
    bool closed[3] = {false, false, false};
    std::uint64_t power = 1;
    for (std::size_t i = text.size(); i-- > 0;) {
      hashes[2] = hashes[1];
      hashes[1] = hashes[0];
      closed[2] = closed[1];
      closed[1] = closed[0];
      if (text[i] == '>') {
        hashes[0] = 0;
        power = 1;
        closed[0] = true;
      } else {
        hashes[0] = Add(Mul(Byte(text[i]), power), hashes[0]);
        power = Mul(power, base_);
      }
      if (text[i] == '<' && i + 2 < text.size() && text[i + 1] == '/' &&
          closed[2]) {
        positions_[hashes[2]].push_back(i);
      }
    }
    for (auto& entry : positions_) {
      std::reverse(entry.second.begin(), entry.second.end());
    }
  }

  // The first "</name>" lying wholly in text[from, end); npos when none.
  std::size_t Find(std::size_t from, std::size_t end,
                   std::string_view name) const {
    std::uint64_t hash = 0;
    for (const char c : name) hash = Add(Mul(hash, base_), Byte(c));
    const auto found = positions_.find(hash);
    if (found == positions_.end()) return npos;
    const std::vector<std::size_t>& list = found->second;
    for (auto at = std::lower_bound(list.begin(), list.end(), from);
         at != list.end() && *at + name.size() + 3 <= end; ++at) {
      if (text_.compare(*at + 2, name.size(), name) == 0 &&
          text_[*at + 2 + name.size()] == '>') {
        return *at;
      }
    }
    return npos;
  }

 private:
  __extension__ typedef unsigned __int128 Wide;
  static constexpr std::uint64_t kModulus = (std::uint64_t{1} << 61) - 1;
  static std::uint64_t Mul(std::uint64_t a, std::uint64_t b) {
    const Wide product = static_cast<Wide>(a) * b;
    const std::uint64_t folded =
        static_cast<std::uint64_t>(product & kModulus) +
        static_cast<std::uint64_t>(product >> 61);
    return folded >= kModulus ? folded - kModulus : folded;
  }
  static std::uint64_t Add(std::uint64_t a, std::uint64_t b) {
    const std::uint64_t sum = a + b;
    return sum >= kModulus ? sum - kModulus : sum;
  }
  static std::uint64_t Byte(char c) {
    return static_cast<unsigned char>(c) + std::uint64_t{1};
  }

  std::string_view text_;
  std::uint64_t base_ = 0;
  std::unordered_map<std::uint64_t, std::vector<std::size_t>> positions_;
};

}  // namespace

// Parses elements of one buffer. The first "<" and ">" at or after an offset
// are cached: the offsets the parse asks about never go backwards, so every
// byte is scanned for them once in all.
class QXmlParser {
 public:
  explicit QXmlParser(std::string_view text) : text_(text) {}

  // Parses the element at the front of text_[begin, end) into `node` and
  // moves begin/end to the rest (the parse trims the text first).
  void Parse(TQXmlNode& node, std::size_t& begin, std::size_t& end, int level);

 private:
  struct Cursor {
    char wanted;
    std::size_t from = npos;
    std::size_t found = npos;
  };

  // First `cursor.wanted` in text_[from, end); npos when none.
  std::size_t Find(Cursor& cursor, std::size_t from, std::size_t end);
  bool IsXml(std::size_t begin, std::size_t end, int level);
  // The first "</name>" in text_[from, end). Shallow elements are searched
  // directly; below kDirectLevels the end-tag index answers, so that nesting
  // does not multiply the cost of the searches.
  std::size_t FindClose(std::size_t from, std::size_t end,
                        std::string_view name, int level);
  void ParseChildren(TQXmlNode& node, std::size_t begin, std::size_t end,
                     int level);

  std::string_view text_;
  static constexpr int kDirectLevels = 8;

  Cursor lt_{'<'};
  Cursor gt_{'>'};
  std::unique_ptr<EndTagIndex> index_;
};

std::size_t QXmlParser::FindClose(std::size_t from, std::size_t end,
                                  std::string_view name, int level) {
  if (level <= kDirectLevels) return FindText(text_, from, end, CloseTag(name));
  if (!index_) index_ = std::make_unique<EndTagIndex>(text_);
  return index_->Find(from, end, name);
}

std::size_t QXmlParser::Find(Cursor& cursor, std::size_t from,
                             std::size_t end) {
  if (cursor.from == npos || from < cursor.from || from > cursor.found) {
    const void* hit =
        std::memchr(text_.data() + from, cursor.wanted, text_.size() - from);
    cursor.from = from;
    cursor.found = hit == nullptr
                       ? npos
                       : static_cast<std::size_t>(
                             static_cast<const char*>(hit) - text_.data());
  }
  return cursor.found < end ? cursor.found : npos;
}

bool QXmlParser::IsXml(std::size_t begin, std::size_t end, int level) {
  const std::size_t lt = Find(lt_, begin, end);
  const std::size_t gt = Find(gt_, begin, end);
  if (lt == npos || gt == npos) return false;
  const Tag tag = ReadTag(text_, begin, lt, gt);
  if (tag.selfClosing) return true;
  return FindClose(begin, end, tag.name, level) != npos;
}

void QXmlParser::Parse(TQXmlNode& node, std::size_t& begin, std::size_t& end,
                       int level) {
  node.Clear();
  while (begin < end && IsBlank(text_[begin])) ++begin;
  while (end > begin && IsBlank(text_[end - 1])) --end;
  const std::size_t lt = Find(lt_, begin, end);
  const std::size_t gt = Find(gt_, begin, end);
  if (lt == npos && gt == npos) {
    node.value_.assign(text_.substr(begin, end - begin));
    begin = end;
    return;
  }
  if (lt == npos) throw Exception("Invalid XML format: single '>' found");
  if (gt == npos) throw Exception("Invalid XML format: single '<' found");
  const Tag tag = ReadTag(text_, begin, lt, gt);
  std::size_t contentBegin = gt + 1;
  std::size_t contentEnd = contentBegin;
  if (tag.selfClosing) {
    begin = gt + 1;
  } else {
    const std::string close = CloseTag(tag.name);
    const std::size_t cp = FindClose(lt, end, tag.name, level);
    if (cp == npos) {
      throw Exception("Invalid XML format: '" + close + "' not found");
    }
    contentEnd = cp;
    while (contentBegin < contentEnd && IsBlank(text_[contentBegin])) {
      ++contentBegin;
    }
    while (contentEnd > contentBegin && IsBlank(text_[contentEnd - 1])) {
      --contentEnd;
    }
    begin = cp + close.size();
    while (begin < end && IsBlank(text_[begin])) ++begin;
  }
  node.name_.assign(tag.name);
  if (!IsXml(contentBegin, contentEnd, level + 1)) {
    node.value_.assign(Between(text_, contentBegin, contentEnd));
    return;
  }
  ParseChildren(node, contentBegin, contentEnd, level);
}

void QXmlParser::ParseChildren(TQXmlNode& node, std::size_t begin,
                               std::size_t end, int level) {
  if (level >= TQXmlNode::MaxNestingDepth) {
    throw Exception("Invalid XML format: elements nested deeper than " +
                    std::to_string(TQXmlNode::MaxNestingDepth) + " levels");
  }
  while (begin < end) {
    auto child = std::make_unique<TQXmlNode>();
    Parse(*child, begin, end, level + 1);
    node.children_.push_back(std::move(child));
  }
}

TQXmlNode::TQXmlNode() = default;

TQXmlNode::~TQXmlNode() { DestroyAll(children_); }

void TQXmlNode::DestroyAll(Children& children) {
  Children pending = std::move(children);
  children.clear();
  while (!pending.empty()) {
    std::unique_ptr<TQXmlNode> node = std::move(pending.back());
    pending.pop_back();
    for (auto& child : node->children_) pending.push_back(std::move(child));
    node->children_.clear();
  }
}

void TQXmlNode::Clear() {
  DestroyAll(children_);
  value_.clear();
  name_.clear();
}

bool TQXmlNode::IsXml(const AnsiString& text) {
  const std::size_t lt = text.find('<');
  const std::size_t gt = text.find('>');
  if (lt == npos || gt == npos) return false;
  const Tag tag = ReadTag(text, 0, lt, gt);
  if (tag.selfClosing) return true;
  return FindText(text, 0, text.size(), CloseTag(tag.name)) != npos;
}

void TQXmlNode::QXmlParse(AnsiString& text) {
  QXmlParser parser(text);
  std::size_t begin = 0;
  std::size_t end = text.size();
  try {
    parser.Parse(*this, begin, end, 1);
  } catch (const Exception&) {
    text = Trim(text);
    throw;
  }
  text = text.substr(begin, end - begin);
}

AnsiString TQXmlNode::ToXmlDef() const {
  struct Frame {
    const TQXmlNode* node;
    std::size_t next;
  };
  AnsiString out;
  std::vector<Frame> stack{{this, 0}};
  out.append("<").append(name_).append(">");
  while (!stack.empty()) {
    Frame& top = stack.back();
    const TQXmlNode& node = *top.node;
    if (node.children_.empty()) out.append(node.value_);
    if (top.next < node.children_.size()) {
      const TQXmlNode& child = *node.children_[top.next++];
      out.append("<").append(child.name_).append(">");
      stack.push_back({&child, 0});
      continue;
    }
    out.append("</").append(node.name_).append(">");
    stack.pop_back();
    if (!stack.empty()) out.push_back('\n');
  }
  return out;
}

std::unique_ptr<TQXmlNode> TQXmlNode::Copy() const {
  auto root = std::make_unique<TQXmlNode>();
  std::vector<std::pair<const TQXmlNode*, TQXmlNode*>> pending{
      {this, root.get()}};
  while (!pending.empty()) {
    const auto [source, target] = pending.back();
    pending.pop_back();
    target->name_ = source->name_;
    target->value_ = source->value_;
    target->children_.reserve(source->children_.size());
    for (const auto& child : source->children_) {
      target->children_.push_back(std::make_unique<TQXmlNode>());
      pending.emplace_back(child.get(), target->children_.back().get());
    }
  }
  return root;
}

void TQXmlNode::Assign(const TQXmlNode* source) {
  if (source == this) return;
  if (source == nullptr) {
    Clear();
    return;
  }
  std::unique_ptr<TQXmlNode> copy = source->Copy();
  Clear();
  name_ = std::move(copy->name_);
  value_ = std::move(copy->value_);
  children_ = std::move(copy->children_);
}

TQXmlNode* TQXmlNode::getNodePtr(const AnsiString& name) const {
  for (const auto& child : children_) {
    if (AnsiCompareText(child->name_, name) == 0) return child.get();
  }
  return nullptr;
}

bool TQXmlNode::getNode(const AnsiString& name, TQXmlNode& out) const {
  const TQXmlNode* found = getNodePtr(name);
  if (found == nullptr) return false;
  out.Assign(found);
  return true;
}

TQXmlNode* TQXmlNode::getNode(int index) const {
  if (index < 0 || index >= getCount()) return nullptr;
  return children_[static_cast<std::size_t>(index)].get();
}

bool TQXmlNode::getNode(int index, TQXmlNode& out) const {
  const TQXmlNode* found = getNode(index);
  if (found == nullptr) return false;
  out.Assign(found);
  return true;
}

AnsiString TQXmlNode::getNodeValue(const AnsiString& name) const {
  const TQXmlNode* found = getNodePtr(name);
  return found == nullptr ? AnsiString() : found->value_;
}

void TQXmlNode::addNode(const TQXmlNode& node) {
  children_.push_back(node.Copy());
}

void TQXmlNode::addNodePtr(TQXmlNode* node) {
  if (node == nullptr || node == this) return;
  children_.emplace_back(node);
}

bool TQXmlNode::deleteNode(int index) {
  if (index < 0 || index >= getCount()) return false;
  Children removed;
  removed.push_back(std::move(children_[static_cast<std::size_t>(index)]));
  children_.erase(children_.begin() + index);
  DestroyAll(removed);
  return true;
}

}  // namespace druvo
