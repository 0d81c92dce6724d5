// libFuzzer target for the C interface (druvo/c/druvo_c.h) over any bytes.
//
// The first byte, XORed with '<', chooses the options (bit 0 utf8_output,
// bit 1 cdata), so that an invoice starting with '<' runs with the defaults.
// The whole input is the invoice. Besides crashes and leaks, the target
// checks the interface's promises: a known status; on failure an empty
// output and a message; texts ending in NUL; messages, UTF-8 output and the
// summary in valid UTF-8; and the EDI text equal to the C++ conversion's.
// Any difference aborts.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "druvo/c/druvo_c.h"
#include "druvo/ksef/InvoiceText.h"
#include "druvo/ksef/UVlqKoKs.h"
#include "druvo/platform/Exceptions.h"
#include "druvo/xml/UVlqXml.h"

namespace {

[[noreturn]] void Fail(const char* what, std::string_view detail) {
  std::fprintf(stderr, "c_interface_fuzz: %s: %.*s\n", what,
               static_cast<int>(detail.size()), detail.data());
  std::abort();
}

bool ValidUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const int extra = lead < 0x80   ? 0
                      : lead < 0xC2 ? -1
                      : lead < 0xE0 ? 1
                      : lead < 0xF0 ? 2
                      : lead < 0xF5 ? 3
                                    : -1;
    if (extra < 0 || text.size() - i <= static_cast<std::size_t>(extra)) {
      return false;
    }
    for (int k = 1; k <= extra; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
        return false;
      }
    }
    i += static_cast<std::size_t>(extra) + 1;
  }
  return true;
}

std::string_view View(const druvo_buffer& buffer) {
  if (buffer.data == nullptr) {
    if (buffer.size != 0) Fail("empty buffer with a size", "");
    return {};
  }
  if (buffer.data[buffer.size] != '\0') Fail("no NUL after a text", "");
  return {buffer.data, buffer.size};
}

// The status and output of one call, checked against the promises.
void CheckCall(int status, const druvo_buffer& out, const druvo_buffer& error,
               bool utf8Out) {
  if (status < DRUVO_OK || status > DRUVO_ERROR_INTERNAL) {
    Fail("unknown status", std::to_string(status));
  }
  if (status != DRUVO_OK && (out.data != nullptr || error.data == nullptr)) {
    Fail("failure without message or with output", View(error));
  }
  if (!ValidUtf8(View(error))) Fail("message not UTF-8", View(error));
  if (utf8Out && !ValidUtf8(View(out))) Fail("output not UTF-8", View(out));
}

// The EDI text of the C++ path, or "" after an error.
std::string CppConversion(std::string_view bytes) {
  try {
    druvo::TVLQXmlNode root;
    druvo::ParseKsefInvoice(druvo::DecodeToCp1250(bytes).Text, root);
    druvo::AnsiString edi;
    druvo::TVLQKonwersjaKSeF::KonwertujDaneZXmlNaVelquant5DoTekstu(
        &root, edi, nullptr, nullptr, "");
    return edi;
  } catch (const druvo::Exception&) {
    return "";
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  if (size == 0) return 0;
  const unsigned flags = data[0] ^ static_cast<unsigned>('<');
  const char* xml = reinterpret_cast<const char*>(data);
  const druvo_options options = {static_cast<int>(flags & 1), nullptr,
                                 static_cast<int>((flags >> 1) & 1)};

  druvo_buffer edi, error;
  int status = druvo_ksef_to_edi(xml, size, &options, &edi, &error);
  CheckCall(status, edi, error, options.utf8_output != 0);
  if (status == DRUVO_OK && options.utf8_output == 0 && options.cdata == 0 &&
      View(edi) != CppConversion({xml, size})) {
    Fail("EDI text differs from the C++ conversion", View(edi));
  }
  druvo_buffer_free(&edi);
  druvo_buffer_free(&error);

  druvo_buffer json;
  status = druvo_ksef_summary(xml, size, &options, &json, &error);
  CheckCall(status, json, error, true);
  if (status == DRUVO_OK && (json.size < 2 || json.data[0] != '{' ||
                             json.data[json.size - 1] != '}')) {
    Fail("summary is not an object", View(json));
  }
  druvo_buffer_free(&json);
  druvo_buffer_free(&error);

  druvo_list_fields fields;
  status = druvo_ksef_list_fields(xml, size, &options, &fields, nullptr);
  if (status == DRUVO_OK) {
    for (const char* field : {fields.number, fields.date, fields.type,
                              fields.seller, fields.seller_tax_number}) {
      if (field == nullptr || !ValidUtf8(field)) Fail("bad list field", "");
    }
  }
  druvo_list_fields_free(&fields);
  return 0;
}
