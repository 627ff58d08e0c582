// UTF-8 for the engine's texts, UTF-16 for the control's. Pure.
#pragma once

#include <string>
#include <string_view>

namespace flash_control {

// Unpaired surrogates become U+FFFD.
std::string ToUtf8(std::u16string_view text);
// A byte that does not start a well-formed sequence stands for itself (Latin-1), so any bytes
// decode.
std::u16string FromUtf8(std::string_view text);

}  // namespace flash_control
