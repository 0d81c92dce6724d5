// libFuzzer target for TVLQXmlNode::XmlParse and XmlInternalParse.
//
// The first byte, XORed with '<', chooses the flags (bit 0 set: keep the
// attributes, bit 1 set: keep namespace prefixes, bit 2 UzywacCDATA, bit 3
// decodeFirst of IsXml), so that a document starting with '<' runs the usual
// way (delProperties and delNamespace true). The whole input is the XML text.
// Besides crashes, the target checks the parser against a literal,
// string-copying rendering of the cutting rules: both must raise the same
// message or build the same tree (after an error, the same partial tree) and
// leave the same rest. Any difference aborts.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "druvo/platform/Exceptions.h"
#include "druvo/xml/UVlqXml.h"
#include "fuzz/support/ReferenceTree.h"

namespace {

using druvo::AnsiString;
using druvo::Exception;
using druvo::TVLQXmlNode;
constexpr std::size_t npos = std::string::npos;
// The literal rules copy the rest of the text per element and can grow CDATA
// text quadratically; beyond this size only the parser itself is run.
constexpr std::size_t kReferenceLimit = std::size_t{1} << 20;

using fuzz_support::RefNode;
using fuzz_support::Trim;

void ReplaceAll(std::string& s, const std::string& from,
                const std::string& to) {
  std::string out;
  std::size_t done = 0;
  for (std::size_t at = s.find(from); at != npos; at = s.find(from, done)) {
    out += s.substr(done, at - done) + to;
    done = at + from.size();
  }
  s = out + s.substr(done);
}

std::string Escape(std::string s) {
  ReplaceAll(s, "&", "&amp;");
  ReplaceAll(s, "<", "&lt;");
  ReplaceAll(s, ">", "&gt;");
  ReplaceAll(s, "\"", "&quot;");
  ReplaceAll(s, "'", "&apos;");
  return s;
}

std::string Decode(std::string s) {
  ReplaceAll(s, "&lt;", "<");
  ReplaceAll(s, "&gt;", ">");
  ReplaceAll(s, "&quot;", "\"");
  ReplaceAll(s, "&apos;", "'");
  ReplaceAll(s, "&#34;", "\"");
  ReplaceAll(s, "&#39;", "'");
  ReplaceAll(s, "&amp;", "&");
  return s;
}

void CutProperties(std::string& tag) {
  const std::size_t k = tag.find_first_of(" \t\n\r");
  if (k == npos || (tag[k] == ' ' && k + 1 == tag.size())) return;
  tag.resize(k);
}

std::string WithoutNamespace(const std::string& name) {
  const std::size_t colon = name.find(':');
  return colon == npos ? name : name.substr(colon + 1);
}

// Returns false when the text outgrew kReferenceLimit.
bool RefCData(std::string& s) {
  for (;;) {
    const std::size_t a = s.find("<![CDATA[");
    const std::size_t b = s.find("]]>");
    if (a == npos && b == npos) return true;
    if (a == npos) throw Exception("Invalid XML format: single ']]>' found");
    if (b == npos) {
      throw Exception("Invalid XML format: single '<![CDATA[' found");
    }
    const std::string content = b > a + 9 ? s.substr(a + 9, b - a - 9) : "";
    s.erase(a, content.size() + 12);
    s.insert(a, Escape(content));
    if (s.size() > kReferenceLimit) return false;
  }
}

void RefDeclaration(std::string& s) {
  while (s.find("<?xml") != npos && s.find("?>") != npos) {
    s.erase(0, s.find("?>") + 2);
  }
}

void RefComments(std::string& s) {
  for (;;) {
    const std::size_t a = s.find("<!--");
    if (a == npos) return;
    const std::size_t e = s.find("-->", a + 1);
    if (e == npos) return;
    s.erase(a, e + 3 - a);
  }
}

bool RefIsXml(std::string s, bool delProperties, bool decodeFirst) {
  if (decodeFirst) s = Decode(s);
  const std::size_t open = s.find('<');
  const std::size_t close = s.find('>');
  if (open == npos || close == npos) return false;
  if (close > 0 && s[close - 1] == '/') return true;
  std::string tag = close > open ? s.substr(open + 1, close - open - 1) : "";
  if (delProperties) CutProperties(tag);
  return s.find("</" + tag + ">") != npos;
}

void RefInternalParse(RefNode& node, std::string& rest, bool delProperties,
                      bool delNamespace, int level) {
  node = RefNode{};
  const std::size_t open = rest.find('<');
  const std::size_t close = rest.find('>');
  if (open == npos && close == npos) {
    node.value = Trim(rest);
    rest.clear();
    return;
  }
  // A '>' before the first '<' is rejected by this library.
  if (open == npos || close < open) {
    throw Exception("Invalid XML format: single '>' found");
  }
  if (close == npos) throw Exception("Invalid XML format: single '<' found");
  std::string tag;
  std::string inner;
  if (rest[close - 1] == '/') {
    tag = rest.substr(open + 1, close - open - 2);
    if (delProperties) CutProperties(tag);
    rest = rest.substr(close + 1);
  } else {
    tag = rest.substr(open + 1, close - open - 1);
    if (delProperties) CutProperties(tag);
    const std::string endTag = "</" + tag + ">";
    const std::size_t end = rest.find(endTag);
    if (end == npos) {
      throw Exception("Invalid XML format: '" + endTag + "' not found");
    }
    if (end > close + 1) inner = Trim(rest.substr(close + 1, end - close - 1));
    rest = Trim(rest.substr(end + endTag.size()));
  }
  node.name = delNamespace ? WithoutNamespace(tag) : tag;
  if (!RefIsXml(inner, delProperties, false)) {
    node.value = Decode(inner);
    return;
  }
  if (level + 1 > TVLQXmlNode::MaxNestingDepth) {
    throw Exception(
        "Invalid XML format: elements nested deeper than 1000 levels");
  }
  while (!inner.empty()) {
    RefNode child;
    RefInternalParse(child, inner, delProperties, delNamespace, level + 1);
    node.children.push_back(std::move(child));
  }
}

[[noreturn]] void Mismatch(const char* what, const std::string& ours,
                           const std::string& reference) {
  fuzz_support::Mismatch("xml_parse_fuzz", what, ours, reference);
}

void CompareTrees(const TVLQXmlNode& ours, const RefNode& reference) {
  if (ours.Name != reference.name) Mismatch("Name", ours.Name, reference.name);
  if (ours.Value != reference.value) {
    Mismatch("Value", ours.Value, reference.value);
  }
  if (ours.Nodes.size() != reference.children.size()) {
    Mismatch("child count", std::to_string(ours.Nodes.size()),
             std::to_string(reference.children.size()));
  }
  for (std::size_t i = 0; i < ours.Nodes.size(); ++i) {
    CompareTrees(*ours.Nodes[i], reference.children[i]);
  }
}

// Serialisation and number reading must not crash on any parsed tree.
void Exercise(const TVLQXmlNode& node) {
  node.ToXmlDef(1);
  node.ToXmlDefWJednejLinii();
  for (const auto& child : node.Nodes) {
    try {
      child->GetValueAsDouble();
    } catch (const Exception&) {
    }
  }
}

void CheckXmlParse(const std::string& xml, bool delProperties,
                   bool delNamespace) {
  TVLQXmlNode ours;
  std::string oursError = "(none)";
  try {
    ours.XmlParse(xml, delProperties, delNamespace);
  } catch (const Exception& e) {
    oursError = e.Message;
  }
  Exercise(ours);
  RefNode reference;
  std::string referenceError = "(none)";
  std::string text = xml;
  try {
    if (TVLQXmlNode::UzywacCDATA && !RefCData(text)) return;
    RefDeclaration(text);
    RefComments(text);
    if (text.size() > kReferenceLimit / 16) return;
    RefInternalParse(reference, text, delProperties, delNamespace, 1);
  } catch (const Exception& e) {
    referenceError = e.Message;
  }
  if (oursError != referenceError) {
    Mismatch("XmlParse error", oursError, referenceError);
  }
  CompareTrees(ours, reference);
}

void CheckInternalParse(const std::string& xml, bool delProperties,
                        bool delNamespace) {
  if (xml.size() > kReferenceLimit / 16) return;
  TVLQXmlNode ours;
  std::string oursRest = xml;
  std::string oursError = "(none)";
  try {
    ours.XmlInternalParse(oursRest, delProperties, delNamespace);
  } catch (const Exception& e) {
    oursError = e.Message;
  }
  RefNode reference;
  std::string referenceRest = xml;
  std::string referenceError = "(none)";
  try {
    RefInternalParse(reference, referenceRest, delProperties, delNamespace, 1);
  } catch (const Exception& e) {
    referenceError = e.Message;
  }
  if (oursError != referenceError) {
    Mismatch("XmlInternalParse error", oursError, referenceError);
  }
  if (oursError == "(none)" && oursRest != referenceRest) {
    Mismatch("rest", oursRest, referenceRest);
  }
  CompareTrees(ours, reference);
}

void CheckHelpers(const std::string& text, bool delProperties,
                  bool decodeFirst) {
  if (TVLQXmlNode::IsXml(text, delProperties, decodeFirst) !=
      RefIsXml(text, delProperties, decodeFirst)) {
    Mismatch("IsXml", "", text);
  }
  std::string ours = text;
  std::string reference = text;
  TVLQXmlNode::UsunKomentarze(ours);
  RefComments(reference);
  if (ours != reference) Mismatch("UsunKomentarze", ours, reference);
  ours = reference = text;
  TVLQXmlNode::DelXMLDeclaration(ours);
  RefDeclaration(reference);
  if (ours != reference) Mismatch("DelXMLDeclaration", ours, reference);
  if (TVLQXmlNode::OdczytajString(text, false) != Decode(text)) {
    Mismatch("OdczytajString", TVLQXmlNode::OdczytajString(text, false),
             Decode(text));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  if (size == 0) return 0;
  const unsigned flags = data[0] ^ static_cast<unsigned>('<');
  const std::string xml(reinterpret_cast<const char*>(data), size);
  const bool delProperties = (flags & 1) == 0;
  const bool delNamespace = (flags & 2) == 0;
  TVLQXmlNode::UzywacCDATA = (flags & 4) != 0;
  CheckXmlParse(xml, delProperties, delNamespace);
  CheckInternalParse(xml, delProperties, delNamespace);
  CheckHelpers(xml, delProperties, (flags & 8) != 0);
  TVLQXmlNode::UzywacCDATA = false;
  return 0;
}
