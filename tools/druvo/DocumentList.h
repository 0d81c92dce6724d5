// The document list printed by "druvo ksef-list": one row per invoice, as
// an aligned table or as CSV (RFC 4180 quoting: a field holding a comma, a
// double quote, a line break or outer blanks is quoted, its quotes doubled).
// All texts are UTF-8.
#pragma once

#include <string>
#include <vector>

#include "druvo/xml/UVlqXml.h"

namespace druvo::cli {

struct DocumentListRow {
  std::string number;
  std::string date;  // dd.mm.yyyy, "" when the invoice has none
  std::string type;  // "PZ", "ZD", "ROZB" or ""
  std::string seller;
  std::string sellerTaxNumber;
  std::string file;
};

// The list fields of a parsed invoice (the library's document-list reading),
// converted to UTF-8. Lets the library's conversion errors through.
DocumentListRow ReadDocumentListRow(TVLQXmlNode& root, const std::string& file);

// A header line and one line per row, columns padded to the widest entry
// (counted in characters), two blanks between them.
std::string FormatTable(const std::vector<DocumentListRow>& rows);

// A header record and one record per row, LF line ends.
std::string FormatCsv(const std::vector<DocumentListRow>& rows);

// One CSV field, quoted when needed.
std::string CsvField(const std::string& text);

}  // namespace druvo::cli
