"""KSeF invoices to EDI text with the Druvo library.

Invoices are given as bytes, read as the druvo program reads a file (UTF-8,
or the encoding the XML declaration names: windows-1250, ISO-8859-2,
US-ASCII), or as str. Errors of the library raise DruvoError with its
message; characters without a CP1250 form become '?' with a DruvoWarning.
Every function may run on several threads at once (the library call runs
without the GIL); see druvo/c/druvo_c.h for the one process-wide setting,
the CDATA switch.
"""

from __future__ import annotations

import ctypes
import datetime
import json
import warnings
from typing import Any, Dict, NamedTuple, Optional, Union

from . import _native

__all__ = [
    "DruvoError",
    "DruvoWarning",
    "ListFields",
    "ksef_list",
    "ksef_summary",
    "ksef_to_edi",
    "version",
]
__version__ = "0.1.0"

Invoice = Union[bytes, bytearray, memoryview, str]

# Encodings the library reads, by the names it accepts, as Python codecs.
_CODECS = {
    "": "utf-8",
    "utf-8": "utf-8",
    "utf8": "utf-8",
    "windows-1250": "cp1250",
    "cp1250": "cp1250",
    "x-cp1250": "cp1250",
    "cp-1250": "cp1250",
    "win-1250": "cp1250",
    "iso-8859-2": "iso8859_2",
    "iso8859-2": "iso8859_2",
    "iso_8859-2": "iso8859_2",
    "latin2": "iso8859_2",
    "l2": "iso8859_2",
    "iso-ir-101": "iso8859_2",
    "csisolatin2": "iso8859_2",
    "us-ascii": "ascii",
    "ascii": "ascii",
}


class DruvoError(Exception):
    """A call of the library failed; str(error) is the library's message.

    status is the C interface's status: 1 a missing argument, 2 an invoice
    that cannot be read or converted, 3 out of memory, 4 a fault of the
    library.
    """

    def __init__(self, message: str, status: int) -> None:
        super().__init__(message)
        self.message = message
        self.status = status


class DruvoWarning(UserWarning):
    """Characters of an invoice had no CP1250 form and became '?'."""


class ListFields(NamedTuple):
    """The document-list fields of an invoice ("" or None when missing)."""

    number: str
    date: Optional[datetime.date]
    type: str  # "PZ", "ZD", "ROZB" or ""
    seller: str
    seller_tax_number: str


def _declared_encoding(text: str) -> str:
    """The encoding the XML declaration at the start of `text` names."""
    text = text.lstrip(" \t\r\n")
    if not text.startswith("<?xml"):
        return ""
    end = text.find("?>")
    declaration = text if end < 0 else text[:end]
    at = declaration.find("encoding")
    if at < 0:
        return ""
    rest = declaration[at + 8 :].lstrip(" \t\r\n")
    if not rest.startswith("="):
        return ""
    rest = rest[1:].lstrip(" \t\r\n")
    if not rest or rest[0] not in "\"'":
        return ""
    close = rest.find(rest[0], 1)
    return "" if close < 0 else rest[1:close]


def _invoice_bytes(data: Invoice) -> bytes:
    """The bytes of an invoice; a str is encoded as its declaration says."""
    if isinstance(data, (bytes, bytearray, memoryview)):
        return bytes(data)
    if not isinstance(data, str):
        raise TypeError(f"invoice must be bytes or str, not {type(data).__name__}")
    text = data[1:] if data.startswith("\ufeff") else data
    codec = _CODECS.get(_declared_encoding(text).lower(), "utf-8")
    try:
        return text.encode(codec)
    except UnicodeEncodeError as error:
        warnings.warn(
            f"characters without a {codec} form (first: "
            f"U+{ord(error.object[error.start]):04X}) became '?'",
            DruvoWarning,
            stacklevel=3,
        )
        return text.encode(codec, errors="replace")


def _options(utf8: bool, vat_symbol: str, cdata: bool) -> _native.Options:
    symbol = vat_symbol.encode("utf-8")
    if b"\0" in symbol:
        raise ValueError("vat_symbol must not contain NUL")
    return _native.Options(int(utf8), symbol, int(cdata))


def _call(name: str, data: Invoice, options: _native.Options, out: Any) -> None:
    """Calls entry point `name`, raising DruvoError or warning as it says."""
    xml = _invoice_bytes(data)
    library = _native.library()
    error = _native.Buffer()
    status = getattr(library, name)(
        xml, len(xml), ctypes.byref(options), ctypes.byref(out), ctypes.byref(error)
    )
    message = _native.take(error).decode("utf-8", errors="replace")
    if status != 0:
        raise DruvoError(message, status)
    if message:
        warnings.warn(message, DruvoWarning, stacklevel=3)


def ksef_to_edi(
    data: Invoice, *, utf8: bool = False, vat_symbol: str = "0", cdata: bool = False
) -> Union[str, bytes]:
    """Converts a KSeF invoice into EDI text.

    Returns the CP1250 bytes of the text, or with utf8=True the text as str.
    vat_symbol is written for the special VAT rates ("" means "0"); cdata
    reads CDATA sections of the invoice. Raises DruvoError.
    """
    options = _options(utf8, vat_symbol, cdata)
    edi = _native.Buffer()
    try:
        _call("druvo_ksef_to_edi", data, options, edi)
    finally:  # a warning turned into an error must not leak the text
        text = _native.take(edi)
    return text.decode("utf-8") if utf8 else text


def ksef_list(data: Invoice, *, cdata: bool = False) -> ListFields:
    """The document-list fields of a KSeF invoice. Raises DruvoError."""
    fields = _native.ListFields()
    try:
        _call("druvo_ksef_list_fields", data, _options(False, "", cdata), fields)
        texts = [
            ctypes.string_at(getattr(fields, name)).decode("utf-8")
            for name, _ in _native.ListFields._fields_
        ]
    finally:
        _native.library().druvo_list_fields_free(ctypes.byref(fields))
    day = datetime.datetime.strptime(texts[1], "%d.%m.%Y").date() if texts[1] else None
    return ListFields(texts[0], day, texts[2], texts[3], texts[4])


def ksef_summary(data: Invoice, *, cdata: bool = False) -> Dict[str, Any]:
    """The summary of a KSeF invoice as a dict with the library's field names
    (NIPWystawcy, NazwaWystawcy, TypDokumentu, Adnotacja, RodzajFaktury,
    Stopka1 to Stopka3, Zamowienia, TekstyDokumentu, TekstyPozycji). Raises
    DruvoError."""
    summary = _native.Buffer()
    try:
        _call("druvo_ksef_summary", data, _options(False, "", cdata), summary)
    finally:
        text = _native.take(summary)
    return json.loads(text.decode("utf-8"))


def version() -> str:
    """The version of the loaded library."""
    return _native.library().druvo_version().decode("ascii")
