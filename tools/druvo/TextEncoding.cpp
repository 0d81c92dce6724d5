#include "tools/druvo/TextEncoding.h"

#include "druvo/platform/Exceptions.h"
#include "tools/druvo/CliError.h"

namespace druvo::cli {

DecodedText DecodeToCp1250(std::string_view bytes) {
  try {
    return druvo::DecodeToCp1250(bytes);
  } catch (const Exception& e) {
    throw CliError(e.Message);
  }
}

DecodedText DecodeUtf8ToCp1250(std::string_view bytes) {
  try {
    return druvo::DecodeUtf8ToCp1250(bytes);
  } catch (const Exception& e) {
    throw CliError(e.Message);
  }
}

}  // namespace druvo::cli
