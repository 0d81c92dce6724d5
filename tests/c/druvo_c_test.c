/* The C interface, called from C99: every sample invoice converted and
 * compared byte for byte with the EDI text of the C++ conversion, the
 * program's reading rules and messages, the quick readings, and the error
 * paths (run under AddressSanitizer, which reports any leak).
 * Usage: druvo_c_test TESTDATA_DIR PROGRAM_DATA_DIR EXAMPLES_DIR */
#define _POSIX_C_SOURCE 200809L

#include "druvo/c/druvo_c.h"

#include <dirent.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static int failures;

#define CHECK(cond, ...)                              \
  do {                                                \
    if (!(cond)) {                                    \
      ++failures;                                     \
      fprintf(stderr, "%s:%d: ", __FILE__, __LINE__); \
      fprintf(stderr, __VA_ARGS__);                   \
      fputc('\n', stderr);                            \
    }                                                 \
  } while (0)

static const char* testdata;
static const char* programData;
static const char* examples;

typedef struct bytes {
  char* data;
  size_t size;
} bytes;

/* The content of dir/name, or data NULL when it cannot be read. */
static bytes ReadFile(const char* dir, const char* name) {
  bytes b = {NULL, 0};
  char path[4096];
  FILE* f;
  long size;
  snprintf(path, sizeof path, "%s/%s", dir, name);
  f = fopen(path, "rb");
  if (f == NULL) return b;
  if (fseek(f, 0, SEEK_END) == 0 && (size = ftell(f)) >= 0 &&
      fseek(f, 0, SEEK_SET) == 0) {
    b.data = malloc((size_t)size + 1);
    if (b.data != NULL) b.size = fread(b.data, 1, (size_t)size, f);
  }
  fclose(f);
  CHECK(b.data != NULL, "cannot read %s", path);
  return b;
}

/* `b` with the first `from` replaced by `to`. */
static void Replace(bytes* b, const char* from, const char* to) {
  char* at;
  char* out;
  size_t head, fromSize = strlen(from), toSize = strlen(to);
  b->data[b->size] = '\0';
  at = strstr(b->data, from);
  CHECK(at != NULL, "'%s' not found", from);
  if (at == NULL) return;
  head = (size_t)(at - b->data);
  out = malloc(b->size - fromSize + toSize + 1);
  memcpy(out, b->data, head);
  memcpy(out + head, to, toSize);
  memcpy(out + head + toSize, at + fromSize, b->size - head - fromSize);
  free(b->data);
  b->data = out;
  b->size = b->size - fromSize + toSize;
}

static int SameBytes(const druvo_buffer* got, const bytes* want) {
  return got->size == want->size && got->data != NULL &&
         memcmp(got->data, want->data, want->size) == 0 &&
         got->data[got->size] == '\0';
}

static int Contains(const druvo_buffer* text, const char* part) {
  return text->data != NULL && strstr(text->data, part) != NULL;
}

static const char* Message(const druvo_buffer* error) {
  return error->data != NULL ? error->data : "(none)";
}

/* Every invoice of testdata/ksef/<version> against testdata/edi/<version>. */
static int ConvertSamples(const char* version) {
  char ksef[4096], edi[4096];
  DIR* dir;
  struct dirent* entry;
  int converted = 0;
  snprintf(ksef, sizeof ksef, "%s/ksef/%s", testdata, version);
  snprintf(edi, sizeof edi, "%s/edi/%s", testdata, version);
  dir = opendir(ksef);
  CHECK(dir != NULL, "cannot open %s", ksef);
  if (dir == NULL) return 0;
  while ((entry = readdir(dir)) != NULL) {
    char name[1024];
    size_t length = strlen(entry->d_name);
    bytes xml, want;
    druvo_buffer got = {NULL, 0}, error = {NULL, 0};
    int status;
    if (length < 5 || strcmp(entry->d_name + length - 4, ".xml") != 0) {
      continue;
    }
    snprintf(name, sizeof name, "%.*s.edi", (int)(length - 4), entry->d_name);
    xml = ReadFile(ksef, entry->d_name);
    want = ReadFile(edi, name);
    status = druvo_ksef_to_edi(xml.data, xml.size, NULL, &got, &error);
    CHECK(status == DRUVO_OK, "%s: status %d: %s", entry->d_name, status,
          Message(&error));
    CHECK(error.data == NULL, "%s: warning %s", entry->d_name, error.data);
    CHECK(SameBytes(&got, &want), "%s: EDI text differs", entry->d_name);
    druvo_buffer_free(&got);
    druvo_buffer_free(&error);
    free(xml.data);
    free(want.data);
    ++converted;
  }
  closedir(dir);
  return converted;
}

