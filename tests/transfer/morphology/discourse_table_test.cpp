// The pronoun feature table: reading its file and completing noun and
// pronoun features.
#include <gtest/gtest.h>

#include "core/trace_log.h"
#include "morphology_test_support.h"
#include "transfer/morphology/discourse_table.h"

namespace {

using morphology_test::Ids;

class DiscourseTable : public ::testing::Test {
 protected:
  void SetUp() override { RegisterReservedSymbols(); }
  void TearDown() override { CFSNode::DeleteAll(); }

  std::unique_ptr<CDiscourseTable> Load(const std::u16string& text) {
    const std::string path = dir_.File("discourse.txt");
    WriteUtf16File(path, text);
    return std::make_unique<CDiscourseTable>(path);
  }
  static CFSNode* Add(CFSNode* parent, const char16_t* attribute, const std::vector<std::u16string>& values = {}) {
    auto* node = new CFSNode(static_cast<int16_t>(GetSymbolId(attribute, true)), nullptr);
    node->Value = Ids(values);
    if (parent != nullptr) parent->AddChild(node);
    return node;
  }
  // The children as "ATTRIBUTE=value,value", in order.
  static std::vector<std::string> Children(const CFSNode* node) {
    std::vector<std::string> texts;
    for (const CFSNode* child : node->ChildList) {
      std::string text = ToUtf8(GetSymbolName(static_cast<SymbolId>(child->Attribute))) + "=";
      for (size_t i = 0; i < child->Value.size(); ++i) {
        text += (i > 0 ? "," : "") + ToUtf8(GetSymbolName(child->Value[i]));
      }
      texts.push_back(text);
    }
    return texts;
  }
  static std::vector<std::string> Names(const std::vector<SymbolId>* ids) {
    std::vector<std::string> names;
    if (ids == nullptr) return {"none"};
    for (SymbolId id : *ids) names.push_back(ToUtf8(GetSymbolName(id)));
    return names;
  }

