#include "druvo/xml/UVlqXml.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <new>
#include <string>
#include <utility>

#include "druvo/platform/Exceptions.h"
#include "druvo/platform/NumberText.h"
#include "druvo/platform/Prefetch_internal.h"
#include "druvo/util/KorbLib.h"
#include "druvo/xml/UVlqXml_internal.h"

namespace druvo {

bool TVLQXmlNode::UzywacCDATA = false;

namespace {

using xml_detail::EndTagFinder;
using xml_detail::FindAnyOf;
using xml_detail::NodeBlocks;
using xml_detail::NodeReleaser;
using xml_detail::npos;
using xml_detail::UseNodeBlocks;
using NodeList = std::vector<std::unique_ptr<TVLQXmlNode>>;

[[noreturn]] void Fail(AnsiString message) {
  throw Exception(std::move(message));
}

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

// Narrows [begin, end) of `text` by the bytes 0 to 32 at both ends.
void TrimRange(const char* text, std::size_t& begin, std::size_t& end) {
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
}

std::string_view TrimView(std::string_view s) {
  std::size_t begin = 0;
  std::size_t end = s.size();
  TrimRange(s.data(), begin, end);
  return s.substr(begin, end - begin);
}

// How much of a tag's content DelPropertiesFromFieldName keeps.
std::size_t PropertiesCut(std::string_view tag) {
  for (std::size_t i = 0; i < tag.size(); ++i) {
    const char c = tag[i];
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
      const bool lastBlank = c == ' ' && i + 1 == tag.size();
      return lastBlank ? tag.size() : i;
    }
  }
  return tag.size();
}

std::string_view WithoutNamespace(std::string_view name) {
  // Names are short: a loop beats a call.
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (name[i] == ':') return name.substr(i + 1);
  }
  return name;
}

// First `needle` (two bytes or more) in `hay` at or after `from`; npos.
// Anchored on the needle's second byte, which in these markers ('!', '?',
// ']', '-') is rare in invoices, unlike the '<' that begins most of them.
std::size_t FindMarker(std::string_view hay, std::string_view needle,
                       std::size_t from) {
  const char* data = hay.data();
  std::size_t at = from + 1;
  while (at < hay.size()) {
    const void* hit = std::memchr(data + at, needle[1], hay.size() - at);
    if (hit == nullptr) return npos;
    const std::size_t start = static_cast<const char*>(hit) - data - 1;
    if (hay.compare(start, needle.size(), needle) == 0) return start;
    at = start + 2;
  }
  return npos;
}

AnsiString EndTagText(std::string_view tag) {
  AnsiString text = "</";
  text.append(tag);
  text += '>';
  return text;
}

// ---------------------------------------------------------------------------
// Entity references and escaping, each in one pass.

struct EntityRef {
  std::string_view text;
  char decoded;
};
constexpr EntityRef kEntities[] = {
    {"&lt;", '<'},  {"&gt;", '>'},   {"&quot;", '"'}, {"&apos;", '\''},
    {"&#34;", '"'}, {"&#39;", '\''}, {"&amp;", '&'},
};
constexpr EntityRef kCarriageReturn = {"&#xD;", '\r'};

// Length of the reference at the start of `s` (0 when none) and its char.
std::size_t EntityAt(std::string_view s, bool decodeCR, char& decoded) {
  for (const EntityRef& entity : kEntities) {
    if (s.substr(0, entity.text.size()) == entity.text) {
      decoded = entity.decoded;
      return entity.text.size();
    }
  }
  if (decodeCR &&
      s.substr(0, kCarriageReturn.text.size()) == kCarriageReturn.text) {
    decoded = kCarriageReturn.decoded;
    return kCarriageReturn.text.size();
  }
  return 0;
}

// Sets `out` to `s` with every reference decoded once. References are
// '&' ... ';' and none contains another '&', so decoding left to right gives
// what replacing them one kind after another (&amp; last) gives.
void DecodeInto(std::string_view s, bool decodeCR, AnsiString& out) {
  std::size_t amp = s.find('&');
  if (amp == npos) {
    out.assign(s.data(), s.size());
    return;
  }
  out.clear();
  out.reserve(s.size());
  std::size_t done = 0;
  while (amp != npos) {
    out.append(s.substr(done, amp - done));
    char decoded = '&';
    const std::size_t length = EntityAt(s.substr(amp), decodeCR, decoded);
    out += decoded;
    done = amp + std::max<std::size_t>(length, 1);
    amp = s.find('&', done);
  }
  out.append(s.substr(done));
}

bool NeedsEscape(char c) {
  return c == '&' || c == '<' || c == '>' || c == '"' || c == '\'';
}