static void TestSamplesMatchTheCppConversion(void) {
  int converted = ConvertSamples("fa2") + ConvertSamples("fa3");
  CHECK(converted >= 40, "only %d samples converted", converted);
}

/* A file of the program's tests with options, and the EDI file it gives. */
static void TestProgramReadingRulesAndOptions(void) {
  static const struct {
    const char* file;
    const char* from; /* NULL: the file as it is */
    const char* to;
    druvo_options options;
    const char* expected;
    const char* expectedFrom; /* NULL: the expected file as it is */
    const char* expectedTo;
  } cases[] = {
      {"invoice-utf8.xml",
       NULL,
       NULL,
       {0, NULL, 0},
       "expected-cp1250.edi",
       NULL,
       NULL},
      {"invoice-cp1250.xml",
       NULL,
       NULL,
       {0, "", 0},
       "expected-cp1250.edi",
       NULL,
       NULL},
      {"invoice-latin2.xml",
       NULL,
       NULL,
       {0, NULL, 1},
       "expected-cp1250.edi",
       NULL,
       NULL},
      {"invoice-utf8.xml",
       NULL,
       NULL,
       {1, NULL, 0},
       "expected-utf8.edi",
       NULL,
       NULL},
      {"invoice-utf8.xml",
       "encoding=\"UTF-8\"",
       "",
       {0, NULL, 0},
       "expected-cp1250.edi",
       NULL,
       NULL},
      /* The host's VAT symbol, given in UTF-8 ("Ż"), written in CP1250. */
      {"invoice-utf8.xml",
       NULL,
       NULL,
       {0, "\xC5\xBB", 0},
       "expected-cp1250.edi",
       "Vat{0}",
       "Vat{\xAF}"},
      {"invoice-utf8.xml",
       NULL,
       NULL,
       {1, "NP", 0},
       "expected-utf8.edi",
       "Vat{0}",
       "Vat{NP}"},
      /* CDATA read only when asked. */
      {"invoice-utf8.xml",
       "Kawa ziarnista \xC5\xBAr\xC3\xB3"
       "dlana",
       "<![CDATA[Kawa <b>&</b>]]>",
       {1, NULL, 1},
       "expected-utf8.edi",
       "Kawa ziarnista \xC5\xBAr\xC3\xB3"
       "dlana",
       "Kawa <b>&</b>"},
  };
  size_t i;
  for (i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    bytes xml = ReadFile(programData, cases[i].file);
    bytes want = ReadFile(programData, cases[i].expected);
    druvo_buffer edi = {NULL, 0}, error = {NULL, 0};
    int status;
    if (cases[i].from != NULL) Replace(&xml, cases[i].from, cases[i].to);
    if (cases[i].expectedFrom != NULL) {
      Replace(&want, cases[i].expectedFrom, cases[i].expectedTo);
    }
    status =
        druvo_ksef_to_edi(xml.data, xml.size, &cases[i].options, &edi, &error);
    CHECK(status == DRUVO_OK, "case %u: status %d: %s", (unsigned)i, status,
          Message(&error));
    CHECK(SameBytes(&edi, &want), "case %u: EDI text differs:\n%s", (unsigned)i,
          edi.data);
    druvo_buffer_free(&edi);
    druvo_buffer_free(&error);
    free(xml.data);
    free(want.data);
  }
}

