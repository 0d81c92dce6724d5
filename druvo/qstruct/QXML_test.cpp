#include "druvo/qstruct/QXML.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/TestSupport.h"

namespace druvo {
namespace {

using test::MessageOf;

// The tree as one line: name=value{children}, to compare whole trees.
std::string Shape(const TQXmlNode& node) {
  std::string out = node.getName() + "=" + node.getValue();
  if (node.getCount() == 0) return out;
  out += "{";
  for (int i = 0; i < node.getCount(); ++i) {
    out += (i ? "," : "") + Shape(*node.getNode(i));
  }
  return out + "}";
}

TEST(TQXmlNode, ParsesByTheCuttingRules) {
  struct Case {
    std::string text, shape, rest;
  };
  const std::string n61(61, 'n');
  const std::vector<Case> cases = {
      {"", "=", ""},
      {"  abc  ", "=abc", ""},
      {"<a />  rest", "a =", "  rest"},
      {"<a>  x  </a> rest ", "a=x", "rest"},
      {"junk <a>1</a>", "a=1", ""},
      {"<a><b>1</b><c/>tail</a>", "a={b=1,c=,=tail}", ""},
      {"<a>x <b>1</b> y <c>2</c></a>", "a={b=1,c=2}", ""},
      {"<a><a>1</a></a>", "a=<a>1", "</a>"},
      {"<a k=\"1\">v</a k=\"1\">", "a k=\"1\"=v", ""},
      {"</>", "=", ""},
      {"x>y<z</>", "=y<z", ""},
      {"<a><b></b></a>", "a={b=}", ""},
      {"<a> !x! </a>", "a=!x!", ""},  // '!' is the first byte kept
      {"<<>v</<>", "<=v", ""},        // a name may hold '<'
      // End tags of 64 and 65 bytes: the search's table on the stack is full,
      // then too small.
      {"<" + n61 + ">v</" + n61 + ">", n61 + "=v", ""},
      {"<" + n61 + "n>v</" + n61 + "n>", n61 + "n=v", ""},
  };
  for (const Case& c : cases) {
    TQXmlNode node;
    node.setName("old");
    node.addNodePtr(new TQXmlNode);
    std::string text = c.text;
    node.QXmlParse(text);
    EXPECT_EQ(Shape(node), c.shape) << c.text;
    EXPECT_EQ(text, c.rest) << c.text;
  }
}

TEST(TQXmlNode, MalformedTextRaisesAndKeepsEarlierChildren) {
  // The text is left without its leading and trailing blanks.
  const std::string format = "Invalid XML format: ";
  for (const auto& [text, message, kept] :
       {std::tuple{">", "single '>' found", "="},
        {"a<b", "single '<' found", "="},
        {"<?xml?><a/>", "'</?xml?>' not found", "="},
        {"<a x>1</a>", "'</a x>' not found", "="},
        {"<r><b>1</b><c>2</r>", "'</c>' not found", "r={b=1}"}}) {
    TQXmlNode node;
    std::string rest = "  " + std::string(text) + "  ";
    EXPECT_EQ(MessageOf([&] { node.QXmlParse(rest); }), format + message);
    EXPECT_EQ(rest + "|" + Shape(node), std::string(text) + "|" + kept);
  }
}

TEST(TQXmlNode, NestingIsBoundedAndDeepTreesAreSafe) {
  auto nested = [](int depth, const std::string& inner = "x") {
    std::string open, close;
    for (int i = 0; i < depth; ++i) {
      open += "<e" + std::to_string(i) + "> ";
      close = "</e" + std::to_string(i) + "> " + close;
    }
    return open + inner + close;
  };
  // Deep elements find their close tags through an index: same rules.
  TQXmlNode node;
  std::string text = nested(12, "<a><a>1</a></a>");
  EXPECT_EQ(MessageOf([&] { node.QXmlParse(text); }),
            "Invalid XML format: '<//a>' not found");
  text = nested(12, "junk <b>1</b><c/> <e11 />t");
  node.QXmlParse(text);
  const TQXmlNode* deep = &node;
  for (int i = 1; i < 12; ++i) deep = deep->getNode(0);
  EXPECT_EQ(Shape(*deep), "e11={b=1,c=,e11 =,=t}");
  text = nested(TQXmlNode::MaxNestingDepth);
  node.QXmlParse(text);
  text = nested(TQXmlNode::MaxNestingDepth + 1);
  EXPECT_EQ(MessageOf([&] { node.QXmlParse(text); }),
            "Invalid XML format: elements nested deeper than 1000 levels");

  // A hand-built chain far deeper than any parse is copied, written and
  // destroyed without recursion.
  TQXmlNode root;
  TQXmlNode* last = &root;
  for (int i = 0; i < 200000; ++i) {
    auto* child = new TQXmlNode;
    last->addNodePtr(child);
    last = child;
  }
  TQXmlNode copy;
  copy.Assign(&root);
  EXPECT_EQ(copy.ToXmlDef().size(), root.ToXmlDef().size());
  copy.Assign(copy.getNode(0));
  EXPECT_EQ(copy.getCount(), 1);
}

TEST(TQXmlNode, ToXmlDefRoundTripsAndLookupsCopyAndDelete) {
  TQXmlNode root;
  std::string text = "<a><b>1</b><c/></a>";
  root.QXmlParse(text);
  root.setValue("not written");
  EXPECT_EQ(text = root.ToXmlDef(), "<a><b>1</b>\n<c></c>\n</a>");
  root.QXmlParse(text);
  EXPECT_EQ(Shape(root), "a={b=1,c=}");

  text = "<r><Type>T</Type><f><x>1</x></f><type>second</type></r>";
  root.QXmlParse(text);
  EXPECT_EQ(root.getNodeValue("TYPE"), "T");
  EXPECT_EQ(root.getNodeValue("missing"), "");
  EXPECT_EQ(root.getNodePtr("F"), root.getNode(1));
  EXPECT_TRUE(!root.getNode(-1) && !root.getNode(root.getCount()));
  EXPECT_FALSE(root.deleteNode(-1) || root.deleteNode(3));

  TQXmlNode out;
  out.setName("kept");
  EXPECT_FALSE(root.getNode("none", out) || root.getNode(7, out));
  EXPECT_EQ(out.getName(), "kept");
  EXPECT_TRUE(root.getNode(0, out));
  ASSERT_TRUE(root.getNode("f", out));
  root.getNode(1)->getNode(0)->setValue("changed");
  EXPECT_EQ(Shape(out), "f={x=1}");

  // Assigning a node from its own child replaces it by a copy of the child.
  root.Assign(root.getNode(1));
  EXPECT_EQ(Shape(root), "f={x=changed}");
  root.addNode(root);
  EXPECT_EQ(Shape(root), "f={x=changed,f={x=changed}}");
  EXPECT_TRUE(root.deleteNode(0));
  EXPECT_EQ(Shape(root), "f={f={x=changed}}");
  out.Assign(nullptr);
  EXPECT_EQ(Shape(out), "=");
  EXPECT_TRUE(TQXmlNode::IsXml("<a/>") && TQXmlNode::IsXml("x<a>1</a>"));
  EXPECT_FALSE(TQXmlNode::IsXml("<a>1") || TQXmlNode::IsXml("/>"));
}

}  // namespace
}  // namespace druvo
