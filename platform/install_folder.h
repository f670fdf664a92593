// Where an installation would record its folder. This platform has no system
// registry: the value is never present, so the configuration is always read
// from the current folder. Tests can supply a value to exercise the lookup.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

// The raw bytes (UTF-16LE) of the default value of a class key's subkey, or
// nothing when there is no such value.
std::optional<std::vector<unsigned char>> QueryClassKeyDefaultValue(const std::u16string& subkey);

using ClassKeySource = std::function<std::optional<std::vector<unsigned char>>(const std::u16string&)>;
ClassKeySource SetClassKeySourceForTesting(ClassKeySource source);
