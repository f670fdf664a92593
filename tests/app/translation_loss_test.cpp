// The translator program says what it leaves out: each input is translated
// whole (exit 0, nothing named) or in part (exit 1, the missing words named
// on standard error), typed text is read as the characters it stands for,
// no grammar symbol reaches the Urdu, and a sentence's translation does not
// depend on the lines before it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app_test_support.h"

namespace app_test {
namespace {

constexpr const char* kGaveBook = "میں نے اسے ایک کتاب دی۔";

bool HasLatinLetter(const std::string& text) {
  for (char c : text) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) return true;
  }
  return false;
}

// The English sentences of the stream test, from tests/data (of the source
// folder, or of the current folder as for the data root).
std::vector<std::string> StreamSentences() {
  const char* source = std::getenv("LFG_SOURCE_DIR");
  const std::filesystem::path root = source != nullptr ? source : "";
  std::ifstream file(root / "tests" / "data" / "dev" / "english.txt");
  std::vector<std::string> sentences;
  std::string line;
  while (std::getline(file, line)) {
    if (!line.empty()) sentences.push_back(line);
  }
  return sentences;
}

std::string JoinedLines(const std::vector<std::string>& lines, size_t from, size_t count) {
  std::string text;
  for (size_t i = from; i < from + count && i < lines.size(); ++i) text += lines[i] + "\n";
  return text;
}

// Builds with sanitizers run the program several times slower.
#if defined(__SANITIZE_ADDRESS__)
constexpr size_t kSeparateRunEvery = 40;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr size_t kSeparateRunEvery = 40;
#else
constexpr size_t kSeparateRunEvery = 12;
#endif
#else
constexpr size_t kSeparateRunEvery = 12;
#endif

class TranslationLoss : public ::testing::Test {
 protected:
  void SetUp() override { root_.UseGenerousTimeLimit(); }

  ProgramRun Run(const std::string& input, std::vector<std::string> arguments = {}) {
    arguments.insert(arguments.begin(), {"--data-root", root_.path().string()});
    return RunTranslatorProgram(arguments, input);
  }

  DataRootCopy root_;
};

TEST_F(TranslationLoss, EachInputIsTranslatedWholeOrItsMissingWordsAreNamed) {
  struct Case {
    const char* name;
    std::string input;
    int exitCode;
    std::string output;              // the whole output line; empty: any Urdu
    std::vector<std::string> named;  // words the "Not translated" message names
    std::string holds = "";          // a word the output line must hold
  };
  const std::vector<Case> cases = {
      {"an object and an adverb left out", "We ate rice yesterday.", 1, "", {"rice", "yesterday"}},
      {"a light verb's noun and its modifiers left out",
       "The government announced a new policy today.",
       1,
       "",
       {"announce", "policy", "new", "today"}},
      {"the understood subject is not printed", "Don't touch the wall.", 0, "دیوار نہ چھوئیں۔", {}},
      {"a curly apostrophe is an apostrophe", "Don\u2019t touch the wall.", 0, "دیوار نہ چھوئیں۔", {}},
      {"a command", "Close the door.", 0, "دروازہ بند کریں۔", {}},
      {"nothing generated: the words are spelt and named", "book book gave the", 1, "", {"book book gave the"}},
      {"a no-break space", "I gave him\u00A0a book", 0, kGaveBook, {}},
      {"a byte-order mark at the start", "\uFEFFI gave him a book", 0, kGaveBook, {}},
      {"runs of blanks", "I  gave \t him   a book ", 0, kGaveBook, {}},
      {"Urdu digits", "The farmer bought \u06F2\u06F5 cows", 0, "کسان نے 25 گائیں خریدیں۔", {}},
      {"full-width digits", "The farmer bought \uFF12\uFF15 cows", 0, "کسان نے 25 گائیں خریدیں۔", {}},
      {"a symbol after the object", "I gave him a book \u2605", 1, kGaveBook, {"\u2605"}},
      {"an emoji", "\U0001F600 I gave him a book", 1, kGaveBook, {"\U0001F600"}},
      {"a negation is said, not left out", "You can't have everything.", 0, "", {}, "نہیں"},
      {"a negation with a modal", "I can't fight any longer.", 0, "", {}, "نہیں"},
      {"a negated clause left out names its negation", "I think it's better not to try it.", 1, "", {"try", "not"}},
  };
  for (const Case& c : cases) {
    const ProgramRun run = Run(c.input + "\n");
    EXPECT_EQ(run.exitCode, c.exitCode) << c.name << "\n" << run.errors;
    const std::vector<std::string> lines = Lines(run.output);
    ASSERT_EQ(lines.size(), 1u) << c.name << "\n" << run.output;
    if (!c.output.empty()) {
      EXPECT_EQ(lines[0], c.output) << c.name;
    }
    EXPECT_FALSE(lines[0].empty()) << c.name;
    EXPECT_NE(lines[0].find(c.holds), std::string::npos) << c.name << ": " << lines[0];
    EXPECT_FALSE(HasLatinLetter(lines[0])) << c.name << ": " << lines[0];
    const size_t message = run.errors.find("line 1: ");
    const size_t notTranslated = run.errors.find("Not translated: ");
    if (c.named.empty()) {
      EXPECT_EQ(notTranslated, std::string::npos) << c.name << "\n" << run.errors;
      continue;
    }
    ASSERT_NE(notTranslated, std::string::npos) << c.name << "\n" << run.errors;
    EXPECT_EQ(message, 0u) << c.name << ": messages start with the line's number\n" << run.errors;
    const std::string named = run.errors.substr(notTranslated);
    for (const std::string& word : c.named) {
      EXPECT_NE(named.find(word), std::string::npos) << c.name << ": " << word << " not named in\n" << run.errors;
    }
  }
}

