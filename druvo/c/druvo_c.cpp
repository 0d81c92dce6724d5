#include "druvo/c/druvo_c.h"

#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <string_view>

#include "druvo/ksef/InvoiceText.h"
#include "druvo/ksef/UVlqKoKs.h"
#include "druvo/platform/AnsiString.h"
#include "druvo/platform/Exceptions.h"
#include "druvo/util/KorbLib.h"
#include "druvo/xml/UVlqXml.h"

#ifndef DRUVO_VERSION_TEXT
#define DRUVO_VERSION_TEXT "unknown"
#endif

namespace druvo {
namespace {

// A status with its message, raised inside an entry point for its own
// argument checks.
struct CallError {
  int status;
  const char* message;
};

// Holds TVLQXmlNode::UzywacCDATA at one value for the calls that run: calls
// wanting the same value share it, a call wanting the other one waits until
// none runs. Newcomers queue behind a waiting call of the other value, so
// neither value starves. The value found before the first call is put back
// when the last one ends.
class CDataSwitch {
 public:
  void Enter(bool on) {
    std::unique_lock<std::mutex> lock(mutex_);
    ++waiting_[on];
    free_.wait(lock, [&] {
      return users_ == 0 ||
             (TVLQXmlNode::UzywacCDATA == on && waiting_[!on] == 0);
    });
    --waiting_[on];
    if (users_++ == 0) {
      saved_ = TVLQXmlNode::UzywacCDATA;
      TVLQXmlNode::UzywacCDATA = on;
    }
  }
  void Leave() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (--users_ == 0) {
      TVLQXmlNode::UzywacCDATA = saved_;
      free_.notify_all();
    }
  }

 private:
  std::mutex mutex_;
  std::condition_variable free_;
  int users_ = 0;
  int waiting_[2] = {0, 0};
  bool saved_ = false;
};

CDataSwitch& TheCDataSwitch() {
  static CDataSwitch theSwitch;
  return theSwitch;
}

class CDataUse {
 public:
  explicit CDataUse(bool on) { TheCDataSwitch().Enter(on); }
  ~CDataUse() { TheCDataSwitch().Leave(); }
  CDataUse(const CDataUse&) = delete;
  CDataUse& operator=(const CDataUse&) = delete;
};

struct FreeDeleter {
  void operator()(char* p) const { std::free(p); }
};
using CText = std::unique_ptr<char, FreeDeleter>;

// A malloc'd copy of `text` with a NUL after it. Raises std::bad_alloc.
CText CopyText(std::string_view text) {
  CText copy(static_cast<char*>(std::malloc(text.size() + 1)));
  if (!copy) throw std::bad_alloc();
  if (!text.empty()) std::memcpy(copy.get(), text.data(), text.size());
  copy.get()[text.size()] = '\0';
  return copy;
}

void Empty(druvo_buffer* buffer) {
  if (buffer == nullptr) return;
  buffer->data = nullptr;
  buffer->size = 0;
}

void Fill(druvo_buffer* buffer, std::string_view text) {
  buffer->data = CopyText(text).release();
  buffer->size = text.size();
}

// Fills `error` with `message` when wanted, not empty and memory allows.
void Report(druvo_buffer* error, std::string_view message) noexcept {
  if (error == nullptr || message.empty()) return;
  try {
    Fill(error, message);
  } catch (...) {
    Empty(error);
  }
}

void ReportAnsi(druvo_buffer* error, std::string_view cp1250) noexcept {
  try {
    Report(error, AnsiToUtf8(cp1250));
  } catch (...) {
    Report(error, "out of memory");
  }
}

// Runs `work`, which returns a warning ("" for none) for `error`, and turns
// whatever it raises into a status and a UTF-8 message in `error`.
template <typename Work>
int Guarded(druvo_buffer* error, Work work) noexcept {
  Empty(error);
  try {
    Report(error, work());
    return DRUVO_OK;
  } catch (const CallError& e) {
    Report(error, e.message);
    return e.status;
  } catch (const std::bad_alloc&) {
    Report(error, "out of memory");
    return DRUVO_ERROR_MEMORY;
  } catch (const Exception& e) {
    ReportAnsi(error, e.Message);
    return DRUVO_ERROR_INPUT;
  } catch (const std::exception& e) {
    Report(error, e.what());
    return DRUVO_ERROR_INTERNAL;
  } catch (...) {
    Report(error, "unknown error");
    return DRUVO_ERROR_INTERNAL;
  }
}

void Require(const void* pointer, const char* message) {
  if (pointer == nullptr) throw CallError{DRUVO_ERROR_ARGUMENT, message};
}

// Parses the invoice bytes into `root` by the program's reading rules,
// returning the warning about lost characters ("" when none).
std::string LoadInvoice(const char* xml, size_t size, TVLQXmlNode& root) {
  if (xml == nullptr && size > 0) {
    throw CallError{DRUVO_ERROR_ARGUMENT, "xml is NULL but size is not 0"};
  }
  const DecodedText decoded =
      DecodeToCp1250(std::string_view(xml == nullptr ? "" : xml, size));
  ParseKsefInvoice(decoded.Text, root);
  return decoded.LostCharacters > 0 ? LostCharactersWarning(decoded) : "";
}

bool WantsCData(const druvo_options* options) {
  return options != nullptr && options->cdata != 0;
}

// `text` as a JSON string (UTF-8 kept, control characters escaped).
void AppendJsonString(std::string& out, std::string_view text) {
  out += '"';
  for (char c : text) {
    const auto b = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (b < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", b);
      out += escaped;
    } else {
      out += c;
    }
  }
  out += '"';
}

// The member "name":"value" and a comma; `name` is UTF-8, `cp1250` not.
void AppendJsonMember(std::string& out, std::string_view name,
                      std::string_view cp1250) {
  AppendJsonString(out, name);
  out += ':';
  AppendJsonString(out, AnsiToUtf8(cp1250));
  out += ',';
}

void AppendJsonNumber(std::string& out, std::string_view name, int value) {
  AppendJsonString(out, name);
  out += ':';
  out += std::to_string(value);
  out += ',';
}

void AppendJsonTexts(std::string& out, const TVLQMapaTekstowKSeF& texts) {
  out += '{';
  for (const auto& [key, value] : texts) {
    AppendJsonMember(out, AnsiToUtf8(key), value);
  }
  if (out.back() == ',') out.pop_back();
  out += '}';
}

std::string SummaryJson(const TVLQDaneUproszczoneFaktZKSeF& dane) {
  std::string out = "{";
  AppendJsonMember(out, "NIPWystawcy", dane.NIPWystawcy);
  AppendJsonMember(out, "NazwaWystawcy", dane.NazwaWystawcy);
  AppendJsonNumber(out, "TypDokumentu", dane.TypDokumentu);
  AppendJsonNumber(out, "Adnotacja", dane.Adnotacja);
  AppendJsonNumber(out, "RodzajFaktury", dane.RodzajFaktury);
  AppendJsonMember(out, "Stopka1", dane.Stopka1);
  AppendJsonMember(out, "Stopka2", dane.Stopka2);
  AppendJsonMember(out, "Stopka3", dane.Stopka3);
  AppendJsonMember(out, "Zamowienia", dane.Zamowienia);
  out += "\"TekstyDokumentu\":";
  AppendJsonTexts(out, dane.TekstyDokumentu);
  out += ",\"TekstyPozycji\":{";
  for (const auto& [line, texts] : dane.TekstyPozycji.GetWszystkieTeksty()) {
    AppendJsonString(out, std::to_string(line));
    out += ':';
    AppendJsonTexts(out, texts);
    out += ',';
  }
  if (out.back() == ',') out.pop_back();
  out += "}}";
  return out;
}

}  // namespace
}  // namespace druvo