void AppendEscaped(std::string_view s, AnsiString& out) {
  for (const char c : s) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&apos;";
        break;
      default:
        out += c;
    }
  }
}

// ---------------------------------------------------------------------------
// Preprocessing. The rules delete or replace a piece and search again from
// the start of the text; done literally that is quadratic. Here the text is
// rewritten left to right: a match can only reappear where an edit joined
// two pieces, so each search resumes a few bytes before the last edit.

// A text under rewriting: the rewritten part `out_` followed by the untouched
// source from `pos_`. Positions are positions in that concatenation.
class SplicedText {
 public:
  explicit SplicedText(std::string_view source) : source_(source) {}

  std::size_t Size() const { return out_.size() + source_.size() - pos_; }

  char At(std::size_t at) const {
    return at < out_.size() ? out_[at] : source_[pos_ + at - out_.size()];
  }

  // First occurrence of `pattern` starting at or after `from`; npos.
  std::size_t Find(std::string_view pattern, std::size_t from) const {
    const std::size_t written = out_.size();
    if (from < written) {
      const std::size_t inside = out_.find(pattern, from);
      if (inside != npos) return inside;
      const std::size_t straddle =
          written >= pattern.size() ? written - pattern.size() + 1 : 0;
      for (std::size_t at = std::max(from, straddle); at < written; ++at) {
        if (MatchesAt(pattern, at)) return at;
      }
      from = written;
    }
    const std::size_t found =
        FindMarker(source_, pattern, pos_ + from - written);
    return found == npos ? npos : found - pos_ + written;
  }

  AnsiString Copy(std::size_t begin, std::size_t end) const {
    AnsiString piece;
    piece.reserve(end - begin);
    for (std::size_t at = begin; at < std::min(end, out_.size()); ++at) {
      piece += out_[at];
    }
    if (end > out_.size()) {
      const std::size_t first = std::max(begin, out_.size());
      piece.append(source_.substr(pos_ + first - out_.size(), end - first));
    }
    return piece;
  }

  // Replaces [begin, end) by `replacement`; `end` lies in the untouched part.
  void Replace(std::size_t begin, std::size_t end,
               std::string_view replacement) {
    const std::size_t written = out_.size();
    const std::size_t sourceEnd = pos_ + (end - written);
    if (out_.capacity() == 0) out_.reserve(source_.size() - pos_);
    if (begin >= written) {
      out_.append(source_.substr(pos_, begin - written));
    } else {
      out_.resize(begin);
    }
    pos_ = sourceEnd;
    out_.append(replacement);
  }

  // The result: a view of the source when nothing had to be rewritten,
  // otherwise of `storage`, which receives the rewritten text.
  std::string_view Finish(std::string& storage) {
    if (out_.empty()) return source_.substr(pos_);
    out_.append(source_.substr(pos_));
    storage = std::move(out_);
    return storage;
  }

 private:
  bool MatchesAt(std::string_view pattern, std::size_t at) const {
    if (at + pattern.size() > Size()) return false;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
      if (At(at + i) != pattern[i]) return false;
    }
    return true;
  }

  std::string_view source_;
  std::size_t pos_ = 0;
  std::string out_;
};

// Every CDATA section replaced by its escaped content. The escaped content
// holds no '<' or '>', so a new "<![CDATA[" or "]]>" can only start within
// 8 bytes before it or after it.
std::string_view ReplaceCDataSections(std::string_view text,
                                      std::string& storage) {
  static constexpr std::string_view kOpen = "<![CDATA[";
  static constexpr std::string_view kClose = "]]>";
  SplicedText spliced(text);
  std::size_t from = 0;
  AnsiString escaped;
  for (;;) {
    const std::size_t open = spliced.Find(kOpen, from);
    const std::size_t close = spliced.Find(kClose, from);
    if (open == npos && close == npos) break;
    // A "]]>" before the first "<![CDATA[" stays there while the sections
    // after it are replaced, so the loop would end on it anyway.
    if (open == npos || (close != npos && close < open)) {
      Fail("Invalid XML format: single ']]>' found");
    }
    if (close == npos) Fail("Invalid XML format: single '<![CDATA[' found");
    escaped.clear();
    AppendEscaped(spliced.Copy(open + kOpen.size(), close), escaped);
    spliced.Replace(open, close + kClose.size(), escaped);
    from = open >= kOpen.size() - 1 ? open - (kOpen.size() - 1) : 0;
  }
  return spliced.Finish(storage);
}

