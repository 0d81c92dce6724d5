/* The C interface of the library: the KSeF invoice conversion and its quick
 * readings for hosts that cannot call C++ (Delphi, C#, Python, plain C).
 *
 * Valid C99 and C++. Only plain structs and C types cross it, and no C++
 * exception does: every entry point catches everything and returns a status,
 * 0 on success. Texts going in and out:
 *   - invoice bytes are read as the druvo program reads a file: UTF-8, or the
 *     encoding the XML declaration names (windows-1250, ISO-8859-2,
 *     US-ASCII); a UTF-8 byte-order mark is dropped;
 *   - the EDI text comes out in CP1250, or UTF-8 with utf8_output;
 *   - every other text (messages, list fields, the summary) is UTF-8.
 *
 * Buffers and list fields filled by the library hold the library's memory;
 * the caller gives it back with druvo_buffer_free or druvo_list_fields_free
 * (never with free(): the host may use another allocator). Their texts end with
 * a NUL byte that `size` does not count, so they can be used as C strings
 * (an EDI text holds no NUL unless the invoice does).
 *
 * Threads: every entry point may run on any number of threads at once; each
 * call has its own tree, converter and buffers. The one piece of state that
 * is process-wide is the XML reader's CDATA switch (options->cdata): while a
 * call runs the switch holds that call's value, so calls with the same value
 * run side by side and a call with the other value waits until they are
 * done (later calls queue behind it, so neither value starves); when no
 * call runs the switch is back at the value it had before.
 * C++ code in the same process must not change TVLQXmlNode::UzywacCDATA
 * while calls run. Translations (TMLgTools) are process-wide too; the C
 * interface only reads them. A buffer may be freed on any thread, once. */
#ifndef DRUVO_C_DRUVO_C_H
#define DRUVO_C_DRUVO_C_H

#include <stddef.h>

#include "druvo/platform/Export.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Statuses. */
#define DRUVO_OK 0
#define DRUVO_ERROR_ARGUMENT 1 /* a required pointer is NULL */
#define DRUVO_ERROR_INPUT 2    /* the invoice cannot be read or converted */
#define DRUVO_ERROR_MEMORY 3   /* out of memory */
#define DRUVO_ERROR_INTERNAL 4 /* anything else: a fault of the library */

/* Bytes owned by the library until druvo_buffer_free: `size` bytes at
 * `data`, then a NUL. An empty buffer has data NULL and size 0. */
typedef struct druvo_buffer {
  char* data;
  size_t size;
} druvo_buffer; /* owned by the library */

/* Conversion options. utf8_output: the EDI text in UTF-8 instead of CP1250.
 * vat_symbol: UTF-8 text of the VAT symbol written for special rates (NULL
 * or "": "0"). cdata: CDATA sections of the invoice are read (see the thread
 * rule above). */
typedef struct druvo_options {
  int utf8_output;
  const char* vat_symbol;
  int cdata;
} druvo_options;

/* The list fields of an invoice, each a NUL-terminated UTF-8 text ("" when
 * the invoice has none, never NULL after success). date is dd.mm.yyyy; type
 * is "PZ", "ZD", "ROZB" or "". seller_tax_number carries its prefix. */
typedef struct druvo_list_fields {
  char* number;
  char* date;
  char* type;
  char* seller;
  char* seller_tax_number;
} druvo_list_fields;

/* The library's version, e.g. "0.1.0"; a static text. */
DRUVO_API const char* druvo_version(void);

/* Converts the invoice of `size` bytes at `xml` into EDI text in `edi`.
 * Both output buffers are set empty first (without freeing what they held). On
 * failure (status not 0) `error` holds the message and `edi` stays empty. On
 * success `error` is empty, or holds a warning when characters of the invoice
 * have no CP1250 form and became '?'. `error` may be NULL when the message is
 * not wanted; `xml` may be NULL only when `size` is 0. */
DRUVO_API int druvo_ksef_to_edi(
    const char* xml, size_t size,
    const druvo_options* options /* NULL: defaults */, druvo_buffer* edi,
    druvo_buffer* error);

/* Reads the document-list fields of an invoice (number, issue date, document
 * type, seller's name and tax number). Of the options only cdata counts.
 * Outputs and failures as for druvo_ksef_to_edi; on failure every field is
 * NULL. */
DRUVO_API int druvo_ksef_list_fields(const char* xml, size_t size,
                                     const druvo_options* options,
                                     druvo_list_fields* fields,
                                     druvo_buffer* error);

/* Reads the summary of an invoice as one JSON object (UTF-8), with the
 * names of the library's summary record: "NIPWystawcy", "NazwaWystawcy",
 * "TypDokumentu", "Adnotacja", "RodzajFaktury", "Stopka1" to "Stopka3",
 * "Zamowienia" (texts and numbers), "TekstyDokumentu" (key -> text) and
 * "TekstyPozycji" (line number -> key -> text). Of the options only cdata
 * counts. Outputs and failures as for druvo_ksef_to_edi. */
DRUVO_API int druvo_ksef_summary(const char* xml, size_t size,
                                 const druvo_options* options,
                                 druvo_buffer* json, druvo_buffer* error);

/* Frees data, sets it to NULL and size to 0. NULL is ignored. */
DRUVO_API void druvo_buffer_free(druvo_buffer* buffer);

/* Frees every field and sets it to NULL. NULL is ignored. */
DRUVO_API void druvo_list_fields_free(druvo_list_fields* fields);

#ifdef __cplusplus
}
#endif

#endif /* DRUVO_C_DRUVO_C_H */
