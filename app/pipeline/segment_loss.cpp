#include "app/pipeline/segment_loss.h"

#include <algorithm>
#include <utility>

#include "app/engine/translation_result.h"
#include "core/fs_node.h"
#include "core/symbol_table.h"
#include "platform/message_box.h"

namespace {

// The English word a left-out negation is named by.
const WString kNegationWord = u"not";

bool IsLatinLetter(WChar unit) { return (unit >= u'a' && unit <= u'z') || (unit >= u'A' && unit <= u'Z'); }

bool IsDigit(WChar unit) { return unit >= u'0' && unit <= u'9'; }

// An alphanumeric code of the English text ("PK303"): Latin letters and
// digits only, with at least one digit. The Urdu writes it as it stands;
// grammar symbols never hold a digit alone with letters.
bool IsCode(const WString& word) {
  return std::any_of(word.begin(), word.end(), IsDigit) &&
         std::all_of(word.begin(), word.end(), [](WChar unit) { return IsLatinLetter(unit) || IsDigit(unit); });
}

// The word of the node's PRED, without the quotes of a lexicon word; empty
// without a PRED value.
WString PredWord(const CFSNode* node) {
  const CFSNode* pred = node != nullptr ? node->FindAttribute(PredId) : nullptr;
  const CFSNode* value = pred != nullptr ? pred->FindAttribute(ValueId) : nullptr;
  if (value == nullptr || value->Value.empty()) return WString();
  WString word = GetSymbolName(value->Value.front());
  if (word.size() >= 2 && word.front() == u'\'' && word.back() == u'\'') word = word.substr(1, word.size() - 2);
  return word;
}

}  // namespace

void AddWordOnce(std::vector<WString>& words, WString word) {
  if (!word.empty() && std::find(words.begin(), words.end(), word) == words.end()) words.push_back(std::move(word));
}

std::vector<WString> WordsDroppedByEvery(const std::vector<const std::vector<WString>*>& lists) {
  if (lists.empty() || std::find(lists.begin(), lists.end(), nullptr) != lists.end()) return {};
  std::vector<WString> common;
  for (const WString& word : *lists.front()) {
    const bool inEvery = std::all_of(lists.begin() + 1, lists.end(), [&word](const std::vector<WString>* list) {
      return std::find(list->begin(), list->end(), word) != list->end();
    });
    if (inEvery) AddWordOnce(common, word);
  }
  return common;
}

std::vector<WString> LeftOutWords(const std::vector<const CFSNode*>& leftOut,
                                  const std::function<const WString*(uint32_t nodeId)>& englishOf) {
  std::vector<WString> words;
  for (const CFSNode* node : leftOut) {
    // A left-out node without a PRED is a negation that no word says.
    if (node != nullptr && node->FindAttribute(PredId) == nullptr) {
      AddWordOnce(words, kNegationWord);
      continue;
    }
    // A PRED that an entry made beside its word's own (the noun of a light
    // verb) belongs to the word mapped at the nearest node above.
    const WString* english = nullptr;
    for (const CFSNode* at = node; at != nullptr && english == nullptr && englishOf; at = at->Parent) {
      english = englishOf(at->NodeId);
    }
    AddWordOnce(words, english != nullptr ? *english : PredWord(node));
  }
  return words;
}

std::vector<WString> RemoveLatinWords(WString& text) {
  std::vector<WString> removed;
  WString kept;
  size_t at = 0;
  while (at < text.size()) {
    const size_t end = std::min(text.find(u' ', at), text.size());
    const WString word = text.substr(at, end - at);
    if (std::any_of(word.begin(), word.end(), IsLatinLetter) && !IsCode(word)) {
      removed.push_back(word);
    } else if (!word.empty()) {
      if (!kept.empty()) kept += u' ';
      kept += word;
    }
    at = end + 1;
  }
  if (!removed.empty()) text = kept;
  return removed;
}

WString NotTranslatedMessage(const std::vector<WString>& words) {
  WString message = u"Not translated: ";
  for (size_t i = 0; i < words.size(); ++i) {
    if (i > 0) message += u", ";
    message += words[i];
  }
  return message;
}

void ReportSegmentLoss(const CSegmentOutcome& outcome) {
  if (!outcome.generated) {
    ShowMessage(NotTranslatedMessage({outcome.english}), u"Quillet Module", MessageStyle::IconInformation);
  } else if (!outcome.leftOut.empty()) {
    ShowMessage(NotTranslatedMessage(outcome.leftOut), u"Quillet Module", MessageStyle::IconInformation);
  }
}
