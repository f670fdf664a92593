// About a hundred ordinary and hostile sentences through one engine: after
// each one every per-sentence registry is empty again and the messages a
// sentence can raise stay few.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/cfg/cfg_chart.h"
#include "app/app_test_support.h"
#include "app/engine/translator_dlg.h"
#include "constraints/fsitem_lookup_table.h"
#include "constraints/p_fstructure.h"
#include "core/config_store.h"
#include "core/fs_handle.h"
#include "core/fs_node.h"
#include "core/production.h"
#include "core/trace_log.h"
#include "platform/utf8.h"

namespace app_test {
namespace {

const std::vector<std::string> kOrdinary = {
    "I gave him a book",
    "The boy reads a book",
    "Tom is happy",
    "Where do you live?",
    "I want to go.",
    "Close your book",
    "We'll wait",
    "The girl read the books",
    "Did he read the book",
    "What did you eat?",
    "The boy's mother gave the girl a book",
    "The farmer bought 25 cows",
    "book book gave the",
    "Did anybody call on you yesterday?",
    "I met Dr. Smith etc. He came",
};

// The same kinds of hostile line as scripts/soak.py makes: each ordinary
// sentence long, in mixed scripts, with control characters, with a lone
// surrogate written as UTF-8, as punctuation only, and one very long line.
std::vector<std::string> HostileLines() {
  std::vector<std::string> lines;
  for (size_t i = 0; i < kOrdinary.size(); ++i) {
    const std::string& sentence = kOrdinary[i];
    const std::string& next = kOrdinary[(i + 1) % kOrdinary.size()];
    lines.push_back(sentence);
    std::string longer = sentence;
    for (int n = 0; n < 6; ++n) longer += " and " + kOrdinary[(i + n) % kOrdinary.size()];
    lines.push_back(longer);
    lines.push_back("کتاب " + sentence + " 書 лодка 🙂");
    lines.push_back(std::string("\x01") + sentence + "\x1b[0m\x7f" + next);
    lines.push_back(sentence.substr(0, sentence.size() / 2) + "\xED\xA0\x80" + sentence.substr(sentence.size() / 2));
    lines.push_back(std::string("?!.,;:'\"()-") + "\xC2\xAB" + std::string(i + 1, '.'));
  }
  std::string veryLong;
  while (veryLong.size() < 20000) veryLong += "the boy reads a book ";
  lines.push_back(veryLong);
  return lines;
}

class HostileSentences : public ::testing::Test {
 protected:
  void TearDown() override {
    CloseTraceLog();
    ClearConfiguration();
  }
  DataRootCopy root_;
  MessageRecorder messages_;
};

TEST_F(HostileSentences, EveryOneLeavesTheRegistriesEmpty) {
  // A second per sentence keeps the run short; the lines that reach it show
  // that every phase stops there.
  // (a file of its own: the shipped one is the data manifest's).
  const std::string limit = "1000\r\n";  // an 8-bit file
  WriteBytes(root_.File("data/english/ShortTime.txt"), std::vector<unsigned char>(limit.begin(), limit.end()));
  root_.SetKey("Time", "data\\english\\ShortTime.txt");
  CTranslatorDlg translator;
  CurrentFolder inside(root_.path());
  ASSERT_TRUE(translator.InitializeEngine());
  messages_.clear();
  const int16_t permanentItems = fsitem_lookup_table.count;
  const std::vector<std::string> lines = HostileLines();
  for (const std::string& line : lines) {
    SCOPED_TRACE(line.substr(0, 80));
    translator.OnTranslate(FromUtf8(line));
    ASSERT_EQ(CFSNode::RegisteredCount(), 0u);
    ASSERT_EQ(CFSHandle::RegisteredCount(), 0u);
    ASSERT_EQ(RegisteredProductionCount(), 0u);
    ASSERT_EQ(RegisteredEarleyItemCount(), 0u);
    ASSERT_EQ(RegisteredChartColumnCount(), 0u);
    ASSERT_EQ(P_FStructure::RegisteredCount(), 0u);
    ASSERT_EQ(fsitem_lookup_table.count, permanentItems);
  }
  // Sentences that fail raise their messages, but a repeated kind of
  // message is limited: far fewer than one per sentence.
  EXPECT_LT(messages_.messages().size(), lines.size()) << messages_.messages().size();
}

}  // namespace
}  // namespace app_test
