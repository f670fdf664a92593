// Cost of attachment ambiguity: "The boy reads a book" followed by 0 to 5
// prepositional phrases, each of which may modify the verb or any noun
// before it, so the packed analyses multiply with every phrase. For each
// length it prints whether the sentence was analysed, the median time of an
// analysis (tokenising to the F-structure tree) and the peak heap above the
// engine's own while analysing, as the sentence's memory budget samples it.
//
// usage: pp_attachment_bench [--data-root DIR] [--runs N]
#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/english_engine.h"
#include "platform/heap_meter.h"
#include "platform/message_box.h"

namespace {

size_t LibraryHeapBytes() {
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

// The highest heap the parser's budget checks saw since the last reset.
size_t g_peak = 0;

size_t MeterRecordingPeak() {
  const size_t now = LibraryHeapBytes();
  g_peak = std::max(g_peak, now);
  return now;
}

}  // namespace

int main(int argc, char** argv) {
  std::string dataRoot = std::string(LFG_SOURCE_DIR) + "/dataroot";
  int runs = 15;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--data-root") {
      dataRoot = argv[i + 1];
    } else if (option == "--runs") {
      runs = std::max(1, std::stoi(argv[i + 1]));
    } else {
      std::fprintf(stderr, "usage: pp_attachment_bench [--data-root DIR] [--runs N]\n");
      return 2;
    }
  }
  int messages = 0;
  SetMessageHandler([&messages](const std::u16string&, const std::u16string&, unsigned) {
    ++messages;
    return 1;
  });
  english_bench::Engine engine(dataRoot, "lfg_pp_attachment_bench_");
  if (!engine.Start(true)) {
    std::fprintf(stderr, "the engine of %s failed to start: %s\n", dataRoot.c_str(), engine.Failure().c_str());
    return 1;
  }
  SetHeapMeterForTesting(MeterRecordingPeak);

  const char* phrases[] = {"in the garden", "with a pen", "on Sunday", "near the river", "after lunch"};
  std::printf("%-4s %-9s %-10s %-12s %s\n", "PPs", "analysed", "median ms", "peak heap KB", "messages");
  std::string sentence = "The boy reads a book";
  for (int count = 0; count <= 5; ++count) {
    if (count > 0) sentence += std::string(" ") + phrases[count - 1];
    const std::string text = sentence + ".";
    std::vector<double> times;
    size_t peak = 0;
    bool analysed = false;
    messages = 0;
    for (int run = 0; run <= runs; ++run) {  // run 0 warms up
      const size_t before = LibraryHeapBytes();
      g_peak = before;
      const auto begin = std::chrono::steady_clock::now();
      CTranslationResult result;
      analysed = english_bench::AnalyseLine(engine.translator(), text, nullptr, &result);
      messages += static_cast<int>(result.messages.size());
      const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count();
      if (run == 0) continue;
      times.push_back(ms);
      peak = std::max(peak, g_peak - before);
    }
    std::sort(times.begin(), times.end());
    std::printf("%-4d %-9s %-10.2f %-12zu %d\n", count, analysed ? "yes" : "no", times[times.size() / 2], peak / 1024,
                messages / (runs + 1));
  }
  SetHeapMeterForTesting({});
  return 0;
}
