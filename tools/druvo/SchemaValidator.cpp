#include "tools/druvo/SchemaValidator.h"

#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>
#include <libxml/xmlschemas.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <utility>

#include "tools/druvo/CliError.h"

#ifndef DRUVO_SOURCE_SCHEMA_DIR
#define DRUVO_SOURCE_SCHEMA_DIR ""
#endif
#ifndef DRUVO_INSTALLED_SCHEMA_DIR
#define DRUVO_INSTALLED_SCHEMA_DIR "share/druvo/schema"
#endif

namespace druvo::cli {
namespace {

namespace fs = std::filesystem;

struct KnownSchema {
  std::string_view name;
  std::string_view ns;
  std::string_view file;
};

constexpr KnownSchema kKnownSchemas[] = {
    {"FA(2)", "http://crd.gov.pl/wzor/2023/06/29/12648/",
     "schemat_FA2_v1-0E.xsd"},
    {"FA(3)", "http://crd.gov.pl/wzor/2025/06/25/13775/",
     "schemat_FA3_v1-0E.xsd"},
};
constexpr std::string_view kMinistryHost = "http://crd.gov.pl/";

// The schema directory that the entity loader serves the Ministry's
// documents from, while a schema is compiled.
const std::string* gServedDirectory = nullptr;

// Loads the Ministry's schema documents from the served directory and
// refuses every other outside reference, so nothing reaches the network.
xmlParserInputPtr OfflineEntityLoader(const char* url, const char* /*id*/,
                                      xmlParserCtxtPtr context) {
  if (url == nullptr) return nullptr;
  const std::string_view address(url);
  if (address.find("://") == std::string_view::npos ||
      address.starts_with("file://")) {
    return xmlNewInputFromFile(context, url);
  }
  if (gServedDirectory != nullptr && address.starts_with(kMinistryHost)) {
    const std::string_view name = address.substr(address.rfind('/') + 1);
    const fs::path local = fs::path(*gServedDirectory) / std::string(name);
    std::error_code error;
    if (!name.empty() && fs::is_regular_file(local, error)) {
      return xmlNewInputFromFile(context, local.string().c_str());
    }
  }
  return nullptr;  // libxml2 reports the reference as not loadable
}

// Swaps libxml2's entity loader for the offline one for its lifetime.
class OfflineLoading {
 public:
  explicit OfflineLoading(const std::string& directory)
      : previous_(xmlGetExternalEntityLoader()) {
    gServedDirectory = &directory;
    xmlSetExternalEntityLoader(OfflineEntityLoader);
  }
  ~OfflineLoading() {
    xmlSetExternalEntityLoader(previous_);
    gServedDirectory = nullptr;
  }
  OfflineLoading(const OfflineLoading&) = delete;
  OfflineLoading& operator=(const OfflineLoading&) = delete;

