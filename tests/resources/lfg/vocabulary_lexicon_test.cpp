// The Urdu-lexicon entries generated from the vocabulary table
// (tools/build_vocabulary.py) compile with the shipped feature list without a
// message, and hold every form of the words the inflection rules cannot
// make: light verbs, verbs with a case frame of their own, nouns that keep
// their form.
#include <cstdlib>
#include <set>
#include <string>

#include "lexicon_test_fixture.h"

namespace {

class VocabularyLexiconTest : public LexiconTest {
 protected:
  void SetUp() override {
    LexiconTest::SetUp();
    const char* source = std::getenv("LFG_SOURCE_DIR");
    ASSERT_NE(source, nullptr) << "LFG_SOURCE_DIR names the repository";
    const std::string data = std::string(source) + "/dataroot/data/";
    SetConfigValue("ULexiconFileName", data + "urdu/generated/VocabularyULexicon.txt");
    SetConfigValue("UOrderedFeatureListFileName", data + "UOrderedFeatureList.txt");
  }
};

TEST_F(VocabularyLexiconTest, CompilesQuietlyWithEveryFormOfItsWords) {
  MessageRecorder messages;
  CLexicon lexicon("U", true);
  for (const auto& message : messages.messages()) ADD_FAILURE() << Utf8(message.text);
  EXPECT_GT(lexicon.EntryCount(), 5000u);
  std::set<std::string> forms;  // "word|pred"
  for (const CLexicalEntry* entry : AllEntries(lexicon)) {
    // The PRED is stored as written: the lemma in apostrophes with its frame.
    const std::string pred = Utf8(entry->pred);
    forms.insert(Utf8(entry->word) + "|" + pred.substr(1, pred.find_first_of("<'", 1) - 1));
    // Standard Urdu letters, not the Arabic yeh, kaf, heh or alef maksura.
    EXPECT_EQ(entry->word.find_first_of(u"\u064A\u0643\u0647\u0649"), WString::npos) << Utf8(entry->word);
  }
  const char* expected[] = {
      // A light verb: the noun and the forms of کرنا.
      "بات کرتا|بات_کرنا",
      "بات کی|بات_کرنا",
      "بات کریں گے|بات_کرنا",
      // لانا never takes نے: its perfective agrees with the subject.
      "لائی|لانا",
      // A verb ending in جانا takes its irregular perfective.
      "بڑھ گیا|بڑھ_جانا",
      // A masculine noun in ا that does not change, and a plural-only noun.
      "دریاؤں|دریا",
      "لوگوں|لوگ",
      "والدین|والدین",
      // An adjective whose two words both agree: the rules would change
      // only the last one.
      "تھکی ہوئی|تھکا_ہوا",
      "ملتے جلتے|ملتا_جلتا",
  };
  for (const char* form : expected) EXPECT_TRUE(forms.count(form)) << form;
  // The generated lexicon leaves the irregular verbs to ULexicon.txt.
  EXPECT_FALSE(forms.count("کیا|کرنا"));
}

TEST_F(VocabularyLexiconTest, ExpansionTableHoldsWhatEveryFormOfAFrameShares) {
  CLexicon lexicon("U", true);
  ASSERT_NE(lexicon.ExpansionTable(), nullptr);
  const auto& table = *lexicon.ExpansionTable();
  // A recipient is dative in every form of the frame; a noun's gender is
  // shared by all its forms.
  EXPECT_TRUE(table.count(u"دکھانا<SUBJ,OBJ,OBJ2>"));
  EXPECT_TRUE(table.count(u"دریا"));
  // A light verb's forms share nothing but their PRED: the perfective takes
  // نے and the other forms a nominative subject, so the frame has no line.
  EXPECT_FALSE(table.count(u"بات_کرنا<SUBJ,OBJ>"));
}

}  // namespace
