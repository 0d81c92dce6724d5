// Export marker for the library's public classes and functions.
//
// The library is built with hidden symbols; everything a host module calls
// carries DRUVO_API. A static build (DRUVO_STATIC_DEFINE) needs no marker.
#pragma once

#if defined(DRUVO_STATIC_DEFINE)
#define DRUVO_API
#else
#define DRUVO_API __attribute__((visibility("default")))
#endif
