// The exit codes of the translator program.
#pragma once

enum ExitCode : int {
  kExitTranslated = 0,    // every sentence translated
  kExitUntranslated = 1,  // some segment not translated (its line holds the rewritten words) or in part
  kExitUsageError = 2,    // the command line is wrong
  kExitSetUpFailed = 3,   // engine set-up failed, or the data root holds no configuration
  kExitFileError = 4,     // a file cannot be read or written
};

// The worse of two outcomes: file errors over untranslated sentences over
// success.
inline ExitCode WorseExit(ExitCode a, ExitCode b) { return a > b ? a : b; }
