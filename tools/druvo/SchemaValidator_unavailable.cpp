// Schema validation in a build without libxml2 for its target (the Windows
// cross-build): every use says so, the other commands work as usual.
#include "tools/druvo/SchemaValidator.h"

#include "tools/druvo/CliError.h"

namespace druvo::cli {

struct SchemaValidator::Schemas {};

namespace {

[[noreturn]] void Unavailable() {
  throw CliError(
      "schema validation is not available in this build of druvo (it was "
      "built without libxml2)");
}

}  // namespace

SchemaValidator::SchemaValidator(std::string schemaDir)
    : schemaDir_(std::move(schemaDir)) {}

SchemaValidator::~SchemaValidator() = default;

SchemaCheck SchemaValidator::Check(const std::string&, const std::string&) {
  Unavailable();
}

std::string FindSchemaDirectory() { Unavailable(); }

}  // namespace druvo::cli
