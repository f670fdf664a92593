#include "platform/install_folder.h"

#include <utility>

namespace {

std::optional<std::vector<unsigned char>> NoRegistry(const std::u16string&) { return std::nullopt; }

ClassKeySource& CurrentSource() {
  static ClassKeySource source = NoRegistry;
  return source;
}

}  // namespace

std::optional<std::vector<unsigned char>> QueryClassKeyDefaultValue(const std::u16string& subkey) {
  return CurrentSource()(subkey);
}

ClassKeySource SetClassKeySourceForTesting(ClassKeySource source) {
  ClassKeySource previous = std::move(CurrentSource());
  CurrentSource() = source ? std::move(source) : ClassKeySource(NoRegistry);
  return previous;
}