static void TestLostCharactersGiveAWarning(void) {
  bytes xml = ReadFile(programData, "invoice-lossy.xml");
  druvo_options utf8 = {1, NULL, 0};
  druvo_buffer edi = {NULL, 0}, warning = {NULL, 0};
  CHECK(
      druvo_ksef_to_edi(xml.data, xml.size, &utf8, &edi, &warning) == DRUVO_OK,
      "lossy invoice refused: %s", Message(&warning));
  CHECK(strcmp(Message(&warning),
               "2 characters have no CP1250 form and became '?' (first: "
               "U+2192 at line 35)") == 0,
        "warning: %s", Message(&warning));
  CHECK(Contains(&edi, "Nazwa{Kawa ? premium ?}"), "no '?' in %s", edi.data);
  druvo_buffer_free(&edi);
  druvo_buffer_free(&warning);
  free(xml.data);
}

/* Bad input: the status and message of every entry point, and no leak. */
static void TestBadInputGivesStatusAndMessage(void) {
  static const struct {
    const char* file; /* NULL: `text` (`size` bytes, 0: up to its NUL) */
    const char* from;
    const char* to;
    const char* text;
    size_t size;
    int readingFails; /* the quick readings fail too */
    int status;
    const char* message;
  } cases[] = {
      {"malformed.xml", NULL, NULL, NULL, 0, 1, DRUVO_ERROR_INPUT,
       "Invalid XML format: '</Fa>' not found"},
      {"not-an-invoice.xml", NULL, NULL, NULL, 0, 1, DRUVO_ERROR_INPUT,
       "not a KSeF invoice: no Fa element under the root"},
      {NULL, NULL, NULL, "", 0, 1, DRUVO_ERROR_INPUT,
       "not a KSeF invoice: no Fa element under the root"},
      {"invoice-koi8.xml", NULL, NULL, NULL, 0, 1, DRUVO_ERROR_INPUT,
       "unsupported encoding 'KOI8-R' (supported: UTF-8, windows-1250, "
       "ISO-8859-2, US-ASCII)"},
      {"invoice-cp1250.xml", "windows-1250", "UTF-8", NULL, 0, 1,
       DRUVO_ERROR_INPUT, "invalid UTF-8 at line 11 (byte offset 405)"},
      {NULL, NULL, NULL, "\xEF\xBB\xBF<?xml encoding='cp1250'?><Fa/>", 0, 1,
       DRUVO_ERROR_INPUT,
       "the file starts with a UTF-8 byte-order mark but declares encoding "
       "'cp1250'"},
      {NULL, NULL, NULL, "\xFF\xFE<\0F\0a\0", 8, 1, DRUVO_ERROR_INPUT,
       "UTF-16 and UTF-32 files are not supported; save the invoice as "
       "UTF-8"},
      /* The encoding name as the file gives it, in UTF-8 ("Ą" in CP1250). */
      {NULL, NULL, NULL, "<?xml encoding='x\xA5'?><Fa/>", 0, 1,
       DRUVO_ERROR_INPUT,
       "unsupported encoding 'x\xC4\x84' (supported: UTF-8, windows-1250, "
       "ISO-8859-2, US-ASCII)"},
      {"invoice-utf8.xml", "<P_11>100</P_11>", "<P_11>1,5</P_11>", NULL, 0, 0,
       DRUVO_ERROR_INPUT, "'1,5' is not a valid floating point value"},
      {NULL, NULL, NULL, NULL, 5, 1, DRUVO_ERROR_ARGUMENT,
       "xml is NULL but size is not 0"},
  };
  size_t i;
  for (i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    bytes xml = {NULL, 0};
    druvo_buffer edi = {NULL, 0}, json = {NULL, 0}, error = {NULL, 0};
    druvo_list_fields fields;
    int status;
    if (cases[i].file != NULL) {
      xml = ReadFile(programData, cases[i].file);
      if (cases[i].from != NULL) Replace(&xml, cases[i].from, cases[i].to);
    } else if (cases[i].text != NULL) {
      xml.size = cases[i].size != 0 ? cases[i].size : strlen(cases[i].text);
      xml.data = malloc(xml.size + 1);
      memcpy(xml.data, cases[i].text, xml.size);
    } else {
      xml.size = cases[i].size;
    }
    status = druvo_ksef_to_edi(xml.data, xml.size, NULL, &edi, &error);
    CHECK(status == cases[i].status && edi.data == NULL && edi.size == 0,
          "case %u: status %d", (unsigned)i, status);
    CHECK(strcmp(Message(&error), cases[i].message) == 0,
          "case %u: message '%s'", (unsigned)i, Message(&error));
    CHECK(error.size == strlen(cases[i].message), "case %u: size %u",
          (unsigned)i, (unsigned)error.size);
    druvo_buffer_free(&error);
    CHECK(error.data == NULL && error.size == 0, "case %u: not freed",
          (unsigned)i);
    CHECK(druvo_ksef_to_edi(xml.data, xml.size, NULL, &edi, NULL) ==
              cases[i].status,
          "case %u: status without a message buffer", (unsigned)i);
    if (cases[i].readingFails) {
      status =
          druvo_ksef_list_fields(xml.data, xml.size, NULL, &fields, &error);
      CHECK(status == cases[i].status && fields.number == NULL &&
                fields.seller_tax_number == NULL &&
                strcmp(Message(&error), cases[i].message) == 0,
            "case %u: list fields %d '%s'", (unsigned)i, status,
            Message(&error));
      druvo_buffer_free(&error);
      status = druvo_ksef_summary(xml.data, xml.size, NULL, &json, &error);
      CHECK(status == cases[i].status && json.data == NULL &&
                strcmp(Message(&error), cases[i].message) == 0,
            "case %u: summary %d '%s'", (unsigned)i, status, Message(&error));
      druvo_buffer_free(&error);
    }
    free(xml.data);
  }
}

