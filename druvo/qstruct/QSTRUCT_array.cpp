// TQArray: rows of cells laid out by an embedded structure definition, row
// conversion from and to TQStruct, sorting by field names.
#include "druvo/qstruct/QSTRUCT.h"

#include <algorithm>
#include <utility>

#include "druvo/platform/NumberText.h"
#include "druvo/qstruct/QSTRUCT_internal.h"
#include "druvo/util/KUTIL.h"
#include "druvo/util/MARZALST.h"

namespace druvo {

namespace {

constexpr char kInitError[] = "TQArray initialization error";

template <typename T>
int CompareNumbers(T a, T b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

// The value of one key cell for a sort: a number, or the cell's text.
struct SortKey {
  double number = 0;
  const AnsiString* text = nullptr;
};

SortKey KeyOf(const TQDataTypeBase& cell) {
  SortKey key;
  switch (cell.getType()) {
    case qdtInteger:
      key.number = static_cast<const TQInteger&>(cell).getAsInteger();
      break;
    case qdtDouble:
      key.number = static_cast<const TQDouble&>(cell).getAsDouble();
      break;
    case qdtDateTime:
      key.number = static_cast<const TQDateTime&>(cell).getAsDouble();
      break;
    case qdtString:
      key.text = &static_cast<const TQString&>(cell).getAsString();
      break;
    default:
      break;
  }
  return key;
}

// As cmpPairFields compares two cells of one column (before the direction).
int CompareKeys(int kind, const SortKey& a, const SortKey& b) {
  if (kind == qdtString) return LkStrCmp(*a.text, *b.text);
  if (kind == qdtInteger || kind == qdtDouble || kind == qdtDateTime) {
    return CompareNumbers(a.number, b.number);
  }
  return 0;
}

}  // namespace

TQArray::TQArray() = default;
TQArray::~TQArray() = default;

void TQArray::dealloc() {
  rows_.clear();
  desc_.clear();
  rowDef_.Clear();
  fieldCount_ = 0;
  rowCount_ = 0;
  capacity_ = 0;
}

void TQArray::Build(const TQXmlNode& definition) {
  dealloc();
  if (definition.getName() != "TQArray") {
    throw Exception("Not a TQArray definition");
  }
  const TQXmlNode* type = definition.getNodePtr("Type");
  if (type == nullptr) throw Exception("TQArray Type description not found");
  typeName_ = type->getValue();
  const TQXmlNode* arrayFields = definition.getNodePtr("ArrayFields");
  const TQXmlNode* structure =
      arrayFields != nullptr ? arrayFields->getNodePtr("TQStruct") : nullptr;
  if (structure == nullptr) {
    throw Exception("TQArray Fields definition not found");
  }
  rowDef_.Assign(structure);
  const TQXmlNode* fields = rowDef_.getNodePtr("Fields");
  if (fields == nullptr) {
    throw Exception("TQStruct Fields definition not found");
  }
  const int count = fields->getCount();
  if (count == 0) throw Exception("FieldCount cannot be 0");
  desc_.resize(static_cast<std::size_t>(count));
  fieldCount_ = count;
  capacity_ = growthStep_;
  rows_.resize(static_cast<std::size_t>(capacity_));
  rowCount_ = 0;
  for (int i = 0; i < count; ++i) {
    const TQXmlNode& field = *fields->getNode(i);
    if (field.getName() != "TQStructField") {
      throw Exception("TQStructField definition expected");
    }
    desc_[static_cast<std::size_t>(i)].name = field.getNodeValue("FieldName");
    desc_[static_cast<std::size_t>(i)].index = i;
  }
  sortFldDef(0, count - 1);
}

void TQArray::xmlParsedInit(const TQXmlNode& definition) {
  qstruct_detail::InitialiseOrUndo(
      kInitError, [&] { Build(definition); }, [this] { dealloc(); });
}

void TQArray::initialize(const AnsiString& xml) {
  TQXmlNode definition;
  AnsiString text = xml;
  definition.QXmlParse(text);
  xmlParsedInit(definition);
}

void TQArray::Wrap(const char* operation) const {
  throw Exception(AnsiString(operation) + "\n\rTQArray type: " + typeName_);
}

void TQArray::CheckRow(int i) const {
  if (i < 0 || i >= rowCount_) {
    throw Exception("Index out of range: " + IntToStr(i) + "/" +
                    IntToStr(rowCount_));
  }
}

TQArray::Row TQArray::NewRow() const {
  const TQXmlNode* fields = rowDef_.getNodePtr("Fields");
  if (fields == nullptr || fields->getCount() != fieldCount_) {
    throw Exception("TQStruct Fields definition not found");
  }
  Row row = std::make_unique<std::unique_ptr<TQDataTypeBase>[]>(
      static_cast<std::size_t>(fieldCount_));
  for (int k = 0; k < fieldCount_; ++k) {
    row[static_cast<std::size_t>(k)] =
        TQStruct::NewFieldValue(*fields->getNode(k));
  }
  return row;
}

void TQArray::FillRow(std::unique_ptr<TQDataTypeBase>* cells,
                      const TQStruct& source, bool clearFirst) {
  for (const TQStructFieldDesc& desc : desc_) {
    TQDataTypeBase& cell = *cells[desc.index];
    try {
      if (clearFirst) cell.clear();
      cell.assign(source.getFieldByName(desc.name));
    } catch (...) {
      throw Exception("Field assignment error");
    }
  }
}

void TQArray::addRow(const TQDataTypeBase* row) {
  try {
    const auto* source = dynamic_cast<const TQStruct*>(row);
    if (source == nullptr || row->getType() != qdtStructure) {
      throw Exception("Invalid addRow() argument, must be TQStruct");
    }
    if (rowCount_ >= capacity_) {
      rows_.resize(static_cast<std::size_t>(capacity_ + growthStep_));
      capacity_ += growthStep_;
    }
    Row cells = NewRow();
    FillRow(cells.get(), *source, false);
    rows_[static_cast<std::size_t>(rowCount_)] = std::move(cells);
    ++rowCount_;
  } catch (...) {
    Wrap("TQArray addRow() error");
  }
}

void TQArray::setRow(int i, const TQDataTypeBase* row) {
  try {
    const auto* source = dynamic_cast<const TQStruct*>(row);
    if (source == nullptr || row->getType() != qdtStructure) {
      throw Exception("Invalid argument, must be TQStruct");
    }
    CheckRow(i);
    FillRow(rows_[static_cast<std::size_t>(i)].get(), *source, true);
  } catch (...) {
    Wrap("TQArray setRow() error");
  }
}

void TQArray::CopyRowTo(int i, TQStruct& target) const {
  for (const TQStructFieldDesc& desc : desc_) {
    try {
      target.getFieldByName(desc.name)->assign(Cell(i, desc.index));
    } catch (const Exception&) {
      throw Exception("line: " + IntToStr(i) + "\nfield: " + desc.name +
                      "\nid: " + IntToStr(desc.index));
    }
  }
}

void TQArray::getRow(int i, TQDataTypeBase* target) const {
  try {
    CheckRow(i);
    auto* structure = dynamic_cast<TQStruct*>(target);
    if (structure == nullptr) {
      throw Exception("Invalid argument, must be TQStruct");
    }
    structure->xmlParsedInit(rowDef_);
    CopyRowTo(i, *structure);
  } catch (const Exception& error) {
    throw Exception("TQArray getRow() error\nTQArray type: " + typeName_ +
                    "\n" + error.Message);
  }
}

void TQArray::deleteRow(int i) {
  try {
    CheckRow(i);
    const auto first = rows_.begin() + i;
    first->reset();
    std::move(first + 1, rows_.begin() + rowCount_, first);
    --rowCount_;
  } catch (...) {
    Wrap("TQArray deleteRow() error");
  }
}

void TQArray::createCompatibleStruct(TQDataTypeBase* target) const {
  try {
    auto* structure = dynamic_cast<TQStruct*>(target);
    if (structure == nullptr || target->getType() != qdtStructure) {
      throw Exception("Invalid argument, must be TQStruct");
    }
    structure->xmlParsedInit(rowDef_);
  } catch (...) {
    Wrap("TQArray createCompatibleStruct() error");
  }
}

TQDataTypeBase* TQArray::getFieldByName(int i, const AnsiString& name) const {
  const int found = TQStruct::FindField(desc_, name);
  if (found < 0) {
    throw Exception("Field not found: " + name +
                    "\n\rTQArray type: " + typeName_);
  }
  if (i < 0 || i >= rowCount_) {
    throw Exception("Index out of range: " + IntToStr(i) + "/" +
                    IntToStr(rowCount_) + "\n\rTQArray type: " + typeName_);
  }
  return Cell(i, desc_[static_cast<std::size_t>(found)].index);
}

int TQArray::getValueAsInteger(int i, const AnsiString& name) const {
  return TQStruct::WithScalar(getFieldByName(i, name), "getAsInteger", name,
                              [](auto& v) { return v.getAsInteger(); });
}
double TQArray::getValueAsDouble(int i, const AnsiString& name) const {
  return TQStruct::WithScalar(getFieldByName(i, name), "getAsDouble", name,
                              [](auto& v) { return v.getAsDouble(); });
}
AnsiString TQArray::getValueAsString(int i, const AnsiString& name) const {
  return TQStruct::WithScalar(
      getFieldByName(i, name), "getAsString", name,
      [](auto& v) { return AnsiString(v.getAsString()); });
}
TDateTime TQArray::getValueAsDateTime(int i, const AnsiString& name) const {
  return TQStruct::WithScalar(getFieldByName(i, name), "getAsDateTime", name,
                              [](auto& v) { return v.getAsDateTime(); });
}
void TQArray::setValueAsInteger(int i, const AnsiString& name, int value) {
  TQStruct::WithScalar(getFieldByName(i, name), "setAsInteger", name,
                       [value](auto& v) { v.setAsInteger(value); });
}
void TQArray::setValueAsDouble(int i, const AnsiString& name, double value) {
  TQStruct::WithScalar(getFieldByName(i, name), "setAsDouble", name,
                       [value](auto& v) { v.setAsDouble(value); });
}
void TQArray::setValueAsString(int i, const AnsiString& name,
                               const AnsiString& value) {
  TQStruct::WithScalar(getFieldByName(i, name), "setAsString", name,
                       [&value](auto& v) { v.setAsString(value); });
}
void TQArray::setValueAsDateTime(int i, const AnsiString& name,
                                 TDateTime value) {
  TQStruct::WithScalar(getFieldByName(i, name), "setAsDateTime", name,
                       [value](auto& v) { v.setAsDateTime(value); });
}

int TQArray::Sort(const AnsiString& keys, bool alwaysAscending) {
  sortKeys_.Czysc();
  keyPositions_.clear();
  TLkStringList lines;
  lines.Lista->SetText(AnsiToWide(keys));
  for (int k = 0; k < lines.Lista->Count(); ++k) {
    const AnsiString name = WideToAnsi(lines.Lista->Strings(k));
    const auto first =
        std::lower_bound(desc_.begin(), desc_.end(), name,
                         [](const TQStructFieldDesc& d, const AnsiString& n) {
                           return d.name < n;
                         });
    if (first == desc_.end() || first->name != name) continue;
    sortKeys_.addInt(first->index);
    keyPositions_.push_back(first->index);
  }
  if (keys != lastSortKeys_) sortDirection_ = 1;
  alwaysAscending_ = alwaysAscending;
  localSort(0, rowCount_ - 1);
  lastSortKeys_ = keys;
  sortDirection_ = -sortDirection_;
  return 1;
}

int TQArray::cmpRows(int a, int b) const {
  for (const int position : keyPositions_) {
    const int result = cmpPairFields(position, a, b);
    if (result != 0) return result;
  }
  return 0;
}

int TQArray::cmpPairFields(int field, int a, int b) const {
  if (a < 0 || b < 0 || a >= rowCount_ || b >= rowCount_ || field < 0 ||
      field >= fieldCount_) {
    return 0;
  }
  int result = 0;
  try {
    const TQDataTypeBase* x = Cell(a, field);
    const TQDataTypeBase* y = Cell(b, field);
    const int kind = x->getType();
    if (kind != y->getType()) return 0;
    switch (kind) {
      case qdtInteger:
        result =
            CompareNumbers(static_cast<const TQInteger*>(x)->getAsInteger(),
                           static_cast<const TQInteger*>(y)->getAsInteger());
        break;
      case qdtDouble:
      case qdtDateTime:
        result = CompareNumbers(
            kind == qdtDouble
                ? static_cast<const TQDouble*>(x)->getAsDouble()
                : static_cast<const TQDateTime*>(x)->getAsDouble(),
            kind == qdtDouble
                ? static_cast<const TQDouble*>(y)->getAsDouble()
                : static_cast<const TQDateTime*>(y)->getAsDouble());
        break;
      case qdtString:
        result = LkStrCmp(static_cast<const TQString*>(x)->getAsString(),
                          static_cast<const TQString*>(y)->getAsString());
        break;
      default:
        break;
    }
  } catch (...) {
    result = 0;
  }
  return alwaysAscending_ ? result : result * sortDirection_;
}

// Sorts rows lo..hi with exactly the comparisons and swaps of cmpRows and
// flipRows, but on a table of the key cells' values taken once per sort, so
// that a comparison reads adjacent memory instead of chasing rows and cells.
// The rows are then moved into the order the table ended in.
int TQArray::localSort(int lo, int hi) {
  lo = std::max(lo, 0);
  hi = std::min(hi, rowCount_ - 1);
  if (lo >= hi) return 0;
  const auto count = static_cast<std::size_t>(hi - lo + 1);
  const std::size_t width = keyPositions_.size();
  std::vector<int> kinds(width);
  for (std::size_t k = 0; k < width; ++k) {
    kinds[k] = Cell(lo, keyPositions_[k])->getType();
  }
  std::vector<SortKey> table(count * width);
  std::vector<int> order(count);
  for (std::size_t r = 0; r < count; ++r) {
    order[r] = lo + static_cast<int>(r);
    for (std::size_t k = 0; k < width; ++k) {
      table[r * width + k] = KeyOf(*Cell(order[r], keyPositions_[k]));
    }
  }
  const int sign = alwaysAscending_ ? 1 : sortDirection_;
  const auto at = [&](int i) {
    return table.data() + std::size_t(i - lo) * width;
  };
  PartitionSort(
      lo, hi,
      [&](int i, int j) {
        const SortKey* a = at(i);
        const SortKey* b = at(j);
        for (std::size_t k = 0; k < width; ++k) {
          const int result = CompareKeys(kinds[k], a[k], b[k]);
          if (result != 0) return result * sign;
        }
        return 0;
      },
      [&](int i, int j) {
        std::swap_ranges(at(i), at(i) + width, at(j));
        std::swap(order[std::size_t(i - lo)], order[std::size_t(j - lo)]);
      });
  std::vector<Row> sorted(count);
  for (std::size_t r = 0; r < count; ++r) {
    sorted[r] = std::move(rows_[static_cast<std::size_t>(order[r])]);
  }
  std::move(sorted.begin(), sorted.end(), rows_.begin() + lo);
  return 0;
}

void TQArray::flipRows(int a, int b) {
  if (a < 0 || b < 0 || a >= rowCount_ || b >= rowCount_) return;
  std::swap(rows_[static_cast<std::size_t>(a)],
            rows_[static_cast<std::size_t>(b)]);
}

int TQArray::compareFldDef(int i, int j) const {
  return TQStruct::CompareDesc(desc_, i, j);
}
void TQArray::flipFldDef(int i, int j) { TQStruct::FlipDesc(desc_, i, j); }
int TQArray::sortFldDef(int lo, int hi) {
  TQStruct::SortDesc(desc_, lo, hi);
  return 0;
}

void TQArray::assign(const TQDataTypeBase* source) {
  const auto* other = dynamic_cast<const TQArray*>(source);
  if (other == nullptr || other->getType() != qdtArray) {
    throw Exception("Invalid TQArray assignment");
  }
  if (other->typeName_ != typeName_) {
    throw Exception("Incompatible TQArray assignment\n\rCannot assign " +
                    typeName_ + " with " + other->typeName_);
  }
}

TQDataTypeBase* TQArray::duplicate() const {
  try {
    auto copy = std::make_unique<TQArray>();
    copy->rowDef_.Assign(&rowDef_);
    copy->typeName_ = typeName_;
    copy->fieldCount_ = fieldCount_;
    copy->desc_ = desc_;
    copy->capacity_ = capacity_;
    copy->growthStep_ = growthStep_;
    copy->rows_.resize(rows_.size());
    const auto width = static_cast<std::size_t>(fieldCount_);
    for (int r = 0; r < rowCount_; ++r) {
      Row row = std::make_unique<std::unique_ptr<TQDataTypeBase>[]>(width);
      for (std::size_t k = 0; k < width; ++k) {
        row[k].reset(Cell(r, static_cast<int>(k))->duplicate());
      }
      copy->rows_[static_cast<std::size_t>(r)] = std::move(row);
      copy->rowCount_ = r + 1;
    }
    return copy.release();
  } catch (...) {
    throw Exception("TQArray duplication error\n\rTQArray type: " + typeName_);
  }
}

void TQArray::clear() {
  for (int r = 0; r < rowCount_; ++r) {
    for (int k = 0; k < fieldCount_; ++k) Cell(r, k)->clear();
  }
}

}  // namespace druvo
