#include "app/loaders/feature_descriptions.h"

#include "core/config_store.h"
#include "core/file_reader.h"
#include "core/symbol_table.h"

namespace {

constexpr int kReaderBufferUnits = 1000;

bool IsLineEnd(WChar unit) { return unit == u'\r' || unit == u'\n'; }

// Steps from the opening unit past the closing one (or to the end).
void SkipUpTo(CFileReader& reader, WChar closing) {
  WChar unit = reader.NextChar();
  while (unit != 0 && unit != closing) unit = reader.NextChar();
  if (unit == closing) reader.NextChar();
}

// Steps from the '/' to the line end (or the end of the file), leaving the
// reader on the line end.
void SkipComment(CFileReader& reader) {
  WChar unit = reader.NextChar();
  while (unit != 0 && !IsLineEnd(unit)) unit = reader.NextChar();
}

}  // namespace

bool ReadFDescriptionToken(CFileReader& reader, WString& item) {
  item.clear();
  for (;;) {
    const WChar unit = reader.GetChar();
    if (unit == 0) return false;
    if (IsLineEnd(unit)) {
      item.clear();
    } else if (unit == u'.') {
      reader.NextChar();
      return true;
    } else if (unit == u'/') {
      SkipComment(reader);
      continue;  // the line end empties the item
    } else if (unit == u'@') {
      SkipUpTo(reader, u'@');
      continue;
    } else {
      item.push_back(unit);
    }
    reader.NextChar();
  }
}

bool LoadFeatureDescriptions() {
  CFileReader reader(kReaderBufferUnits);
  reader.Open(GetConfigValue("FDescriptions"));
  if (!reader.IsOpen()) return false;
  WString item;
  while (ReadFDescriptionToken(reader, item)) {
    if (!item.empty() && GetSymbolId(item, false) != kNoSymbol) continue;
    if (AddSymbol(item) == kNoSymbol) return false;  // the table is full (reported)
  }
  return true;
}
