// Errors of the compiled English grammar and of the CFG parser's lexicon.
//
// A compile that meets text it cannot use (a wrong part of speech, a
// subcategorisation list that names no frame, a full table, a dump that does
// not belong to the others) shows a message naming the file and the entry,
// then raises CCompileError. The constructors of P_Grammar and CELexicon
// catch it and keep the object in a failed state, so engine set-up can stop
// cleanly instead of the process ending on an uncaught error.
#pragma once

#include <stdexcept>
#include <string>

#include "core/wide_string.h"

class CCompileError : public std::runtime_error {
 public:
  explicit CCompileError(const std::string& what) : std::runtime_error(what) {}
};

// Shows text (with the location on a line of its own when there is one) under
// the caption with the information icon, then raises CCompileError carrying
// errorText.
[[noreturn]] void FailCompile(const WString& text, const WString& caption, const std::string& errorText,
                              const std::string& location = std::string());

// "in <file>, entry \"<entry>\"" (the entry part only when there is one).
std::string CompileLocation(const std::string& file, const WString& entry = WString());
