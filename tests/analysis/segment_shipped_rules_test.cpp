// The shipped segmentation rules on hand-tagged sentences (most of them from
// the development set), with the tag ids of the English part-of-speech list.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "analysis/sentence_segmenter.h"
#include "segment_test_sentence.h"
#include "support/test_support.h"

namespace {

using segment_test::LookupIn;
using segment_test::TaggedSentence;
using segment_test::TagName;
using segment_test::TagTable;
using segment_test::Words;

// The pattern lines of the shipped file, in file order.
const std::vector<std::string> kPatterns = {
    ";:punct",       "so:sub_conj*that:sub_conj", "and:coord_conj", "but:coord_conj", "or:coord_conj",
    "so:sub_conj",   "because:sub_conj",          "when:sub_conj",  "if:sub_conj",    "while:sub_conj",
    "that:sub_conj", ",:punct",                   "p:#",
};

std::string SourceDir() {
  const char* dir = std::getenv("LFG_SOURCE_DIR");
  return dir ? dir : ".";
}

// Ids as the tag list gives them: the i-th name of the file gets id i, a
// repeated name its later id.
TagTable ReadPosList(const std::string& path) {
  std::ifstream in(path);
  TagTable tags;
  std::string name;
  uint16_t id = 0;
  while (in >> name) tags[name] = ++id;
  return tags;
}

std::string PatternText(const CSegmentRule& rule, const TagTable& tags) {
  std::string text;
  for (const CSegmentPatternElement& element : rule.pattern.elements) {
    if (!text.empty()) text += '*';
    text += element.wordGiven ? ToUtf8(element.word) + ":" + TagName(tags, element.wordTagId)
                              : TagName(tags, element.anyWordTagId) + ":#";
  }
  return text;
}

// The rules loaded with the shipped tag list.
struct LoadedRules {
  TagTable tags;
  std::unique_ptr<CSentenceSegmenter> segmenter;
  std::set<std::string> unknownTags;
  size_t messages = 0;
};

LoadedRules& Loaded() {
  static LoadedRules rules;
  if (rules.segmenter) return rules;
  rules.tags = ReadPosList(SourceDir() + "/datasrc/data/english/POSs.txt");
  MessageRecorder recorder;
  TagIdLookup known = LookupIn(rules.tags);
  std::set<std::string>* unknown = &rules.unknownTags;
  rules.segmenter = std::make_unique<CSentenceSegmenter>(
      SourceDir() + "/dataroot/data/segmentation/SegmentRules.txt", [known, unknown](const std::string& name) {
        uint16_t id = known(name);
        if (id == 0) unknown->insert(name);
        return id;
      });
  rules.messages = recorder.messages().size();
  return rules;
}

class ShippedSegmentRules : public ::testing::Test {
 protected:
  LoadedRules& rules() { return Loaded(); }

