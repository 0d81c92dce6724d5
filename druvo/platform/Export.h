// Export marker for the library's public classes and functions.
//
// The library is built with hidden symbols; everything a host module calls
// carries DRUVO_API. On Windows the marker exports from druvo.dll while it
// is built (CMake defines druvo_EXPORTS) and imports from it elsewhere. A
// static build (DRUVO_STATIC_DEFINE) needs no marker.
#pragma once

#if defined(DRUVO_STATIC_DEFINE)
#define DRUVO_API
#elif defined(_WIN32) && defined(druvo_EXPORTS)
#define DRUVO_API __declspec(dllexport)
#elif defined(_WIN32)
#define DRUVO_API __declspec(dllimport)
#else
#define DRUVO_API __attribute__((visibility("default")))
#endif

// For a type nested in an exported class that is no part of the interface
// (a private helper with members defined out of line): the shared library
// keeps it to itself, as a Windows DLL does.
#if defined(_WIN32) || defined(DRUVO_STATIC_DEFINE)
#define DRUVO_LOCAL
#else
#define DRUVO_LOCAL __attribute__((visibility("hidden")))
#endif
