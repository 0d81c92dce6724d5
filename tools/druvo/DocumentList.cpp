#include "tools/druvo/DocumentList.h"

#include <algorithm>
#include <array>

#include "druvo/ksef/UVlqKoKs.h"
#include "druvo/platform/AnsiString.h"
#include "druvo/util/KorbLib.h"

namespace druvo::cli {
namespace {

constexpr std::size_t kColumns = 6;
using Cells = std::array<const std::string*, kColumns>;

const std::array<std::string, kColumns> kHeader = {
    "Number", "Date", "Type", "Seller", "Tax number", "File"};

Cells CellsOf(const DocumentListRow& row) {
  return {&row.number,          &row.date, &row.type, &row.seller,
          &row.sellerTaxNumber, &row.file};
}

Cells HeaderCells() {
  Cells cells;
  for (std::size_t i = 0; i < kColumns; ++i) cells[i] = &kHeader[i];
  return cells;
}

// Characters of UTF-8 text (continuation bytes not counted).
std::size_t DisplayWidth(const std::string& text) {
  return static_cast<std::size_t>(std::count_if(
      text.begin(), text.end(),
      [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// A table cell on one line: control characters (line breaks, tabs) become
// blanks.
std::string OneLine(const std::string& text) {
  std::string out = text;
  for (char& c : out) {
    if (static_cast<unsigned char>(c) < 0x20) c = ' ';
  }
  return out;
}

void AppendTableLine(const Cells& cells,
                     const std::array<std::size_t, kColumns>& widths,
                     std::string& out) {
  std::string line;
  for (std::size_t i = 0; i < kColumns; ++i) {
    if (i > 0) line += "  ";
    const std::string cell = OneLine(*cells[i]);
    line += cell;
    if (i + 1 < kColumns) line.append(widths[i] - DisplayWidth(cell), ' ');
  }
  while (!line.empty() && line.back() == ' ') line.pop_back();
  out += line;
  out += '\n';
}

void AppendCsvLine(const Cells& cells, std::string& out) {
  for (std::size_t i = 0; i < kColumns; ++i) {
    if (i > 0) out += ',';
    out += CsvField(*cells[i]);
  }
  out += '\n';
}

}  // namespace

DocumentListRow ReadDocumentListRow(TVLQXmlNode& root,
                                    const std::string& file) {
  AnsiString nrDok, typDok, nazwaWystawcy, nipWystawcy, wolny1, wolny2;
  TDateTime data = 0;
  TVLQKonwersjaKSeF::OdczytajDaneDoListyDokumentow(
      &root, nrDok, data, typDok, nazwaWystawcy, nipWystawcy, wolny1, wolny2);
  DocumentListRow row;
  row.number = AnsiToUtf8(nrDok);
  row.date = data == 0 ? "" : TdtTools(data).ToString(12);
  row.type = AnsiToUtf8(typDok);
  row.seller = AnsiToUtf8(nazwaWystawcy);
  row.sellerTaxNumber = AnsiToUtf8(nipWystawcy);
  row.file = file;
  return row;
}

std::string FormatTable(const std::vector<DocumentListRow>& rows) {
  std::array<std::size_t, kColumns> widths{};
  const auto widen = [&](const Cells& cells) {
    for (std::size_t i = 0; i < kColumns; ++i) {
      widths[i] = std::max(widths[i], DisplayWidth(*cells[i]));
    }
  };
  widen(HeaderCells());
  for (const DocumentListRow& row : rows) widen(CellsOf(row));
  std::string out;
  AppendTableLine(HeaderCells(), widths, out);
  for (const DocumentListRow& row : rows) {
    AppendTableLine(CellsOf(row), widths, out);
  }
  return out;
}

std::string FormatCsv(const std::vector<DocumentListRow>& rows) {
  std::string out;
  AppendCsvLine(HeaderCells(), out);
  for (const DocumentListRow& row : rows) AppendCsvLine(CellsOf(row), out);
  return out;
}

std::string CsvField(const std::string& text) {
  const bool quote =
      text.find_first_of(",\"\r\n") != std::string::npos ||
      (!text.empty() && (text.front() == ' ' || text.back() == ' '));
  if (!quote) return text;
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
  return out;
}

}  // namespace druvo::cli