// Where the declaration and comment markers are, found in one pass over the
// bytes '?' and '!' that they contain (rare in invoices).
struct Markers {
  std::vector<std::size_t> declarations;     // "<?xml"
  std::vector<std::size_t> declarationEnds;  // "?>"
  std::size_t firstComment = npos;           // "<!--"
};

// Records the marker whose '?' or '!' is at `at`, if any.
void NoteMarker(std::string_view text, std::size_t at, Markers& markers) {
  if (text[at] == '!') {
    if (markers.firstComment == npos && at > 0 &&
        text.compare(at - 1, 4, "<!--") == 0) {
      markers.firstComment = at - 1;
    }
    return;
  }
  if (at > 0 && text.compare(at - 1, 5, "<?xml") == 0) {
    markers.declarations.push_back(at - 1);
  }
  if (at + 1 < text.size() && text[at + 1] == '>') {
    markers.declarationEnds.push_back(at);
  }
}

Markers FindMarkers(std::string_view text) {
  Markers markers;
  const char* s = text.data();
  const std::size_t n = text.size();
  for (std::size_t at = FindAnyOf(s, 0, n, n, '?', '!', '!'); at < n;
       at = FindAnyOf(s, at + 1, n, n, '?', '!', '!')) {
    NoteMarker(text, at, markers);
  }
  return markers;
}

// How much DelXMLDeclaration removes: while the text still holds "<?xml" and
// "?>", everything through the first "?>" goes, so only a prefix is cut.
std::size_t DeclarationsLength(const Markers& markers) {
  std::size_t start = 0;
  std::size_t declaration = 0;
  std::size_t end = 0;
  for (;;) {
    while (declaration < markers.declarations.size() &&
           markers.declarations[declaration] < start) {
      ++declaration;
    }
    while (end < markers.declarationEnds.size() &&
           markers.declarationEnds[end] < start) {
      ++end;
    }
    if (declaration == markers.declarations.size() ||
        end == markers.declarationEnds.size()) {
      return start;
    }
    start = markers.declarationEnds[end] + 2;
  }
}

// Comments removed, the first "<!--" being at `open` (npos: none). A
// deletion joins two pieces; a new "<!--" can only start within 3 bytes
// before the join.
std::string_view RemoveComments(std::string_view text, std::string& storage,
                                std::size_t open) {
  SplicedText spliced(text);
  while (open != npos) {
    const std::size_t close = spliced.Find("-->", open + 1);
    if (close == npos) break;
    spliced.Replace(open, close + 3, {});
    open = spliced.Find("<!--", open >= 3 ? open - 3 : 0);
  }
  return spliced.Finish(storage);
}

// Puts a preprocessing result, a suffix of `s` or `storage`, into `s`.
void AssignResult(AnsiString& s, std::string_view result,
                  std::string& storage) {
  if (!storage.empty() && result.data() == storage.data()) {
    s = std::move(storage);
  } else {
    s.erase(0, s.size() - result.size());
  }
}

// AnsiCompareText(a, b) == 0 for names of equal length, decided without the
// call when the bytes are equal or first differ in ASCII bytes that are not
// one letter in two cases (bytes below 128 case-map as ASCII does, and no
// other byte maps to them).
bool SameText(std::string_view a, std::string_view b) {
  std::size_t i = 0;
  while (i < a.size() && a[i] == b[i]) ++i;
  if (i == a.size()) return true;
  const auto x = static_cast<unsigned char>(a[i]);
  const auto y = static_cast<unsigned char>(b[i]);
  const auto isLetter = [](unsigned char c) {
    return (c | 0x20) >= 'a' && (c | 0x20) <= 'z';
  };
  if (x < 128 && y < 128 && !(isLetter(x) && (x | 0x20) == (y | 0x20))) {
    return false;
  }
  return AnsiCompareText(a, b) == 0;
}

// ---------------------------------------------------------------------------
// The parser. Where the rules cut the text into "the element" and "rest",
// it keeps [begin, end) offsets into one buffer. Elements are parsed with an
// explicit stack of frames, one per element whose children are being read.

// The first element of a range as the cutting rules see it.
struct Head {
  std::size_t open = npos;   // the first '<'
  std::size_t close = npos;  // the first '>'
  bool selfClosing = false;
  std::string_view tag;       // with attributes cut off when asked
  std::size_t endTag = npos;  // the closing "</tag>" (not self-closing)
  bool scannedAll = false;    // no '>': the whole range was read
  bool sawAmpersand = false;  // a '&' among the bytes read
  bool otherLt = false;       // another '<' before the first '>'
  bool textOnly = false;      // only text, no '<', '>' or '&', up to endTag
  // endTag still to be searched for, up to `limit` (see ResolveEnd).
  bool endPending = false;
  std::size_t limit = npos;
};

