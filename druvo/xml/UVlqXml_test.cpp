#include "druvo/xml/UVlqXml.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "druvo/platform/Exceptions.h"
#include "druvo/platform/NumberText.h"

namespace druvo {
namespace {

// Runs `parse` and returns the message of the Exception it raises.
template <typename F>
AnsiString MessageOf(F parse) {
  try {
    parse();
  } catch (const Exception& e) {
    return e.Message;
  }
  return "(no exception)";
}

AnsiString ParseError(const AnsiString& xml, bool delProperties = true) {
  return MessageOf([&] {
    TVLQXmlNode node;
    node.XmlParse(xml, delProperties, true);
  });
}

void ExpectSameTree(const TVLQXmlNode& a, const TVLQXmlNode& b) {
  ASSERT_EQ(a.Name, b.Name);
  ASSERT_EQ(a.Value, b.Value) << a.Name;
  ASSERT_EQ(a.GetCount(), b.GetCount()) << a.Name;
  for (int i = 0; i < a.GetCount(); ++i) {
    ExpectSameTree(*a.GetNodeByIdx(i), *b.GetNodeByIdx(i));
  }
}

struct CDataSwitch {
  explicit CDataSwitch(bool on) { TVLQXmlNode::UzywacCDATA = on; }
  ~CDataSwitch() { TVLQXmlNode::UzywacCDATA = false; }
};

TEST(TVLQXmlNode, ParsesElementsValuesAndSelfClosingTags) {
  TVLQXmlNode node;
  node.XmlParse("", true, true);
  EXPECT_EQ(node.Name, "");
  EXPECT_EQ(node.Value, "");
  EXPECT_EQ(node.GetCount(), 0);

  node.XmlParse("<a/>", true, true);
  EXPECT_EQ(node.Name, "a");
  EXPECT_EQ(node.GetCount(), 0);
  node.XmlParse("<a x=\"1\"/>", true, true);
  EXPECT_EQ(node.Name, "a");
  node.XmlParse("<a x=\"1\"/>", false, true);
  EXPECT_EQ(node.Name, "a x=\"1\"");
  node.XmlParse("<a />", true, true);  // a lone trailing blank is kept
  EXPECT_EQ(node.Name, "a ");

  node.XmlParse("<a>  x  </a>", true, true);
  EXPECT_EQ(node.Value, "x");
  node.XmlParse("<a>1 &amp; 2</a>", true, true);
  EXPECT_EQ(node.Value, "1 & 2");
  node.XmlParse("<a>&amp;lt;</a>", true, true);
  EXPECT_EQ(node.Value, "&lt;");
  node.XmlParse("<a>&#xD;&#60;&nbsp;</a>", true, true);
  EXPECT_EQ(node.Value, "&#xD;&#60;&nbsp;");

  node.XmlParse("<p:Faktura xmlns:p=\"u\"><p:Fa>1</p:Fa></p:Faktura>", true,
                true);
  EXPECT_EQ(node.Name, "Faktura");
  ASSERT_EQ(node.GetCount(), 1);
  EXPECT_EQ(node.GetNodeByIdx(0)->Name, "Fa");
  EXPECT_EQ(node.GetNodeByIdx(0)->Value, "1");
  node.XmlParse("<p:a><p:b>1</p:b></p:a>", true, false);
  EXPECT_EQ(node.Name, "p:a");
}

TEST(TVLQXmlNode, CuttingRulesDecideStructure) {
  TVLQXmlNode node;
  // Text after the last child becomes a nameless child; text before a child
  // is dropped.
  node.XmlParse("<r>x<a>1</a> <b/> tail </r>", true, true);
  ASSERT_EQ(node.GetCount(), 3);
  EXPECT_EQ(node.GetNodeByIdx(0)->Name, "a");
  EXPECT_EQ(node.GetNodeByIdx(1)->Name, "b");
  EXPECT_EQ(node.GetNodeByIdx(2)->Name, "");
  EXPECT_EQ(node.GetNodeByIdx(2)->Value, "tail");
  EXPECT_EQ(node.Value, "");

  // The first "</a>" closes <a>; the inner "<b><a>1" has no "</b>", so it is
  // a value.
  node.XmlParse("<a><b><a>1</a></b></a>", true, true);
  EXPECT_EQ(node.Name, "a");
  EXPECT_EQ(node.GetCount(), 0);
  EXPECT_EQ(node.Value, "<b><a>1");

  // Tags may hold '<'; an end tag may follow another unfinished one.
  node.XmlParse("<r><a<b>1</a<b><c>2</a</c></r>", true, true);
  ASSERT_EQ(node.GetCount(), 2);
  EXPECT_EQ(node.GetNodeByIdx(0)->Name, "a<b");
  EXPECT_EQ(node.GetNodeByIdx(0)->Value, "1");
  EXPECT_EQ(node.GetNodeByIdx(1)->Value, "2</a");

  // An end tag found inside the start tag leaves an empty element.
  node.XmlParse("<a </a>", true, true);
  EXPECT_EQ(node.Name, "a");
  EXPECT_EQ(node.Value, "");

  // Parsing again replaces the tree; the text may be the node's own value.
  node.XmlParse("<x><y>1</y></x>", true, true);
  node.Value = "<z>2</z>";
  node.XmlParse(node.Value, true, true);
  EXPECT_EQ(node.Name, "z");
  EXPECT_EQ(node.Value, "2");
  EXPECT_EQ(node.GetCount(), 0);
}

TEST(TVLQXmlNode, RemovesDeclarationCommentsAndCData) {
  TVLQXmlNode node;
  node.XmlParse("<?xml version=\"1.0\"?>\n<a>1</a>", true, true);
  EXPECT_EQ(node.Name, "a");
  EXPECT_EQ(node.Value, "1");
  node.XmlParse("<!-- c --><a><!-- <b>2</b> -->1<!-- c --></a>", true, true);
  EXPECT_EQ(node.Value, "1");

  node.XmlParse("<a><![CDATA[x<y]]></a>", true, true);
  EXPECT_EQ(node.Value, "<![CDATA[x<y]]>");
  {
    CDataSwitch on(true);
    node.XmlParse("<a><![CDATA[x<y & z]]></a>", true, true);
    EXPECT_EQ(node.Value, "x<y & z");
    EXPECT_EQ(ParseError("<a>]]></a>"),
              "Invalid XML format: single ']]>' found");
    EXPECT_EQ(ParseError("<a><![CDATA[x</a>"),
              "Invalid XML format: single '<![CDATA[' found");
    // The escaped "]]" and the following ">" form a new "]]>".
    EXPECT_EQ(ParseError("<![CDATA[]]]]>>"),
              "Invalid XML format: single ']]>' found");
  }

  // Pieces joined by a deletion are searched again.
  AnsiString s = "<!<!-- x -->-- y -->z<!-- open";
  TVLQXmlNode::UsunKomentarze(s);
  EXPECT_EQ(s, "z<!-- open");
  s = "<![CDATA<![CDATA[[\"x]]>]]>";
  TVLQXmlNode::UsunCDATAPrzedParsowaniem(s);
  EXPECT_EQ(s, "&amp;quot;x");
  s = "<?xml a?>b?><?xml c?>d";
  TVLQXmlNode::DelXMLDeclaration(s);
  EXPECT_EQ(s, "d");
  s = "x?><?xml";
  TVLQXmlNode::DelXMLDeclaration(s);
  EXPECT_EQ(s, "<?xml");
}

TEST(TVLQXmlNode, RaisesExactMessages) {
  EXPECT_EQ(ParseError("<a><b>1</b>"), "Invalid XML format: '</a>' not found");
  EXPECT_EQ(ParseError("<r x=\"1\"><b>1</b></r>", false),
            "Invalid XML format: '</r x=\"1\">' not found");
  EXPECT_EQ(ParseError("a > b"), "Invalid XML format: single '>' found");
  EXPECT_EQ(ParseError("<r><a>1</a> x > y</r>"),
            "Invalid XML format: single '>' found");
  EXPECT_EQ(ParseError("<a"), "Invalid XML format: single '<' found");
  EXPECT_EQ(ParseError("x>y<a>1</a>"), "Invalid XML format: single '>' found");

  // The root keeps its name and the children it had finished.
  TVLQXmlNode node;
  EXPECT_THROW(node.XmlParse("<r><a>1</a><b><c>2</c></r>", true, true),
               Exception);
  EXPECT_EQ(node.Name, "r");
  ASSERT_EQ(node.GetCount(), 1);
  EXPECT_EQ(node.GetNodeByIdx(0)->Name, "a");
}

TEST(TVLQXmlNode, XmlInternalParseLeavesRest) {
  TVLQXmlNode node;
  AnsiString rest = " x <a>1</a>  <b>2</b>  ";
  node.XmlInternalParse(rest, true, true);
  EXPECT_EQ(node.Name, "a");
  EXPECT_EQ(rest, "<b>2</b>");
  rest = "<a/>  y ";
  node.XmlInternalParse(rest, true, true);
  EXPECT_EQ(rest, "  y ");
  rest = "  text ";
  node.XmlInternalParse(rest, true, true);
  EXPECT_EQ(node.Name, "");
  EXPECT_EQ(node.Value, "text");
  EXPECT_EQ(rest, "");
}

TEST(TVLQXmlNode, IsXmlAndNameHelpers) {
  EXPECT_TRUE(TVLQXmlNode::IsXml("<a>1</a>", false, false));
  EXPECT_FALSE(TVLQXmlNode::IsXml("<a x>1</a>", false, false));
  EXPECT_TRUE(TVLQXmlNode::IsXml("<a x>1</a>", true, false));
  EXPECT_TRUE(TVLQXmlNode::IsXml("<a/>", false, false));
  EXPECT_FALSE(TVLQXmlNode::IsXml("1 < 2", false, false));
  EXPECT_FALSE(TVLQXmlNode::IsXml("&lt;a&gt;&lt;/a&gt;", false, false));
  EXPECT_TRUE(TVLQXmlNode::IsXml("&lt;a&gt;&lt;/a&gt;", false, true));

  AnsiString name = "a b=\"1\"";
  EXPECT_TRUE(TVLQXmlNode::DelPropertiesFromFieldName(name));
  EXPECT_EQ(name, "a");
  name = "a ";
  EXPECT_FALSE(TVLQXmlNode::DelPropertiesFromFieldName(name));
  EXPECT_EQ(name, "a ");
  name = "a\t";
  EXPECT_TRUE(TVLQXmlNode::DelPropertiesFromFieldName(name));
  EXPECT_EQ(name, "a");
  EXPECT_EQ(TVLQXmlNode::DelNamespace("p:q:r"), "q:r");
  EXPECT_EQ(TVLQXmlNode::DelNamespace("r"), "r");

  EXPECT_EQ(TVLQXmlNode::OdczytajString(
                "&lt;&gt;&quot;&apos;&#34;&#39;&amp;amp;&#xD;", false),
            "<>\"'\"'&amp;&#xD;");
  EXPECT_EQ(TVLQXmlNode::OdczytajString("a&#xD;&amp;#xD;", true), "a\r&#xD;");
}

TEST(TVLQXmlNode, FindsChildrenByIndexAndName) {
  TVLQXmlNode root;
  TVLQXmlNode* fa = root.AddNode("Fa", "1");
  fa->AddNode("P_7", "deep");
  TVLQXmlNode* zolc = root.AddNode("\xAF\xF3\xB3\x63", "2");  // Żółc
  EXPECT_EQ(root.GetNodeByName("fa"), fa);
  EXPECT_EQ(root.GetNodeByName("\xBF\xD3\xA3\x43"), zolc);  // żÓŁC
  EXPECT_EQ(root.GetNodeByName("P_7"), nullptr);  // only direct children
  EXPECT_EQ(root.GetNodeByIdx(1), zolc);
  EXPECT_EQ(root.GetNodeByIdx(-1), nullptr);
  EXPECT_EQ(root.GetNodeByIdx(root.GetCount()), nullptr);
  root.Clear();
  EXPECT_EQ(root.GetCount(), 0);
}

TEST(TVLQXmlNode, GetValueAsDouble) {
  TVLQXmlNode node;
  EXPECT_EQ(node.GetValueAsDouble(), 0.0);
  node.Value = "12,50";
  EXPECT_EQ(node.GetValueAsDouble(), 12.5);
  FormatSettings.DecimalSeparator = ',';
  EXPECT_EQ(node.GetValueAsDouble(), 12.5);
  node.Value = "-0.25";
  EXPECT_EQ(node.GetValueAsDouble(), -0.25);
  FormatSettings.DecimalSeparator = '.';

  node.Value = " 12";
  EXPECT_EQ(MessageOf([&] { node.GetValueAsDouble(); }),
            "Warto\x9C\xE6:  12 nie jest wyra\xBF"
            "eniem liczbowym");
  node.Value = "1e3";
  EXPECT_EQ(MessageOf([&] { node.GetValueAsDouble(); }),
            "Warto\x9C\xE6: 1e3 nie jest wyra\xBF"
            "eniem liczbowym");
  node.Value = "1.2.3";
  EXPECT_THROW(node.GetValueAsDouble(), EConvertError);
}

TEST(TVLQXmlNode, WritesIndentedAndOneLineXml) {
  TVLQXmlNode root;
  root.Name = "A";
  root.AddNode("B", "1");
  root.AddNode("C", "x<y");
  EXPECT_EQ(root.ToXmlDef(0), "<A>\n\t<B>1</B>\n\t<C>x&lt;y</C>\n</A>");
  EXPECT_EQ(root.GetNodeByIdx(0)->ToXmlDef(2), "\t\t<B>1</B>");
  EXPECT_EQ(root.ToXmlDefWJednejLinii(), "<A><B>1</B><C>x&lt;y</C></A>");
  EXPECT_EQ(TVLQXmlNode::ZapiszString("a&<>\"'"), "a&amp;&lt;&gt;&quot;&apos;");
  CDataSwitch on(true);
  EXPECT_EQ(TVLQXmlNode::ZapiszString("x<y"), "<![CDATA[x<y]]>");
  EXPECT_EQ(TVLQXmlNode::ZapiszString("xy"), "xy");
}

TEST(TVLQXmlNode, LimitsNestingAndDestroysDeepTrees) {
  const auto nested = [](int levels) {
    AnsiString xml;
    for (int i = 0; i < levels; ++i) xml += "<e" + std::to_string(i) + ">";
    xml += "v";
    for (int i = levels - 1; i >= 0; --i) {
      xml += "</e" + std::to_string(i) + ">";
    }
    return xml;
  };
  TVLQXmlNode node;
  node.XmlParse(nested(TVLQXmlNode::MaxNestingDepth), true, true);
  EXPECT_EQ(ParseError(nested(TVLQXmlNode::MaxNestingDepth + 1)),
            "Invalid XML format: elements nested deeper than 1000 levels");

  auto deep = std::make_unique<TVLQXmlNode>();
  TVLQXmlNode* tip = deep.get();
  for (int i = 0; i < 1000000; ++i) tip = tip->AddNode("n", "");
  EXPECT_EQ(deep->GetNodeByIdx(0)->ToXmlDefWJednejLinii().size(), 1000000u * 7);
  deep.reset();
}

TEST(TVLQXmlNode, PathologicalInputsParseInLinearTime) {
  const auto started = std::chrono::steady_clock::now();
  AnsiString siblings = "<r>";
  for (int i = 0; i < 200000; ++i) siblings += "<a>1</a>";
  siblings += "</r>";
  TVLQXmlNode node;
  node.XmlParse(siblings, true, true);
  EXPECT_EQ(node.GetCount(), 200000);

  AnsiString unclosed = "<r>";
  for (int i = 0; i < 100000; ++i) unclosed += "<a" + std::to_string(i) + ">";
  node.XmlParse(unclosed + "</r>", true, true);  // no end tags: a value
  EXPECT_EQ(node.GetCount(), 0);
  AnsiString declarations;
  for (int i = 0; i < 100000; ++i) declarations += "?>";
  EXPECT_EQ(ParseError(declarations + "<?xml<a>1</a>"),
            "Invalid XML format: '</?xml<a>' not found");
  AnsiString comments;
  for (int i = 0; i < 100000; ++i) comments += "<!--";
  EXPECT_EQ(ParseError(comments), "Invalid XML format: single '<' found");
  AnsiString slashes = "<r>";
  for (int i = 0; i < 100000; ++i) slashes += "</";
  node.XmlParse(slashes + "></r>", true, true);
  EXPECT_EQ(node.GetCount(), 1);
  {
    CDataSwitch on(true);
    AnsiString sections = "<a>";
    for (int i = 0; i < 100000; ++i) sections += "<![CDATA[<]]>";
    node.XmlParse(sections + "</a>", true, true);
    EXPECT_EQ(node.Value, AnsiString(100000, '<'));
  }
  const auto elapsed = std::chrono::steady_clock::now() - started;
  EXPECT_LT(elapsed, std::chrono::seconds(5));
}

TEST(TVLQXmlNode, RealInvoicesRoundTrip) {
  namespace fs = std::filesystem;
  int parsed = 0;
  for (const char* folder : {"ksef/fa2", "ksef/fa3"}) {
    for (const auto& entry :
         fs::directory_iterator(fs::path(DRUVO_TESTDATA_DIR) / folder)) {
      std::ifstream file(entry.path(), std::ios::binary);
      std::stringstream bytes;
      bytes << file.rdbuf();
      TVLQXmlNode invoice;
      invoice.XmlParse(Utf8ToAnsi(bytes.str()), true, true);
      ASSERT_EQ(invoice.Name, "Faktura") << entry.path();
      ASSERT_NE(invoice.GetNodeByName("Fa"), nullptr) << entry.path();
      TVLQXmlNode again;
      again.XmlParse(invoice.ToXmlDefWJednejLinii(), true, true);
      ExpectSameTree(invoice, again);
      ++parsed;
    }
  }
  EXPECT_GE(parsed, 40);
}

}  // namespace
}  // namespace druvo
