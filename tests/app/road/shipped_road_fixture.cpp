#include "app/road/shipped_road_fixture.h"

#include "core/config_store.h"
#include "core/fs_node.h"
#include "core/symbol_table.h"
#include "core/trace_log.h"
#include "platform/utf8.h"

std::unique_ptr<app_test::DataRootCopy> ShippedRoadTest::dataRoot_;
std::unique_ptr<app_test::CurrentFolder> ShippedRoadTest::inside_;
std::unique_ptr<MessageRecorder> ShippedRoadTest::messages_;
std::unique_ptr<CTranslatorDlg> ShippedRoadTest::translator_;

namespace {

bool IsDigits(const WString& text) {
  if (text.empty()) return false;
  for (WChar c : text) {
    if (c < u'0' || c > u'9') return false;
  }
  return true;
}

WString PredWord(const CFSNode* node) {
  const CFSNode* pred = node != nullptr ? node->FindAttribute(PredId) : nullptr;
  const CFSNode* value = pred != nullptr ? pred->FindAttribute(ValueId) : nullptr;
  if (value == nullptr || value->Value.empty()) return WString();
  return GetSymbolName(value->Value.front());
}

void CollectRewrittenWords(const CFSNode* node, std::vector<WString>& words) {
  if (node == nullptr) return;
  if (node->Attribute == static_cast<int16_t>(PredId)) {
    const WString word = PredWord(node->Parent);
    if (!word.empty() && word.front() != u'\'' && !IsDigits(word)) words.push_back(word);
    return;
  }
  for (const CFSNode* child : node->ChildList) CollectRewrittenWords(child, words);
}

}  // namespace

void ShippedRoadTest::SetUpTestSuite() {
  dataRoot_ = std::make_unique<app_test::DataRootCopy>();
  dataRoot_->SetKey("SegmentSentence", "no");
  dataRoot_->UseGenerousTimeLimit();
  inside_ = std::make_unique<app_test::CurrentFolder>(dataRoot_->path());
  messages_ = std::make_unique<MessageRecorder>();
  translator_ = std::make_unique<CTranslatorDlg>();
  ASSERT_TRUE(translator_->InitializeEngine()) << translator_->SetUpFailure();
}

void ShippedRoadTest::TearDownTestSuite() {
  translator_.reset();
  messages_.reset();
  CloseTraceLog();
  ClearConfiguration();
  inside_.reset();
  dataRoot_.reset();
}

CRoadOutcome ShippedRoadTest::Run(const std::string& sentence, const std::string& domain) {
  CRoadOutcome outcome;
  if (!translator_ || !translator_->IsReady()) return outcome;
  SetConfigValue("Domain", domain);
  CTranslateOptions options;
  options.completedTarget = [&outcome](const CFSNode& target) {
    outcome.rootPredicates.push_back(PredWord(&target));
    CollectRewrittenWords(&target, outcome.rewrittenWords);
  };
  const CTranslationResult result = translator_->OnTranslate(FromUtf8(sentence), options);
  for (const CSegmentOutcome& segment : result.segments) {
    outcome.parsed = segment.parsed;
    outcome.mapped = segment.mapped;
    if (!segment.generated) continue;
    outcome.sentences.push_back(segment.translation);
    outcome.sentences.insert(outcome.sentences.end(), segment.alternatives.begin(), segment.alternatives.end());
  }
  return outcome;
}

std::string ShippedRoadTest::Translate(const std::string& sentence, const std::string& domain) {
  if (!translator_ || !translator_->IsReady()) return "(no translator)";
  const CRoadOutcome outcome = Run(sentence, domain);
  if (!outcome.parsed) return "(not parsed)";
  if (!outcome.mapped) return "(not mapped)";
  std::string text;
  for (const WString& s : outcome.sentences) text += (text.empty() ? "" : "|") + ToUtf8(s);
  return text;
}
