// Hand-tagged sentences for the segmentation suites: "word/tag" items
// separated by blanks, "word/tag1,tag2" for several readings. The first tag
// is the best reading (weight 1.0, later ones 0.5 less each). Sentences own
// their tokens and readings; the segmenter only points at them.
#pragma once

#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/segmentation/segment_readings.h"
#include "analysis/segmentation/sentence_segment.h"
#include "core/string_helpers.h"
#include "core/text_reading.h"
#include "core/token.h"
#include "resources/english/e_lexicon_entry.h"

namespace segment_test {

using TagTable = std::map<std::string, uint16_t>;

inline TagIdLookup LookupIn(const TagTable& tags) {
  return [tags](const std::string& name) -> uint16_t {
    auto found = tags.find(name);
    return found == tags.end() ? 0 : found->second;
  };
}

inline std::string TagName(const TagTable& tags, uint16_t id) {
  for (const auto& [name, tagId] : tags) {
    if (tagId == id) return name;
  }
  return "?";
}

class TaggedSentence {
 public:
  TaggedSentence(const std::string& text, const TagTable& tags) {
    std::istringstream items(text);
    for (std::string item; items >> item;) {
      const size_t slash = item.rfind('/');
      std::vector<std::pair<uint16_t, float>> readingTags;  // an unknown tag reads as 0xFFFE
      std::istringstream tagList(item.substr(slash + 1));
      for (std::string tag; std::getline(tagList, tag, ',');) {
        readingTags.emplace_back(tags.contains(tag) ? tags.at(tag) : 0xFFFE, 1.0f - 0.5f * readingTags.size());
      }
      AddToken(item.substr(0, slash), readingTags);
    }
  }

  // One token with readings of the given tag ids and weights.
  void AddToken(const std::string& word, const std::vector<std::pair<uint16_t, float>>& readingTags) {
    ownedTokens.push_back(std::make_unique<CToken>());
    ownedTokens.back()->Text = FromUtf8(word);
    tokens.push_back(ownedTokens.back().get());
    readings.emplace_back();
    for (const auto& [tag, weight] : readingTags) {
      ownedEntries.push_back(std::make_unique<CELexicalEntry>(tag, std::vector<uint16_t>{}, uint16_t{0}, weight));
      readings.back().push_back(ownedEntries.back().get());
    }
  }

  SegmentReadingLists readings;
  SegmentTokens tokens;
  std::vector<std::unique_ptr<CToken>> ownedTokens;
  std::vector<std::unique_ptr<CELexicalEntry>> ownedEntries;
};

// The words of a token sequence joined by blanks, as UTF-8.
inline std::string Words(const SegmentTokens& tokens) {
  std::string text;
  for (const CToken* token : tokens) text += (text.empty() ? "" : " ") + ToUtf8(token->Text);
  return text;
}

// The tags of each token's readings: "n,v adj".
inline std::string Tags(const SegmentReadingLists& readings, const TagTable& tags) {
  std::string text;
  for (const SegmentReadingList& list : readings) {
    if (!text.empty()) text += ' ';
    for (size_t i = 0; i < list.size(); ++i) text += (i ? "," : "") + TagName(tags, list[i]->posId);
  }
  return text;
}

// Each segment as "words | joining text | rule index".
inline std::vector<std::string> Describe(const std::vector<CSentenceSegment*>& segments) {
  std::vector<std::string> described;
  for (const CSentenceSegment* s : segments) {
    described.push_back(Words(s->tokens) + " | " + ToUtf8(s->joiningText) + " | " + std::to_string(s->ruleIndex));
  }
  return described;
}

}  // namespace segment_test
