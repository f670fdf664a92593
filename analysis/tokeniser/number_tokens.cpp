// Token builders for numbers and measures, and the accept dispatch that runs
// every builder. A builder either stores a piece of the token in a slot
// (argument 8) or finishes the token: it makes the lexical entry from a
// category and a feature description and fills the pending token.
#include "analysis/tokeniser/pre_processor.h"

#include "resources/english/e_lexicon_entry.h"

namespace {

bool IsDigit(WChar c) { return c >= u'0' && c <= u'9'; }
bool IsAsciiLetter(WChar c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }

// Arguments of the builders: 8 stores a piece, 7 finishes with the builder's
// own reading; dates and units take other arguments as reading-list codes.
constexpr uint32_t kFinish = 7;
constexpr uint32_t kStorePiece = 8;

// ",^NUM=PL" for texts that compare above "1" (so 2 and 10, but not 0 or 1).
WString NumberCount(const WString& number) { return number > WString(u"1") ? u",^NUM=PL" : u",^NUM=SG"; }

WString CommaFeatures(bool commaSeen, const char16_t* withComma, const char16_t* without) {
  return commaSeen ? withComma : without;
}

}  // namespace

void CPreProcessor::DispatchAccept(uint8_t acceptCode, bool /*flag*/, uint32_t argument1, uint32_t /*argument2*/,
                                   uint32_t /*argument3*/) {
  switch (acceptCode) {
    case '1': BuildPlain(); break;
    case 'A': BuildCardinal(argument1); break;
    case 'B': BuildUnitNumber(argument1); break;
    case 'C': BuildCommaNumber(argument1); break;
    case 'D': BuildOrdinal(); break;
    case 'E': BuildFeet(); break;
    case 'F': BuildInches(); break;
    case 'G': BuildFeetAndInches(argument1); break;
    case 'H': BuildDateDay(argument1); break;
    case 'I': BuildDateMonth(argument1); break;
    case 'J': BuildDateYear(argument1); break;
    case 'K':
    case 'L':
    case 'M': BuildTimePart(acceptCode, argument1); break;
    case 'O': BuildTimeType(); break;
    default: break;  // '2' to '@' and 'N' mark states and do nothing
  }
}

void CPreProcessor::ResetTokenState() { scan_ = CTokenScanState(); }

void CPreProcessor::FilterPartText(int mode) {
  WString kept;
  for (WChar c : scan_.partText) {
    const bool keep = (mode == 1 && IsDigit(c)) || (mode == 2 && (IsDigit(c) || IsAsciiLetter(c))) ||
                      (mode == 3 && IsAsciiLetter(c)) || (mode == 4 && (IsDigit(c) || c == u'.'));
    if (keep) kept += c;
  }
  scan_.partText = std::move(kept);
}

WString CPreProcessor::EscapeFeatureValue(const WString& text) {
  static const char16_t kHex[] = u"0123456789ABCDEF";
  if (text == u"c") return u"%0063";
  WString escaped;
  for (WChar c : text) {
    if (IsDigit(c) || IsAsciiLetter(c) || c == u'.' || c == u'-' || c == u'_' || c == u'/') {
      escaped += c;
      continue;
    }
    escaped += u'%';
    for (int shift = 12; shift >= 0; shift -= 4) escaped += kHex[(c >> shift) & 0xF];
  }
  return escaped;
}

// Makes the token's entry; the tokeniser keeps it for the parser.
void CPreProcessor::Finish(const WString& category, const WString& features) {
  std::unique_ptr<CELexicalEntry> entry = entryMaker_->MakeEntry(category, features);
  lastBuiltEntry_ = entry.get();
  if (entry) entriesOfSentence_.push_back(std::move(entry));
}

int CPreProcessor::CategoryKind(const WString& category) const { return GetPOSIndex(category); }

void CPreProcessor::AddReading(const WString& category) {
  const int index = GetPOSIndex(category);
  if (index > 0) pending_.Readings.push_back(static_cast<uint32_t>(index));
}

// A code missing from "UnitPosFile" gives no readings.
void CPreProcessor::SetReadingsOfCode(uint32_t code) {
  const auto found = unitReadings_.find(static_cast<int>(code));
  pending_.Readings = found == unitReadings_.end() ? std::vector<uint32_t>() : found->second;
}

void CPreProcessor::BuildPlain() {
  pending_.Text = scan_.partText;
  pending_.Kind = kTokenWord;
}

