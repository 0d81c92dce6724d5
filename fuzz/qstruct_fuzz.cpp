// libFuzzer target for TQXmlNode::QXmlParse and the structure and array
// definitions read from the parsed tree.
//
// The whole input is the definition text. The parse is checked against a
// literal, string-copying rendering of the cutting rules: both must raise the
// same message or build the same tree (after an error, the same partial tree)
// and leave the same rest; any difference aborts. The tree then initialises a
// TQStruct and a TQArray; whatever initialises is read and written by name,
// copied, filled with rows, sorted, and has rows read back and deleted.
#include "druvo/qstruct/QSTRUCT.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "druvo/platform/Exceptions.h"
#include "druvo/qstruct/QXML.h"
#include "fuzz/support/ReferenceTree.h"

namespace {

using druvo::AnsiString;
using druvo::Exception;
using druvo::TQArray;
using druvo::TQDataTypeBase;
using druvo::TQStruct;
using druvo::TQXmlNode;
constexpr std::size_t npos = std::string::npos;
// The literal rules copy the rest of the text per element; beyond this size
// only the parser itself is run.
constexpr std::size_t kReferenceLimit = 8192;

using fuzz_support::RefNode;
using fuzz_support::Trim;

// s[from .. to), empty when to is not beyond from.
std::string Cut(const std::string& s, std::size_t from, std::size_t to) {
  return to > from ? s.substr(from, to - from) : std::string();
}

bool RefIsXml(const std::string& s) {
  const std::size_t lt = s.find('<');
  const std::size_t gt = s.find('>');
  if (lt == npos || gt == npos) return false;
  if (gt > 0 && s[gt - 1] == '/') return true;
  return s.find("</" + Cut(s, lt + 1, gt) + ">") != npos;
}

void RefParse(RefNode& node, std::string& text, int level) {
  node = RefNode{};
  text = Trim(text);
  const std::size_t lt = text.find('<');
  const std::size_t gt = text.find('>');
  if (lt == npos && gt == npos) {
    node.value = text;
    text.clear();
    return;
  }
  if (lt == npos) throw Exception("Invalid XML format: single '>' found");
  if (gt == npos) throw Exception("Invalid XML format: single '<' found");
  std::string content;
  if (gt > 0 && text[gt - 1] == '/') {
    node.name = Cut(text, lt + 1, gt - 1);
    text = text.substr(gt + 1);
  } else {
    node.name = Cut(text, lt + 1, gt);
    const std::string close = "</" + node.name + ">";
    const std::size_t cp = text.find(close);
    if (cp == npos) {
      node.name.clear();
      throw Exception("Invalid XML format: '" + close + "' not found");
    }
    content = Trim(Cut(text, gt + 1, cp));
    text = Trim(text.substr(cp + close.size()));
  }
  if (!RefIsXml(content)) {
    node.value = content;
    return;
  }
  if (level >= TQXmlNode::MaxNestingDepth) {
    throw Exception(
        "Invalid XML format: elements nested deeper than 1000 levels");
  }
  while (!content.empty()) {
    RefNode child;
    RefParse(child, content, level + 1);
    node.children.push_back(std::move(child));
  }
}

[[noreturn]] void Mismatch(const char* what, const std::string& ours,
                           const std::string& reference) {
  fuzz_support::Mismatch("qstruct_fuzz", what, ours, reference);
}

void CompareTrees(const TQXmlNode& ours, const RefNode& reference) {
  if (ours.getName() != reference.name) {
    Mismatch("name", ours.getName(), reference.name);
  }
  if (ours.getValue() != reference.value) {
    Mismatch("value", ours.getValue(), reference.value);
  }
  if (ours.getCount() != static_cast<int>(reference.children.size())) {
    Mismatch("child count", std::to_string(ours.getCount()),
             std::to_string(reference.children.size()));
  }
  for (int i = 0; i < ours.getCount(); ++i) {
    CompareTrees(*ours.getNode(i), reference.children[std::size_t(i)]);
  }
}

// Parses `xml` both ways and compares; returns whether the parse succeeded.
bool CheckParse(const std::string& xml, TQXmlNode& ours) {
  std::string rest = xml;
  std::string oursError = "(none)";
  try {
    ours.QXmlParse(rest);
  } catch (const Exception& e) {
    oursError = e.Message;
  }
  if (xml.size() > kReferenceLimit) return oursError == "(none)";
  RefNode reference;
  std::string referenceRest = xml;
  std::string referenceError = "(none)";
  try {
    RefParse(reference, referenceRest, 1);
  } catch (const Exception& e) {
    referenceError = e.Message;
  }
  if (oursError != referenceError) {
    Mismatch("QXmlParse error", oursError, referenceError);
  }
  if (oursError == "(none)" && rest != referenceRest) {
    Mismatch("rest", rest, referenceRest);
  }
  CompareTrees(ours, reference);
  return oursError == "(none)";
}

template <typename Call>
void Try(Call call) {
  try {
    call();
  } catch (const Exception&) {
  }
}

// Reads and writes every field of `s` through all eight accessors.
void ExerciseStruct(TQStruct& s, const std::string& seed) {
  for (int k = 0; k < s.getFieldCount(); ++k) {
    const AnsiString name = s.getFieldDesc(k).name;
    Try([&] { s.setValueAsString(name, seed); });
    Try([&] { s.getValueAsInteger(name); });
    Try([&] { s.getValueAsDouble(name); });
    Try([&] { s.getValueAsDateTime(name); });
    Try([&] { s.setValueAsDateTime(name, s.getValueAsDouble(name)); });
    Try([&] { s.getValueAsString(name); });
  }
  std::unique_ptr<TQDataTypeBase> copy(s.duplicate());
  Try([&] { s.assign(copy.get()); });
  s.clear();
}

void ExerciseArray(TQArray& array, const std::string& seed) {
  TQStruct row;
  Try([&] { array.createCompatibleStruct(&row); });
  for (int r = 0; r < 5; ++r) {
    ExerciseStruct(row, seed.substr(std::size_t(r) % (seed.size() + 1)));
    Try([&] { array.addRow(&row); });
  }
  std::string keys = seed + "\n";
  for (int k = 0; k < array.getFieldCount(); ++k) {
    Try([&] {
      TQStruct probe;
      array.getRow(0, &probe);
      keys += probe.getFieldDesc(k).name + "\n";
    });
  }
  array.Sort(keys, false);
  array.Sort(keys, false);
  Try([&] { array.setRow(1, &row); });
  Try([&] { array.getRow(2, &row); });
  Try([&] { array.deleteRow(0); });
  std::unique_ptr<TQDataTypeBase> copy(array.duplicate());
  array.clear();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const std::string xml(reinterpret_cast<const char*>(data), size);
  TQXmlNode tree;
  if (!CheckParse(xml, tree)) return 0;
  tree.ToXmlDef();
  TQStruct structure;
  Try([&] {
    structure.xmlParsedInit(tree);
    ExerciseStruct(structure, xml.substr(0, 32));
  });
  TQArray array;
  Try([&] {
    array.xmlParsedInit(tree);
    ExerciseArray(array, xml.substr(0, 32));
  });
  return 0;
}
