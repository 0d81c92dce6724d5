// Uses a few exported entry points so that a missing export or header fails
// the build or the run.
#include <cstdio>

#include "druvo/druvo.h"

int main() {
  druvo::TxfTools amount(2.675);
  druvo::TList list;
  int item = 0;
  list.Add(&item);
  const druvo::AnsiString text = amount.ToDBField(2, 2);
  if (text != "2.68" || list.Count() != 1) {
    std::fprintf(stderr, "unexpected result: %s\n", text.c_str());
    return 1;
  }
  try {
    druvo::EncodeDate(2024, 2, 30);
  } catch (const druvo::EConvertError&) {
    std::puts("consumer ok");
    return 0;
  }
  return 1;
}
