#include "app/batch/test_routines.h"

#include <cstdint>
#include <ostream>

#include "core/config_store.h"
#include "core/file_reader.h"
#include "core/file_writer.h"
#include "core/string_helpers.h"
#include "platform/utf8.h"
#include "resources/lfg/grammar.h"

namespace {

constexpr const char* kScratchFile = "abc.txt";
constexpr int kReaderUnits = 1024;

// Each character on a line of its own.
bool PrintCharacters(std::ostream& output) {
  for (char c : {'L', 'F', 'G'}) output << c << '\n';
  return true;
}

// "Hello All", a line end and an Urdu word, as UTF-16 text.
bool WriteScratchFile(std::ostream& output) {
  CFileWriter writer(kScratchFile);
  const bool written = writer.IsOpen() && writer.Write(u"Hello All") == 1 &&
                       writer.Write(u"\r\n Urdu: \u0639\u0631\u0641\u0627\u0646") == 1;
  if (written) output << "Written: " << kScratchFile << '\n';
  return written;
}

// Every unit of the scratch file after its mark: the character and its
// number.
bool PrintScratchFile(std::ostream& output) {
  CFileReader reader(kReaderUnits);
  reader.Open(kScratchFile);
  if (!reader.IsOpen()) return false;
  for (WChar unit = reader.GetChar(); unit != 0; unit = reader.NextChar()) {
    output << ToUtf8(WString(1, unit)) << " [" << static_cast<unsigned>(unit) << "]\n";
  }
  return true;
}

// The English grammar after its macros were expanded (the "lfgFileName" of
// the configuration), whole.
bool PrintExpandedGrammar(std::ostream& output) {
  CFileReader reader(kReaderUnits);
  reader.Open(GetConfigValue("lfgFileName"));
  if (!reader.IsOpen()) return false;
  reader.Close();
  output << "yes:: " << ToUtf8(reader.ReadAll(GetConfigValue("lfgFileName"))) << '\n';
  return true;
}

bool PrintTrimmed(std::ostream& output) {
  const std::string text = " 54 ";
  output << '[' << text << "]\n[" << TrimNarrowString(text) << "]\n";
  return true;
}

// Every ordering of 1, 2, 3 and 4, one a line.
bool PrintOrderings(std::ostream& output) {
  std::vector<std::vector<uint16_t>> orderings;
  CGrammar::GeneratePermutations({}, {'1', '2', '3', '4'}, orderings);
  for (const std::vector<uint16_t>& ordering : orderings) {
    for (uint16_t c : ordering) output << static_cast<char>(c) << ' ';
    output << '\n';
  }
  return true;
}

struct TestRoutine {
  std::string name;
  bool (*run)(std::ostream&);
};

const std::vector<TestRoutine>& Routines() {
  static const std::vector<TestRoutine> routines = {
      {"characters", PrintCharacters},   {"write-file", WriteScratchFile}, {"read-file", PrintScratchFile},
      {"grammar", PrintExpandedGrammar}, {"trim", PrintTrimmed},           {"orderings", PrintOrderings},
  };
  return routines;
}

}  // namespace

const std::vector<std::string>& TestRoutineNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> all;
    for (const TestRoutine& routine : Routines()) all.push_back(routine.name);
    return all;
  }();
  return names;
}

bool RunTestRoutine(const std::string& name, std::ostream& output) {
  for (const TestRoutine& routine : Routines()) {
    if (routine.name == name) return routine.run(output);
  }
  return false;
}
