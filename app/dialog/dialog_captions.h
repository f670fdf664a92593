// The texts of the translator's window: bilingual captions (English, then
// the same words in Urdu letters of CUrduAlphabet), the About box and the
// sample sentence. Constants only, so nothing depends on the order in which
// static objects are built.
#pragma once

#include <string_view>
#include <vector>

#include "core/wide_string.h"

namespace DialogCaptions {

// The Translate button: "Translate / " + "translate" in Urdu + a blank.
inline constexpr std::u16string_view kTranslate =
    u"Translate / \u062A\u0631\u062C\u0645\u06C1 \u06A9\u0631\u06CC\u06BA ";
// The Clear button: " Clear / " + "clean" in Urdu + a blank.
inline constexpr std::u16string_view kClear = u" Clear / \u0635\u0627\u0641 \u06A9\u0631\u06CC\u06BA ";
// Above the sentence box: "Enter Sentence / " + "write a sentence".
inline constexpr std::u16string_view kEnterSentence =
    u"Enter Sentence / \u062C\u0645\u0644\u06C1 \u0644\u06A9\u06BE\u06CC\u06BA";
// Beside the English label: " English" and "functional structure" in Urdu.
inline constexpr std::u16string_view kEnglishFStructure =
    u" \u0627\u0646\u06AF\u0631\u06CC\u0632\u06CC \u062A\u0641\u0627\u0639\u0644\u06CC \u0633\u0627\u062E\u062A";
// Beside the Urdu label: " Urdu" and "functional structure" in Urdu.
inline constexpr std::u16string_view kUrduFStructure =
    u" \u0627\u0631\u062F\u0648 \u062A\u0641\u0627\u0639\u0644\u06CC \u0633\u0627\u062E\u062A";
// The check box: its English text, then "constituent structure" in Urdu.
inline constexpr std::u16string_view kCStructureCheckBox =
    u"Constituent Structure [C-Structure] / \u0646\u062D\u0648\u06CC \u0633\u0627\u062E\u062A";
// The window title: the product's name in Urdu letters, a blank, then its
// Latin spelling between blanks.
inline constexpr std::u16string_view kWindowTitle = u"\u0679\u0627\u0631\u0646\u0648\u06A9  Tarnwick ";
// Captions the window does not show.
inline constexpr std::u16string_view kLanguage = u"Language / \u0632\u0628\u0627\u0646";
inline constexpr std::u16string_view kUrduSentences =
    u"Urdu Sentence(s) / \u0627\u0631\u062F\u0648 \u062C\u0645\u0644\u06D2";
inline constexpr std::u16string_view kAnalysis = u"\u062A\u062C\u0632\u06CC\u06C1";

// The labels above the two trees; the captions above follow them.
inline constexpr std::u16string_view kEnglishLabel = u"English Functional Structure [F-Structure]";
inline constexpr std::u16string_view kUrduLabel = u"Urdu Functional Structure [F-Structure]";

// The About entry and box.
inline constexpr std::u16string_view kAboutEntry = u"About Velmorin...";
inline constexpr std::u16string_view kAboutTitle = u"About Velmorin";
inline constexpr std::u16string_view kAboutText = u"Quillet v1.0";
inline constexpr std::u16string_view kOk = u"OK";

// What the sentence box holds when the window opens.
inline constexpr std::u16string_view kSampleSentence = u"I gave him a book";

}  // namespace DialogCaptions

// One named text of the window.
struct CDialogText {
  std::string_view name;  // the key under which the page finds it
  std::u16string_view text;
  bool shown = true;  // false for the captions the window does not show
};

// Every text of the window, the unshown captions included.
const std::vector<CDialogText>& DialogTexts();