bool HeadIsXml(const Head& head) {
  return head.open != npos && head.close != npos &&
         (head.selfClosing || head.endTag != npos);
}

class Parser {
 public:
  // Reads `text` from `begin`, finding end tags in `text` with `index`.
  Parser(std::string_view text, std::size_t begin, EndTagFinder& index,
         bool delProperties, bool delNamespace);

  // Parses the first element of the text into `root`. `rest`, when given,
  // holds the text and receives what follows the element.
  void Parse(TVLQXmlNode& root, AnsiString* rest);

 private:
  struct Frame {
    TVLQXmlNode* node = nullptr;
    std::size_t cur = 0;  // the node's inner text still to parse
    std::size_t end = 0;
    Head first;  // already scanned head at `cur`
    bool firstValid = false;
    NodeList children;
  };

  Head Scan(std::size_t cur, std::size_t end);
  bool FindTextOnlyEnd(Head& head, std::size_t end);
  bool EndTagAt(std::size_t at, std::string_view tag) const;
  void SetName(TVLQXmlNode& node, std::string_view tag) const;
  void ResolveEnd(Head& head);
  bool FillLeafParent(TVLQXmlNode& node, const Head& head, std::size_t end,
                      std::size_t& rest);
  std::size_t SkipBlanks(std::size_t at, std::size_t end) const;
  std::size_t Fill(TVLQXmlNode& node, Head& head, std::size_t cur,
                   std::size_t end);
  void PushFrame(TVLQXmlNode& node, std::size_t begin, std::size_t end,
                 const Head& first);
  void RunFrames();
  void ParseNextChild(std::size_t frame);
  void FinishFrame(Frame& frame);
  void KeepFinishedChildren(TVLQXmlNode& root);
  void StoreRest(AnsiString* rest) const;

  std::string_view text_;
  const char* s_;
  std::size_t begin_;
  bool delProperties_;
  bool delNamespace_;
  EndTagFinder& index_;
  NodeBlocks blocks_;
  UseNodeBlocks useBlocks_{blocks_};
  std::vector<Frame> frames_;
  std::size_t depth_ = 0;  // frames in use
  NodeList leaves_;        // FillLeafParent's children, reused
  bool restKnown_ = false;
  std::size_t restBegin_ = 0;
  std::size_t restEnd_ = 0;
};

Parser::Parser(std::string_view text, std::size_t begin, EndTagFinder& index,
               bool delProperties, bool delNamespace)
    : text_(text),
      s_(text.data()),
      begin_(begin),
      delProperties_(delProperties),
      delNamespace_(delNamespace),
      index_(index) {}

Head Parser::Scan(std::size_t cur, std::size_t end) {
  Head head;
  // One pass up to the first '>' finds the first '<' on the way (and tells
  // a value without '&' that it needs no decoding).
  std::size_t at = cur;
  for (;; ++at) {
    at = FindAnyOf(s_, at, end, text_.size(), '<', '>', '&');
    if (at == end) {
      head.scannedAll = true;
      return head;
    }
    if (s_[at] == '>') break;
    if (s_[at] == '&') {
      head.sawAmpersand = true;
    } else if (head.open == npos) {
      head.open = at;
    } else {
      head.otherLt = true;
    }
  }
  head.close = at;
  if (head.open == npos) {
    const void* lt = std::memchr(s_ + at, '<', end - at);
    if (lt == nullptr) return head;
    head.open = static_cast<const char*>(lt) - s_;
  }
  head.selfClosing = head.close > cur && s_[head.close - 1] == '/';
  if (head.close < head.open) {
    // Rejected when parsed; IsXml still looks for "</>" as the rules do.
    if (!head.selfClosing) head.endTag = index_.Find({}, head.open, end);
    return head;
  }
  const std::size_t tagEnd = head.selfClosing ? head.close - 1 : head.close;
  head.tag = text_.substr(head.open + 1, tagEnd - head.open - 1);
  if (delProperties_) head.tag = head.tag.substr(0, PropertiesCut(head.tag));
  if (!head.selfClosing && !FindTextOnlyEnd(head, end)) {
    head.endPending = true;
    head.limit = end;
  }
  return head;
}

// Searches for the end tag of an element that holds more than text, unless
// found already. Searches still come in text order: a head is resolved
// before anything after its start is searched for.
void Parser::ResolveEnd(Head& head) {
  if (!head.endPending) return;
  head.endTag = index_.Find(head.tag, head.open, head.limit);
  head.endPending = false;
}

