// The XML tree into which a KSeF e-invoice is parsed.
//
// TVLQXmlNode is document and element at once: a Name, a text Value and the
// ordered children in Nodes, which the node owns (Clear() and the destructor
// free them, iteratively, so no tree is too deep to destroy). XmlParse reads a
// document with the string-cutting rules of the system: an element ends at the
// first "</tag>" after its start, texts are trimmed, text left after the last
// child becomes a nameless child, attributes and namespace prefixes are cut
// when asked. Errors raise Exception with the system's English messages.
//
// A parse costs time linear in the text's size whatever the nesting: the
// declaration, comment and CDATA rules are applied in one pass each, the
// parser works on offsets into one buffer, and "the first </tag> after the
// start" is met while reading an element whose children hold only text,
// else searched for once per name and ancestor, or, in deeply nested text,
// found in an index of every end tag built in one pass. The one
// exception is what the CDATA rule itself asks for: a section opened by the
// escaped text of an earlier one is escaped again, so adversarial text can
// grow quadratically there.
// Elements nested deeper than MaxNestingDepth raise Exception. Serialisation
// is iterative too. UzywacCDATA is process-wide; separate trees may be parsed
// on separate threads.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

#include "druvo/platform/AnsiString.h"
#include "druvo/platform/Export.h"

namespace druvo {

class DRUVO_API TVLQXmlNode {
 public:
  // Elements nested deeper than this (the root is level 1) raise Exception.
  static constexpr int MaxNestingDepth = 1000;

  TVLQXmlNode();
  ~TVLQXmlNode();
  TVLQXmlNode(const TVLQXmlNode&) = delete;
  TVLQXmlNode& operator=(const TVLQXmlNode&) = delete;

  // Destroys every child, empties Nodes, Name and Value.
  void Clear();
  int GetCount() const { return static_cast<int>(Nodes.size()); }
  // Child number i, or null when i is outside 0 .. GetCount() - 1.
  TVLQXmlNode* GetNodeByIdx(int i) const;
  // The first direct child whose Name equals `name` by AnsiCompareText; null.
  TVLQXmlNode* GetNodeByName(const AnsiString& name) const;
  // Appends a new child owned by this node and returns it.
  TVLQXmlNode* AddNode(const AnsiString& name, const AnsiString& value);
  // 0 for an empty Value; raises Exception when Value holds a character
  // other than "0123456789-.,", else converts it with either separator.
  double GetValueAsDouble() const;

  // Parses `xml` into this node (cleared first); the text is not changed.
  void XmlParse(const AnsiString& xml, bool delProperties, bool delNamespace);
  // Parses the first element of `rest` into this node and leaves in `rest`
  // what follows it.
  void XmlInternalParse(AnsiString& rest, bool delProperties,
                        bool delNamespace);

  // Whether `s` begins with an element (decoded first when `decodeFirst`).
  static bool IsXml(const AnsiString& s, bool delProperties, bool decodeFirst);
  // Replaces every CDATA section by its escaped content.
  static void UsunCDATAPrzedParsowaniem(AnsiString& s);
  // Removes the XML declaration.
  static void DelXMLDeclaration(AnsiString& s);
  // Removes comments.
  static void UsunKomentarze(AnsiString& s);
  // `name` without its namespace prefix (everything after the first ':').
  static AnsiString DelNamespace(const AnsiString& name);
  // Cuts the attributes off a tag's content at the first blank, tab, LF or
  // CR (a single blank in the last position excepted); true when cut.
  static bool DelPropertiesFromFieldName(AnsiString& name);

  // Indented XML of this subtree, starting with `level` tabs.
  AnsiString ToXmlDef(int level) const;
  // The same on one line.
  AnsiString ToXmlDefWJednejLinii() const;

  // `s` with the entity references decoded once (&#xD; only when decodeCR).
  static AnsiString OdczytajString(const AnsiString& s, bool decodeCR);
  // `s` escaped for XML, or wrapped in a CDATA section when UzywacCDATA.
  static AnsiString ZapiszString(const AnsiString& s);

  AnsiString Value;
  AnsiString Name;
  std::vector<std::unique_ptr<TVLQXmlNode>> Nodes;

  // Switches CDATA handling on in XmlParse and ZapiszString; set by the host.
  static bool UzywacCDATA;

  // Nodes made by a parse are carved from shared blocks, each freed with the
  // last of its nodes (from any thread); other nodes come from the heap.
  static void* operator new(std::size_t size);
  static void operator delete(void* p) noexcept;

 private:
  // Moves every child out of this node and empties Name and Value.
  std::vector<std::unique_ptr<TVLQXmlNode>> TakeContents();
  void ParseText(std::string_view text, bool delProperties, bool delNamespace,
                 AnsiString* rest);
};

}  // namespace druvo
