// Cleaning the typed text, cutting it into sentences and trimming each.
#include <gtest/gtest.h>

#include "app/engine/translator_dlg.h"
#include "app/pipeline/sentence_text.h"
#include "platform/utf8.h"

namespace {

TEST(SentenceText, TrailingPunctuationIsTrimmed) {
  const std::vector<std::pair<std::u16string, std::u16string>> cases = {
      {u"I gave him a book...", u"I gave him a book"},
      {u"Stop!|;:", u"Stop"},
      {u"...", u"."},
      {u"a", u"a"},
      {u".", u"."},
      {u"No punctuation", u"No punctuation"},
      {u"Inner. dots. stay", u"Inner. dots. stay"},
      {u"Question?", u"Question?"},
      {u"", u""},
  };
  for (auto [sentence, expected] : cases) {
    std::u16string trimmed = sentence;
    EXPECT_TRUE(CTranslatorDlg::TrimTrailingPunctuation(trimmed));
    EXPECT_EQ(ToUtf8(trimmed), ToUtf8(expected)) << ToUtf8(sentence);
  }
}

TEST(SentenceText, TheTypedEndMarkIsReadPastQuotesAndBlanks) {
  const std::vector<std::pair<std::u16string, char16_t>> cases = {
      {u"When the rain stopped, he went out.", u'.'},
      {u"Where are you, Tom?", u'?'},
      {u"Look at this!", u'.'},
      {u"He said \"Go away!\"", u'.'},
      {u"(Is it true?) ", u'?'},
      {u"He said so?!", u'.'},
      {u"No mark at all", 0},
      {u"Ends in a comma,", 0},
      {u"", 0},
  };
  for (const auto& [sentence, expected] : cases) EXPECT_EQ(TypedEndMarkOf(sentence), expected) << ToUtf8(sentence);
}

TEST(SentenceText, ControlCharactersBecomeBlanksAndTheMarkerGoes) {
  const std::u16string typed = u"I\ngave\r\thim\u007F a\uE000 book";
  EXPECT_EQ(CleanTypedText(typed), u"I gave  him  a book");
}

TEST(SentenceText, TypedTextIsCutIntoSentences) {
  const auto isAbbreviation = [](const std::u16string& word) {
    return word == u"Mr" || word == u"Dr" || word == u"etc";
  };
  const std::vector<std::pair<std::u16string, std::vector<std::u16string>>> cases = {
      {u"I gave him a book. The boy reads a book.", {u"I gave him a book.", u"The boy reads a book."}},
      {u"Is he here? Yes! He came.", {u"Is he here?", u"Yes!", u"He came."}},
      {u"I met Mr. Khan. He came", {u"I met Mr. Khan.", u"He came"}},
      {u"I met Dr. Smith etc. He came", {u"I met Dr. Smith etc. He came"}},
      {u"The price is 3.5 rupees. I paid", {u"The price is 3.5 rupees.", u"I paid"}},
      {u"He said \"Go.\" Then he left.", {u"He said \"Go.\"", u"Then he left."}},
      {u"Wait... Then go", {u"Wait...", u"Then go"}},
      {u"Really?! Yes", {u"Really?!", u"Yes"}},
      {u"  I came.   ", {u"I came."}},
      {u"I came.The boy", {u"I came.The boy"}},
      {u"Mr. Khan came", {u"Mr. Khan came"}},
      {u". . .", {u".", u".", u"."}},
      {u"   ", {}},
      {u"", {}},
  };
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(SplitTypedSentences(text, isAbbreviation), expected) << ToUtf8(text);
  }
  // Without a test no word is an abbreviation.
  EXPECT_EQ(SplitTypedSentences(u"I met Mr. Khan", nullptr), (std::vector<std::u16string>{u"I met Mr.", u"Khan"}));
}

TEST(SentenceText, TypedTextIsReadAsTheCharactersItStandsFor) {
  struct Case {
    const char* name;
    std::u16string typed;
    std::u16string text;
    std::vector<std::u16string> setAside;
  };
  const std::vector<Case> cases = {
      {"no-break space", u"I gave him\u00A0a book", u"I gave him a book", {}},
      {"narrow and ideographic spaces", u"I\u202Fgave\u3000him\u2009a book", u"I gave him a book", {}},
      {"mark at the start", u"\uFEFFI gave him a book", u"I gave him a book", {}},
      {"mark and zero-width space inside", u"I ga\u200Bve\uFEFF him", u"I gave him", {}},
      {"runs of blanks and tabs", u"  I \t gave   him  ", u"I gave him", {}},
      {"Urdu digits", u"The farmer bought \u06F2\u06F5 cows", u"The farmer bought 25 cows", {}},
      {"Arabic-Indic digits", u"\u0661\u0660 cows", u"10 cows", {}},
      {"full-width digits", u"\uFF13\uFF19 cows", u"39 cows", {}},
      {"curly apostrophe", u"Don\u2019t touch the wall", u"Don't touch the wall", {}},
      {"curly double quotes", u"He said \u201Cyes\u201D", u"He said \"yes\"", {}},
      {"a symbol after the object", u"I gave him a book \u2605", u"I gave him a book", {u"\u2605"}},
      {"an emoji inside a word", u"a book\U0001F600 now", u"a now", {u"book\U0001F600"}},
      {"a letter of another script", u"I like caf\u00E9 and tea", u"I like and tea", {u"caf\u00E9"}},
      {"only symbols", u"\u2605 \u2606", u"", {u"\u2605", u"\u2606"}},
      {"control characters still become blanks", u"I\ngave\u007Fhim", u"I gave him", {}},
  };
  for (const Case& c : cases) {
    std::vector<std::u16string> setAside;
    EXPECT_EQ(ToUtf8(PrepareSentenceText(c.typed, setAside)), ToUtf8(c.text)) << c.name;
    EXPECT_EQ(setAside, c.setAside) << c.name;
  }
}

TEST(SentenceText, LowerCasingTouchesAsciiLettersOnly) {
  EXPECT_EQ(ToLowerNarrow("The BOY, 12 \xC3\x89"), "the boy, 12 \xC3\x89");
}

}  // namespace