TEST_F(TranslationLoss, ALineLongerThanTheEngineTakesIsRefusedForThatLineOnly) {
  const std::string tooLong(32766, 'b');
  const ProgramRun run = Run("I gave him a book\n" + tooLong + "\nI gave him a book\n", {"--stages"});
  EXPECT_EQ(run.exitCode, 1) << run.errors;
  const std::vector<std::string> lines = Lines(run.output);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], kGaveBook);
  EXPECT_EQ(lines[1], "");
  EXPECT_EQ(lines[2], kGaveBook);
  EXPECT_NE(run.errors.find("line 2: Quillet: The sentence has more than 32765 characters; it is not translated."),
            std::string::npos)
      << run.errors;
  EXPECT_EQ(run.errors.find("line 1: "), std::string::npos) << run.errors;
  EXPECT_EQ(run.errors.find("line 3: "), std::string::npos) << run.errors;
}

TEST_F(TranslationLoss, EveryLineWithAnUntranslatedPartSaysWhatWasNotTranslated) {
  const std::vector<std::string> sentences = StreamSentences();
  ASSERT_GT(sentences.size(), 400u);
  const ProgramRun run = Run(JoinedLines(sentences, 0, 60), {"--stages"});
  const std::vector<std::string> errors = Lines(run.errors);
  size_t stageLine = 0;
  std::string messagesOfLine;
  for (const std::string& line : errors) {
    if (line.rfind("Stage: ", 0) != 0) {
      EXPECT_EQ(line.rfind("line " + std::to_string(stageLine + 1) + ": ", 0), 0u) << line;
      messagesOfLine += line + "\n";
      continue;
    }
    if (line.rfind("Stage: generated", 0) != 0) {  // names spelt in Urdu letters are translated
      EXPECT_NE(messagesOfLine.find("Not translated: "), std::string::npos)
          << sentences[stageLine] << " (" << line << ")\n"
          << messagesOfLine;
    }
    messagesOfLine.clear();
    ++stageLine;
  }
  EXPECT_EQ(stageLine, 60u);
}

// One process over the sentences twice in a row gives the same lines both
// times, and the same lines as one process per sentence.
TEST_F(TranslationLoss, TheStreamGivesEachSentenceTheLineItGetsAlone) {
  const std::vector<std::string> sentences = StreamSentences();
  ASSERT_GT(sentences.size(), 400u);
  const std::string all = JoinedLines(sentences, 0, sentences.size());
  const ProgramRun stream = Run(all + all);
  const std::vector<std::string> lines = Lines(stream.output);
  ASSERT_EQ(lines.size(), 2 * sentences.size()) << stream.errors;
  for (size_t i = 0; i < sentences.size(); ++i) {
    EXPECT_EQ(lines[i], lines[sentences.size() + i]) << "line " << i + 1 << ": " << sentences[i];
    EXPECT_FALSE(HasLatinLetter(lines[i]) &&
                 stream.errors.find("line " + std::to_string(i + 1) + ": ") == std::string::npos)
        << "unnamed Latin letters in line " << i + 1 << ": " << lines[i];
  }
  for (size_t i = 0; i < sentences.size(); i += kSeparateRunEvery) {
    const ProgramRun alone = Run(sentences[i] + "\n");
    EXPECT_EQ(Lines(alone.output), std::vector<std::string>{lines[i]}) << sentences[i];
  }
}

// The Urdu set members are numbered on from sentence to sentence; their
// order in the sentence must not follow from that number.
TEST_F(TranslationLoss, ASentenceWithSetMembersGetsOneLineWhateverCameBefore) {
  const std::vector<std::string> sentences = StreamSentences();
  ASSERT_GT(sentences.size(), 60u);
  const std::string adjuncts = "She doesn't smile for me anymore.";
  const std::string alone = Lines(Run(adjuncts + "\n").output).at(0);
  ASSERT_FALSE(alone.empty());
  for (const size_t before : {1, 2, 7, 10, 50}) {
    const ProgramRun run = Run(JoinedLines(sentences, 0, before) + adjuncts + "\n");
    const std::vector<std::string> lines = Lines(run.output);
    ASSERT_EQ(lines.size(), before + 1) << run.errors;
    EXPECT_EQ(lines.back(), alone) << "after " << before << " sentences";
  }
}

}  // namespace
}  // namespace app_test
