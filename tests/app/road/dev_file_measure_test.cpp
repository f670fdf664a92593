// The dev-file measure: the English side of the shared evaluation file
// (../shared/eval/tatoeba-dev.tsv beside the repository) through the whole
// road. It reports, without a threshold of its own, the share of sentences
// that get exactly one Urdu sentence, the share of those without a word the
// mapper spelt in Urdu letters, the share that equal one of the file's
// references (final punctuation removed), and the most frequent causes of
// failure. Skipped when the file is not there.
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/road/shipped_road_fixture.h"
#include "platform/utf8.h"

namespace {

// English sentence -> its Urdu references, in file order of first mention.
struct DevFile {
  std::vector<std::string> english;
  std::map<std::string, std::set<std::string>> references;
};

DevFile ReadDevFile(const std::string& path) {
  DevFile file;
  std::ifstream in(path);
  std::string line;
  std::getline(in, line);  // the heading
  while (std::getline(in, line)) {
    std::stringstream fields(line);
    std::string english, urdu;
    if (!std::getline(fields, english, '\t') || !std::getline(fields, urdu, '\t')) continue;
    if (file.references.count(english) == 0) file.english.push_back(english);
    file.references[english].insert(urdu);
  }
  return file;
}

// The text without blanks and final punctuation (Urdu and Latin) at its end.
std::string WithoutFinalPunctuation(const std::string& text) {
  std::u16string wide = FromUtf8(text);
  const std::u16string punctuation = u" .?!\u06D4\u061F\u060C,";
  while (!wide.empty() && punctuation.find(wide.back()) != std::u16string::npos) wide.pop_back();
  while (!wide.empty() && wide.front() == u' ') wide.erase(wide.begin());
  return ToUtf8(wide);
}

std::string Percent(size_t part, size_t whole) {
  std::ostringstream text;
  text << std::fixed << std::setprecision(1) << (whole == 0 ? 0.0 : 100.0 * part / whole) << "%";
  return text.str();
}

}  // namespace

TEST_F(ShippedRoadTest, DevFileMeasure) {
  const char* source = std::getenv("LFG_SOURCE_DIR");
  const std::string path = std::string(source != nullptr ? source : ".") + "/../shared/eval/tatoeba-dev.tsv";
  const DevFile file = ReadDevFile(path);
  if (file.english.empty()) GTEST_SKIP() << "no evaluation file at " << path;

  size_t parsed = 0, single = 0, singleClean = 0, matching = 0;
  std::map<std::string, size_t> causes;
  std::map<std::string, size_t> unGeneratedVerbs;
  for (const std::string& english : file.english) {
    const CRoadOutcome result = Run(english);
    if (result.parsed) ++parsed;
    if (!result.parsed) {
      ++causes["the English analysis failed"];
    } else if (!result.mapped) {
      ++causes["the mapper gave no Urdu structure"];
    } else if (result.sentences.empty()) {
      ++causes["the generator gave no sentence"];
      for (const WString& verb : result.rootPredicates) ++unGeneratedVerbs[ToUtf8(verb)];
    } else if (result.sentences.size() > 1) {
      ++causes["the generator gave several sentences"];
    } else {
      ++single;
      if (result.rewrittenWords.empty()) {
        ++singleClean;
        const std::string urdu = WithoutFinalPunctuation(ToUtf8(result.sentences.front()));
        for (const std::string& reference : file.references.at(english)) {
          if (WithoutFinalPunctuation(reference) == urdu) {
            ++matching;
            break;
          }
        }
      } else {
        ++causes["one sentence, with a word spelt in Urdu letters"];
      }
    }
  }

  const size_t total = file.english.size();
  std::cout << "Dev-file measure over " << total << " English sentences (" << parsed << " analysed, "
            << Percent(parsed, total) << ")\n"
            << "  exactly one Urdu sentence: " << single << " (" << Percent(single, total) << " of all, "
            << Percent(single, parsed) << " of those analysed)\n"
            << "  of those, without a word spelt in Urdu letters: " << singleClean << " ("
            << Percent(singleClean, total) << " of all, " << Percent(singleClean, parsed) << " of those analysed)\n"
            << "  equal to a reference: " << matching << " (" << Percent(matching, total) << ")\n"
            << "  causes of failure:\n";
  std::vector<std::pair<size_t, std::string>> ranked;
  for (const auto& [cause, count] : causes) ranked.emplace_back(count, cause);
  std::sort(ranked.rbegin(), ranked.rend());
  for (const auto& [count, cause] : ranked) std::cout << "    " << count << "  " << cause << "\n";
  std::vector<std::pair<size_t, std::string>> verbs;
  for (const auto& [verb, count] : unGeneratedVerbs) verbs.emplace_back(count, verb);
  std::sort(verbs.rbegin(), verbs.rend());
  std::cout << "  clause predicates of the structures that gave no sentence:";
  for (size_t i = 0; i < verbs.size() && i < 12; ++i) std::cout << " " << verbs[i].second << " " << verbs[i].first;
  std::cout << "\n";
  // The road must come back after every sentence, whatever the figures.
  EXPECT_EQ(Translate("The boy reads a book"), "لڑکا ایک کتاب پڑھتا ہے۔");
}
