// Cleaning and trimming the typed sentence.
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

TEST(SentenceText, ControlCharactersBecomeBlanksAndTheMarkerGoes) {
  const std::u16string typed = u"I\ngave\r\thim\u007F a\uE000 book";
  EXPECT_EQ(CleanTypedText(typed), u"I gave  him  a book");
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
