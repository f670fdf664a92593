// The shipped segmentation rules on hand-tagged sentences (most of them from
// the development set), with the tag ids of the English part-of-speech list.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <set>

#include "analysis/segmentation/segment_test_sentence.h"
#include "analysis/segmentation/sentence_segmenter.h"
#include "support/test_support.h"

namespace {

using segment_test::LookupIn;
using segment_test::TaggedSentence;
using segment_test::TagName;
using segment_test::TagTable;
using segment_test::Words;

// The rules loaded once with the tag ids of the shipped list (the i-th name
// gets id i, a repeated name its later id); tag names the list lacks.
struct LoadedRules {
  TagTable tags;
  std::unique_ptr<CSentenceSegmenter> segmenter;
  std::set<std::string> unknownTags;
  size_t messages = 0;
};

LoadedRules& Loaded() {
  static LoadedRules rules;
  if (rules.segmenter) return rules;
  const char* root = std::getenv("LFG_SOURCE_DIR");
  std::ifstream in(std::string(root ? root : ".") + "/datasrc/data/english/POSs.txt");
  uint16_t id = 0;
  for (std::string name; in >> name;) rules.tags[name] = ++id;
  MessageRecorder recorder;
  rules.segmenter = std::make_unique<CSentenceSegmenter>(
      std::string(root ? root : ".") + "/dataroot/data/segmentation/SegmentRules.txt", [](const std::string& name) {
        const uint16_t found = LookupIn(rules.tags)(name);
        if (found == 0) rules.unknownTags.insert(name);
        return found;
      });
  rules.messages = recorder.messages().size();
  return rules;
}

class ShippedSegmentRules : public ::testing::Test {
 protected:
  LoadedRules& rules() { return Loaded(); }
  // The pattern line of a rule.
  std::string Pattern(const CSegmentRule& rule) {
    std::string text;
    for (const CSegmentPatternElement& e : rule.pattern.elements) {
      text += (text.empty() ? "" : "*") + (e.wordGiven ? ToUtf8(e.word) + ":" + TagName(rules().tags, e.wordTagId)
                                                       : TagName(rules().tags, e.anyWordTagId) + ":#");
    }
    return text;
  }