void CPreProcessor::BuildCardinal(uint32_t argument) {
  FilterPartText(4);
  WString& part = scan_.partText;
  if (argument == kStorePiece) {
    scan_.firstPart = part;
    part.clear();
    return;
  }
  if (argument != kFinish) return;
  Finish(u"card", u"^IN_WORDS=NEG,^HAS_COMMA=NEG,^UNIT=NULL,^NUMBER_VAL=" + part + NumberCount(part));
  pending_.Text = part;
  AddReading(u"card");
  pending_.Kind = CategoryKind(u"card");
  part.clear();
  scan_.tokenText.clear();
}

// "5 kg", "3 million": the number was stored by 'A' or 'C' with argument 8,
// the unit word is the part.
void CPreProcessor::BuildUnitNumber(uint32_t argument) {
  const WString& first = scan_.firstPart;
  const WString features =
      CommaFeatures(scan_.commaSeen, u"^IN_WORDS=NEG,^HAS_COMMA=POS", u"^IN_WORDS=POS,^HAS_COMMA=NEG") + u",^UNIT=" +
      EscapeFeatureValue(scan_.partText) + u",^NUMBER_VAL=" + first + NumberCount(first);
  Finish(u"card", features);
  pending_.Text = scan_.tokenText;
  SetReadingsOfCode(argument);
  pending_.Kind = CategoryKind(u"card");
  scan_.partText.clear();
  scan_.tokenText.clear();
}

void CPreProcessor::BuildCommaNumber(uint32_t argument) {
  FilterPartText(1);
  WString& part = scan_.partText;
  if (argument == kStorePiece) {
    scan_.commaSeen = true;
    scan_.firstPart = part;
    part.clear();
    return;
  }
  const WString& first = scan_.firstPart;
  Finish(u"card", u"^IN_WORDS=NEG,^HAS_COMMA=POS,^UNIT=NULL,^NUMBER_VAL=" + first + NumberCount(first));
  pending_.Text = part;
  AddReading(u"card");
  pending_.Kind = CategoryKind(u"card");
  part.clear();
  scan_.tokenText.clear();
}

void CPreProcessor::BuildOrdinal() {
  FilterPartText(1);
  Finish(u"ord", u"^IN_WORDS=NEG,^HAS_COMMA=NEG,^UNIT=NULL,^ORD_NUMBER_VAL=" + scan_.partText);
  pending_.Kind = CategoryKind(u"ord");
  pending_.Text = scan_.tokenText;
  AddReading(u"ord");
  scan_.partText.clear();
  scan_.tokenText.clear();
}

void CPreProcessor::BuildFeet() {
  FilterPartText(1);
  Finish(u"card", u"^IN_WORDS=NEG,^HAS_COMMA=NEG,^UNIT=FEET,^NUMBER=" + scan_.partText);
  pending_.Kind = CategoryKind(u"card");
  pending_.Text = scan_.partText;
  AddReading(u"card");
  scan_.partText.clear();
  scan_.tokenText.clear();
}

void CPreProcessor::BuildInches() {
  FilterPartText(1);
  const WString features =
      CommaFeatures(scan_.commaSeen, u"^IN_WORDS=NEG,^HAS_COMMA=POS", u"^IN_WORDS=NEG,^HAS_COMMA=NEG") +
      u",^UNIT=INCHES,^NUMBER=" + scan_.partText;
  Finish(u"card", features);
  pending_.Kind = CategoryKind(u"card");
  pending_.Text = scan_.partText;
  AddReading(u"card");
  scan_.partText.clear();
  scan_.tokenText.clear();
}

// 5'6": the feet were stored by 'A' with argument 8, the inches are the part.
void CPreProcessor::BuildFeetAndInches(uint32_t argument) {
  FilterPartText(1);
  const WString number = scan_.firstPart + u"/" + scan_.partText;
  const WString features =
      u"^IN_WORDS=NEG" +
      CommaFeatures(scan_.commaSeen, u",^IN_WORDS=NEG,^HAS_COMMA=POS", u",^IN_WORDS=NEG,^HAS_COMMA=NEG") +
      u",^UNIT=INCHES,^NUMBER=" + number;
  Finish(u"card", features);
  pending_.Kind = CategoryKind(u"card");
  pending_.Text = number;
  SetReadingsOfCode(argument);
  scan_.partText.clear();
  scan_.tokenText.clear();
}