// The commonest element with children holds text-only elements and blanks
// and then its end tag: an invoice line. Such an element is read in one walk
// that finds its end tag on the way, without a search: no "</tag>" can come
// earlier, since the children's texts hold no '<' and their tags are other
// names. Anything else (text between children, a child with children or
// entities, a self-closing child, a child of the same name) gives up with
// nothing changed, and the general path reads the element.
bool Parser::FillLeafParent(TVLQXmlNode& node, const Head& head,
                            std::size_t end, std::size_t& rest) {
  if (depth_ + 2 > static_cast<std::size_t>(TVLQXmlNode::MaxNestingDepth)) {
    return false;
  }
  const std::string_view tag = head.tag;
  std::size_t at = SkipBlanks(head.close + 1, end);
  leaves_.clear();
  while (at + 1 < end && s_[at] == '<' && s_[at + 1] != '/') {
    Head child = Scan(at, end);
    if (!child.textOnly || child.open != at || child.endTag == npos ||
        child.tag == tag) {
      leaves_.clear();
      return false;
    }
    leaves_.push_back(std::make_unique<TVLQXmlNode>());
    at = Fill(*leaves_.back(), child, at, end);
  }
  const std::size_t after = at + tag.size() + 3;
  if (leaves_.empty() || after > end || !EndTagAt(at, tag)) {
    leaves_.clear();
    return false;
  }
  SetName(node, tag);
  node.Nodes.assign(std::make_move_iterator(leaves_.begin()),
                    std::make_move_iterator(leaves_.end()));
  leaves_.clear();
  rest = SkipBlanks(after, end);
  return true;
}

// Most elements hold only text: when nothing but text follows the start tag
// up to a "</tag>", that is the first "</" after the start and so its end.
// Sets endTag and textOnly then (endTag npos when it ends beyond `end`).
bool Parser::FindTextOnlyEnd(Head& head, std::size_t end) {
  if (head.otherLt || s_[head.open + 1] == '/') return false;
  const std::size_t at =
      FindAnyOf(s_, head.close + 1, end, text_.size(), '<', '>', '&');
  if (at == end || !EndTagAt(at, head.tag)) return false;
  head.endTag = at + head.tag.size() + 3 <= end ? at : npos;
  head.textOnly = true;
  return true;
}

// Whether "</" + tag + ">" is written at `at`.
bool Parser::EndTagAt(std::size_t at, std::string_view tag) const {
  const std::size_t tagEnd = at + 2 + tag.size();
  return tagEnd < text_.size() && s_[at] == '<' && s_[at + 1] == '/' &&
         s_[tagEnd] == '>' &&
         std::memcmp(s_ + at + 2, tag.data(), tag.size()) == 0;
}

// An element's Name: its tag, without the namespace prefix when asked.
void Parser::SetName(TVLQXmlNode& node, std::string_view tag) const {
  node.Name.assign(delNamespace_ ? WithoutNamespace(tag) : tag);
}

// The first byte from `at` on that is not blank (0 to 32); `end` when none.
// Sixteen bytes at a time where SSE2 is available: the indentation between
// elements is a run of blanks.
std::size_t Parser::SkipBlanks(std::size_t at, std::size_t end) const {
#if defined(__SSE2__)
  // A signed comparison after flipping the top bit compares unsigned bytes.
  const __m128i flip = _mm_set1_epi8(static_cast<char>(0x80));
  const __m128i blank = _mm_set1_epi8(static_cast<char>(32 ^ 0x80));
  for (; at < end && at + 16 <= text_.size(); at += 16) {
    const __m128i chunk = _mm_xor_si128(
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(s_ + at)), flip);
    const int mask = _mm_movemask_epi8(_mm_cmpgt_epi8(chunk, blank));
    if (mask != 0) {
      return std::min(end, at + static_cast<std::size_t>(__builtin_ctz(mask)));
    }
  }
#endif
  while (at < end && IsBlank(s_[at])) ++at;
  return std::min(at, end);
}

