// Checking KSeF invoices against the official FA(2) and FA(3) XML schemas.
//
// SchemaValidator reads an invoice file's bytes with libxml2 (its own
// encoding detection), picks the schema by the namespace of the root
// element and lists every violation with its line: malformed XML and
// everything the schema rejects. It never touches the network: the schemas'
// imports of the Ministry's shared type definitions are served from the
// bundled copies in the schema directory, and any other outside reference
// is refused. Each schema is compiled once, on first use. Not thread-safe
// (libxml2's error handler is process-wide while a check runs).
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace druvo::cli {

struct SchemaViolation {
  int line = 0;  // 0 when libxml2 knows no line
  std::string message;
};

struct SchemaCheck {
  std::string schema;  // "FA(2)" or "FA(3)"; "" when the XML is malformed
  std::vector<SchemaViolation> violations;
  bool Valid() const { return violations.empty(); }
};

class SchemaValidator {
 public:
  // `schemaDir` holds the bundled schema files.
  explicit SchemaValidator(std::string schemaDir);
  ~SchemaValidator();
  SchemaValidator(const SchemaValidator&) = delete;
  SchemaValidator& operator=(const SchemaValidator&) = delete;

  // Checks one invoice. Raises CliError when the root element's namespace
  // is neither FA(2)'s nor FA(3)'s, or when a schema cannot be loaded.
  SchemaCheck Check(const std::string& bytes, const std::string& fileName);

 private:
  struct Schemas;
  std::string schemaDir_;
  std::unique_ptr<Schemas> schemas_;
};

// Where the bundled schemas are: $DRUVO_SCHEMA_DIR when set, else
// share/druvo/schema beside the installed program, else the source tree's
// data/schema. Raises CliError when none holds them.
std::string FindSchemaDirectory();

}  // namespace druvo::cli
