// Typed values, structures and arrays of structures whose layout is read at
// run time from an XML definition.
//
// TQDataTypeBase is the root of the value family; getType() gives the code of
// TQDataType. The four scalars (TQInteger, TQDouble, TQString, TQDateTime) hold
// one value each and convert between the four kinds with fixed text formats
// that never depend on the C locale: "%d" integers, "%lf"-style fixed doubles
// with a point, FloatToStr (the runtime's decimal separator) for TQDouble, and
// "dd.mm.yyyy hh:nn:ss:zz" dates. Text that holds no value reads as 0.
//
// TQStruct owns one value per field of its definition and finds fields by
// name through descriptors sorted byte-wise (binary search). TQArray owns rows
// of cells with the layout of an embedded structure definition, converts rows
// from and to TQStruct, and sorts them by a list of field names, flipping the
// direction when the same key list is sorted again. Both raise Exception with
// the system's messages; nested messages are joined with LF CR ("\n\r").
// duplicate() copies deeply and hands the copy to the caller. Cell and field
// pointers stay valid until their row is deleted or the owner re-initialised,
// deallocated or destroyed; sorting and clearing keep them.
#pragma once

#include <memory>
#include <vector>

#include "druvo/containers/INTARRAY.h"
#include "druvo/platform/AnsiString.h"
#include "druvo/platform/DateTime.h"
#include "druvo/platform/Exceptions.h"
#include "druvo/platform/Export.h"
#include "druvo/qstruct/QXML.h"

namespace druvo {

// Type codes; the names are the field types of definitions.
enum TQDataType : int {
  qdtInteger = 1,
  qdtDouble = 2,
  qdtString = 3,
  qdtDateTime = 4,
  qdtStructure = 100,
  qdtArray = 101,
};

class DRUVO_API TQDataTypeBase {
 public:
  virtual ~TQDataTypeBase();
  // Takes the value of `source`, converted; raises when it cannot be.
  virtual void assign(const TQDataTypeBase* source) = 0;
  virtual int getType() const = 0;
  // An equal, independent object; the caller owns it.
  virtual TQDataTypeBase* duplicate() const = 0;
  // Back to the class's default value.
  virtual void clear() = 0;

 protected:
  TQDataTypeBase() = default;
  TQDataTypeBase(const TQDataTypeBase&) = default;
  TQDataTypeBase& operator=(const TQDataTypeBase&) = default;
};

// A 32-bit integer, default 0.
class DRUVO_API TQInteger final : public TQDataTypeBase {
 public:
  TQInteger() = default;
  void assign(const TQDataTypeBase* source) override;
  int getType() const override { return qdtInteger; }
  TQDataTypeBase* duplicate() const override;
  void clear() override { value_ = 0; }

  void setAsInteger(int value) { value_ = value; }
  int getAsInteger() const { return value_; }
  void setAsDouble(double value);
  double getAsDouble() const { return value_; }
  void setAsString(const AnsiString& value);
  AnsiString getAsString() const;
  void setAsDateTime(TDateTime value);
  TDateTime getAsDateTime() const { return value_; }

 private:
  int value_ = 0;
};

// A double, default 0.0.
class DRUVO_API TQDouble final : public TQDataTypeBase {
 public:
  TQDouble() = default;
  void assign(const TQDataTypeBase* source) override;
  int getType() const override { return qdtDouble; }
  TQDataTypeBase* duplicate() const override;
  void clear() override { value_ = 0.0; }

  void setAsInteger(int value) { value_ = value; }
  int getAsInteger() const;
  void setAsDouble(double value) { value_ = value; }
  double getAsDouble() const { return value_; }
  void setAsString(const AnsiString& value);
  AnsiString getAsString() const;
  void setAsDateTime(TDateTime value) { value_ = value; }
  TDateTime getAsDateTime() const { return value_; }

 private:
  double value_ = 0.0;
};

// A CP1250 text, default "".
class DRUVO_API TQString final : public TQDataTypeBase {
 public:
  TQString() = default;
  void assign(const TQDataTypeBase* source) override;
  int getType() const override { return qdtString; }
  TQDataTypeBase* duplicate() const override;
  void clear() override { value_.clear(); }

  void setAsInteger(int value);
  int getAsInteger() const;
  void setAsDouble(double value);
  double getAsDouble() const;
  void setAsString(const AnsiString& value) { value_ = value; }
  const AnsiString& getAsString() const { return value_; }
  void setAsDateTime(TDateTime value);
  TDateTime getAsDateTime() const;

 private:
  AnsiString value_;
};

// A date and time, default 0.0 (30 Dec 1899 00:00).
class DRUVO_API TQDateTime final : public TQDataTypeBase {
 public:
  TQDateTime() = default;
  void assign(const TQDataTypeBase* source) override;
  int getType() const override { return qdtDateTime; }
  TQDataTypeBase* duplicate() const override;
  void clear() override { value_ = 0.0; }

