// The translation chain over a copy of the shipped data root in a temporary
// folder (the chain writes its compiled files there), built once per suite.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "support/test_support.h"
#include "transfer/translation_chain.h"

class ShippedChainTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite();
  static void TearDownTestSuite();
  void TearDown() override;

  // The sentences joined with '|', each trimmed of blanks.
  static std::string Translate(const std::string& sentence, const std::string& domain = "None");

  static std::unique_ptr<TempDir> dataRoot_;
  static std::unique_ptr<CTranslationChain> chain_;
  static std::filesystem::path previousFolder_;
  static MessageRecorder* messages_;
};
