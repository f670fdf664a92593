// Reading inflection rule files: text in, rules out.
#include <gtest/gtest.h>

#include "morphology_test_support.h"
#include "transfer/morphology/urdu_word_generator.h"

namespace {

using morphology_test::ConfigureRuleFiles;
using morphology_test::PropertyText;

// One rule as text: affix in brackets, conditions, properties, pairs.
std::string Describe(const CInflectionRule& rule) {
  std::string text = "[" + ToUtf8(rule.affix) + "]";
  for (const auto& condition : rule.suffixConditions) {
    text += (condition->mustMatch ? " +" : " ~") + ToUtf8(condition->text);
  }
  text += " |";
  for (const auto& property : rule.properties) text += " " + PropertyText(property.get());
  text += " |";
  for (const auto& pair : rule.replacementPairs) text += " (" + ToUtf8(pair->from) + "," + ToUtf8(pair->to) + ")";
  return text;
}

class InflectionRuleFile : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string empty = dir_.File("empty.txt");
    WriteUtf16File(empty, u"");
    ConfigureRuleFiles(empty, empty, empty);
    generator_ = std::make_unique<CUrduWordGenerator>(nullptr);
  }
  void TearDown() override { ClearConfiguration(); }

  // The rules of the text, each described; stderr is kept in errors.
  std::vector<std::string> Read(const std::u16string& text) {
    const std::string path = dir_.File("rules.txt");
    WriteUtf16File(path, text);
    InflectionRuleList rules;
    ::testing::internal::CaptureStderr();
    generator_->ReadRuleFile(path, rules);
    errors = ::testing::internal::GetCapturedStderr();
    std::vector<std::string> described;
    for (const auto& rule : rules) described.push_back(Describe(*rule));
    return described;
  }

  std::string errors;

 private:
  TempDir dir_;
  std::unique_ptr<CUrduWordGenerator> generator_;
};

TEST_F(InflectionRuleFile, ReadsTheFourFieldsOfEachRule) {
  struct Case {
    std::u16string text;
    std::vector<std::string> rules;
  };
  const Case cases[] = {
      // The four fields, with "@" for the empty affix.
      {u"@; ا; GEND = m, NUM = sg; (ا,ے).", {"[] +ا | GEND=m NUM=sg | (ا,ے)"}},
      // Negative conditions, several of them; "@" items are dropped.
      {u"@; ~ا, ~ہ, @; GEND=m; (@,وں).", {"[] ~ا ~ہ | GEND=m | (,وں)"}},
      {u"@; @; ; .", {"[] | |"}},
      // Blanks and quotes leave affixes and conditions; a quoted blank stays.
      {u"' گا'; 'نا'; TENSE=fut; (نا,ے).", {"[ گا] +نا | TENSE=fut | (نا,ے)"}},
      {u"گ ا; ن ا; ; .", {"[گا] +نا | |"}},
      {u"@comment, with a comma. and a stop; @; ; .", {"[] | |"}},
      // Value sets keep their commas; paths are cut at ".".
      {u"@; @; CASE = {erg,dat, obl}, SUBJ.GEND = f; .", {"[] | CASE=erg,dat,obl SUBJ.GEND=f |"}},
      // Pairs: text outside parentheses is a comment; the first "," splits.
      {u"@; @; ; plural: (ا,ے) and (ہ, ے ) here.", {"[] | | (ا,ے) (ہ,ے)"}},
      // Rules follow each other; line ends between them are trimmed.
      {u"@;ا;NUM=sg;.\r\n@;ی;NUM=pl;(@,اں).\r\n", {"[] +ا | NUM=sg |", "[] +ی | NUM=pl | (,اں)"}},
      // A rule cut short by the end of the file is not made.
      {u"@;ا;NUM=sg;.\r\n@;ی;NUM=pl", {"[] +ا | NUM=sg |"}},
      {u"", {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Read(c.text), c.rules) << ToUtf8(c.text);
  }
}

TEST_F(InflectionRuleFile, ReportsBracketingAndSkipsMalformedParts) {
  struct Case {
    std::u16string text;
    std::string rule;
    std::vector<std::string> messages;  // each must occur in stderr
  };
  const Case cases[] = {
      {u"@; @; GEND=m}, NUM=sg; .", "[] | GEND=m} NUM=sg |", {"error with rule(properties) bracketing!"}},
      {u"@; @; ; ) (ا,ے).", "[] | | (ا,ے)", {"error in replacement pair's bracketing!"}},
      {u"@; @; =sg, NUM=pl; .", "[] | NUM=pl |", {"rule 1: a property without an attribute skipped"}},
      {u"@; @; ; (اے) (ا,ے).", "[] | | (ا,ے)", {"rule 1: a replacement pair without \",\" skipped"}},
      {u"@; @; ; (ا,ے) (ہ.", "[] | | (ا,ے)", {"a replacement pair without \")\" skipped"}},
      {u"; ; ; .", "[] | |", {"a blank affix field", "a blank condition field"}},
      {u"@; ا,,ی; ; .", "[] +ا +ی | |", {"an empty suffix condition skipped"}},
      {u"@; ~; ; .", "[] | |", {"a \"~\" without an ending skipped"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Read(c.text), std::vector<std::string>{c.rule}) << ToUtf8(c.text);
    for (const std::string& message : c.messages) {
      EXPECT_NE(errors.find(message), std::string::npos) << ToUtf8(c.text) << " gave: " << errors;
    }
  }
}

TEST_F(InflectionRuleFile, ShippedRuleFilesLoadWithoutAMessage) {
  const std::pair<const char*, size_t> files[] = {
      {"data/urdu/NounRules.txt", 17}, {"data/urdu/VerbRules.txt", 34}, {"data/urdu/AdjRules.txt", 9}};
  for (const auto& [file, count] : files) {
    const std::string path = morphology_test::ShippedFile(file);
    InflectionRuleList rules;
    MessageRecorder recorder;
    ::testing::internal::CaptureStderr();
    CUrduWordGenerator(nullptr).ReadRuleFile(path, rules);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "") << file;
    EXPECT_TRUE(recorder.messages().empty()) << file;
    EXPECT_EQ(rules.size(), count) << file;
  }
}

}  // namespace
