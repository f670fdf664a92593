// The rule-based narrowing of reading lists around tagging: conjunction and
// comparison readings before the tagger runs, auxiliary and particle
// readings after it.
#include <algorithm>
#include <memory>
#include <string>

#include "analysis/cfg/cfg_parser.h"
#include "constraints/p_fs_compiler.h"
#include "constraints/p_fs_item.h"
#include "constraints/p_symbol_table.h"
#include "core/string_helpers.h"
#include "resources/lfg/lexicon_manager.h"

namespace {

bool HasPOS(const P_Grammar& grammar, const CELexicalEntry* reading, const char* name) {
  return reading != nullptr && grammar.GetPOSName(reading->GetPOSId()) == name;
}

// The first reading of the list with one of the names; null when none.
CELexicalEntry* FirstWithPOS(const P_Grammar& grammar, const CEntryList& list,
                             std::initializer_list<const char*> names) {
  for (CELexicalEntry* reading : list) {
    for (const char* name : names) {
      if (HasPOS(grammar, reading, name)) return reading;
    }
  }
  return nullptr;
}

bool AnyWithPOS(const P_Grammar& grammar, const CEntryList& list, std::initializer_list<const char*> names) {
  return FirstWithPOS(grammar, list, names) != nullptr;
}

// Keeps only the reading (when there is one).
void KeepOnly(CEntryList& list, CELexicalEntry* reading) {
  if (reading != nullptr) list = {reading};
}

// The word a correlative conjunction reading asks for later in the sentence
// (its _ALLOWED_CONJ value without its quotes, lower-cased); empty when the
// reading has no such feature.
WString PartnerWord(const CELexicalEntry& reading) {
  const uint16_t allowed = P_SymbolTable::Intern("_ALLOWED_CONJ");
  for (uint16_t id : reading.itemIds) {
    std::unique_ptr<P_FSItem> item(P_FSCompiler::CloneRegisteredItem(static_cast<int16_t>(id)));
    if (!item || item->attribute != allowed) continue;
    ItemValues values(item.get());
    if (values.empty()) return {};
    const P_ConVal* value = values.front();
    uint16_t symbol = value->GetPlainValue();
    if (symbol == 0 && value->GetValueCount() > 0) symbol = value->GetValueList().front();
    const WString text = ToLowerString(NarrowToWide(P_SymbolTable::GetString(static_cast<int16_t>(symbol))));
    if (text.size() < 2) return {};
    return text.substr(1, text.size() - 2);
  }
  return {};
}

bool TextIs(const CSentenceTokens& tokens, size_t i, const char16_t* text) {
  return i < tokens.size() && tokens[i] != nullptr && tokens[i]->Text == text;
}

}  // namespace

void CCfgParser::FilterConjunctionReadings(CSentenceReadings& readings, const CSentenceTokens& tokens) {
  if (grammar_ == nullptr) return;
  const P_Grammar& grammar = *grammar_;
  const size_t n = std::min(readings.size(), tokens.size());
  for (size_t i = 0; i < n; ++i) {
    if (readings[i].size() < 2) continue;
    for (size_t j = 0; j < readings[i].size();) {
      CELexicalEntry* reading = readings[i][j];
      if (HasPOS(grammar, reading, "correlative")) {
        const WString partner = PartnerWord(*reading);
        if (partner.empty()) {  // no partner named: nothing to check
          ++j;
          continue;
        }
        size_t k = i + 1;
        while (k < n && (tokens[k] == nullptr || tokens[k]->Text != partner)) ++k;
        if (k < n) {
          KeepOnly(readings[i], reading);
          KeepOnly(readings[k], FirstWithPOS(grammar, readings[k], {"coord_conj", "sub_conj"}));
          ++j;
        } else {
          readings[i].erase(readings[i].begin() + static_cast<std::ptrdiff_t>(j));
        }
        continue;
      }
      if (HasPOS(grammar, reading, "mult")) {
        const bool keep =
            TextIs(tokens, i + 1, u"the") || (i + 1 < n && AnyWithPOS(grammar, readings[i + 1], {"gen_pro"}));
        if (keep) {
          KeepOnly(readings[i], reading);
        } else {
          readings[i].erase(readings[i].begin() + static_cast<std::ptrdiff_t>(j));
        }
        break;
      }
      if (HasPOS(grammar, reading, "gm")) {
        if (i == 0 || AnyWithPOS(grammar, readings[i - 1], {"adj", "aux", "v"})) {
          readings[i].erase(readings[i].begin() + static_cast<std::ptrdiff_t>(j));
        }
        break;
      }
      ++j;
    }
    // "as ADJ as": an adverb, an adjective and a comparative conjunction.
    if (i + 2 < n && TextIs(tokens, i, u"as") && TextIs(tokens, i + 2, u"as")) {
      CELexicalEntry* adjective = FirstWithPOS(grammar, readings[i + 1], {"adj"});
      if (adjective == nullptr) continue;
      KeepOnly(readings[i], FirstWithPOS(grammar, readings[i], {"adv"}));
      KeepOnly(readings[i + 1], adjective);
      KeepOnly(readings[i + 2], FirstWithPOS(grammar, readings[i + 2], {"comp_conj"}));
    }
  }
}

void CCfgParser::FilterAuxParticleReadings(CSentenceReadings& tagged, const CSentenceReadings& full) {
  if (grammar_ == nullptr) return;
  const size_t n = tagged.size();
  auto tag = [&](size_t i) -> std::string {
    if (i >= n || tagged[i].empty() || tagged[i][0] == nullptr) return {};
    return grammar_->GetPOSName(tagged[i][0]->GetPOSId());
  };
  auto verbal = [&](size_t i) { return tag(i) == "v" || tag(i) == "aux"; };
  const uint16_t verb = static_cast<uint16_t>(grammar_->GetOrAddPOSId("v"));
  for (size_t i = 0; i < n && i < full.size(); ++i) {
    const std::string own = tag(i);
    if (own == "aux" && i > 0) {
      const bool no_verb_follows = (n > i + 2 && !verbal(i + 1) && !verbal(i + 2)) || (n == i + 2 && !verbal(i + 1));
      if (!no_verb_follows) continue;
      for (CELexicalEntry* reading : full[i]) {
        if (reading == nullptr || reading->GetPOSId() != verb) continue;
        tagged[i][0] = reading;
        break;
      }
      continue;
    }
    if (own == "p") {
      for (CELexicalEntry* reading : full[i]) {
        if (HasPOS(*grammar_, reading, "part")) tagged[i].push_back(reading);
      }
    }
  }
}
