// The window's captions: their Urdu words are written with the letters of
// the Urdu alphabet only (no Arabic look-alikes such as U+064A or U+0647).
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "app/dialog/dialog_captions.h"
#include "app/dialog/urdu_alphabet.h"
#include "platform/utf8.h"

namespace {

bool IsArabicScript(char16_t unit) { return unit >= 0x0600 && unit <= 0x06FF; }

TEST(DialogCaptions, EveryUrduLetterIsALetterOfTheAlphabet) {
  for (const CDialogText& text : DialogTexts()) {
    for (const char16_t unit : text.text) {
      if (!IsArabicScript(unit)) continue;
      EXPECT_TRUE(CUrduAlphabet::Contains(unit))
          << text.name << " holds U+" << std::hex << static_cast<int>(unit) << ", not a letter of the alphabet";
    }
  }
}

TEST(DialogCaptions, TheAlphabetHoldsFortySixDistinctEntries) {
  const std::set<char16_t> letters(CUrduAlphabet::kLetters.begin(), CUrduAlphabet::kLetters.end());
  EXPECT_EQ(letters.size(), CUrduAlphabet::kSize);
  EXPECT_TRUE(CUrduAlphabet::Contains(u' '));
  EXPECT_FALSE(CUrduAlphabet::Contains(u'\u064A'));  // Arabic ye
  EXPECT_FALSE(CUrduAlphabet::Contains(u'\u0647'));  // Arabic he
  EXPECT_EQ(CUrduAlphabet::Letter(45), u" ");
}

TEST(DialogCaptions, EveryCaptionHasAnUrduPartAndUniqueName) {
  std::set<std::string_view> names;
  for (const CDialogText& text : DialogTexts()) {
    EXPECT_TRUE(names.insert(text.name).second) << text.name;
    EXPECT_FALSE(text.text.empty()) << text.name;
  }
  for (const std::u16string_view caption :
       {DialogCaptions::kTranslate, DialogCaptions::kClear, DialogCaptions::kEnterSentence,
        DialogCaptions::kEnglishFStructure, DialogCaptions::kUrduFStructure, DialogCaptions::kCStructureCheckBox,
        DialogCaptions::kWindowTitle}) {
    bool hasUrdu = false;
    for (const char16_t unit : caption) hasUrdu = hasUrdu || IsArabicScript(unit);
    EXPECT_TRUE(hasUrdu) << ToUtf8(caption);
  }
}

}  // namespace