static void TestMissingOutputsAndFreeing(void) {
  static const char xml[] = "<Faktura><Fa/></Faktura>";
  druvo_buffer error = {NULL, 0}, edi;
  CHECK(druvo_ksef_to_edi(xml, strlen(xml), NULL, NULL, &error) ==
                DRUVO_ERROR_ARGUMENT &&
            strcmp(Message(&error), "edi is NULL") == 0,
        "edi NULL: %s", Message(&error));
  druvo_buffer_free(&error);
  CHECK(druvo_ksef_list_fields(xml, strlen(xml), NULL, NULL, &error) ==
                DRUVO_ERROR_ARGUMENT &&
            strcmp(Message(&error), "fields is NULL") == 0,
        "fields NULL: %s", Message(&error));
  druvo_buffer_free(&error);
  CHECK(druvo_ksef_summary(xml, strlen(xml), NULL, NULL, &error) ==
                DRUVO_ERROR_ARGUMENT &&
            strcmp(Message(&error), "json is NULL") == 0,
        "json NULL: %s", Message(&error));
  druvo_buffer_free(&error);
  CHECK(druvo_ksef_to_edi(xml, strlen(xml), NULL, &edi, NULL) == DRUVO_OK,
        "minimal invoice refused");
  druvo_buffer_free(&edi);
  druvo_buffer_free(&edi); /* a freed buffer is empty: freeing it is a no-op */
  druvo_buffer_free(NULL);
  druvo_list_fields_free(NULL);
  CHECK(strcmp(druvo_version(), DRUVO_EXPECTED_VERSION) == 0, "version %s",
        druvo_version());
}

