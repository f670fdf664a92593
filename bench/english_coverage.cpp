// Coverage of the English analysis over a file of sentences, for data
// authors: the share of distinct lines whose every segment gets an analysis
// on the translator's road, the words the lexicon lacks by frequency, and
// the lines without an analysis.
//
// usage: english_coverage FILE [--data-root DIR] [--show] [--trace] [--log FILE] [--top N]
//   FILE        a .tsv file (header line, English in the first column) or a
//               text file with one sentence a line
//   --data-root the data root to analyse with (default: this clone's)
//   --show      print the F-structure of every analysed sentence
//   --top N     list at most N unknown words (default 50)
//   --trace     print each sentence and its time before analysing the next
//   --log FILE  write the analysis trace log to FILE
#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "bench/english_engine.h"
#include "core/fs_handle.h"
#include "core/fs_node.h"
#include "core/fs_node_text.h"
#include "core/string_helpers.h"
#include "core/trace_log.h"
#include "platform/message_box.h"
#include "resources/english/e_lexicon.h"
#include "resources/lfg/lexicon_manager.h"

namespace {


struct Options {
  std::string file;
  std::string dataRoot = std::string(LFG_SOURCE_DIR) + "/dataroot";
  bool show = false;
  bool trace = false;
  std::string log;
  size_t top = 50;
};

bool ReadOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--data-root" && i + 1 < argc) {
      options.dataRoot = argv[++i];
    } else if (arg == "--top" && i + 1 < argc) {
      options.top = static_cast<size_t>(std::stoul(argv[++i]));
    } else if (arg == "--show") {
      options.show = true;
    } else if (arg == "--log" && i + 1 < argc) {
      options.log = argv[++i];
    } else if (arg == "--trace") {
      options.trace = true;
    } else if (!arg.empty() && arg[0] != '-' && options.file.empty()) {
      options.file = arg;
    } else {
      return false;
    }
  }
  return !options.file.empty();
}

// The distinct sentences of the file, in their first order.
std::vector<std::string> ReadSentences(const std::string& path) {
  std::ifstream in(path);
  const bool tsv = path.size() > 4 && path.substr(path.size() - 4) == ".tsv";
  std::vector<std::string> sentences;
  std::set<std::string> seen;
  std::string line;
  for (bool first = true; std::getline(in, line); first = false) {
    if (tsv && first) continue;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::string text = tsv ? line.substr(0, line.find('\t')) : line;
    if (text.find_first_not_of(" \t") == std::string::npos) continue;
    if (seen.insert(text).second) sentences.push_back(text);
  }
  return sentences;
}

// A word of a segment (its tokens joined by blanks) that has letters and no
// entry in the English lexicon, as typed or in lower case.
bool IsUnknown(const CELexicon& lexicon, const WString& word) {
  const bool hasLetter = std::any_of(word.begin(), word.end(), [](WChar c) { return c < 0x80 && std::isalpha(c); });
  return hasLetter && lexicon.GetEntries(word)->empty() && lexicon.GetEntries(ToLowerString(word))->empty();
}

void CountUnknownWords(const CELexicon& lexicon, const CTranslationResult& result,
                       std::map<std::string, size_t>& unknown) {
  for (const CSegmentOutcome& segment : result.segments) {
    size_t start = 0;
    while (start < segment.english.size()) {
      const size_t end = std::min(segment.english.find(u' ', start), segment.english.size());
      const WString word = segment.english.substr(start, end - start);
      if (IsUnknown(lexicon, word)) ++unknown[ToUtf8(word)];
      start = end + 1;
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ReadOptions(argc, argv, options)) {
    std::cerr << "usage: english_coverage FILE [--data-root DIR] [--show] [--trace] [--log FILE] [--top N]\n";
    return 2;
  }
  const std::vector<std::string> sentences = ReadSentences(options.file);
  if (sentences.empty()) {
    std::cerr << "no sentences in " << options.file << "\n";
    return 1;
  }
  size_t messages = 0;
  SetMessageHandler([&messages](const std::u16string& text, const std::u16string& caption, unsigned) {
    ++messages;
    std::cerr << "message box: " << ToUtf8(caption) << ": " << ToUtf8(text) << "\n";
    return 1;
  });
  english_bench::Engine engine(options.dataRoot, "lfg_english_coverage_");
  if (!engine.Start(true)) {
    std::cerr << "the engine of " << options.dataRoot << " failed to start: " << engine.Failure() << "\n";
    return 1;
  }
  // The engine opens its own trace log at start-up; the option's replaces it.
  if (!options.log.empty()) OpenTraceLog(options.log);
  const size_t compileMessages = messages;
  CTranslatorDlg& translator = engine.translator();

  std::map<std::string, size_t> unknown;
  std::vector<std::string> failed;
  size_t analysed = 0;
  for (const std::string& sentence : sentences) {
    const auto begin = std::chrono::steady_clock::now();
    if (options.trace) std::cerr << sentence << std::flush;
    CTranslationResult result;
    const bool ok = english_bench::AnalyseLine(
        translator, sentence,
        [&](const CParseResult& analysis) {
          if (options.show && analysis.FStructure && analysis.FStructure->root) {
            std::cout << sentence << "\n  " << ToUtf8(DescribeStructure(analysis.FStructure->root)) << "\n";
          }
        },
        &result);
    CountUnknownWords(*translator.m_pCfgLexicon, result, unknown);
    messages += result.messages.size();
    if (options.trace) {
      std::cerr << "  " << std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count()
                << " ms\n";
    }
    if (ok) {
      ++analysed;
    } else {
      failed.push_back(sentence);
    }
  }

  std::printf("%zu of %zu distinct lines analysed (%.1f%%); %zu messages (%zu while starting)\n", analysed,
              sentences.size(), 100.0 * static_cast<double>(analysed) / static_cast<double>(sentences.size()), messages,
              compileMessages);
  std::vector<std::pair<std::string, size_t>> byCount(unknown.begin(), unknown.end());
  std::stable_sort(byCount.begin(), byCount.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
  std::printf("\nunknown words (%zu distinct):\n", byCount.size());
  for (size_t i = 0; i < byCount.size() && i < options.top; ++i) {
    std::printf("%6zu  %s\n", byCount[i].second, byCount[i].first.c_str());
  }
  std::printf("\nsentences without an analysis (%zu):\n", failed.size());
  for (const std::string& sentence : failed) std::printf("  %s\n", sentence.c_str());
  return 0;
}
