"""Loading the Druvo library and declaring its C interface for ctypes.

The library is looked for, in this order: the file named by the environment
variable DRUVO_LIBRARY (and nothing else when it is set), the library that
`make install` put beside this package, then the system loader's search
(ctypes.util.find_library and the library's plain names). It is loaded once,
on first use, so that importing the package never fails.
"""

from __future__ import annotations

import ctypes
import ctypes.util
import os
import threading
from typing import List, Optional

_NAMES = ["libdruvo.so.0", "libdruvo.so", "libdruvo.dylib", "druvo.dll"]


class Buffer(ctypes.Structure):
    """druvo_buffer: bytes owned by the library until druvo_buffer_free."""

    _fields_ = [("data", ctypes.c_void_p), ("size", ctypes.c_size_t)]


class Options(ctypes.Structure):
    """druvo_options."""

    _fields_ = [
        ("utf8_output", ctypes.c_int),
        ("vat_symbol", ctypes.c_char_p),
        ("cdata", ctypes.c_int),
    ]


class ListFields(ctypes.Structure):
    """druvo_list_fields: NUL-terminated UTF-8 texts owned by the library."""

    _fields_ = [
        ("number", ctypes.c_void_p),
        ("date", ctypes.c_void_p),
        ("type", ctypes.c_void_p),
        ("seller", ctypes.c_void_p),
        ("seller_tax_number", ctypes.c_void_p),
    ]


def _candidates() -> List[str]:
    named = os.environ.get("DRUVO_LIBRARY")
    if named:
        return [named]
    found: List[str] = []
    try:
        from ._location import LIBRARY  # written by `make install`

        found.append(LIBRARY)
    except ImportError:
        pass
    system = ctypes.util.find_library("druvo")
    if system:
        found.append(system)
    return found + _NAMES


def _declare(lib: ctypes.CDLL) -> ctypes.CDLL:
    text = ctypes.c_char_p
    size = ctypes.c_size_t
    options = ctypes.POINTER(Options)
    buffer = ctypes.POINTER(Buffer)
    lib.druvo_version.argtypes = []
    lib.druvo_version.restype = ctypes.c_char_p
    for name, out in (
        ("druvo_ksef_to_edi", buffer),
        ("druvo_ksef_summary", buffer),
        ("druvo_ksef_list_fields", ctypes.POINTER(ListFields)),
    ):
        function = getattr(lib, name)
        function.argtypes = [text, size, options, out, buffer]
        function.restype = ctypes.c_int
    lib.druvo_buffer_free.argtypes = [buffer]
    lib.druvo_buffer_free.restype = None
    lib.druvo_list_fields_free.argtypes = [ctypes.POINTER(ListFields)]
    lib.druvo_list_fields_free.restype = None
    return lib


_lock = threading.Lock()
_library: Optional[ctypes.CDLL] = None


def library() -> ctypes.CDLL:
    """The loaded library. Raises OSError naming every place tried."""
    global _library
    with _lock:
        if _library is None:
            tried = []
            for candidate in _candidates():
                try:
                    _library = _declare(ctypes.CDLL(candidate))
                    break
                except (OSError, AttributeError) as error:
                    tried.append(f"{candidate}: {error}")
            else:
                raise OSError(
                    "the Druvo library was not found (set DRUVO_LIBRARY to "
                    "its path); tried:\n  " + "\n  ".join(tried)
                )
        return _library


def take(buffer: Buffer) -> bytes:
    """The bytes of `buffer`, which is freed."""
    try:
        return ctypes.string_at(buffer.data, buffer.size) if buffer.data else b""
    finally:
        library().druvo_buffer_free(ctypes.byref(buffer))
