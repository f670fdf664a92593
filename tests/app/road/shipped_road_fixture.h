// The translator's own road over a copy of the shipped data root (set-up
// writes its compiled files there), built once per suite. Each sentence is
// translated as one segment, as typed into the window with segmentation off.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/app_test_support.h"
#include "app/engine/translator_dlg.h"
#include "core/wide_string.h"

// What one sentence gave on the road.
struct CRoadOutcome {
  bool parsed = false;
  bool mapped = false;
  std::vector<WString> sentences;       // the generated sentences, first the chosen one
  std::vector<WString> rootPredicates;  // the PRED word of each Urdu structure
  // PRED words of the Urdu structures that the mapper spelt in Urdu letters
  // (English words found in no mapping lexicon): PRED values without the
  // apostrophes of the mapping lexicon that are not numbers in digits.
  std::vector<WString> rewrittenWords;
};

class ShippedRoadTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite();
  static void TearDownTestSuite();

  // The sentence through the road with the mapping lexicon of the domain.
  static CRoadOutcome Run(const std::string& sentence, const std::string& domain = "None");
  // The generated sentences joined with '|'; "(not parsed)" or "(not
  // mapped)" when the road stopped before generation.
  static std::string Translate(const std::string& sentence, const std::string& domain = "None");

  static std::unique_ptr<app_test::DataRootCopy> dataRoot_;
  static std::unique_ptr<app_test::CurrentFolder> inside_;
  static std::unique_ptr<MessageRecorder> messages_;
  static std::unique_ptr<CTranslatorDlg> translator_;
};
