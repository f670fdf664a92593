#include "app/engine/setup_keys.h"

#include <cctype>
#include <charconv>
#include <limits>

#include "core/config_store.h"
#include "core/string_helpers.h"
#include "core/trace_log.h"
#include "platform/message_box.h"
#include "platform/utf8.h"

namespace {

// Reads a required key; false once one is missing (already reported).
class KeyReader {
 public:
  bool Read(const char* key, std::string& into, bool raw = false) {
    if (!ok_) return false;
    into = GetConfigValue(key, raw);
    ok_ = !into.empty();
    return ok_;
  }
  bool ReadNumber(const char* key, double& into) {
    std::string text;
    if (!Read(key, text, true)) return false;
    const std::optional<double> number = ParseConfigNumber(text);
    if (!number) {
      ShowMessage(u"The value of " + FromUtf8(key) + u" is not a number: " + FromUtf8(text), u"Tarnwick",
                  MessageStyle::IconInformation);
      ok_ = false;
      return false;
    }
    into = *number;
    return true;
  }
  bool ok() const { return ok_; }

 private:
  bool ok_ = true;
};

}  // namespace

std::optional<double> ParseConfigNumber(const std::string& text) {
  const std::string trimmed = TrimNarrowString(text);
  if (trimmed.empty()) return std::nullopt;
  const char* first = trimmed.data();
  const char* last = first + trimmed.size();
  if (*first == '+') ++first;  // from_chars takes only '-'
  double value = 0.0;
  const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
  if (error != std::errc() || end != last) return std::nullopt;
  return value;
}

int16_t ParseShortCount(const std::string& text, bool& isNumber) {
  size_t at = 0;
  while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at]))) ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
  isNumber = at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]));
  long value = 0;
  constexpr long kLimit = 1L << 20;  // far beyond the 16-bit range, so clamping stays exact
  for (; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])); ++at) {
    value = std::min(kLimit, value * 10 + (text[at] - '0'));
  }
  if (negative) value = -value;
  value =
      std::max<long>(std::numeric_limits<int16_t>::min(), std::min<long>(std::numeric_limits<int16_t>::max(), value));
  return static_cast<int16_t>(value);
}

std::optional<CSetUpKeys> ReadSetUpKeys() {
  CSetUpKeys keys;
  KeyReader reader;
  reader.Read("CompileLexicon", keys.compileLexicon, true);
  reader.Read("InsertRulesRawFileName", keys.insertRulesRaw);
  reader.Read("InsertRulesExtFileName", keys.insertRulesExt);
  reader.Read("GrammarRulesFileName", keys.grammarRules);
  reader.Read("GrammarMacrosFileName", keys.grammarMacros);
  reader.Read("lfgFileName", keys.lfgFile);
  reader.Read("cfgFileName", keys.cfgFile);
  reader.Read("MappingRulesMacrosFileName", keys.mappingRulesMacros);
  reader.Read("MappingRulesRawFileName", keys.mappingRulesRaw);
  reader.Read("MappingRulesExtFileName", keys.mappingRulesExt);
  reader.Read("MappingLexiconMacrosFileName", keys.mappingLexiconMacros);
  reader.Read("MappingLexiconRawFileName", keys.mappingLexiconRaw);
  reader.Read("MappingLexiconExtFileName", keys.mappingLexiconExt);
  reader.Read("TransRulesFileName", keys.transRules);
  reader.Read("SubCatFrameListFileName", keys.subcatFrameList);
  reader.ReadNumber("MapLexStdFreq", keys.mapLexStdFreq);
  reader.ReadNumber("MapRulesStdFreq", keys.mapRulesStdFreq);
  reader.Read("DiscourseFileName", keys.discourse);
  reader.Read("ELexiconFileName", keys.englishLexicon);
  reader.Read("CompileP_Grammar", keys.compilePGrammar, true);
  reader.Read("UcfgFileName", keys.urduCfg);
  reader.Read("UlfgFileName", keys.urduLfg);
  reader.Read("UGrammarMacrosFileName", keys.urduGrammarMacros);
  reader.Read("UGrammarRulesFileName", keys.urduGrammarRules);
  reader.Read("POSs", keys.posList);
  reader.Read("SegmentSentence", keys.segmentSentence, true);
  std::string minLength;
  reader.Read("MinSentLengthForSegmentation", minLength, true);
  reader.Read("SegmentRules", keys.segmentRules);
  if (!reader.ok()) return std::nullopt;
  bool isNumber = false;
  keys.minSentLength = ParseShortCount(minLength, isNumber);
  if (!isNumber) {
    WriteTraceLog(u"MinSentLengthForSegmentation is not a number: " + FromUtf8(minLength) + u"; 0 is used");
  }
  return keys;
}
