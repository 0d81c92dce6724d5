// The runtime's string lists: ordered wide-text lines, each with an optional
// object pointer (not owned), and name=value access.
//
// Text() joins the lines with CR LF (a final CR LF after the last line);
// SetText() splits at CR LF, CR or LF, and a final line break adds no empty
// line. DelimitedText follows the runtime's rules: with StrictDelimiter false
// an item also ends at any character 1..32, leading blanks are skipped, a
// quoted item may hold doubled quotes, a delimiter at the very end adds a final
// empty item. Index errors raise EListError("List index out of bounds (N)").
#pragma once

#include <vector>

#include "druvo/platform/AnsiString.h"
#include "druvo/platform/Export.h"

namespace druvo {

class DRUVO_API TStrings {
 public:
  TStrings();
  TStrings(const TStrings&);
  TStrings& operator=(const TStrings&);
  virtual ~TStrings();

  int Count() const { return static_cast<int>(lines_.size()); }
  const WideString& Strings(int index) const;
  void SetStrings(int index, const WideString& text);
  void* Objects(int index) const;
  void SetObjects(int index, void* object);

  // The part before the first NameValueSeparator ("" when there is none),
  // and the part after it.
  WideString Names(int index) const;
  WideString ValueFromIndex(int index) const;
  // The value of the first line whose name equals `name` ignoring case; "".
  WideString Values(const WideString& name) const;
  // Sets or adds name=value; an empty value deletes the line.
  void SetValues(const WideString& name, const WideString& value);
  int IndexOfName(const WideString& name) const;

  WideString Text() const;
  void SetText(const WideString& text);
  WideString DelimitedText() const;
  void SetDelimitedText(const WideString& text);
  WideString CommaText() const;
  void SetCommaText(const WideString& text);

  virtual int Add(const WideString& text);  // returns the new index
  int AddObject(const WideString& text, void* object);
  void AddStrings(const TStrings& other);
  void Assign(const TStrings& other);
  virtual void Insert(int index, const WideString& text);
  void Delete(int index);
  void Exchange(int a, int b);
  virtual void Clear();
  // First line equal to `text` ignoring case, or -1.
  virtual int IndexOf(const WideString& text) const;

  char16_t Delimiter = u',';
  char16_t QuoteChar = u'"';
  char16_t NameValueSeparator = u'=';
  bool StrictDelimiter = false;

 protected:
  struct Line {
    WideString text;
    void* object = nullptr;
  };
  void CheckIndex(int index) const;
  // How IndexOf, IndexOfName and Values compare lines: ignoring case here.
  virtual int CompareStrings(const WideString& a, const WideString& b) const;
  std::vector<Line> lines_;
};

// The concrete list callers create. CaseSensitive switches comparisons
// (IndexOf, Values, sorting) to exact code-unit order. Sorted makes Add insert
// in order (set it on an empty list or call Sort() first) and forbids Insert.
class DRUVO_API TStringList : public TStrings {
 public:
  TStringList();
  ~TStringList() override;

  int Add(const WideString& text) override;
  void Insert(int index, const WideString& text) override;
  int IndexOf(const WideString& text) const override;
  void Sort();

  bool Sorted = false;
  bool CaseSensitive = false;

 protected:
  int CompareStrings(const WideString& a, const WideString& b) const override;
};

}  // namespace druvo
