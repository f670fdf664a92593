// Conversions between the system's UTF-16 text and the UTF-8 that consoles,
// command lines and file names use on this platform.
#pragma once

#include <string>
#include <string_view>

// UTF-16 to UTF-8. A lone surrogate becomes U+FFFD.
std::string ToUtf8(std::u16string_view text);

// UTF-8 to UTF-16. A malformed or overlong byte sequence becomes U+FFFD.
std::u16string FromUtf8(std::string_view text);
