#pragma once
#include <cstdint>
#include <string>

namespace ui {

// Converts decimal text (an optional sign, then digits only) to a signed
// 32-bit integer; anything else raises EConvertError naming the text.
int32_t StrToInt(const std::string& text);

} // namespace ui
