// Wide text of the whole system: UTF-16 code units, whatever the width of
// wchar_t on the machine. Linguistic text, file contents and window text are
// WString; configuration keys, file names and expression texts are std::string.
#pragma once

#include <string>

#include "platform/utf8.h"

using WChar = char16_t;
using WString = std::u16string;