// Fills `node` from the element `head` at the front of [cur, end): its Name
// and its Value, or a frame that will read its children. Returns where the
// rest of the range begins.
std::size_t Parser::Fill(TVLQXmlNode& node, Head& head, std::size_t cur,
                         std::size_t end) {
  if (head.open == npos && head.close == npos) {
    node.Value.assign(TrimView(text_.substr(cur, end - cur)));
    return end;
  }
  // A '>' before the first '<' has no meaning in the cutting rules.
  if (head.open == npos || head.close < head.open) {
    Fail("Invalid XML format: single '>' found");
  }
  if (head.close == npos) Fail("Invalid XML format: single '<' found");
  std::size_t innerBegin = head.close + 1;
  std::size_t innerEnd = innerBegin;
  std::size_t rest = head.close + 1;
  if (!head.selfClosing) {
    if (head.endPending && FillLeafParent(node, head, end, rest)) return rest;
    ResolveEnd(head);
    if (head.endTag == npos) {
      Fail("Invalid XML format: '" + EndTagText(head.tag) + "' not found");
    }
    innerEnd = std::max(head.endTag, innerBegin);
    TrimRange(s_, innerBegin, innerEnd);
    rest = head.endTag + head.tag.size() + 3;
    rest = SkipBlanks(rest, end);
  }
  SetName(node, head.tag);
  if (innerBegin == innerEnd) return rest;
  if (head.textOnly) {
    node.Value.assign(s_ + innerBegin, innerEnd - innerBegin);
    return rest;
  }
  Head first = Scan(innerBegin, innerEnd);
  ResolveEnd(first);
  if (HeadIsXml(first)) {
    PushFrame(node, innerBegin, innerEnd, first);
  } else if (first.scannedAll && !first.sawAmpersand) {
    node.Value.assign(s_ + innerBegin, innerEnd - innerBegin);
  } else {
    DecodeInto(text_.substr(innerBegin, innerEnd - innerBegin), false,
               node.Value);
  }
  return rest;
}

void Parser::PushFrame(TVLQXmlNode& node, std::size_t begin, std::size_t end,
                       const Head& first) {
  // `node` is at level depth_ + 1; its children would be one deeper.
  if (depth_ + 2 > static_cast<std::size_t>(TVLQXmlNode::MaxNestingDepth)) {
    Fail("Invalid XML format: elements nested deeper than " +
         std::to_string(TVLQXmlNode::MaxNestingDepth) + " levels");
  }
  if (depth_ == frames_.size()) frames_.emplace_back();
  Frame& frame = frames_[depth_];
  frame.node = &node;
  frame.cur = begin;
  frame.end = end;
  frame.first = first;
  frame.firstValid = true;
  ++depth_;
}

void Parser::Parse(TVLQXmlNode& root, AnsiString* rest) {
  try {
    Head head = Scan(begin_, text_.size());
    restBegin_ = Fill(root, head, begin_, text_.size());
    restEnd_ = text_.size();
    if (head.open != npos && !head.selfClosing) {
      while (restEnd_ > restBegin_ && IsBlank(s_[restEnd_ - 1])) --restEnd_;
    }
    restKnown_ = true;
    RunFrames();
  } catch (...) {
    KeepFinishedChildren(root);
    StoreRest(rest);
    throw;
  }
  StoreRest(rest);
}

void Parser::RunFrames() {
  while (depth_ > 0) {
    Frame& top = frames_[depth_ - 1];
    if (top.cur >= top.end) {
      FinishFrame(top);
      --depth_;
    } else {
      ParseNextChild(depth_ - 1);
    }
  }
}

void Parser::ParseNextChild(std::size_t frameIndex) {
  Frame& frame = frames_[frameIndex];
  Head head = frame.firstValid ? frame.first : Scan(frame.cur, frame.end);
  frame.firstValid = false;
  NodeList& siblings = frame.children;
  if (siblings.size() == siblings.capacity()) {
    siblings.reserve(siblings.size() * 2 + 8);
  }
  auto child = std::make_unique<TVLQXmlNode>();
  // Fill may push a frame and so move `frame`; use the index afterwards.
  const std::size_t rest = Fill(*child, head, frame.cur, frame.end);
  frames_[frameIndex].children.push_back(std::move(child));
  frames_[frameIndex].cur = rest;
}

void Parser::FinishFrame(Frame& frame) {
  frame.node->Nodes.assign(std::make_move_iterator(frame.children.begin()),
                           std::make_move_iterator(frame.children.end()));
  frame.children.clear();
}

// After an error the root keeps the children it had finished; the one being
// parsed (the node of the second frame) is dropped with the parser.
void Parser::KeepFinishedChildren(TVLQXmlNode& root) {
  if (depth_ == 0 || frames_[0].node != &root) return;
  NodeList& children = frames_[0].children;
  const std::size_t keep = children.size() - (depth_ >= 2 ? 1 : 0);
  root.Nodes.assign(std::make_move_iterator(children.begin()),
                    std::make_move_iterator(children.begin() + keep));
}

void Parser::StoreRest(AnsiString* rest) const {
  if (rest == nullptr || !restKnown_) return;
  rest->erase(restEnd_);
  rest->erase(0, restBegin_);
}

// Destroying a large tree waits mostly on memory: the nodes a few steps
// ahead are asked for early.
constexpr std::size_t kPrefetchAhead = 8;

