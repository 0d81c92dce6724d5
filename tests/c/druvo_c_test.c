/* The C interface, called from C99: every sample invoice converted and
 * compared byte for byte with the EDI text of the C++ conversion, and the
 * status and message of bad input on every entry point (run under
 * AddressSanitizer, which reports any leak, on the error paths too).
 * Usage: druvo_c_test TESTDATA_DIR PROGRAM_DATA_DIR */
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

/* The content of dir/name (NUL after it), or {NULL, 0}. */
static druvo_buffer ReadFile(const char* dir, const char* name) {
  druvo_buffer b = {NULL, 0};
  char path[4096];
  long size;
  FILE* f;
  snprintf(path, sizeof path, "%s/%s", dir, name);
  f = fopen(path, "rb");
  if (f != NULL && fseek(f, 0, SEEK_END) == 0 && (size = ftell(f)) >= 0 &&
      fseek(f, 0, SEEK_SET) == 0 && (b.data = malloc((size_t)size + 1))) {
    b.size = fread(b.data, 1, (size_t)size, f);
    b.data[b.size] = '\0';
  }
  if (f != NULL) fclose(f);
  CHECK(b.data != NULL, "cannot read %s", path);
  return b;
}

static const char* Text(const druvo_buffer* b) {
  return b->data != NULL ? b->data : "";
}

/* Every invoice of ksef/<version> against edi/<version>; the quick readings
 * succeed on it as well. */
static int ConvertSamples(const char* testdata, const char* version) {
  char ksef[4096], edi[4096], name[1024];
  struct dirent* entry;
  int converted = 0;
  DIR* dir;
  snprintf(ksef, sizeof ksef, "%s/ksef/%s", testdata, version);
  snprintf(edi, sizeof edi, "%s/edi/%s", testdata, version);
  dir = opendir(ksef);
  CHECK(dir != NULL, "cannot open %s", ksef);
  while (dir != NULL && (entry = readdir(dir)) != NULL) {
    const size_t length = strlen(entry->d_name);
    druvo_buffer xml, want, got, json, error;
    druvo_list_fields fields;
    if (length < 5 || strcmp(entry->d_name + length - 4, ".xml") != 0) {
      continue;
    }
    snprintf(name, sizeof name, "%.*s.edi", (int)(length - 4), entry->d_name);
    xml = ReadFile(ksef, entry->d_name);
    want = ReadFile(edi, name);
    CHECK(
        druvo_ksef_to_edi(xml.data, xml.size, NULL, &got, &error) == DRUVO_OK &&
            error.data == NULL,
        "%s: %s", entry->d_name, Text(&error));
    CHECK(got.size == want.size && got.data != NULL &&
              memcmp(got.data, want.data, want.size) == 0 &&
              got.data[got.size] == '\0',
          "%s: EDI text differs", entry->d_name);
    CHECK(druvo_ksef_list_fields(xml.data, xml.size, NULL, &fields, NULL) ==
                  DRUVO_OK &&
              fields.date != NULL,
          "%s: list fields", entry->d_name);
    CHECK(
        druvo_ksef_summary(xml.data, xml.size, NULL, &json, NULL) == DRUVO_OK &&
            Text(&json)[0] == '{',
        "%s: summary", entry->d_name);
    druvo_list_fields_free(&fields);
    CHECK(fields.number == NULL && fields.seller_tax_number == NULL,
          "fields not reset");
    druvo_buffer_free(&got);
    CHECK(got.data == NULL && got.size == 0, "buffer not reset");
    druvo_buffer_free(&got); /* freeing an empty buffer does nothing */
    druvo_buffer_free(&json);
    druvo_buffer_free(&error);
    free(xml.data);
    free(want.data);
    ++converted;
  }
  if (dir != NULL) closedir(dir);
  return converted;
}

/* Bad input: the status and message of every entry point; with status 0
 * the message is the warning of a lossy decoding. */