 private:
  xmlExternalEntityLoader previous_;
};

// A libxml2 message without its line end and with the namespaces of
// qualified names dropped ("{http://...}P_2" becomes "P_2"); braces around
// anything with a blank or a quote (a set of allowed values) stay.
std::string Readable(const char* message) {
  std::string text = message == nullptr ? "" : message;
  std::size_t open = 0;
  while ((open = text.find('{', open)) != std::string::npos) {
    const std::size_t close = text.find('}', open);
    if (close == std::string::npos) break;
    const std::string_view inside =
        std::string_view(text).substr(open + 1, close - open - 1);
    if (inside.find_first_of(" '\"") == std::string_view::npos) {
      text.erase(open, close - open + 1);
    } else {
      open = close + 1;
    }
  }
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) {
    text.pop_back();
  }
  return text;
}

void CollectViolation(void* sink, xmlErrorPtr error) {
  if (error == nullptr || error->level == XML_ERR_WARNING) return;
  static_cast<std::vector<SchemaViolation>*>(sink)->push_back(
      {error->line, Readable(error->message)});
}

// Routes libxml2's errors into `sink` for its lifetime.
class CollectedErrors {
 public:
  explicit CollectedErrors(std::vector<SchemaViolation>& sink) {
    xmlSetStructuredErrorFunc(&sink, CollectViolation);
  }
  ~CollectedErrors() { xmlSetStructuredErrorFunc(nullptr, nullptr); }
  CollectedErrors(const CollectedErrors&) = delete;
  CollectedErrors& operator=(const CollectedErrors&) = delete;
};

struct DocumentDeleter {
  void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
using Document = std::unique_ptr<xmlDoc, DocumentDeleter>;

struct SchemaDeleter {
  void operator()(xmlSchema* schema) const { xmlSchemaFree(schema); }
};
using Schema = std::unique_ptr<xmlSchema, SchemaDeleter>;

struct ValidContextDeleter {
  void operator()(xmlSchemaValidCtxt* context) const {
    xmlSchemaFreeValidCtxt(context);
  }
};

struct ParserContextDeleter {
  void operator()(xmlSchemaParserCtxt* context) const {
    xmlSchemaFreeParserCtxt(context);
  }
};

Schema CompileSchema(const std::string& directory, std::string_view file) {
  const std::string path = (fs::path(directory) / std::string(file)).string();
  std::vector<SchemaViolation> problems;
  OfflineLoading offline(directory);
  CollectedErrors collected(problems);
  std::unique_ptr<xmlSchemaParserCtxt, ParserContextDeleter> parser(
      xmlSchemaNewParserCtxt(path.c_str()));
  Schema schema(parser ? xmlSchemaParse(parser.get()) : nullptr);
  if (!schema) {
    std::string message = "cannot load the schema " + path;
    if (!problems.empty()) message += ": " + problems.front().message;
    throw CliError(message);
  }
  return schema;
}

const KnownSchema* SchemaOf(const xmlDoc* doc) {
  const xmlNode* root = xmlDocGetRootElement(doc);
  const std::string_view ns =
      root != nullptr && root->ns != nullptr && root->ns->href != nullptr
          ? reinterpret_cast<const char*>(root->ns->href)
          : "";
  for (const KnownSchema& known : kKnownSchemas) {
    if (known.ns == ns) return &known;
  }
  throw CliError(ns.empty()
                     ? std::string("the root element has no namespace; not a "
                                   "KSeF FA(2) or FA(3) invoice")
                     : "unknown namespace '" + std::string(ns) +
                           "'; not a KSeF FA(2) or FA(3) invoice");
}

bool HasSchemas(const fs::path& directory) {
  std::error_code error;
  for (const KnownSchema& known : kKnownSchemas) {
    if (!fs::is_regular_file(directory / std::string(known.file), error)) {
      return false;
    }
  }
  return true;
}

// The folder of the running program, or "" when it cannot be found.
fs::path ProgramDirectory() {
  std::error_code error;
  const fs::path self = fs::read_symlink("/proc/self/exe", error);
  return error ? fs::path() : self.parent_path();
}

}  // namespace

struct SchemaValidator::Schemas {
  Schema compiled[std::size(kKnownSchemas)];
};

SchemaValidator::SchemaValidator(std::string schemaDir)
    : schemaDir_(std::move(schemaDir)), schemas_(std::make_unique<Schemas>()) {
  xmlInitParser();
}

SchemaValidator::~SchemaValidator() = default;

SchemaCheck SchemaValidator::Check(const std::string& bytes,
                                   const std::string& fileName) {
  SchemaCheck check;
  Document doc;
  {
    OfflineLoading offline(schemaDir_);
    CollectedErrors collected(check.violations);
    doc.reset(xmlReadMemory(bytes.data(), static_cast<int>(bytes.size()),
                            fileName.c_str(), nullptr,
                            XML_PARSE_NONET | XML_PARSE_BIG_LINES));
  }
  if (!doc) {
    if (check.violations.empty()) check.violations.push_back({0, "not XML"});
    return check;
  }
  const KnownSchema* known = SchemaOf(doc.get());
  check.schema = known->name;
  Schema& schema = schemas_->compiled[known - kKnownSchemas];
  if (!schema) schema = CompileSchema(schemaDir_, known->file);
  std::unique_ptr<xmlSchemaValidCtxt, ValidContextDeleter> validator(
      xmlSchemaNewValidCtxt(schema.get()));
  if (!validator) throw CliError("out of memory");
  OfflineLoading offline(schemaDir_);
  CollectedErrors collected(check.violations);
  if (xmlSchemaValidateDoc(validator.get(), doc.get()) != 0 &&
      check.violations.empty()) {
    check.violations.push_back({0, "the schema check failed"});
  }
  return check;
}

std::string FindSchemaDirectory() {
  std::vector<fs::path> candidates;
  if (const char* fromEnvironment = std::getenv("DRUVO_SCHEMA_DIR")) {
    candidates.emplace_back(fromEnvironment);
  }
  if (const fs::path program = ProgramDirectory(); !program.empty()) {
    candidates.push_back(program.parent_path() / DRUVO_INSTALLED_SCHEMA_DIR);
  }
  candidates.emplace_back(DRUVO_SOURCE_SCHEMA_DIR);
  for (const fs::path& candidate : candidates) {
    if (!candidate.empty() && HasSchemas(candidate)) return candidate.string();
  }
  throw CliError(
      "cannot find the KSeF schemas (set DRUVO_SCHEMA_DIR to the folder "
      "holding schemat_FA2_v1-0E.xsd and schemat_FA3_v1-0E.xsd)");
}

}  // namespace druvo::cli