extern "C" {

const char* druvo_version(void) { return DRUVO_VERSION_TEXT; }

int druvo_ksef_to_edi(const char* xml, size_t size,
                      const druvo_options* options, druvo_buffer* edi,
                      druvo_buffer* error) {
  using namespace druvo;
  Empty(edi);
  return Guarded(error, [&] {
    Require(edi, "edi is NULL");
    const bool utf8 = options != nullptr && options->utf8_output != 0;
    const AnsiString vatSymbol =
        options != nullptr && options->vat_symbol != nullptr
            ? Utf8ToAnsi(options->vat_symbol)
            : AnsiString();
    AnsiString text;
    std::string warning;
    {
      const CDataUse cdata(WantsCData(options));
      TVLQXmlNode root;
      warning = LoadInvoice(xml, size, root);
      TVLQKonwersjaKSeF::KonwertujDaneZXmlNaVelquant5DoTekstu(
          &root, text, nullptr, nullptr, vatSymbol);
    }
    Fill(edi, utf8 ? AnsiToUtf8(text) : text);
    return warning;
  });
}

int druvo_ksef_list_fields(const char* xml, size_t size,
                           const druvo_options* options,
                           druvo_list_fields* fields, druvo_buffer* error) {
  using namespace druvo;
  if (fields != nullptr) *fields = druvo_list_fields{};
  return Guarded(error, [&] {
    Require(fields, "fields is NULL");
    AnsiString number, type, seller, taxNumber, unused1, unused2;
    TDateTime date = 0;
    std::string warning;
    {
      const CDataUse cdata(WantsCData(options));
      TVLQXmlNode root;
      warning = LoadInvoice(xml, size, root);
      TVLQKonwersjaKSeF::OdczytajDaneDoListyDokumentow(
          &root, number, date, type, seller, taxNumber, unused1, unused2);
    }
    CText texts[] = {
        CopyText(AnsiToUtf8(number)),
        CopyText(date == 0 ? AnsiString() : TdtTools(date).ToString(12)),
        CopyText(AnsiToUtf8(type)), CopyText(AnsiToUtf8(seller)),
        CopyText(AnsiToUtf8(taxNumber))};
    fields->number = texts[0].release();
    fields->date = texts[1].release();
    fields->type = texts[2].release();
    fields->seller = texts[3].release();
    fields->seller_tax_number = texts[4].release();
    return warning;
  });
}

int druvo_ksef_summary(const char* xml, size_t size,
                       const druvo_options* options, druvo_buffer* json,
                       druvo_buffer* error) {
  using namespace druvo;
  Empty(json);
  return Guarded(error, [&] {
    Require(json, "json is NULL");
    TVLQDaneUproszczoneFaktZKSeF dane;
    std::string warning;
    {
      const CDataUse cdata(WantsCData(options));
      TVLQXmlNode root;
      warning = LoadInvoice(xml, size, root);
      TVLQKonwersjaKSeF::OdczytajDaneUproszczoneZFakturyKSeF(&root, dane);
    }
    Fill(json, SummaryJson(dane));
    return warning;
  });
}

void druvo_buffer_free(druvo_buffer* buffer) {
  if (buffer == nullptr) return;
  std::free(buffer->data);
  buffer->data = nullptr;
  buffer->size = 0;
}

void druvo_list_fields_free(druvo_list_fields* fields) {
  if (fields == nullptr) return;
  for (char** field : {&fields->number, &fields->date, &fields->type,
                       &fields->seller, &fields->seller_tax_number}) {
    std::free(*field);
    *field = nullptr;
  }
}

}  // extern "C"
