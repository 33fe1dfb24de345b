#pragma once

// Typed fill-in of the program's message and code templates: each "%s" or
// "%d" is replaced, in order, by the next argument as given (numbers are
// turned into text by the caller with toDecimal). A template with fewer
// arguments than placeholders keeps the surplus placeholders; surplus
// arguments are ignored. No fixed-size buffer is involved.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace orvo::platform {

std::string fillTemplate(std::string_view tmpl, std::initializer_list<std::string_view> args);

std::string toDecimal(std::int64_t value);

// C's atoi as the table readers use it: optional white space, an optional
// sign, then digits up to the first other character; no digits give 0.
// Values beyond the 32-bit range are clamped instead of overflowing.
std::int32_t parseLeadingInt(std::string_view text);

} // namespace orvo::platform
