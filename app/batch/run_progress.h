// The wait cursor of a list run on the command line: one line on standard
// error when the run starts, then how many of its sentences are done. On a
// terminal the figure is rewritten in place (carriage return); elsewhere
// (a file, a pipe) each figure is a line of its own.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>

class CRunProgressPrinter {
 public:
  // start: what the run does to its sentences ("Sentence list: translating").
  CRunProgressPrinter(std::ostream& errors, std::string start, bool inPlace);
  // Ends a figure written in place, so that what follows has its own line.
  ~CRunProgressPrinter();
  CRunProgressPrinter(const CRunProgressPrinter&) = delete;
  CRunProgressPrinter& operator=(const CRunProgressPrinter&) = delete;

  // The run's ListRunProgress: done 0 starts the run.
  void Report(size_t done, size_t all);

 private:
  std::ostream& errors_;
  std::string start_;
  bool inPlace_;
  bool figureOpen_ = false;  // a figure without its line end stands on the terminal
};
