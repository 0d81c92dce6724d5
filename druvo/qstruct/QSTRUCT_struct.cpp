// TQStruct: layout from a definition, field lookup by name, copies.
#include "druvo/qstruct/QSTRUCT.h"

#include <algorithm>
#include <utility>

#include "druvo/platform/NumberText.h"
#include "druvo/qstruct/QSTRUCT_internal.h"

namespace druvo {

namespace {

constexpr char kInitError[] = "TQStruct initialization error";
// Nested structure definitions deeper than this raise instead of exhausting
// the stack; a parsed definition cannot come near it (each level takes four
// elements of the 1000 the tree allows).
constexpr int kMaxNestedStructures = 250;
thread_local int nestedStructures = 0;

// Counts one level of nested field definitions while it is being built.
class NestingGuard {
 public:
  NestingGuard() {
    if (nestedStructures >= kMaxNestedStructures) {
      throw Exception("Field definitions nested deeper than " +
                      IntToStr(kMaxNestedStructures) + " levels");
    }
    ++nestedStructures;
  }
  ~NestingGuard() { --nestedStructures; }
  NestingGuard(const NestingGuard&) = delete;
  NestingGuard& operator=(const NestingGuard&) = delete;
};

// The definition inside a Definition element: its `root` child when it has
// one, else the element itself (which the initialisation then rejects).
const TQXmlNode& Nested(const TQXmlNode& definition, const AnsiString& root) {
  const TQXmlNode* inner = definition.getNodePtr(root);
  return inner != nullptr ? *inner : definition;
}

}  // namespace

TQStruct::TQStruct() = default;
TQStruct::~TQStruct() = default;

std::unique_ptr<TQDataTypeBase> TQStruct::NewFieldValue(
    const TQXmlNode& field) {
  const AnsiString kind = field.getNodeValue("FieldType");
  if (kind == "qdtInteger") return std::make_unique<TQInteger>();
  if (kind == "qdtDouble") return std::make_unique<TQDouble>();
  if (kind == "qdtString") return std::make_unique<TQString>();
  if (kind == "qdtDateTime") return std::make_unique<TQDateTime>();
  if (kind == "qdtStructure" || kind == "qdtArray") {
    const bool structure = kind == "qdtStructure";
    const AnsiString root = structure ? "TQStruct" : "TQArray";
    const TQXmlNode* definition = field.getNodePtr("Definition");
    if (definition == nullptr) {
      throw Exception("Field definition of type '" + root + "' not found");
    }
    NestingGuard guard;
    if (structure) {
      auto value = std::make_unique<TQStruct>();
      value->xmlParsedInit(Nested(*definition, root));
      return value;
    }
    auto value = std::make_unique<TQArray>();
    value->xmlParsedInit(Nested(*definition, root));
    return value;
  }
  throw Exception("Invalid field type: " + kind);
}

int TQStruct::FindField(const Descriptors& desc, const AnsiString& name) {
  const auto found =
      std::lower_bound(desc.begin(), desc.end(), name,
                       [](const TQStructFieldDesc& d, const AnsiString& n) {
                         return d.name < n;
                       });
  if (found == desc.end() || found->name != name) return -1;
  return static_cast<int>(found - desc.begin());
}

int TQStruct::CompareDesc(const Descriptors& desc, int i, int j) {
  const int n = static_cast<int>(desc.size());
  if (i < 0 || j < 0 || i >= n || j >= n) return 0;
  const int c = desc[static_cast<std::size_t>(i)].name.compare(
      desc[static_cast<std::size_t>(j)].name);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

void TQStruct::FlipDesc(Descriptors& desc, int i, int j) {
  const int n = static_cast<int>(desc.size());
  if (i < 0 || j < 0 || i >= n || j >= n) return;
  std::swap(desc[static_cast<std::size_t>(i)],
            desc[static_cast<std::size_t>(j)]);
}

void TQStruct::SortDesc(Descriptors& desc, int lo, int hi) {
  PartitionSort(
      std::max(lo, 0), std::min(hi, static_cast<int>(desc.size()) - 1),
      [&desc](int i, int j) { return CompareDesc(desc, i, j); },
      [&desc](int i, int j) { FlipDesc(desc, i, j); });
}

void TQStruct::Build(const TQXmlNode& definition) {
  dealloc();
  if (definition.getName() != "TQStruct") {
    throw Exception("Not a TQStruct definition");
  }
  const TQXmlNode* type = definition.getNodePtr("Type");
  if (type == nullptr) throw Exception("TQStruct Type description not found");
  typeName_ = type->getValue();
  const TQXmlNode* fields = definition.getNodePtr("Fields");
  if (fields == nullptr) {
    throw Exception("TQStruct Fields definition not found");
  }
  const int count = fields->getCount();
  if (count == 0) throw Exception("FieldCount cannot be 0");
  desc_.resize(static_cast<std::size_t>(count));
  values_.resize(static_cast<std::size_t>(count));
  fieldCount_ = count;
  for (int i = 0; i < count; ++i) {
    const TQXmlNode& field = *fields->getNode(i);
    if (field.getName() != "TQStructField") {
      throw Exception("TQStructField definition expected");
    }
    TQStructFieldDesc& desc = desc_[static_cast<std::size_t>(i)];
    desc.name = field.getNodeValue("FieldName");
    desc.index = i;
    values_[static_cast<std::size_t>(i)] = NewFieldValue(field);
  }
  sortFldDef(0, count - 1);
}

void TQStruct::xmlParsedInit(const TQXmlNode& definition) {
  qstruct_detail::InitialiseOrUndo(
      kInitError, [&] { Build(definition); }, [this] { dealloc(); });
}

void TQStruct::initialize(const AnsiString& xml) {
  qstruct_detail::InitialiseOrUndo(
      kInitError,
      [&] {
        TQXmlNode definition;
        AnsiString text = xml;
        definition.QXmlParse(text);
        xmlParsedInit(definition);
      },
      [this] { dealloc(); });
}

TQDataTypeBase* TQStruct::getFieldByName(const AnsiString& name) const {
  const int found = FindField(desc_, name);
  if (found < 0) {
    throw Exception("Field not found: " + name +
                    "\n\rTQStruct type: " + typeName_);
  }
  const int index = desc_[static_cast<std::size_t>(found)].index;
  return values_[static_cast<std::size_t>(index)].get();
}

int TQStruct::getValueAsInteger(const AnsiString& name) const {
  return WithScalar(getFieldByName(name), "getAsInteger", name,
                    [](auto& v) { return v.getAsInteger(); });
}
double TQStruct::getValueAsDouble(const AnsiString& name) const {
  return WithScalar(getFieldByName(name), "getAsDouble", name,
                    [](auto& v) { return v.getAsDouble(); });
}
AnsiString TQStruct::getValueAsString(const AnsiString& name) const {
  return WithScalar(getFieldByName(name), "getAsString", name,
                    [](auto& v) { return AnsiString(v.getAsString()); });
}
TDateTime TQStruct::getValueAsDateTime(const AnsiString& name) const {
  return WithScalar(getFieldByName(name), "getAsDateTime", name,
                    [](auto& v) { return v.getAsDateTime(); });
}
void TQStruct::setValueAsInteger(const AnsiString& name, int value) {
  WithScalar(getFieldByName(name), "setAsInteger", name,
             [value](auto& v) { v.setAsInteger(value); });
}
void TQStruct::setValueAsDouble(const AnsiString& name, double value) {
  WithScalar(getFieldByName(name), "setAsDouble", name,
             [value](auto& v) { v.setAsDouble(value); });
}
void TQStruct::setValueAsString(const AnsiString& name,
                                const AnsiString& value) {
  WithScalar(getFieldByName(name), "setAsString", name,
             [&value](auto& v) { v.setAsString(value); });
}
void TQStruct::setValueAsDateTime(const AnsiString& name, TDateTime value) {
  WithScalar(getFieldByName(name), "setAsDateTime", name,
             [value](auto& v) { v.setAsDateTime(value); });
}

void TQStruct::assign(const TQDataTypeBase* source) {
  const auto* other = dynamic_cast<const TQStruct*>(source);
  if (other == nullptr || other->getType() != qdtStructure) {
    throw Exception("Invalid TQStruct assignment");
  }
  if (other->typeName_ != typeName_) {
    throw Exception("Incompatible TQStruct assignment\n\rCannot assign " +
                    typeName_ + " with " + other->typeName_);
  }
}

TQDataTypeBase* TQStruct::duplicate() const {
  try {
    auto copy = std::make_unique<TQStruct>();
    copy->typeName_ = typeName_;
    copy->fieldCount_ = fieldCount_;
    copy->desc_ = desc_;
    copy->values_.resize(values_.size());
    for (std::size_t k = 0; k < values_.size(); ++k) {
      if (values_[k]) copy->values_[k].reset(values_[k]->duplicate());
    }
    return copy.release();
  } catch (...) {
    throw Exception("TQStruct duplication error\n\rTQStruct type: " +
                    typeName_);
  }
}

void TQStruct::clear() {
  for (auto& value : values_) {
    if (value) value->clear();
  }
}

void TQStruct::dealloc() {
  values_.clear();
  desc_.clear();
  fieldCount_ = 0;
}

int TQStruct::compareFldDef(int i, int j) const {
  return CompareDesc(desc_, i, j);
}
void TQStruct::flipFldDef(int i, int j) { FlipDesc(desc_, i, j); }
int TQStruct::sortFldDef(int lo, int hi) {
  SortDesc(desc_, lo, hi);
  return 0;
}

const TQStructFieldDesc& TQStruct::getFieldDesc(int k) const {
  if (k < 0 || k >= fieldCount_) {
    throw Exception("Index out of range: " + IntToStr(k) + "/" +
                    IntToStr(fieldCount_));
  }
  return desc_[static_cast<std::size_t>(k)];
}

}  // namespace druvo