static void CheckBadInput(const char* programData) {
  static const struct {
    int conversionOnly; /* the quick readings do not fail */
    const char* file;   /* NULL: `text`, `size` bytes (0: up to its NUL) */
    const char* text;
    size_t size;
    int status;
    const char* message;
  } cases[] = {
      {0, "malformed.xml", NULL, 0, DRUVO_ERROR_INPUT,
       "Invalid XML format: '</Fa>' not found"},
      {0, "not-an-invoice.xml", NULL, 0, DRUVO_ERROR_INPUT,
       "not a KSeF invoice: no Fa element under the root"},
      {0, "invoice-koi8.xml", NULL, 0, DRUVO_ERROR_INPUT,
       "unsupported encoding 'KOI8-R' (supported: UTF-8, windows-1250, "
       "ISO-8859-2, US-ASCII)"},
      {0, "invoice-lossy.xml", NULL, 0, DRUVO_OK,
       "2 characters have no CP1250 form and became '?' (first: U+2192 at "
       "line 35)"},
      {0, NULL, "", 0, DRUVO_ERROR_INPUT,
       "not a KSeF invoice: no Fa element under the root"},
      {0, NULL, "<Fa>\n\xE6</Fa>", 0, DRUVO_ERROR_INPUT,
       "invalid UTF-8 at line 2 (byte offset 5)"},
      {0, NULL, "\xEF\xBB\xBF<?xml encoding='cp1250'?><Fa/>", 0,
       DRUVO_ERROR_INPUT,
       "the file starts with a UTF-8 byte-order mark but declares encoding "
       "'cp1250'"},
      {0, NULL, "\xFF\xFE<\0F\0a\0", 8, DRUVO_ERROR_INPUT,
       "UTF-16 and UTF-32 files are not supported; save the invoice as "
       "UTF-8"},
      /* The encoding name as the file has it, in UTF-8 ("Ą" in CP1250). */
      {0, NULL, "<?xml encoding='x\xA5'?><Fa/>", 0, DRUVO_ERROR_INPUT,
       "unsupported encoding 'x\xC4\x84' (supported: UTF-8, windows-1250, "
       "ISO-8859-2, US-ASCII)"},
      /* Only the conversion reads the amounts. */
      {1, NULL, "<Faktura><Fa><P_15>1,5</P_15></Fa></Faktura>", 0,
       DRUVO_ERROR_INPUT, "'1,5' is not a valid floating point value"},
      {0, NULL, NULL, 5, DRUVO_ERROR_ARGUMENT, "xml is NULL but size is not 0"},
  };
  size_t i;
  for (i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    druvo_buffer xml = {(char*)cases[i].text, cases[i].size}, out, error;
    druvo_list_fields fields;
    int status, entry, output;
    if (cases[i].file != NULL) xml = ReadFile(programData, cases[i].file);
    if (cases[i].text != NULL && xml.size == 0) xml.size = strlen(xml.data);
    for (entry = 0; entry < 3; ++entry) {
      if (entry == 0) {
        status = druvo_ksef_to_edi(xml.data, xml.size, NULL, &out, &error);
        output = out.data != NULL;
      } else if (entry == 1) {
        status = druvo_ksef_summary(xml.data, xml.size, NULL, &out, &error);
        output = out.data != NULL;
      } else {
        status =
            druvo_ksef_list_fields(xml.data, xml.size, NULL, &fields, &error);
        output = fields.number != NULL;
        druvo_list_fields_free(&fields);
      }
      if (entry == 0 || !cases[i].conversionOnly) {
        CHECK(status == cases[i].status && (status == DRUVO_OK) == output &&
                  strcmp(Text(&error), cases[i].message) == 0 &&
                  error.size == strlen(cases[i].message),
              "case %u, entry %d: %d '%s'", (unsigned)i, entry, status,
              Text(&error));
      }
      if (entry < 2) druvo_buffer_free(&out);
      druvo_buffer_free(&error);
    }
    CHECK(druvo_ksef_to_edi(xml.data, xml.size, NULL, &out, NULL) ==
              cases[i].status,
          "case %u: status without a message buffer", (unsigned)i);
    druvo_buffer_free(&out);
    if (cases[i].file != NULL) free(xml.data);
  }
}

static void CheckMissingOutputs(void) {
  static const char xml[] = "<Faktura><Fa/></Faktura>";
  static const char* const messages[] = {"edi is NULL", "fields is NULL",
                                         "json is NULL"};
  druvo_buffer e[3];
  const int status[3] = {
      druvo_ksef_to_edi(xml, strlen(xml), NULL, NULL, &e[0]),
      druvo_ksef_list_fields(xml, strlen(xml), NULL, NULL, &e[1]),
      druvo_ksef_summary(xml, strlen(xml), NULL, NULL, &e[2])};
  int i;
  for (i = 0; i < 3; ++i) {
    CHECK(status[i] == DRUVO_ERROR_ARGUMENT &&
              strcmp(Text(&e[i]), messages[i]) == 0,
          "%d: %s", i, Text(&e[i]));
    druvo_buffer_free(&e[i]);
  }
  druvo_buffer_free(NULL);
  druvo_list_fields_free(NULL);
}

int main(int argc, char** argv) {
  int converted;
  if (argc != 3) {
    fprintf(stderr, "usage: druvo_c_test TESTDATA_DIR PROGRAM_DATA_DIR\n");
    return 2;
  }
  converted = ConvertSamples(argv[1], "fa2") + ConvertSamples(argv[1], "fa3");
  CHECK(converted >= 40, "only %d samples converted", converted);
  CheckBadInput(argv[2]);
  CheckMissingOutputs();
  CHECK(strcmp(druvo_version(), DRUVO_EXPECTED_VERSION) == 0, "version %s",
        druvo_version());
  if (failures > 0) {
    fprintf(stderr, "%d checks failed\n", failures);
    return 1;
  }
  printf("%d invoices converted, all checks passed\n", converted);
  return 0;
}