  // "words | joining text | pattern of the rule that ends it ("-" for none)".
  std::vector<std::string> Cut(const std::string& rowText) {
    const std::string& taggedText = rowText;
    TaggedSentence sentence(taggedText, rules().tags);
    for (const auto& list : sentence.readings) {
      for (const CELexicalEntry* reading : list) {
        EXPECT_NE(TagName(rules().tags, reading->posId), "?") << "unknown tag in: " << taggedText;
      }
    }
    std::vector<std::string> described;
    for (const CSentenceSegment* segment : rules().segmenter->Segment(sentence.readings, sentence.tokens)) {
      std::string rule = segment->ruleIndex < 0 ? "-" : kPatterns.at(static_cast<size_t>(segment->ruleIndex));
      described.push_back(Words(segment->tokens) + " | " + ToUtf8(segment->joiningText) + " | " + rule);
    }
    rules().segmenter->ClearSegments();
    return described;
  }
};

using Segments = std::vector<std::string>;

struct Row {
  const char* sentence;
  Segments segments;
};

// Joining texts.
const std::string kUrduComma = "\u060C";
const std::string kAnd = "\u0627\u0648\u0631";

TEST_F(ShippedSegmentRules, LoadCleanlyWithTheTagsOfTheList) {
  EXPECT_EQ(rules().messages, 0u);
  EXPECT_TRUE(rules().unknownTags.empty()) << *rules().unknownTags.begin();
  std::vector<std::string> patterns;
  for (const auto& rule : rules().segmenter->rules) patterns.push_back(PatternText(*rule, rules().tags));
  EXPECT_EQ(patterns, kPatterns);
  EXPECT_EQ(kPatterns.at(rules().segmenter->pRuleIndex), "p:#");
  EXPECT_EQ(kPatterns.at(rules().segmenter->andRuleIndex), "and:coord_conj");
}

// The preposition rule cuts only after a comma: it names every other tag of
// the list as an exception, and must follow the list when it grows.
TEST_F(ShippedSegmentRules, PrepositionRuleExceptsEveryTagButPunctuation) {
  const CSentenceSegmenter& segmenter = *rules().segmenter;
  ASSERT_LT(segmenter.pRuleIndex, segmenter.rules.size());
  std::set<std::string> excepted;
  for (const auto& alternative : segmenter.rules[segmenter.pRuleIndex]->conditions.alternatives) {
    for (const CSegmentCondition& condition : alternative.conditions) {
      if (!condition.wordGiven && !condition.forward && condition.offset == 1 && condition.anyWordTagId != 0) {
        excepted.insert(TagName(rules().tags, condition.anyWordTagId));
      }
    }
  }
  std::set<std::string> others;
  for (const auto& [name, id] : rules().tags) {
    if (name != "punct") others.insert(name);
  }
  EXPECT_EQ(excepted, others);
}

// One example per rule, as its comment in the file gives it.
TEST_F(ShippedSegmentRules, EveryRuleCutsItsExample) {
  const Row rows[] = {
      {"I/pron was/aux tired/adj ;/punct I/pron went/v to/p bed/n",
       {"I was tired | \u061B | ;:punct", "I went to bed |  | -"}},
      {"I/pron got/v up/adv,p early/adv,adj so/sub_conj that/sub_conj,pron,det I/pron might/aux be/aux in/p time/n for/p "
       "the/det first/ord train/n",
       {"I got up early | \u062A\u0627\u06A9\u06C1 | so:sub_conj*that:sub_conj",
        "I might be in time for the first train |  | -"}},
      {"One/card of/p her/det,pron cars/n is/aux blue/adj and/coord_conj the/det others/n are/aux red/adj",
       {"One of her cars is blue | " + kAnd + " | and:coord_conj", "the others are red |  | -"}},
      {"He/pron was/aux tired/adj ,/punct but/coord_conj he/pron kept/v on/p working/v",
       {"He was tired | \u0644\u06CC\u06A9\u0646 | but:coord_conj", "he kept on working |  | -"}},
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
      {"His/det mother/n said/v that/pron,det,sub_conj he/pron had/aux been/aux sick/adj in/p bed/n for/p five/card "
       "weeks/n",
       {"His mother said | \u06A9\u06C1 | that:sub_conj", "he had been sick in bed for five weeks |  | -"}},
      {"When/sub_conj,wh the/det rain/n stopped/v ,/punct he/pron went/v out/adv for/p a/det walk/n",
       {"When the rain stopped | " + kUrduComma + " | ,:punct", "he went out for a walk |  | -"}},
      {"We/pron met/v again/adv ,/punct after/p many/det years/n",
       {"We met again |  | p:#", "after many years |  | -"}},
  };
  for (const Row& row : rows) EXPECT_EQ(Cut(row.sentence), row.segments) << row.sentence;
}

// Long sentences of the development set, cut where a reader would pause.
TEST_F(ShippedSegmentRules, LongDevSentencesAreCutAtClauseBoundaries) {
  const Row rows[] = {
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
      {"I/pron was/aux caught/v in/p a/det shower/n and/coord_conj was/aux,v drenched/v to/p the/det skin/n",
       {"I was caught in a shower | " + kAnd + " | and:coord_conj", "was drenched to the skin |  | -"}},
      {"When/sub_conj,wh I/pron got/v home/n ,/punct I/pron noticed/v that/pron,det,sub_conj I/pron had/aux lost/v my/det "
       "wallet/n",
       {"When I got home | " + kUrduComma + " | ,:punct", "I noticed | \u06A9\u06C1 | that:sub_conj",
        "I had lost my wallet |  | -"}},
      {"If/sub_conj that/pron,det,sub_conj guitar/n weren't/aux so/sub_conj expensive/adj ,/punct I/pron could/aux buy/v it/pron",
       {"If that guitar weren't so expensive | " + kUrduComma + " | ,:punct", "I could buy it |  | -"}},
      {"It/pron doesn't/aux matter/v who/wh says/v that/pron,det,sub_conj ,/punct it/pron 's/aux not/neg true/adj",
       {"It doesn't matter who says that | " + kUrduComma + " | ,:punct", "it 's not true |  | -"}},
      {"My/det father/n used/v to/p smoke/v,n ,/punct but/coord_conj now/adv he/pron doesn't/aux",
       {"My father used to smoke | \u0644\u06CC\u06A9\u0646 | but:coord_conj", "now he doesn't |  | -"}},
      {"Compared/v with/p last/ord year/n ,/punct this/det,pron year/n 's/apostr crops/n are/aux much/det "
       "better/adj",
       {"Compared with last year | " + kUrduComma + " | ,:punct", "this year 's crops are much better |  | -"}},
      {"Once/n you/pron 've/aux formed/v a/det bad/adj habit/n ,/punct you/pron can't/aux get/v rid/adj of/p "
       "it/pron easily/adv",
       {"Once you 've formed a bad habit | " + kUrduComma + " | ,:punct", "you can't get rid of it easily |  | -"}},
      {"Being/aux injured/v in/p an/det accident/n ,/punct he/pron could/aux not/neg walk/v",
       {"Being injured in an accident | " + kUrduComma + " | ,:punct", "he could not walk |  | -"}},
      {"I/pron just/adv told/v Tom/pn that/pron,det,sub_conj I/pron wanted/v to/p help/v him/pron clean/v the/det "
       "garage/n",
       {"I just told Tom | \u06A9\u06C1 | that:sub_conj", "I wanted to help him clean the garage |  | -"}},
      {"I/pron knew/v at/p a/det glance/n that/pron,det,sub_conj he/pron was/aux an/det honest/adj man/n",
       {"I knew at a glance | \u06A9\u06C1 | that:sub_conj", "he was an honest man |  | -"}},
      {"Is/aux it/pron the/det vacuum/n cleaner/n 's/apostr fault/n that/pron,det,sub_conj the/det room/n is/aux "
       "dusty/adj",
       {"Is it the vacuum cleaner 's fault | \u06A9\u06C1 | that:sub_conj", "the room is dusty |  | -"}},
      {"Don't/aux you/pron know/v that/pron,det,sub_conj he/pron passed/v away/adv two/card years/n ago/adv",
       {"Don't you know | \u06A9\u06C1 | that:sub_conj", "he passed away two years ago |  | -"}},
  };
  for (const Row& row : rows) EXPECT_EQ(Cut(row.sentence), row.segments) << row.sentence;
}

// Coordinated words and phrases, lists, parentheses and plain short
// sentences stay in one piece.
TEST_F(ShippedSegmentRules, ExceptionsAndShortSentencesStayWhole) {
  const char* sentences[] = {
      "I/pron like/v bread/n and/coord_conj butter/n for/p breakfast/n",
      "The/det film/n was/aux in/p black/adj and/coord_conj white/adj",
      "The/det committee/n is/aux composed/v of/p three/card men/n and/coord_conj seven/card women/n",
      "I/pron can/aux read/v and/coord_conj write/v",
      "Yesterday/adv Tom/pn and/coord_conj Mary/pn went/v home/n",
      "He/pron is/aux small/adj but/coord_conj strong/adj",
      "You/pron should/aux stay/v in/p bed/n for/p three/card or/coord_conj four/card days/n",
      "Science/n can/aux be/aux used/v for/p good/adj or/coord_conj evil/adj purposes/n",
      "They/pron did/aux not/neg support/v one/card group/n or/coord_conj the/det other/adj",
      "Children/n who/wh are/aux sixteen/card years/n old/adj or/coord_conj younger/adj may/aux not/neg enter/v "
      "the/det theater/n",
      "His/det novels/n are/aux ,/punct for/p the/det most/adj part/n ,/punct very/adv boring/adj",
      "The/det flag/n is/aux red/adj ,/punct white/adj and/coord_conj blue/adj",
      "I/pron bought/v apples/n ,/punct oranges/n and/coord_conj pears/n",
      "He/pron does/aux not/neg take/v care/n of/p his/det children/n",
      "I/pron left/v my/det tennis/n racket/n on/p the/det train/n",
      "She/pron is/aux staying/v at/p a/det little/adj hotel/n by/p the/det castle/n",
      "I/pron can't/aux remember/v the/det melody/n of/p that/pron,det,sub_conj song/n",
      "It/pron was/aux a/det full/adj moon/n that/pron,det,sub_conj was/aux seen/v that/pron,det,sub_conj day/n",
      "Is/aux that/pron,det,sub_conj your/det car/n",
      "He/pron earns/v three/card times/n more/adj than/sub_conj I/pron do/aux",
      "This/pron,det is/aux so/sub_conj much/det better/adj",
      "I/pron would/aux play/v tennis/n with/p him/pron on/p Sunday/pn",
      "He/pron hangs/v around/adv with/p the/det wrong/adj group/n of/p kids/n",
  };
  for (const char* sentence : sentences) {
    Segments cut = Cut(sentence);
    EXPECT_EQ(cut.size(), 1u) << sentence << "\n first piece: " << (cut.empty() ? "" : cut.front());
    if (cut.size() == 1) {
      EXPECT_TRUE(cut[0].ends_with(" |  | -")) << cut[0];
    }
  }
}

// The cut narrows the readings of the words around it.
TEST_F(ShippedSegmentRules, CutsPruneTheReadingsAroundThem) {
  TaggedSentence sentence(
      "She/pron cut/v the/det cake/n into/p six/card pieces/n,v and/coord_conj was/aux,v late/adj",
      rules().tags);
  auto segments = rules().segmenter->Segment(sentence.readings, sentence.tokens);
  ASSERT_EQ(segments.size(), 2u);
  // "pieces" is no verb before the cut, "was" the auxiliary after it
  EXPECT_EQ(segment_test::Tags(segments[0]->readingLists, rules().tags), "pron v det n p card n");
  EXPECT_EQ(segment_test::Tags(segments[1]->readingLists, rules().tags), "aux adj");
  rules().segmenter->ClearSegments();
}

}  // namespace