  // "words | joining text | pattern of the rule that ends it ("-" for none)".
  std::vector<std::string> Cut(const std::string& taggedText) {
    TaggedSentence sentence(taggedText, rules().tags);
    EXPECT_EQ(segment_test::Tags(sentence.readings, rules().tags).find('?'), std::string::npos) << taggedText;
    std::vector<std::string> described;
    for (const CSentenceSegment* segment : rules().segmenter->Segment(sentence.readings, sentence.tokens)) {
      const int rule = segment->ruleIndex;
      described.push_back(Words(segment->tokens) + " | " + ToUtf8(segment->joiningText) + " | " +
                          (rule < 0 ? "-" : Pattern(*rules().segmenter->rules.at(static_cast<size_t>(rule)))));
    }
    rules().segmenter->ClearSegments();
    return described;
  }
};

using Segments = std::vector<std::string>;
using Row = std::pair<const char*, Segments>;
const std::string kUrduComma = "\u060C";
const std::string kAnd = "\u0627\u0648\u0631";

// The preposition rule cuts only after a comma: it names every other tag of
// the list as an exception, and must follow the list when it grows.
TEST_F(ShippedSegmentRules, LoadCleanlyAndThePrepositionRuleExceptsEveryTagButPunctuation) {
  EXPECT_EQ(rules().messages, 0u);
  EXPECT_TRUE(rules().unknownTags.empty()) << *rules().unknownTags.begin();
  const CSentenceSegmenter& segmenter = *rules().segmenter;
  EXPECT_EQ(segmenter.rules.size(), 13u);
  EXPECT_EQ(Pattern(*segmenter.rules.at(segmenter.andRuleIndex)), "and:coord_conj");
  ASSERT_EQ(Pattern(*segmenter.rules.at(segmenter.pRuleIndex)), "p:#");
  std::set<std::string> excepted, others;  // the tags of the "tag:#-1" exceptions
  for (const auto& alternative : segmenter.rules[segmenter.pRuleIndex]->conditions.alternatives) {
    for (const CSegmentCondition& c : alternative.conditions) {
      if (!c.wordGiven && !c.forward && c.offset == 1 && c.anyWordTagId != 0) {
        excepted.insert(TagName(rules().tags, c.anyWordTagId));
      }
    }
  }
  for (const auto& [name, id] : rules().tags) others.insert(name);
  others.erase("punct");
  EXPECT_EQ(excepted, others);
}

// One example per rule, as its comment in the file gives it; the rules for
// "and", "but", "that" and ',' cut the long sentences below.
TEST_F(ShippedSegmentRules, EveryRuleCutsItsExampleAndLongSentencesAtClauseBoundaries) {
  const Row rows[] = {
      {"I/pron was/aux tired/adj ;/punct I/pron went/v to/p bed/n",
       {"I was tired | \u061B | ;:punct", "I went to bed |  | -"}},
      {"I/pron got/v up/adv,p early/adv,adj so/sub_conj that/sub_conj,pron,det I/pron might/aux be/aux in/p "
       "time/n for/p the/det first/ord train/n",
       {"I got up early | \u062A\u0627\u06A9\u06C1 | so:sub_conj*that:sub_conj",
        "I might be in time for the first train |  | -"}},
      {"Hurry/v up/adv or/coord_conj you/pron will/aux miss/v the/det train/n",
       {"Hurry up | \u06CC\u0627 | or:coord_conj", "you will miss the train |  | -"}},
      {"He/pron was/aux tired/adj so/sub_conj he/pron went/v to/p bed/n",
       {"He was tired | \u0627\u0633 \u0644\u06CC\u06D2 | so:sub_conj", "he went to bed |  | -"}},
      {"I/pron stayed/v at/p home/n because/sub_conj it/pron was/aux raining/v",
       {"I stayed at home | \u06A9\u06CC\u0648\u0646\u06A9\u06C1 | because:sub_conj", "it was raining |  | -"}},
      {"I/pron met/v him/pron when/sub_conj,wh I/pron was/aux staying/v in/p London/pn",
       {"I met him | \u062C\u0628 | when:sub_conj", "I was staying in London |  | -"}},
      {"You/pron 'll/aux save/v yourself/pron a/det lot/n of/p time/n if/sub_conj you/pron take/v the/det car/n",
       {"You 'll save yourself a lot of time | \u0627\u06AF\u0631 | if:sub_conj", "you take the car |  | -"}},
      {"She/pron sang/v while/sub_conj he/pron played/v the/det piano/n",
       {"She sang | \u062C\u0628\u06A9\u06C1 | while:sub_conj", "he played the piano |  | -"}},
      {"We/pron met/v again/adv ,/punct after/p many/det years/n",
       {"We met again |  | p:#", "after many years |  | -"}},
      // Long sentences of the development set, cut where a reader would pause.
      {"When/sub_conj,wh you/pron meet/v someone/pron for/p the/det first/ord time/n ,/punct be/aux careful/adj "
       "about/p how/wh close/adj you/pron stand/v to/p that/pron,det,sub_conj person/n",
       {"When you meet someone for the first time | " + kUrduComma + " | ,:punct",
        "be careful about how close you stand to that person |  | -"}},
      {"She/pron cut/v the/det cake/n into/p six/card pieces/n,v and/coord_conj gave/v one/card to/p each/det of/p "
       "the/det children/n",
       {"She cut the cake into six pieces | " + kAnd + " | and:coord_conj", "gave one to each of the children |  | -"}},
      {"She/pron fainted/v ,/punct and/coord_conj I/pron had/aux,v to/p hold/v her/pron,det to/p keep/v her/pron,det "
       "from/p falling/v",
       {"She fainted | " + kAnd + " | and:coord_conj", "I had to hold her to keep her from falling |  | -"}},
      {"When/sub_conj,wh I/pron got/v home/n ,/punct I/pron noticed/v that/pron,det,sub_conj I/pron had/aux "
       "lost/v my/det wallet/n",
       {"When I got home | " + kUrduComma + " | ,:punct", "I noticed | \u06A9\u06C1 | that:sub_conj",
        "I had lost my wallet |  | -"}},
      {"If/sub_conj that/pron,det,sub_conj guitar/n weren't/aux so/sub_conj expensive/adj ,/punct I/pron "
       "could/aux buy/v it/pron",
       {"If that guitar weren't so expensive | " + kUrduComma + " | ,:punct", "I could buy it |  | -"}},
      {"It/pron doesn't/aux matter/v who/wh says/v that/pron,det,sub_conj ,/punct it/pron 's/aux not/neg true/adj",
       {"It doesn't matter who says that | " + kUrduComma + " | ,:punct", "it 's not true |  | -"}},
      {"My/det father/n used/v to/p smoke/v,n ,/punct but/coord_conj now/adv he/pron doesn't/aux",
       {"My father used to smoke | \u0644\u06CC\u06A9\u0646 | but:coord_conj", "now he doesn't |  | -"}},
      {"Compared/v with/p last/ord year/n ,/punct this/det,pron year/n 's/apostr crops/n are/aux much/det "
       "better/adj",
       {"Compared with last year | " + kUrduComma + " | ,:punct", "this year 's crops are much better |  | -"}},
      {"I/pron just/adv told/v Tom/pn that/pron,det,sub_conj I/pron wanted/v to/p help/v him/pron clean/v the/det "
       "garage/n",
       {"I just told Tom | \u06A9\u06C1 | that:sub_conj", "I wanted to help him clean the garage |  | -"}},
      {"I/pron knew/v at/p a/det glance/n that/pron,det,sub_conj he/pron was/aux an/det honest/adj man/n",
       {"I knew at a glance | \u06A9\u06C1 | that:sub_conj", "he was an honest man |  | -"}},
  };
  for (const auto& [sentence, segments] : rows) EXPECT_EQ(Cut(sentence), segments) << sentence;
}

// Coordinated words and phrases, lists, asides between commas and plain short
// sentences stay in one piece.
TEST_F(ShippedSegmentRules, ExceptionsAndShortSentencesStayWhole) {
  const char* sentences[] = {
      "I/pron like/v bread/n and/coord_conj butter/n for/p breakfast/n",
      "The/det committee/n is/aux composed/v of/p three/card men/n and/coord_conj seven/card women/n",
      "I/pron can/aux read/v and/coord_conj write/v",
      "Yesterday/adv Tom/pn and/coord_conj Mary/pn went/v home/n",
      "He/pron is/aux small/adj but/coord_conj strong/adj",
      "They/pron did/aux not/neg support/v one/card group/n or/coord_conj the/det other/adj",
      "His/det novels/n are/aux ,/punct for/p the/det most/adj part/n ,/punct very/adv boring/adj",
      "The/det flag/n is/aux red/adj ,/punct white/adj and/coord_conj blue/adj",
      "It/pron was/aux a/det full/adj moon/n that/pron,det,sub_conj was/aux seen/v that/pron,det,sub_conj day/n",
      "Is/aux that/pron,det,sub_conj your/det car/n",
      "This/pron,det is/aux so/sub_conj much/det better/adj",
  };
  for (const char* sentence : sentences) {
    const Segments cut = Cut(sentence);
    EXPECT_TRUE(cut.size() == 1 && cut[0].ends_with(" |  | -")) << sentence << "\n first piece: " << cut.at(0);
  }
}

}  // namespace