  void setAsInteger(int value) { value_ = value; }
  int getAsInteger() const;
  void setAsDouble(double value) { value_ = value; }
  double getAsDouble() const { return value_; }
  // Leaves the value unchanged when the text is not a valid date and time.
  void setAsString(const AnsiString& value);
  AnsiString getAsString() const;
  void setAsDateTime(TDateTime value) { value_ = value; }
  TDateTime getAsDateTime() const { return value_; }

 private:
  TDateTime value_ = 0.0;
};

// Maps a field name to the field's position in definition order.
class DRUVO_API TQStructFieldDesc {
 public:
  AnsiString name;
  int index = -1;
};

// The partition sort of descriptors and array rows: compare(i, j) orders two
// positions, swap(i, j) exchanges them. Not stable; the order of equal
// elements follows from the exact steps. Recursion goes into the smaller part
// only, so the depth stays logarithmic.
template <typename Compare, typename Swap>
void PartitionSort(int lo, int hi, Compare compare, Swap swap) {
  while (lo < hi) {
    int i = lo;
    int j = hi;
    int p = lo + (hi - lo) / 2;
    while (i <= j) {
      // The bounds only guard against an inconsistent comparison; with a
      // consistent one the scans stop inside the range anyway.
      while (i < hi && compare(i, p) < 0) ++i;
      while (j > lo && compare(p, j) < 0) --j;
      if (i <= j) {
        if (p == i) {
          p = j;
        } else if (p == j) {
          p = i;
        }
        swap(i, j);
        ++i;
        --j;
      }
    }
    if (j - lo < hi - i) {
      if (lo < j) PartitionSort(lo, j, compare, swap);
      lo = i;
    } else {
      if (i < hi) PartitionSort(i, hi, compare, swap);
      hi = j;
    }
  }
}

class TQArray;

// A record laid out by a TQStruct definition (type name and fields).
class DRUVO_API TQStruct : public TQDataTypeBase {
 public:
  TQStruct();
  ~TQStruct() override;
  TQStruct(const TQStruct&) = delete;
  TQStruct& operator=(const TQStruct&) = delete;

  // Parses `xml` and lays the structure out from it.
  void initialize(const AnsiString& xml);
  // Replaces layout and values by those of `definition`.
  void xmlParsedInit(const TQXmlNode& definition);
  // The field's value, still owned by the structure; raises when no field
  // has exactly that name.
  TQDataTypeBase* getFieldByName(const AnsiString& name) const;

  int getValueAsInteger(const AnsiString& name) const;
  double getValueAsDouble(const AnsiString& name) const;
  AnsiString getValueAsString(const AnsiString& name) const;
  TDateTime getValueAsDateTime(const AnsiString& name) const;
  void setValueAsInteger(const AnsiString& name, int value);
  void setValueAsDouble(const AnsiString& name, double value);
  void setValueAsString(const AnsiString& name, const AnsiString& value);
  void setValueAsDateTime(const AnsiString& name, TDateTime value);

  // Checks that `source` is a structure of the same type name; the values
  // are left as they are.
  void assign(const TQDataTypeBase* source) override;
  int getType() const override { return qdtStructure; }
  TQDataTypeBase* duplicate() const override;
  void clear() override;
  // Destroys every field; the structure is left without fields.
  void dealloc();

  // Byte-wise order of the names of descriptors i and j: -1, 0 or 1.
  int compareFldDef(int i, int j) const;
  void flipFldDef(int i, int j);
  int sortFldDef(int lo, int hi);

  const AnsiString& getTypeName() const { return typeName_; }
  int getFieldCount() const { return fieldCount_; }
  // Descriptor k in name order (0 <= k < getFieldCount()).
  const TQStructFieldDesc& getFieldDesc(int k) const;

 private:
  friend class TQArray;
  using Descriptors = std::vector<TQStructFieldDesc>;

  void Build(const TQXmlNode& definition);
  // A new value of the kind a TQStructField element names.
  static std::unique_ptr<TQDataTypeBase> NewFieldValue(const TQXmlNode& field);
  // Position in `desc` of the descriptor named `name`; -1 when none.
  static int FindField(const Descriptors& desc, const AnsiString& name);
  // The descriptor operations shared with TQArray; positions outside `desc`
  // compare as 0 and are not swapped.
  static int CompareDesc(const Descriptors& desc, int i, int j);
  static void FlipDesc(Descriptors& desc, int i, int j);
  static void SortDesc(Descriptors& desc, int lo, int hi);
  // Applies `call` to the scalar `field`; raises `operation` + "() not
  // supported for " + name for a structure or array.
  template <typename Call>
  static auto WithScalar(TQDataTypeBase* field, const char* operation,
                         const AnsiString& name, Call call);

