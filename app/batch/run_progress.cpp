#include "app/batch/run_progress.h"

#include <ostream>
#include <utility>

CRunProgressPrinter::CRunProgressPrinter(std::ostream& errors, std::string start, bool inPlace)
    : errors_(errors), start_(std::move(start)), inPlace_(inPlace) {}

CRunProgressPrinter::~CRunProgressPrinter() {
  if (figureOpen_) errors_ << '\n' << std::flush;
}

void CRunProgressPrinter::Report(size_t done, size_t all) {
  if (done == 0) {
    errors_ << start_ << ' ' << all << (all == 1 ? " sentence" : " sentences") << '\n' << std::flush;
    return;
  }
  if (inPlace_) {
    errors_ << '\r' << done << " of " << all << " done" << std::flush;
    figureOpen_ = true;
    if (done == all) {
      errors_ << '\n' << std::flush;
      figureOpen_ = false;
    }
    return;
  }
  errors_ << done << " of " << all << " done\n" << std::flush;
}