  TempDir dir_;
};

TEST_F(DiscourseTable, ReadsEntriesOfAttributeAndValues) {
  struct Case {
    std::u16string text;
    const char16_t* attribute;
    std::vector<std::string> values;
  };
  const Case cases[] = {
      {u"PERS=3;", u"PERS", {"3"}},
      {u" \r\nPERS = 3,2 ;\r\n", u"PERS", {"3", "2"}},
      {u"PERS=3, 2;", u"PERS", {"3", " 2"}},  // a blank after a comma stays
      {u"PERS=3,,2;", u"PERS", {"3", "", "2"}},
      {u"PERS=;", u"PERS", {"none"}},       // an empty list
      {u"PERS=3;PERS=2;", u"PERS", {"3"}},  // the first entry stays
      {u"NUM=sg;PERS=1", u"PERS", {"1"}},   // the last entry lacks its ";"
      {u"NUM=sg;PERS", u"PERS", {"none"}},  // a key without "="
  };
  for (const Case& c : cases) {
    auto table = Load(c.text);
    EXPECT_EQ(Names(table->ValuesOf(GetSymbolId(c.attribute, true))), c.values) << ToUtf8(c.text);
  }
  EXPECT_EQ(CDiscourseTable::ParseValueList(u"  \r\n"), nullptr);
  EXPECT_EQ(Names(CDiscourseTable::ParseValueList(u" a,b\r\n").get()), (std::vector<std::string>{"a", "b"}));
}

TEST_F(DiscourseTable, ASecondEntryForAKeyIsLogged) {
  OpenTraceLog(dir_.File("log.txt"));
  const uint64_t before = TraceLogLineCount();
  Load(u"PERS=3;PERS=2;NUM=sg;");
  EXPECT_EQ(TraceLogLineCount(), before + 1);
  CloseTraceLog();
}

TEST_F(DiscourseTable, TheTableRuleWorksUnderNounsOnly) {
  auto table = Load(u"A=3;");
  struct Case {
    std::vector<std::u16string> values;
    bool underNoun;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {{}, true, {"A=3"}}, {{u"3", u"2"}, true, {"A=3"}},    {{u"2"}, true, {"A=2"}},
      {{}, false, {"A="}}, {{u"3", u"2"}, false, {"A=3,2"}},
  };
  for (const Case& c : cases) {
    CFSNode* parent = Add(nullptr, u"OBJ");
    if (c.underNoun) Add(parent, u"NOUN", {u"+"});
    Add(parent, u"A", c.values);
    parent->ChildList.back()->SetParent(parent);
    table->CompleteFeatures(parent);
    std::vector<std::string> children = Children(parent);
    const std::string a = children[c.underNoun ? 1 : 0];
    EXPECT_EQ(std::vector<std::string>{a}, c.expected);
  }
  // A root node of the attribute has no parent and stays.
  CFSNode* root = Add(nullptr, u"A");
  table->CompleteFeatures(root);
  EXPECT_TRUE(root->Value.empty());
}

TEST_F(DiscourseTable, NounsGainDefaultsAndPronounsTheirForm) {
  auto table = Load(u"");
  CFSNode* noun = Add(nullptr, u"SUBJ");
  Add(noun, u"NOUN", {u"+"});
  table->CompleteFeatures(noun);
  EXPECT_EQ(Children(noun), (std::vector<std::string>{"NOUN=+", "RESPECT=NORESPECT", "GEND=m", "NUM=sg"}));

  CFSNode* feminine = Add(nullptr, u"OBJ");
  Add(feminine, u"GEND", {u"f"});
  Add(feminine, u"NOUN", {u"+"});
  table->CompleteFeatures(feminine);
  EXPECT_EQ(Children(feminine), (std::vector<std::string>{"GEND=f", "NOUN=+", "RESPECT=NORESPECT", "NUM=sg"}));

  CFSNode* pronoun = Add(nullptr, u"SUBJ");
  Add(Add(pronoun, u"PRED"), u"VALUE", {u"'pro'"});
  table->CompleteFeatures(pronoun);
  EXPECT_EQ(Children(pronoun), (std::vector<std::string>{"PRED=", "PRONFORM=WOH"}));

  CFSNode* named = Add(nullptr, u"SUBJ");
  Add(Add(named, u"PRED"), u"VALUE", {u"x", u"'pro'"});
  Add(Add(named, u"COMP"), u"PRONFORM", {u"WOH"});
  table->CompleteFeatures(named);
  EXPECT_EQ(Children(named), (std::vector<std::string>{"PRED=", "COMP="}));

  CFSNode* given = Add(nullptr, u"SUBJ");
  Add(Add(given, u"PRED"), u"VALUE", {u"'pro'"});
  Add(given, u"PRONFORM", {u"YEH"});
  table->CompleteFeatures(given);
  EXPECT_EQ(Children(given), (std::vector<std::string>{"PRED=", "PRONFORM=YEH"}));
}

TEST_F(DiscourseTable, CompletesTheWholeStructure) {
  auto table = Load(u"PERS=3;");
  CFSNode* clause = Add(nullptr, u"ROOT");
  CFSNode* subj = Add(clause, u"SUBJ");
  Add(subj, u"NOUN", {u"+"});
  CFSNode* pers = Add(subj, u"PERS");
  CFSNode* obj = Add(clause, u"OBJ");
  Add(Add(obj, u"PRED"), u"VALUE", {u"'pro'"});
  table->CompleteFeatures(clause);
  EXPECT_EQ(Names(&pers->Value), std::vector<std::string>{"3"});
  EXPECT_EQ(Children(subj), (std::vector<std::string>{"NOUN=+", "PERS=3", "RESPECT=NORESPECT", "GEND=m", "NUM=sg"}));
  EXPECT_EQ(Children(obj), (std::vector<std::string>{"PRED=", "PRONFORM=WOH"}));
  EXPECT_EQ(Children(clause), (std::vector<std::string>{"SUBJ=", "OBJ="}));
}

TEST_F(DiscourseTable, ShippedFileGivesNounsTheInventorysValues) {
  MessageRecorder recorder;
  CDiscourseTable table(morphology_test::ShippedFile("data/urdu/Discourse.txt"));
  EXPECT_TRUE(recorder.messages().empty());
  CFSNode* noun = Add(nullptr, u"SUBJ");
  Add(noun, u"NOUN", {u"+"});
  CFSNode* number = Add(noun, u"NUM", {u"sg", u"pl"});
  CFSNode* person = Add(noun, u"PERS");
  number->SetParent(noun);
  person->SetParent(noun);
  table.CompleteFeatures(noun);
  EXPECT_EQ(Children(noun), (std::vector<std::string>{"NOUN=+", "NUM=sg", "PERS=3", "RESPECT=NORESPECT", "GEND=m"}));
}

}  // namespace