// Destroys trees without recursion: children are moved onto a work list
// before their parent is freed. Null entries (children a caller reset or
// moved out of Nodes) are passed over.
void DestroyTrees(NodeList&& nodes) {
  if (nodes.empty()) return;
  NodeList pending = std::move(nodes);
  NodeReleaser releaser;
  while (!pending.empty()) {
    TVLQXmlNode* node = pending.back().release();
    pending.pop_back();
    if (!pending.empty()) platform_detail::PrefetchObject(pending.back().get());
    if (node == nullptr) continue;  // a child the caller emptied
    // Leaves go at once; inner nodes are stacked last first, so that the
    // tree is visited in the order its nodes were made.
    NodeList& children = node->Nodes;
    const std::size_t count = children.size();
    for (std::size_t i = 0; i < count; ++i) {
      if (i + kPrefetchAhead < count) {
        platform_detail::PrefetchObject(children[i + kPrefetchAhead].get());
      }
      if (children[i] && children[i]->Nodes.empty()) {
        releaser.Free(children[i].release());
      }
    }
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
      if (*it) pending.push_back(std::move(*it));
    }
    children.clear();
    releaser.Free(node);
  }
}

// Serialises a subtree iteratively, indented or on one line.
void WriteTree(const TVLQXmlNode& root, int level, bool indented,
               AnsiString& out) {
  struct Step {
    const TVLQXmlNode* node;
    std::size_t next;  // the next child to write
    int level;
  };
  const auto writeOpen = [&](const TVLQXmlNode& node, int depth) {
    if (indented && depth > 0)
      out.append(static_cast<std::size_t>(depth), '\t');
    out += '<';
    out += node.Name;
    out += '>';
  };
  const auto writeClose = [&](const TVLQXmlNode& node) {
    out += "</";
    out += node.Name;
    out += '>';
  };
  std::vector<Step> stack{{&root, 0, level}};
  writeOpen(root, level);
  while (!stack.empty()) {
    Step& step = stack.back();
    const TVLQXmlNode& node = *step.node;
    if (node.Nodes.empty()) {
      out += TVLQXmlNode::ZapiszString(node.Value);
      writeClose(node);
      stack.pop_back();
    } else if (step.next < node.Nodes.size()) {
      const TVLQXmlNode& child = *node.Nodes[step.next++];
      const int childLevel = step.level + 1;
      if (indented) out += '\n';
      writeOpen(child, childLevel);
      stack.push_back({&child, 0, childLevel});
    } else {
      if (indented) {
        out += '\n';
        if (step.level > 0) {
          out.append(static_cast<std::size_t>(step.level), '\t');
        }
      }
      writeClose(node);
      stack.pop_back();
    }
  }
}

}  // namespace

// ---------------------------------------------------------------------------

TVLQXmlNode::TVLQXmlNode() = default;

TVLQXmlNode::~TVLQXmlNode() { DestroyTrees(std::move(Nodes)); }

void TVLQXmlNode::Clear() { DestroyTrees(TakeContents()); }

std::vector<std::unique_ptr<TVLQXmlNode>> TVLQXmlNode::TakeContents() {
  NodeList children = std::move(Nodes);
  Nodes.clear();
  Value.clear();
  Name.clear();
  return children;
}

TVLQXmlNode* TVLQXmlNode::GetNodeByIdx(int i) const {
  if (i < 0 || i >= GetCount()) return nullptr;
  return Nodes[static_cast<std::size_t>(i)].get();
}

TVLQXmlNode* TVLQXmlNode::GetNodeByName(const AnsiString& name) const {
  // Names that differ in length never compare equal: skip the call for them.
  for (const auto& child : Nodes) {
    if (child->Name.size() == name.size() && SameText(child->Name, name)) {
      return child.get();
    }
  }
  return nullptr;
}

TVLQXmlNode* TVLQXmlNode::AddNode(const AnsiString& name,
                                  const AnsiString& value) {
  auto child = std::make_unique<TVLQXmlNode>();
  child->Name = name;
  child->Value = value;
  Nodes.push_back(std::move(child));
  return Nodes.back().get();
}

double TVLQXmlNode::GetValueAsDouble() const {
  if (Value.empty()) return 0;
  if (Value.find_first_not_of("0123456789-.,") != npos) {
    throw Exception(WideToAnsi(TMLgTools::GetString(
                        "Druvo_UVlqXml_001", "TVLQXmlNGetValueExceptio", 0,
                        u"Warto\u015B\u0107: ")) +
                    Value + WideToAnsi(u" nie jest wyra\u017Ceniem liczbowym"));
  }
  AnsiString number = Value;
  for (char& c : number) {
    if (c == '.' || c == ',') c = FormatSettings.DecimalSeparator;
  }
  return StrToFloat(number);
}