static void TestListFields(void) {
  static const struct {
    const char* dir; /* "p": program data, "e": examples */
    const char* file;
    const char* fields[5];
  } cases[] = {
      {"p",
       "invoice-latin2.xml",
       {"FV/7/2026", "01.02.2026", "PZ",
        "Hurtownia \"\xC5\xBB\xC3\xB3\xC5\x82w\", Sp\xC3\xB3\xC5\x82ka",
        "1234567890"}},
      {"e",
       "FA_3_Przyklad_2.xml",
       {"FK2026/03/200", "15.03.2026", "ROZB", "ABC AGD sp. z o. o.",
        "9999999999"}},
  };
  size_t i;
  for (i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    bytes xml = ReadFile(cases[i].dir[0] == 'p' ? programData : examples,
                         cases[i].file);
    druvo_list_fields f;
    druvo_buffer error = {NULL, 0};
    const char* got[5];
    int k;
    CHECK(druvo_ksef_list_fields(xml.data, xml.size, NULL, &f, &error) ==
              DRUVO_OK,
          "%s: %s", cases[i].file, Message(&error));
    got[0] = f.number, got[1] = f.date, got[2] = f.type, got[3] = f.seller;
    got[4] = f.seller_tax_number;
    for (k = 0; k < 5; ++k) {
      CHECK(got[k] != NULL && strcmp(got[k], cases[i].fields[k]) == 0,
            "%s: field %d is '%s'", cases[i].file, k, got[k]);
    }
    druvo_list_fields_free(&f);
    CHECK(f.number == NULL && f.seller_tax_number == NULL, "not freed");
    druvo_buffer_free(&error);
    free(xml.data);
  }
}

static void TestSummaryJson(void) {
  static const char xml[] =
      "<Faktura><Podmiot1><DaneIdentyfikacyjne><NIP>123</NIP>"
      "<Nazwa>\"A\\B\"\tSp\xC3\xB3\xC5\x82ka</Nazwa></DaneIdentyfikacyjne>"
      "</Podmiot1><Fa><RodzajFaktury>KOR</RodzajFaktury>"
      "<DodatkowyOpis><Klucz>k\xC5\x82</Klucz><Wartosc>v</Wartosc>"
      "</DodatkowyOpis>"
      "<DodatkowyOpis><NrWiersza>2</NrWiersza><Klucz>a</Klucz>"
      "<Wartosc>b</Wartosc></DodatkowyOpis>"
      "<FaWiersz><NrWierszaFa>1</NrWierszaFa></FaWiersz></Fa></Faktura>";
  druvo_buffer json = {NULL, 0}, error = {NULL, 0};
  CHECK(druvo_ksef_summary(xml, strlen(xml), NULL, &json, &error) == DRUVO_OK,
        "summary: %s", Message(&error));
  CHECK(json.data != NULL &&
            strcmp(
                json.data,
                "{\"NIPWystawcy\":\"123\",\"NazwaWystawcy\":"
                "\"\\\"A\\\\B\\\"\\u0009Sp\xC3\xB3\xC5\x82ka\","
                "\"TypDokumentu\":4,\"Adnotacja\":0,\"RodzajFaktury\":1,"
                "\"Stopka1\":\"\",\"Stopka2\":\"\",\"Stopka3\":\"\","
                "\"Zamowienia\":\"\",\"TekstyDokumentu\":{\"k\xC5\x82\":\"v\"},"
                "\"TekstyPozycji\":{\"2\":{\"a\":\"b\"}}}") == 0,
        "summary: %s", json.data);
  druvo_buffer_free(&json);
  druvo_buffer_free(&error);
}

int main(int argc, char** argv) {
  if (argc != 4) {
    fprintf(stderr,
            "usage: druvo_c_test TESTDATA_DIR PROGRAM_DATA_DIR "
            "EXAMPLES_DIR\n");
    return 2;
  }
  testdata = argv[1];
  programData = argv[2];
  examples = argv[3];
  TestSamplesMatchTheCppConversion();
  TestProgramReadingRulesAndOptions();
  TestLostCharactersGiveAWarning();
  TestBadInputGivesStatusAndMessage();
  TestMissingOutputsAndFreeing();
  TestListFields();
  TestSummaryJson();
  if (failures > 0) {
    fprintf(stderr, "%d checks failed\n", failures);
    return 1;
  }
  printf("all checks passed\n");
  return 0;
}
