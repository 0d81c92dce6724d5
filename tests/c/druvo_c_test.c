/* The C interface, called from C99: a real invoice through every entry
 * point, the status and message of bad input on each of them, and the
 * ownership of what they hand out (run under AddressSanitizer, which reports
 * any leak, on the error paths too).
 * Usage: druvo_c_test TESTDATA_DIR PROGRAM_DATA_DIR */
#include "druvo/c/druvo_c.h"

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

/* A real invoice: its EDI text byte for byte with a NUL after it, its list
 * fields and summary; freeing resets what it frees, and freeing twice is
 * harmless. */
static void ConvertSample(const char* testdata) {
  druvo_buffer xml = ReadFile(testdata, "ksef/fa3/FA_3_Przyklad_1.xml");
  druvo_buffer want = ReadFile(testdata, "edi/fa3/FA_3_Przyklad_1.edi");
  druvo_buffer got, json, error;
  druvo_list_fields f;
  CHECK(druvo_ksef_to_edi(xml.data, xml.size, NULL, &got, &error) == DRUVO_OK &&
            error.data == NULL,
        "conversion: %s", Text(&error));
  CHECK(got.size == want.size && got.data != NULL &&
            memcmp(got.data, want.data, want.size) == 0 &&
            got.data[got.size] == '\0',
        "EDI text differs");
  CHECK(
      druvo_ksef_list_fields(xml.data, xml.size, NULL, &f, NULL) == DRUVO_OK &&
          strcmp(f.number, "FV2026/02/150") == 0 &&
          strcmp(f.date, "15.02.2026") == 0 && strcmp(f.type, "PZ") == 0 &&
          strcmp(f.seller, "ABC AGD sp. z o. o.") == 0 &&
          strcmp(f.seller_tax_number, "9999999999") == 0,
      "list fields");
  CHECK(druvo_ksef_summary(xml.data, xml.size, NULL, &json, NULL) == DRUVO_OK &&
            strncmp(Text(&json), "{\"NIPWystawcy\":\"9999999999\",", 28) == 0,
        "summary: %s", Text(&json));
  druvo_list_fields_free(&f);
  CHECK(f.number == NULL && f.seller_tax_number == NULL, "fields not reset");
  druvo_buffer_free(&got);
  CHECK(got.data == NULL && got.size == 0, "buffer not reset");
  druvo_buffer_free(&got);
  druvo_buffer_free(&json);
  druvo_buffer_free(&error);
  free(xml.data);
  free(want.data);
}

/* Bad input: the status and message of every entry point; with status 0
 * the message is the warning of a lossy decoding. */
static void CheckBadInput(const char* programData) {
  static const struct {
    const char* file; /* NULL: `text`, `size` bytes (0: up to its NUL) */
    const char* text;
    size_t size;
    int status;
    const char* message;
  } cases[] = {
      {NULL, NULL, 0, DRUVO_ERROR_INPUT,
       "not a KSeF invoice: no Fa element under the root"},
      {"invoice-lossy.xml", NULL, 0, DRUVO_OK,
       "2 characters have no CP1250 form and became '?' (first: U+2192 at "
       "line 35)"},
      /* `size` bytes are read, NULs included. */
      {NULL, "\xFF\xFE<\0F\0a\0", 8, DRUVO_ERROR_INPUT,
       "UTF-16 and UTF-32 files are not supported; save the invoice as "
       "UTF-8"},
      /* The encoding name as the file has it, in UTF-8 ("Ą" in CP1250). */
      {NULL, "<?xml encoding='x\xA5'?><Fa/>", 0, DRUVO_ERROR_INPUT,
       "unsupported encoding 'x\xC4\x84' (supported: UTF-8, windows-1250, "
       "ISO-8859-2, US-ASCII)"},
      {NULL, NULL, 5, DRUVO_ERROR_ARGUMENT, "xml is NULL but size is not 0"},
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
      CHECK(status == cases[i].status && (status == DRUVO_OK) == output &&
                strcmp(Text(&error), cases[i].message) == 0 &&
                error.size == strlen(cases[i].message),
            "case %u, entry %d: %d '%s'", (unsigned)i, entry, status,
            Text(&error));
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
  if (argc != 3) {
    fprintf(stderr, "usage: druvo_c_test TESTDATA_DIR PROGRAM_DATA_DIR\n");
    return 2;
  }
  ConvertSample(argv[1]);
  CheckBadInput(argv[2]);
  CheckMissingOutputs();
  CHECK(strcmp(druvo_version(), DRUVO_EXPECTED_VERSION) == 0, "version %s",
        druvo_version());
  if (failures > 0) {
    fprintf(stderr, "%d checks failed\n", failures);
    return 1;
  }
  puts("all checks passed");
  return 0;
}
