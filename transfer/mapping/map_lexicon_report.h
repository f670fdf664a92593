// Reports of the mapping-lexicon compiler and dump reader: a message box with
// the compiler's caption, and trace-log lines for what is dropped on purpose.
#pragma once

#include <string>

#include "core/wide_string.h"

// Shows the text in a message box captioned "Mapping Lexicon".
void ReportMapLexiconProblem(const WString& text);
// "<file>, line <n>: <text>" in a message box.
void ReportMapLexiconProblemAt(const std::string& file, int line, const WString& text);
