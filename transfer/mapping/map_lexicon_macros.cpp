// The macro file of the mapping files and the expansion of macro calls in a
// raw file.
#include "core/file_reader.h"
#include "core/file_writer.h"
#include "core/string_helpers.h"
#include "transfer/mapping/map_lexicon.h"
#include "transfer/mapping/map_lexicon_report.h"

namespace {

constexpr int kMacroBufferUnits = 256;
constexpr int kRawBufferUnits = 512;

// Reads "(a, b, c)" after its '(' up to and including ')'. Names are
// trimmed; "()" is no name at all and an empty last name is not added, so
// "(x,)" is the one parameter x. False when a name before a comma is empty.
bool ReadParameterNames(CFileReader& reader, std::vector<WString>& names) {
  WString current;
  bool allNamed = true;
  WChar unit = reader.NextChar();
  for (; unit != 0 && unit != u')'; unit = reader.NextChar()) {
    if (unit != u',') {
      current += unit;
      continue;
    }
    const WString name = TrimWString(current);
    if (name.empty()) allNamed = false;
    names.push_back(name);
    current.clear();
  }
  if (unit == u')') reader.NextChar();
  const WString last = TrimWString(current);
  if (!last.empty()) names.push_back(last);
  return allNamed;
}

// Reads a call's arguments after its '(' up to and including ')'; arguments
// are not trimmed and an empty last one is not added. False when the end of
// the file comes first.
bool ReadArguments(CFileReader& reader, std::vector<WString>& arguments) {
  WString current;
  WChar unit = reader.NextChar();
  for (; unit != 0 && unit != u')'; unit = reader.NextChar()) {
    if (unit == u',') {
      arguments.push_back(current);
      current.clear();
    } else {
      current += unit;
    }
  }
  if (unit == 0) return false;
  reader.NextChar();
  if (!current.empty()) arguments.push_back(current);
  return true;
}

}  // namespace

bool CMapLexicon::ReadMacroDefinitions(const std::string& macroFile) {
  CFileReader reader(macroFile, kMacroBufferUnits);
  if (!reader.IsOpen()) return false;
  WChar unit = reader.GetChar();
  while (unit != 0) {
    if (unit != u'#') {
      unit = reader.NextChar();
      continue;
    }
    CMapLexMacro macro;
    for (unit = reader.NextChar(); unit != 0 && unit != u'(' && unit != u':'; unit = reader.NextChar()) {
      macro.name += unit;
    }
    macro.name = TrimWString(macro.name);
    bool allNamed = true;
    if (unit == u'(') allNamed = ReadParameterNames(reader, macro.parameters);
    for (unit = reader.GetChar(); unit != 0 && unit != u':'; unit = reader.NextChar()) {
    }
    if (unit == u':') unit = reader.NextChar();
    for (; unit != 0 && unit != u'$'; unit = reader.NextChar()) macro.body += unit;
    if (unit == u'$') unit = reader.NextChar();
    macro.body = TrimWString(macro.body);
    if (!allNamed) {
      // A call could not tell which argument an unnamed parameter takes.
      ReportMapLexiconProblem(u"The macro '" + macro.name + u"' of '" + NarrowToWide(macroFile) +
                              u"' has an empty parameter name; it is not kept.");
      continue;
    }
    macros_.emplace(macro.name, std::move(macro));
  }
  return true;
}

bool CMapLexicon::ExpandMacros(const std::string& rawFile, const std::string& expandedFile) {
  CFileReader reader(rawFile, kRawBufferUnits);
  if (!reader.IsOpen()) return false;
  WString expanded;
  WChar unit = reader.GetChar();
  while (unit != 0) {
    if (unit != u'#') {
      expanded += unit;
      unit = reader.NextChar();
      continue;
    }
    WString name;
    for (unit = reader.NextChar(); unit != 0 && unit != u'('; unit = reader.NextChar()) name += unit;
    std::vector<WString> arguments;
    // A call cut by the end of the file ends the text there: the file was
    // cut short, and the lexicon it gives is refused.
    if (unit == 0 || !ReadArguments(reader, arguments)) {
      ReportMapLexiconProblem(u"'" + NarrowToWide(rawFile) + u"' ends inside the macro call '#" + name +
                              u"'; it is damaged or cut short.");
      damagedFile_ = rawFile;
      break;
    }
    unit = reader.GetChar();
    auto macro = macros_.find(TrimWString(name));
    if (macro != macros_.end()) expanded += ExpandMacroBody(macro->second, arguments);
  }
  CFileWriter writer(expandedFile);
  if (!writer.IsOpen()) {
    ReportMapLexiconProblem(u"The expanded mapping file '" + NarrowToWide(expandedFile) + u"' could not be written.");
    return false;
  }
  if (!expanded.empty() && writer.Write(expanded) == 0) {
    ReportMapLexiconProblem(u"The expanded mapping file '" + NarrowToWide(expandedFile) + u"' could not be written.");
    return false;
  }
  return true;
}
