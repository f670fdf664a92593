// The team's table of English sentences with the Urdu a careful reader
// accepts (tests/data/team/sentences.tsv and the other .tsv files there, one
// per part of the team's work), run through the translator program in one
// stream: every row must come out exactly as one of its accepted
// translations, except the rows listed as known failures
// (tests/data/team/expected_failures.txt and the other *failures.txt files),
// which name what the data does not translate well yet.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app_test_support.h"

namespace app_test {
namespace {

struct TeamRow {
  std::string english;
  std::vector<std::string> accepted;  // each a whole sentence with its final mark
  std::string construction;
};

std::string TeamFile(const std::string& name) {
  const char* root = std::getenv("LFG_SOURCE_DIR");
  return std::string(root != nullptr ? root : ".") + "/tests/data/team/" + name;
}

// The team folder's files whose names end so, sentences.tsv and
// expected_failures.txt first, the others in name order.
std::vector<std::string> TeamFiles(const std::string& ending, const std::string& first) {
  std::vector<std::string> others;
  for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(TeamFile("")))) {
    const std::string name = entry.path().filename().string();
    if (name != first && name.size() >= ending.size() &&
        name.compare(name.size() - ending.size(), ending.size(), ending) == 0) {
      others.push_back(name);
    }
  }
  std::sort(others.begin(), others.end());
  others.insert(others.begin(), first);
  return others;
}

std::vector<std::string> Split(const std::string& text, const std::string& separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (true) {
    const size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) return parts;
    start = end + separator.size();
  }
}

// The lines of a UTF-8 file without comments ('#' first), blank lines and
// line ends.
std::vector<std::string> ContentLines(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  EXPECT_TRUE(in) << path;
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    lines.push_back(line);
  }
  return lines;
}

std::vector<TeamRow> ReadTable() {
  std::vector<TeamRow> rows;
  for (const std::string& file : TeamFiles(".tsv", "sentences.tsv")) {
    for (const std::string& line : ContentLines(TeamFile(file))) {
      const std::vector<std::string> fields = Split(line, "\t");
      if (fields.size() != 3) {
        ADD_FAILURE() << file << ": a row needs three fields: " << line;
        continue;
      }
      if (fields[0] == "english") continue;
      rows.push_back({fields[0], Split(fields[1], " | "), fields[2]});
    }
  }
  return rows;
}

std::vector<std::string> KnownFailures() {
  std::vector<std::string> failures;
  for (const std::string& file : TeamFiles("failures.txt", "expected_failures.txt")) {
    const std::vector<std::string> lines = ContentLines(TeamFile(file));
    failures.insert(failures.end(), lines.begin(), lines.end());
  }
  return failures;
}

bool Accepted(const TeamRow& row, const std::string& output) {
  for (const std::string& accepted : row.accepted) {
    if (output == accepted) return true;
  }
  return false;
}

TEST(TeamTable, TheTableIsWellFormed) {
  const std::vector<TeamRow> rows = ReadTable();
  EXPECT_GE(rows.size(), 200u);
  std::set<std::string> english;
  for (const TeamRow& row : rows) {
    EXPECT_TRUE(english.insert(row.english).second) << "twice: " << row.english;
    EXPECT_FALSE(row.construction.empty()) << row.english;
    for (const std::string& accepted : row.accepted) {
      // Every accepted translation is a whole sentence: its last letter is
      // the Urdu full stop or question mark, with no blank before it.
      const bool question = row.english.back() == '?';
      const std::string mark = question ? "؟" : "۔";
      ASSERT_GE(accepted.size(), mark.size() + 1) << row.english;
      EXPECT_EQ(accepted.substr(accepted.size() - mark.size()), mark) << row.english << ": " << accepted;
      EXPECT_NE(accepted[accepted.size() - mark.size() - 1], ' ') << row.english << ": " << accepted;
    }
  }
  // A known failure names a sentence of the table, once.
  std::set<std::string> listed;
  for (const std::string& failure : KnownFailures()) {
    EXPECT_TRUE(english.count(failure) == 1) << "not in the table: " << failure;
    EXPECT_TRUE(listed.insert(failure).second) << "listed twice: " << failure;
  }
  // Most of the table is checked exactly.
  EXPECT_GT(rows.size() - listed.size(), rows.size() / 2);
}

TEST(TeamTable, EveryRowNotKnownToFailTranslatesAsAccepted) {
  const std::vector<TeamRow> rows = ReadTable();
  const std::vector<std::string> failures = KnownFailures();
  const std::set<std::string> knownFailures(failures.begin(), failures.end());
  std::string input;
  for (const TeamRow& row : rows) input += row.english + "\n";

  DataRootCopy root;
  root.UseGenerousTimeLimit();
  const ProgramRun run = RunTranslatorProgram({"--data-root", root.path().string()}, input, 900);
  ASSERT_NE(run.exitCode, 124) << "the translator did not finish";
  const std::vector<std::string> outputs = Lines(run.output);
  ASSERT_EQ(outputs.size(), rows.size()) << run.errors;

  size_t passing = 0;
  std::vector<std::string> nowPassing;
  for (size_t i = 0; i < rows.size(); ++i) {
    const bool accepted = Accepted(rows[i], outputs[i]);
    if (accepted) ++passing;
    if (knownFailures.count(rows[i].english) != 0) {
      if (accepted) nowPassing.push_back(rows[i].english);
      continue;
    }
    EXPECT_TRUE(accepted) << rows[i].construction << ": " << rows[i].english << "\n  got:      " << outputs[i]
                          << "\n  accepted: " << rows[i].accepted.front();
  }
  std::cout << "team table: " << passing << " of " << rows.size() << " rows as accepted\n";
  // A known failure that now translates as accepted belongs back among the
  // checked rows; say which, without failing the run.
  for (const std::string& english : nowPassing) std::cout << "  known failure now accepted: " << english << "\n";
}

}  // namespace
}  // namespace app_test
