#include "app/dialog/dialog_captions.h"

const std::vector<CDialogText>& DialogTexts() {
  using namespace DialogCaptions;
  static const std::vector<CDialogText> texts = {
      {"windowTitle", kWindowTitle},
      {"translate", kTranslate},
      {"clear", kClear},
      {"enterSentence", kEnterSentence},
      {"englishLabel", kEnglishLabel},
      {"englishFStructure", kEnglishFStructure},
      {"urduLabel", kUrduLabel},
      {"urduFStructure", kUrduFStructure},
      {"cStructureCheckBox", kCStructureCheckBox},
      {"aboutEntry", kAboutEntry},
      {"aboutTitle", kAboutTitle},
      {"aboutText", kAboutText},
      {"ok", kOk},
      {"sampleSentence", kSampleSentence},
      {"language", kLanguage, false},
      {"urduSentences", kUrduSentences, false},
      {"analysis", kAnalysis, false},
  };
  return texts;
}
