// Number text of the base library for other sources of the library (not
// installed): ToDBField's text written straight into a caller's buffer, for
// writers of many amounts that would otherwise make a string for each.
#pragma once

#include <cstddef>

namespace druvo::korblib_detail {

// The most bytes QuickDBField writes.
constexpr std::size_t kQuickDBFieldRoom = 32;

// Writes at `out` the text TxfTools(value).ToDBField(minDecimals,
// maxDecimals) gives and returns its end, when the value is one of the
// common ones that need no decimal expansion (an amount below 2^48 at its
// places, not near a tie); otherwise writes nothing and returns null.
char* QuickDBField(char* out, double value, int minDecimals, int maxDecimals);

}  // namespace druvo::korblib_detail