void TVLQXmlNode::XmlParse(const AnsiString& xml, bool delProperties,
                           bool delNamespace) {
  // The text may be this node's own Value or Name, which parsing clears.
  AnsiString ownCopy;
  std::string_view text = xml;
  if (&xml == &Value || &xml == &Name) {
    ownCopy = xml;
    text = ownCopy;
  }
  std::string withoutCData;
  if (UzywacCDATA) text = ReplaceCDataSections(text, withoutCData);
  // One pass finds the declaration and comments.
  const Markers markers = FindMarkers(text);
  std::size_t begin = DeclarationsLength(markers);
  std::string withoutComments;
  if (markers.firstComment != npos) {
    const std::string_view rest = text.substr(begin);
    const std::size_t first = markers.firstComment >= begin
                                  ? markers.firstComment - begin
                                  : FindMarker(rest, "<!--", 0);
    const std::string_view result =
        RemoveComments(rest, withoutComments, first);
    if (!withoutComments.empty()) {  // rewritten: parse the new text
      std::string().swap(withoutCData);
      std::string().swap(ownCopy);
      text = result;
      begin = 0;
    } else {
      begin = result.data() - text.data();
    }
  }
  EndTagFinder endTags(text);
  // Old children die after the parse: `xml` may be one of their texts.
  const NodeList previous = TakeContents();
  Parser(text, begin, endTags, delProperties, delNamespace)
      .Parse(*this, nullptr);
}

void TVLQXmlNode::XmlInternalParse(AnsiString& rest, bool delProperties,
                                   bool delNamespace) {
  const NodeList previous = TakeContents();
  EndTagFinder endTags(rest);
  Parser(rest, 0, endTags, delProperties, delNamespace).Parse(*this, &rest);
}

bool TVLQXmlNode::IsXml(const AnsiString& s, bool delProperties,
                        bool decodeFirst) {
  AnsiString decoded;
  std::string_view text = s;
  if (decodeFirst) {
    DecodeInto(s, false, decoded);
    text = decoded;
  }
  const std::size_t open = text.find('<');
  const std::size_t close = text.find('>');
  if (open == npos || close == npos) return false;
  if (close > 0 && text[close - 1] == '/') return true;
  std::string_view tag;
  if (close > open) tag = text.substr(open + 1, close - open - 1);
  if (delProperties) tag = tag.substr(0, PropertiesCut(tag));
  return text.find(EndTagText(tag)) != npos;
}

void TVLQXmlNode::UsunCDATAPrzedParsowaniem(AnsiString& s) {
  std::string storage;
  const std::string_view result = ReplaceCDataSections(s, storage);
  AssignResult(s, result, storage);
}

void TVLQXmlNode::DelXMLDeclaration(AnsiString& s) {
  s.erase(0, DeclarationsLength(FindMarkers(s)));
}

void TVLQXmlNode::UsunKomentarze(AnsiString& s) {
  std::string storage;
  const std::string_view result =
      RemoveComments(s, storage, FindMarker(s, "<!--", 0));
  AssignResult(s, result, storage);
}

AnsiString TVLQXmlNode::DelNamespace(const AnsiString& name) {
  return AnsiString(WithoutNamespace(name));
}

bool TVLQXmlNode::DelPropertiesFromFieldName(AnsiString& name) {
  const std::size_t keep = PropertiesCut(name);
  if (keep == name.size()) return false;
  name.resize(keep);
  return true;
}

AnsiString TVLQXmlNode::ToXmlDef(int level) const {
  AnsiString out;
  WriteTree(*this, level, true, out);
  return out;
}

AnsiString TVLQXmlNode::ToXmlDefWJednejLinii() const {
  AnsiString out;
  WriteTree(*this, 0, false, out);
  return out;
}

AnsiString TVLQXmlNode::OdczytajString(const AnsiString& s, bool decodeCR) {
  AnsiString decoded;
  DecodeInto(s, decodeCR, decoded);
  return decoded;
}

AnsiString TVLQXmlNode::ZapiszString(const AnsiString& s) {
  const bool special = std::any_of(s.begin(), s.end(), NeedsEscape);
  if (!special) return s;
  if (UzywacCDATA) return "<![CDATA[" + s + "]]>";
  AnsiString escaped;
  escaped.reserve(s.size() + 16);
  AppendEscaped(s, escaped);
  return escaped;
}

}  // namespace druvo
