// The small element tree through which structure and array definitions are
// read, copied and passed around.
//
// TQXmlNode is an element with a name, a text value and owned child elements
// in document order. It knows no attributes, declarations, comments, CDATA or
// entities: every character between tags is kept as written and nothing is
// escaped on output. QXmlParse cuts elements by plain text search (the first
// "<", the first ">", the first "</name>"), trims contents, drops text before
// an element and keeps text after the last child element as a nameless child.
// Malformed text raises Exception with the three "Invalid XML format" messages;
// elements nested deeper than MaxNestingDepth raise Exception too.
//
// A parse works on offsets into one buffer and costs time linear in the text
// for a bounded nesting depth. Destruction, Clear, Assign and ToXmlDef are
// iterative, so trees of any depth (built by hand with addNodePtr, say) are
// safe. Child names are looked up ignoring letter case (AnsiCompareText).
#pragma once

#include <memory>
#include <vector>

#include "druvo/platform/AnsiString.h"
#include "druvo/platform/Export.h"

namespace druvo {

class DRUVO_API TQXmlNode {
 public:
  // Elements nested deeper than this (the parsed element is level 1) raise
  // Exception.
  static constexpr int MaxNestingDepth = 1000;

  TQXmlNode();
  ~TQXmlNode();
  TQXmlNode(const TQXmlNode&) = delete;
  TQXmlNode& operator=(const TQXmlNode&) = delete;

  // Destroys every child and empties name and value.
  void Clear();
  int getCount() const { return static_cast<int>(children_.size()); }
  void setName(const AnsiString& name) { name_ = name; }
  AnsiString getName() const { return name_; }
  void setValue(const AnsiString& value) { value_ = value; }
  AnsiString getValue() const { return value_; }

  // Whether `text` holds an element: a "/>" closes its first tag, or the
  // close tag of its first start tag occurs somewhere in it.
  static bool IsXml(const AnsiString& text);
  // Parses one element from the front of `text` into this node (cleared
  // first); `text` is left holding the rest. Raises Exception on malformed
  // text, keeping what was parsed before the failing element.
  void QXmlParse(AnsiString& text);
  // This element and its descendants as XML text, children each followed by
  // a line feed, no indentation, no escaping.
  AnsiString ToXmlDef() const;

  // Deep copy of `source` (null: just Clear). `source` may be this node or
  // lie inside it.
  void Assign(const TQXmlNode* source);
  // Deep copy of the first child named `name` into `out`; false when none.
  bool getNode(const AnsiString& name, TQXmlNode& out) const;
  // The first child named `name`, still owned by this node; null when none.
  TQXmlNode* getNodePtr(const AnsiString& name) const;
  // Child `index`, still owned by this node; null when out of range.
  TQXmlNode* getNode(int index) const;
  // Deep copy of child `index` into `out`; false when out of range.
  bool getNode(int index, TQXmlNode& out) const;
  // The value of the first child named `name`; "" when none.
  AnsiString getNodeValue(const AnsiString& name) const;
  // Appends a deep copy of `node`.
  void addNode(const TQXmlNode& node);
  // Appends `node` itself and takes ownership of it (null is ignored). The
  // node must not already belong to a tree.
  void addNodePtr(TQXmlNode* node);
  // Destroys child `index`; later children move down. False when out of
  // range.
  bool deleteNode(int index);

 private:
  friend class QXmlParser;
  using Children = std::vector<std::unique_ptr<TQXmlNode>>;

  // Destroys a list of subtrees without recursion.
  static void DestroyAll(Children& children);
  // A deep copy of this subtree, built without recursion.
  std::unique_ptr<TQXmlNode> Copy() const;

  AnsiString value_;
  AnsiString name_;
  Children children_;
};

}  // namespace druvo
