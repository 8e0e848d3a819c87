#pragma once

#include <cstdint>

namespace velloria {

// A colour as the preferences store it: $00BBGGRR for an RGB colour (red in the low byte), or
// $FF0000nn for system colour nn, so system colours are negative.
using TColor = std::int32_t;
inline constexpr TColor clWindow = -16777211;     // $FF000005
inline constexpr TColor clWindowText = -16777208; // $FF000008

} // namespace velloria