  AnsiString typeName_;
  int fieldCount_ = 0;
  Descriptors desc_;
  std::vector<std::unique_ptr<TQDataTypeBase>> values_;
};

template <typename Call>
auto TQStruct::WithScalar(TQDataTypeBase* field, const char* operation,
                          const AnsiString& name, Call call) {
  switch (field->getType()) {
    case qdtInteger:
      return call(static_cast<TQInteger&>(*field));
    case qdtDouble:
      return call(static_cast<TQDouble&>(*field));
    case qdtString:
      return call(static_cast<TQString&>(*field));
    case qdtDateTime:
      return call(static_cast<TQDateTime&>(*field));
    default:
      throw Exception(AnsiString(operation) + "() not supported for " + name);
  }
}

// A table of rows laid out by a TQArray definition, which embeds the
// structure definition of its rows.
class DRUVO_API TQArray : public TQDataTypeBase {
 public:
  TQArray();
  ~TQArray() override;
  TQArray(const TQArray&) = delete;
  TQArray& operator=(const TQArray&) = delete;

  // Parses `xml` and lays the array out from it; parse errors pass through.
  void initialize(const AnsiString& xml);
  // Replaces layout and rows by those of `definition`.
  void xmlParsedInit(const TQXmlNode& definition);
  // Destroys all rows and descriptors.
  void dealloc();
  int getRowCount() const { return rowCount_; }

  // Appends a row converted from a TQStruct with the array's field names.
  void addRow(const TQDataTypeBase* row);
  // Overwrites row i field by field; fields set before a failure keep their
  // new values.
  void setRow(int i, const TQDataTypeBase* row);
  // Rebuilds `target` (a TQStruct) with the row layout and copies row i.
  void getRow(int i, TQDataTypeBase* target) const;
  // Removes row i; later rows move down.
  void deleteRow(int i);
  // Rebuilds `target` (a TQStruct) with the row layout and default values.
  void createCompatibleStruct(TQDataTypeBase* target) const;

  // The cell of row i for field `name`, owned by the array.
  TQDataTypeBase* getFieldByName(int i, const AnsiString& name) const;
  int getValueAsInteger(int i, const AnsiString& name) const;
  double getValueAsDouble(int i, const AnsiString& name) const;
  AnsiString getValueAsString(int i, const AnsiString& name) const;
  TDateTime getValueAsDateTime(int i, const AnsiString& name) const;
  void setValueAsInteger(int i, const AnsiString& name, int value);
  void setValueAsDouble(int i, const AnsiString& name, double value);
  void setValueAsString(int i, const AnsiString& name, const AnsiString& value);
  void setValueAsDateTime(int i, const AnsiString& name, TDateTime value);

  // Sorts the rows by the field names of `keys` (one per line). The same
  // key text sorted again reverses the direction; `alwaysAscending` keeps
  // this call ascending. Returns 1.
  int Sort(const AnsiString& keys, bool alwaysAscending);
  int cmpRows(int a, int b) const;
  int cmpPairFields(int field, int a, int b) const;
  int localSort(int lo, int hi);
  void flipRows(int a, int b);
  int compareFldDef(int i, int j) const;
  void flipFldDef(int i, int j);
  int sortFldDef(int lo, int hi);

  // Checks that `source` is an array of the same type name; the rows are
  // left as they are.
  void assign(const TQDataTypeBase* source) override;
  int getType() const override { return qdtArray; }
  TQDataTypeBase* duplicate() const override;
  // Every cell back to its default; the rows stay.
  void clear() override;

  const AnsiString& getTypeName() const { return typeName_; }
  int getFieldCount() const { return fieldCount_; }
  int getCapacity() const { return capacity_; }
  // The copy of the row structure's definition.
  const TQXmlNode& getRowDefinition() const { return rowDef_; }

 private:
  using Row = std::unique_ptr<std::unique_ptr<TQDataTypeBase>[]>;

  void Build(const TQXmlNode& definition);
  Row NewRow() const;
  void CheckRow(int i) const;
  void FillRow(std::unique_ptr<TQDataTypeBase>* cells, const TQStruct& source,
               bool clearFirst);
  void CopyRowTo(int i, TQStruct& target) const;
  TQDataTypeBase* Cell(int row, int field) const {
    return rows_[static_cast<std::size_t>(row)][field].get();
  }
  [[noreturn]] void Wrap(const char* operation) const;

  TQXmlNode rowDef_;
  AnsiString typeName_;
  int fieldCount_ = 0;
  std::vector<TQStructFieldDesc> desc_;
  std::vector<Row> rows_;
  int rowCount_ = 0;
  int capacity_ = 0;
  int growthStep_ = 64;
  AnsiString lastSortKeys_;
  int sortDirection_ = 1;
  bool alwaysAscending_ = false;
  // The field positions of the current sort keys, in key order.
  IntArray sortKeys_;
  // The same positions as a plain vector, read by every comparison.
  std::vector<int> keyPositions_;
};

}  // namespace druvo
