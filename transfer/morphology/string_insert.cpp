#include "transfer/morphology/string_insert.h"

void InsertStringAfter(WString& text, size_t position, const WString& insert) {
  const size_t at = position < text.size() ? position + 1 : text.size();
  text.insert(at, insert);
}
