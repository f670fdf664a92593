#include "transfer/generation/shipped_chain_fixture.h"

#include <cstdlib>

#include "core/config_store.h"
#include "platform/utf8.h"

std::unique_ptr<TempDir> ShippedChainTest::dataRoot_;
std::unique_ptr<CTranslationChain> ShippedChainTest::chain_;
std::filesystem::path ShippedChainTest::previousFolder_;
MessageRecorder* ShippedChainTest::messages_ = nullptr;

void ShippedChainTest::SetUpTestSuite() {
  previousFolder_ = std::filesystem::current_path();
  const char* source = std::getenv("LFG_SOURCE_DIR");
  ASSERT_NE(source, nullptr) << "LFG_SOURCE_DIR is not set";
  dataRoot_ = std::make_unique<TempDir>();
  std::filesystem::copy(std::filesystem::path(source) / "dataroot", dataRoot_->path(),
                        std::filesystem::copy_options::recursive);
  std::filesystem::current_path(dataRoot_->path());
  messages_ = new MessageRecorder();
  chain_ = std::make_unique<CTranslationChain>();
  ASSERT_EQ(chain_->Failure(), "");
}

void ShippedChainTest::TearDownTestSuite() {
  chain_.reset();
  delete messages_;
  messages_ = nullptr;
  ClearConfiguration();
  std::filesystem::current_path(previousFolder_);
  dataRoot_.reset();
}

void ShippedChainTest::TearDown() {
  if (chain_) chain_->ResetAfterSentence();
}

std::string ShippedChainTest::Translate(const std::string& sentence, const std::string& domain) {
  if (!chain_ || !chain_->Failure().empty()) return "(no chain)";
  const CChainResult result = chain_->Translate(FromUtf8(sentence), domain);
  std::string text;
  for (const WString& s : result.sentences) text += (text.empty() ? "" : "|") + ToUtf8(s);
  if (!result.parsed) text = "(not parsed)";
  else if (!result.mapped) text = "(not mapped)";
  chain_->ResetAfterSentence();
  return text;
}
