#include "transfer/morphology/trans_rules.h"

#include "core/file_reader.h"
#include "core/trace_log.h"
#include "resources/lfg/lexicon_manager.h"
#include "transfer/morphology/string_insert.h"

int CTransRule::liveInstances = 0;
int CTransRules::liveInstances = 0;

CTransRule::CTransRule() { ++liveInstances; }

CTransRule::CTransRule(const WString& pattern_, const WString& replacement_, uint32_t advance_)
    : pattern(pattern_),
      replacement(replacement_),
      advance(advance_ == 0 ? static_cast<uint32_t>(pattern_.size()) : advance_) {
  ++liveInstances;
}

CTransRule::~CTransRule() { --liveInstances; }

bool CTransRule::Match(const WString& word, size_t& position, WString& output) const {
  if (position > word.size() || word.size() - position < pattern.size()) return false;
  if (word.compare(position, pattern.size(), pattern) != 0) return false;
  output += replacement;
  position += advance;
  return true;
}

namespace {

bool IsDigit(WChar unit) { return unit >= u'0' && unit <= u'9'; }

// Reads the rule file unit by unit; the end of the file ends every read and
// keeps what was read.
class RuleFileParser {
 public:
  explicit RuleFileParser(const std::string& path) : reader_(path, 256) {}

  // Calls file(key, rules) for every block, in file order.
  template <typename FileBlock>
  void Parse(FileBlock file) {
    while (SkipToBlock()) {
      reader_.NextChar();  // past "="
      const WChar key = reader_.GetChar();
      SkipLineRest();
      std::vector<std::unique_ptr<CTransRule>> rules;
      while (reader_.GetChar() != 0 && reader_.GetChar() != u'=') rules.push_back(ReadRuleLine());
      file(key, std::move(rules));
    }
  }

 private:
  bool SkipToBlock() {
    while (reader_.GetChar() != 0 && reader_.GetChar() != u'=') reader_.NextChar();
    return reader_.GetChar() == u'=';
  }

  void SkipLineRest() {
    while (reader_.GetChar() != 0 && reader_.GetChar() != u'\n') reader_.NextChar();
    if (reader_.GetChar() == u'\n') reader_.NextChar();
  }

  WString ReadUpTo(WChar end) {
    WString text;
    while (reader_.GetChar() != 0 && reader_.GetChar() != end) {
      text.push_back(reader_.GetChar());
      reader_.NextChar();
    }
    if (reader_.GetChar() == end) reader_.NextChar();
    return text;
  }

  std::unique_ptr<CTransRule> ReadRuleLine() {
    const WString pattern = ReadUpTo(u':');
    const WString replacement = ReadUpTo(u'.');
    uint32_t advance = 0;
    if (IsDigit(reader_.GetChar())) advance = reader_.GetChar() - u'0';
    SkipLineRest();
    return std::make_unique<CTransRule>(pattern, replacement, advance);
  }

  CFileReader reader_;
};

WString KeyText(WChar key) { return WString(1, key == 0 ? u'?' : key); }

}  // namespace

CTransRules::CTransRules(const std::string& path) {
  ++liveInstances;
  RuleFileParser parser(path);
  parser.Parse([this](WChar key, std::vector<std::unique_ptr<CTransRule>> rules) {
    // A rule with an empty pattern would match everywhere and consume
    // nothing: it is not filed.
    std::erase_if(rules, [](const std::unique_ptr<CTransRule>& rule) { return rule->pattern.empty(); });
    if (blocks_.count(key) != 0) {
      WriteTraceLog(u"Transliteration rules: a second block for '" + KeyText(key) + u"' is ignored");
      return;
    }
    blocks_.emplace(key, std::move(rules));
  });
}

CTransRules::~CTransRules() { --liveInstances; }

const std::vector<std::unique_ptr<CTransRule>>* CTransRules::Block(WChar key) const {
  auto found = blocks_.find(key);
  return found == blocks_.end() ? nullptr : &found->second;
}

void CTransRules::ApplyEndingRules(WString& word) {
  word = u"<" + word + u">";
  const int64_t n = static_cast<int64_t>(word.size());
  // The greatest position at or before limit of any of i, e, u, y; -1 when none.
  auto lastVowelAtOrBefore = [&word](int64_t limit) {
    for (int64_t p = limit; p >= 0; --p) {
      const WChar unit = word[static_cast<size_t>(p)];
      if (unit == u'i' || unit == u'e' || unit == u'u' || unit == u'y') return p;
    }
    return int64_t{-1};
  };
  auto endsWith = [&word](const WString& ending) {
    return word.size() >= ending.size() && word.compare(word.size() - ending.size(), ending.size(), ending) == 0;
  };
  if (endsWith(u"e>")) {
    const int64_t p = lastVowelAtOrBefore(n - 3);
    if (p >= 0 && p == n - 4) InsertStringAfter(word, static_cast<size_t>(p), u"*");
  } else if (n > 3 && endsWith(u"ed>")) {
    const int64_t p = lastVowelAtOrBefore(n - 4);
    if (p >= 0 && p == n - 5) InsertStringAfter(word, static_cast<size_t>(p), u"*");
  }
}

void CTransRules::RewriteWord(const WString& word, WString& output) const {
  size_t position = 0;
  while (position < word.size()) {
    const auto* block = Block(word[position]);
    bool matched = false;
    if (block != nullptr) {
      for (const auto& rule : *block) {
        if (rule->Match(word, position, output)) {
          matched = true;
          break;
        }
      }
    }
    if (!matched) output.push_back(word[position++]);
  }
}

WString CTransRules::Apply(const WString& text) const {
  WString output;
  size_t i = 0;
  while (i < text.size()) {
    size_t end = text.find(u' ', i);
    if (end == WString::npos) end = text.size();
    WString word = ToLowerString(text.substr(i, end - i));
    ApplyEndingRules(word);
    RewriteWord(word, output);
    output.push_back(u' ');
    i = end + 1;
  }
  return output;
}
