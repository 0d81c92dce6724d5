#include "druvo/xml/UVlqXml.h"

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <tuple>

#include "druvo/platform/Exceptions.h"
#include "druvo/platform/NumberText.h"
#include "tests/support/TestSupport.h"

namespace druvo::test {
namespace {

// The tree as text: the name, "=value" when there is one, and the children
// in braces.
AnsiString Shape(const TVLQXmlNode& node) {
  AnsiString shape = node.Name;
  if (!node.Value.empty()) shape += "=" + node.Value;
  if (node.GetCount() == 0) return shape;
  for (int i = 0; i < node.GetCount(); ++i) {
    shape += (i == 0 ? "{" : ",") + Shape(*node.GetNodeByIdx(i));
  }
  return shape + "}";
}

struct CDataSwitch {
  explicit CDataSwitch(bool on) { TVLQXmlNode::UzywacCDATA = on; }
  ~CDataSwitch() { TVLQXmlNode::UzywacCDATA = false; }
};

// The shape `xml` parses to; on an error the shape of what was kept, "!" and
// the message ("Invalid XML format: " cut to " "). `opts` holds 'p' to keep
// properties, 'n' to keep namespaces, 'c' to unwrap CDATA sections.
AnsiString Parsed(const AnsiString& xml, const std::string& opts = "") {
  const auto has = [&](char c) { return opts.find(c) != std::string::npos; };
  CDataSwitch cdata(has('c'));
  TVLQXmlNode node;
  try {
    node.XmlParse(xml, !has('p'), !has('n'));
  } catch (const Exception& error) {
    const AnsiString prefix = "Invalid XML format: ";
    return Shape(node) + "!" +
           (error.Message.rfind(prefix, 0) == 0
                ? " " + error.Message.substr(prefix.size())
                : error.Message);
  }
  return Shape(node);
}

// `s` after `edit` has changed it in place.
AnsiString Edited(void (*edit)(AnsiString&), AnsiString s) {
  edit(s);
  return s;
}

AnsiString Times(const AnsiString& piece, int count) {
  AnsiString out;
  for (int i = 0; i < count; ++i) out += piece;
  return out;
}

TEST(TVLQXmlNode, ParsesByTheCuttingRules) {
  struct Case {
    const char *xml, *shape, *opts = "";
  };
  const Case cases[] = {
      {"", ""},
      {"<a x=\"1\"/>", "a"},
      {"<a x=\"1\"/>", "a x=\"1\"", "p"},
      {"<a />", "a "},  // a lone trailing blank is kept
      {"<a>  x  </a>", "a=x"},
      {"<a>!1!</a>", "a=!1!"},        // blanks are 0 to 32 only
      {"<a>1&/a>2</a>", "a=1&/a>2"},  // "&/a>" ends nothing
      {"<a>&amp;lt;</a>", "a=&lt;"},  // decoded once
      {"<a>&#xD;&#60;&nbsp;</a>", "a=&#xD;&#60;&nbsp;"},
      {"<p:Faktura xmlns:p=\"u\"><p:Fa>1</p:Fa></p:Faktura>", "Faktura{Fa=1}"},
      {"<p:a><p:b>1</p:b></p:a>", "p:a{p:b=1}", "n"},
      // Text after the last child becomes a nameless child; text before a
      // child is dropped.
      {"<r>x<a>1</a> <b/> tail </r>", "r{a=1,b,=tail}"},
      // The first "</a>" closes <a>; the inner "<b><a>1" has no "</b>", so it
      // is a value.
      {"<a><b><a>1</a></b></a>", "a=<b><a>1"},
      // Elements of text-only children read in one walk: blanks and empty
      // children; a child of its own name or with an entity ends the walk.
      {"<r> <a>1</a>\n<b></b> </r>", "r{a=1,b}"},
      {"<r><a>1</a><r>2</r></r>", "r{a=1}! '</r>' not found"},
      {"<r><a>1</a><b>&amp;</b></r>", "r{a=1,b=&}"},
      // Tags may hold '<'; an end tag may follow another unfinished one.
      {"<r><a<b>1</a<b><c>2</a</c></r>", "r{a<b=1,c=2</a}"},
      {"<a </a>", "a"},  // an end tag inside the start tag: an empty element
      {"<?xml version=\"1.0\"?>\n<a>1</a>", "a=1"},
      {"<!-- c --><a><!-- <b>2</b> -->1<!-- c --></a>", "a=1"},
      {"<a><![CDATA[x<y]]></a>", "a=<![CDATA[x<y]]>"},
      {"<a><![CDATA[x<y & z]]></a>", "a=x<y & z", "c"},
      {"<a>]]></a>", "! single ']]>' found", "c"},
      {"<a><![CDATA[x</a>", "! single '<![CDATA[' found", "c"},
      // The escaped "]]" and the following ">" form a new "]]>".
      {"<![CDATA[]]]]>>", "! single ']]>' found", "c"},
      {"<a><b>1</b>", "! '</a>' not found"},
      {"<r x=\"1\"><b>1</b></r>", "! '</r x=\"1\">' not found", "p"},
      {"a > b", "! single '>' found"},
      {"<r><a>1</a> x > y</r>", "r{a=1}! single '>' found"},
      {"<r>a></></r>", "r! single '>' found"},  // '>' first, then "</>"
      {"<a", "! single '<' found"},
      // The root keeps its name and the children it had finished; an element
      // left unfinished goes with the children it had finished.
      {"<r><a>1</a><b><c>2</c></r>", "r{a=1}! '</b>' not found"},
      {"<r><a><x>1</x><y><z>2</z></a></r>", "r! '</y>' not found"},
      {"<r><q>0</q><a><x>1</x><b><y>2</y><c><z>3</z></b></a></r>",
       "r{q=0}! '</c>' not found"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Parsed(c.xml, c.opts), c.shape) << c.xml;

  // Parsing again replaces the tree; the text may be the node's own value.
  TVLQXmlNode node;
  node.XmlParse("<x><y>1</y></x>", true, true);
  node.Value = "<z>2</z>";
  node.XmlParse(node.Value, true, true);
  EXPECT_EQ(Shape(node), "z=2");

  // Pieces joined by a deletion are searched again.
  EXPECT_EQ(
      Edited(TVLQXmlNode::UsunKomentarze, "<!<!-- x -->-- y -->z<!-- open"),
      "z<!-- open");
  EXPECT_EQ(Edited(TVLQXmlNode::UsunCDATAPrzedParsowaniem,
                   "<![CDATA<![CDATA[[\"x]]>]]>"),
            "&amp;quot;x");
  EXPECT_EQ(Edited(TVLQXmlNode::DelXMLDeclaration, "<?xml a?>b?><?xml c?>d"),
            "d");
  EXPECT_EQ(Edited(TVLQXmlNode::DelXMLDeclaration, "x?><?xml"), "<?xml");
}

TEST(TVLQXmlNode, XmlInternalParseLeavesRest) {
  TVLQXmlNode node;  // one node: each parse replaces what it held
  for (const auto& [text, shape, left] :
       {std::tuple{" x <a>1</a>  <b>2</b>  ", "a=1", "<b>2</b>"},
        {"<a/>  y ", "a", "  y "},
        {"  text ", "=text", ""}}) {
    AnsiString rest = text;
    node.XmlInternalParse(rest, true, true);
    EXPECT_EQ(Shape(node) + "|" + rest, AnsiString(shape) + "|" + left);
  }
}

TEST(TVLQXmlNode, IsXmlAndNameHelpers) {
  for (const char* xml : {"<a>1</a>", "<a/>"})
    EXPECT_TRUE(TVLQXmlNode::IsXml(xml, false, false)) << xml;
  // Properties and entities count only when asked for.
  for (const char* text :
       {"<a x>1</a>", "<a", "a/>", "1 < 2", "&lt;a&gt;&lt;/a&gt;"})
    EXPECT_FALSE(TVLQXmlNode::IsXml(text, false, false)) << text;
  EXPECT_TRUE(TVLQXmlNode::IsXml("<a x>1</a>", true, false));
  EXPECT_TRUE(TVLQXmlNode::IsXml("&lt;a&gt;&lt;/a&gt;", false, true));

  // A name, whether properties were cut off, and what is left.
  const std::tuple<const char*, bool, const char*> names[] = {
      {"a b=\"1\"", true, "a"}, {"a ", false, "a "}, {"a\t", true, "a"}};
  for (const auto& [text, cut, left] : names) {
    AnsiString name = text;
    EXPECT_EQ(TVLQXmlNode::DelPropertiesFromFieldName(name), cut) << text;
    EXPECT_EQ(name, left);
  }
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
  // Bytes 0x20 apart are the same letter only when they are letters.
  TVLQXmlNode* p7 = root.AddNode("P_7@[", "3");
  EXPECT_EQ(root.GetNodeByName("p_7@["), p7);
  for (const char* other : {"P\x7F\x37@[", "P_7`[", "P_7@{", "P_8@["})
    EXPECT_EQ(root.GetNodeByName(other), nullptr) << other;
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

  node.Value = " 12";  // not a number: an Exception with this message
  EXPECT_EQ(MessageOf([&] { node.GetValueAsDouble(); }),
            "Warto\x9C\xE6:  12 nie jest wyra\xBF"
            "eniem liczbowym");
  node.Value = "1.2.3";  // digits and separators in a wrong order
  EXPECT_THROW(node.GetValueAsDouble(), EConvertError);
}

TEST(TVLQXmlNode, WritesIndentedAndOneLineXml) {
  TVLQXmlNode root;
  root.Name = "A";
  root.AddNode("B", "1");
  root.AddNode("C", "x<y");
  EXPECT_EQ(root.ToXmlDef(0), "<A>\n\t<B>1</B>\n\t<C>x&lt;y</C>\n</A>");
  EXPECT_EQ(root.ToXmlDef(1), "\t<A>\n\t\t<B>1</B>\n\t\t<C>x&lt;y</C>\n\t</A>");
  EXPECT_EQ(root.GetNodeByIdx(0)->ToXmlDef(2), "\t\t<B>1</B>");
  EXPECT_EQ(root.ToXmlDefWJednejLinii(), "<A><B>1</B><C>x&lt;y</C></A>");
  EXPECT_EQ(TVLQXmlNode::ZapiszString("a&<>\"'"), "a&amp;&lt;&gt;&quot;&apos;");
  CDataSwitch on(true);
  EXPECT_EQ(TVLQXmlNode::ZapiszString("x<y"), "<![CDATA[x<y]]>");
  EXPECT_EQ(TVLQXmlNode::ZapiszString("xy"), "xy");
}

TEST(TVLQXmlNode, LimitsNestingAndDestroysDeepTrees) {
  const auto nested = [](int levels) {
    AnsiString open, close;
    for (int i = 0; i < levels; ++i) {
      open += "<e" + std::to_string(i) + ">";
      close = "</e" + std::to_string(i) + ">" + close;
    }
    return open + "v" + close;
  };
  TVLQXmlNode node;
  node.XmlParse(nested(TVLQXmlNode::MaxNestingDepth), true, true);
  // Deep elements each with text before the next: the end tags are found by
  // searching at first, by the index once the searches have read too much.
  AnsiString xml, shape, closing;
  for (int i = 0; i < 300; ++i) {
    const AnsiString name = "e" + std::to_string(i);
    xml += "<" + name + "><v>" + AnsiString(200, 'a' + i % 26) + "</v>";
    shape += name + "{v=" + AnsiString(200, 'a' + i % 26) + ",";
    closing = "</" + name + ">" + closing;
  }
  node.XmlParse(xml + "<z>1</z>" + closing, true, true);
  EXPECT_EQ(Shape(node), shape + "z=1" + AnsiString(300, '}'));
  // Parsed nodes destroyed one at a time, or moved into a built tree that
  // outlives the parsed one, are freed once (the sanitizer run checks).
  TVLQXmlNode built;
  built.Nodes.push_back(std::move(node.Nodes[1]));
  node.Nodes[0].reset();
  node.Clear();
  EXPECT_EQ(Shape(*built.GetNodeByIdx(0)).substr(0, 7), "e1{v=bb");
  EXPECT_EQ(Parsed(nested(TVLQXmlNode::MaxNestingDepth + 1)),
            "e0! elements nested deeper than 1000 levels");

  auto deep = std::make_unique<TVLQXmlNode>();
  TVLQXmlNode* tip = deep.get();
  for (int i = 0; i < 1000000; ++i) tip = tip->AddNode("n", "");
  EXPECT_EQ(deep->GetNodeByIdx(0)->ToXmlDefWJednejLinii().size(), 1000000u * 7);
}

TEST(TVLQXmlNode, PathologicalInputsParseInLinearTime) {
  // Processor time, not wall time, so that a busy machine does not fail it;
  // quadratic work on these inputs would take minutes.
  const std::clock_t started = std::clock();
  TVLQXmlNode node;
  node.XmlParse("<r>" + Times("<a>1</a>", 200000) + "</r>", true, true);
  EXPECT_EQ(node.GetCount(), 200000);
  AnsiString unclosed = "<r>";
  for (int i = 0; i < 100000; ++i) unclosed += "<a" + std::to_string(i) + ">";
  node.XmlParse(unclosed + "</r>", true, true);  // no end tags: a value
  EXPECT_EQ(node.GetCount(), 0);
  EXPECT_EQ(Parsed(Times("?>", 100000) + "<?xml<a>1</a>"),
            "! '</?xml<a>' not found");
  EXPECT_EQ(Parsed(Times("<!--", 100000)), "! single '<' found");
  node.XmlParse("<r>" + Times("</", 100000) + "></r>", true, true);
  EXPECT_EQ(node.GetCount(), 1);
  EXPECT_EQ(Parsed("<a>" + Times("<![CDATA[<]]>", 100000) + "</a>", "c"),
            "a=" + AnsiString(100000, '<'));
  EXPECT_LT(static_cast<double>(std::clock() - started) / CLOCKS_PER_SEC, 5.0);
}

TEST(TVLQXmlNode, RealInvoicesRoundTrip) {
  namespace fs = std::filesystem;
  int parsed = 0;
  for (const char* folder : {"ksef/fa2", "ksef/fa3"}) {
    for (const auto& entry :
         fs::directory_iterator(fs::path(DRUVO_TESTDATA_DIR) / folder)) {
      TVLQXmlNode invoice;
      invoice.XmlParse(Utf8ToAnsi(ReadFile(entry.path().string())), true, true);
      ASSERT_EQ(invoice.Name, "Faktura") << entry.path();
      ASSERT_NE(invoice.GetNodeByName("Fa"), nullptr) << entry.path();
      EXPECT_EQ(Parsed(invoice.ToXmlDefWJednejLinii()), Shape(invoice))
          << entry.path();
      ++parsed;
    }
  }
  EXPECT_GE(parsed, 40);
}

}  // namespace
}  // namespace druvo::test
