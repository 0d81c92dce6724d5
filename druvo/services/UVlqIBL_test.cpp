#include "druvo/services/UVlqIBL.h"

#include <gtest/gtest.h>

#include <tuple>
#include <type_traits>
#include <utility>

namespace druvo {
namespace {

using Magazyn = TVLQBLImportMagazyn;
static_assert(std::has_virtual_destructor_v<TDaneSerwisuImportObject>);

TEST(UVlqIBL, ActionNamesUseTheirKeys) {
  const std::tuple<int, const char*, AnsiString> cases[] = {
      {0, "NazwaAkcreturn_00003", "<brak>"},
      {4, "NazwaAkcreturn_00003", "<brak>"},
      {1, "NazwaAkcreturn", "Import zam\xF3wienia"},
      {2, "NazwaAkcreturn_00001", "Realizacja zam\xF3wienia"},
      {3, "NazwaAkcreturn_00002", "Import i realizacja zam\xF3wienia"},
  };
  for (const auto& [value, key, name] : cases) {
    const auto akcja = static_cast<TVLQAkcjaStatusu>(value);
    TMLgTools::Clear();
    EXPECT_EQ(NazwaAkcjiStatusu(akcja), name) << value;
    TMLgTools::SetString("Druvo_UVlqIBL", key, u"Żółw");
    EXPECT_EQ(NazwaAkcjiStatusu(akcja), "\xAF\xF3\xB3w") << value;
  }
  TMLgTools::Clear();
}

TEST(TDaneSerwisuObject, CollapsedOnlyWhenTheObjectHasChildren) {
  TDaneSerwisuImportObject leaf;
  leaf.Zwiniety = true;
  Magazyn parent;
  parent.Dzieci.emplace_back();  // a null child still counts
  TDaneSerwisuObject none(1, 2, nullptr, "x"), leafRow(0, 0, &leaf, "");
  TList rows;
  rows.Add(new TDaneSerwisuObject(0, 0, &parent, ""));
  rows.Add(nullptr);
  auto* branchRow = static_cast<TDaneSerwisuObject*>(rows.First());
  none.SetZwiniety(false);
  EXPECT_TRUE(none.GetZwiniety() && !none.GetMaDzieci());
  EXPECT_FALSE(leafRow.GetZwiniety() || leafRow.GetMaDzieci());
  EXPECT_TRUE(branchRow->GetMaDzieci() && !branchRow->GetZwiniety());
  branchRow->SetZwiniety(true);
  EXPECT_TRUE(parent.Zwiniety && branchRow->GetZwiniety());
  TDaneSerwisuObject::CzyscListeObiektow(&rows);  // the objects stay
  TDaneSerwisuObject::CzyscListeObiektow(nullptr);
  EXPECT_TRUE(rows.Count() == 0 && parent.Zwiniety && parent.GetMaDzieci());
}

TEST(TVLQBLImportMagazyn, CopiesOwnTheirWholeTree) {
  auto* original = new Magazyn();
  original->Lista.Add(u"line");
  for (bool null : {false, true, false})
    original->Dzieci.push_back(null ? nullptr : std::make_unique<Magazyn>());
  original->Dzieci[0]->Dzieci.push_back(std::make_unique<Magazyn>());
  original->Dzieci[0]->Dzieci[0]->Id = "A.0.0";
  TList originals, copies;
  originals.Add(original);
  originals.Add(nullptr);
  auto* copy = new Magazyn(*original);
  auto* assigned = new Magazyn(*original);
  *assigned = *original;
  for (Magazyn* m : {copy, assigned}) {
    copies.Add(m);
    ASSERT_TRUE(m->Dzieci.size() == 3 && m->Dzieci[1] == nullptr);
    m->Dzieci[0]->Dzieci[0]->Id = "changed";
    m->Dzieci.pop_back();
    m->Lista.Add(u"more");
  }
  EXPECT_EQ(original->Dzieci[0]->Dzieci[0]->Id, "A.0.0");
  EXPECT_TRUE(original->Dzieci.size() == 3 && original->Lista.Count() == 1);

  // A warehouse may take the value of its own descendant, or of itself.
  *assigned = *assigned->Dzieci[0];
  ASSERT_TRUE(assigned->Dzieci.size() == 1);
  EXPECT_EQ(assigned->Dzieci[0]->Id, "changed");
  *copy = *copy;
  EXPECT_TRUE(copy->Dzieci.size() == 2 && copy->Lista.Count() == 2);
  Magazyn::WyczyscListe(&originals);
  Magazyn::WyczyscListe(&copies);
}

TEST(TVLQBLImportMagazyn, DeepChainCopiesAndGoesWithoutRecursion) {
  constexpr int kDepth = 100000;
  Magazyn root;
  Magazyn* tip = &root;
  for (int i = 0; i < kDepth; ++i)
    tip = tip->Dzieci.emplace_back(std::make_unique<Magazyn>()).get();
  tip->Id = "bottom";
  Magazyn copy(root);
  for (tip = &copy; !tip->Dzieci.empty();) tip = tip->Dzieci[0].get();
  EXPECT_EQ(tip->Id, "bottom");
  root.CzyscDane();
  EXPECT_FALSE(root.GetMaDzieci());
}

TEST(UVlqIBL, ListQueriesSkipNullItems) {
  TMacSetOfIntegers zbior;
  zbior.Add(7);
  const auto typ = static_cast<TBLTypObiektu>(4);
  Magazyn a(typ, "Mag", "t2", zbior, true, 3, "t3", "t4"), b, b2;
  EXPECT_EQ(std::tie(a.Typ, a.Tekst2, a.Znacznik, a.Liczba1, a.Tekst3, a.Tekst4,
                     a.Liczba2),
            std::tuple(typ, "t2", true, 3, "t3", "t4", 2));
  EXPECT_TRUE(a.Zbior.Contains(7));
  b.Id = b2.Id = "MAG";
  a.Dzieci.push_back(std::make_unique<Magazyn>());
  a.Dzieci[0]->Id = "X";
  TVLQBLImportGrupCenowych g1, g2, g3;
  g2.Id = g3.Id = 5;
  TList magazyny, grupy;
  for (auto* m : {static_cast<Magazyn*>(nullptr), &a, &b, &b2}) magazyny.Add(m);
  for (auto* g : {&g1, &g2, &g3}) grupy.Add(g);
  EXPECT_EQ(Magazyn::ZnajdzMagazynWgId(&magazyny, "Mag"), &a);
  EXPECT_EQ(Magazyn::ZnajdzMagazynWgId(&magazyny, "MAG"), &b);
  for (const char* missing : {"mag", "Ma", "Mag ", "X", ""})
    EXPECT_EQ(Magazyn::ZnajdzMagazynWgId(&magazyny, missing), nullptr);
  EXPECT_EQ(Magazyn::ZnajdzMagazynWgId(nullptr, "Mag"), nullptr);
  using Grupa = TVLQBLImportGrupCenowych;
  EXPECT_EQ(Grupa::ZnajdzGrupeCenowaPoId(&grupy, 5), &g2);
  EXPECT_EQ(Grupa::ZnajdzGrupeCenowaPoId(&grupy, 0), nullptr);
  g2.ObiektTekst1 = "x";
  g2.Czysc();  // the root's fields stay
  EXPECT_EQ(std::tie(g2.Id, g2.ObiektTekst1), std::tuple(-1, "x"));

  // One status per character: its action, or '-' for a null item.
  const std::pair<const char*, bool> cases[] = {
      {"", false},    {"2", false}, {"203", true}, {"1", true},
      {"027", false}, {"-3", true}, {"-", false},  {"94", false},
  };
  for (const auto& [actions, set] : cases) {
    TList lista;
    for (const char* a = actions; *a != '\0'; ++a) {
      auto* s = *a == '-' ? nullptr : new TVLQBLImportStatusowZamowien();
      if (s) s->Akcja = static_cast<TVLQAkcjaStatusu>(*a - '0');
      lista.Add(s);
    }
    EXPECT_EQ(TVLQBLImportStatusowZamowien::CzyAkcjaStatususUstawiona(&lista),
              set)
        << actions;
    TVLQBLImportStatusowZamowien::WyczyscListe(&lista);
  }
}

}  // namespace
}  // namespace druvo
