#include "core/scanning.h"

std::vector<WString> SplitLines(const WString& text) {
  std::vector<WString> lines;
  WString line;
  for (size_t i = 0; i < text.size(); ++i) {
    const WChar unit = text[i];
    if (!IsLineEnd(unit)) {
      line.push_back(unit);
      continue;
    }
    if (unit == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    lines.push_back(line);
    line.clear();
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}
