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

TEST(SentenceText, LowerCasingTouchesAsciiLettersOnly) {
  EXPECT_EQ(ToLowerNarrow("The BOY, 12 \xC3\x89"), "the boy, 12 \xC3\x89");
}

}  // namespace
