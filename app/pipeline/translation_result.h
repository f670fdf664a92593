// What one translation gives a front end: the output text, the alternatives,
// both F-structure trees with their headings, the messages the engines
// showed, the C-structure documents and the phase timings. The command line
// prints from it; the page shows it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/display/fstructure_tree.h"
#include "core/wide_string.h"

struct CTranslationMessage {
  WString text;
  WString caption;
  unsigned style = 0;
};

// The C-structure file of one segment, taken right after it was written.
struct CStructureDocument {
  int segment = 0;   // 1-based segment number
  std::string path;  // as the pipeline names it ("data\CStructures.xml")
  WString xml;       // the file's text
  bool readable = true;  // false when the file could not be read back
};

struct CSegmentOutcome {
  int number = 0;                     // 1-based
  WString english;                    // the segment's tokens joined by blanks
  WString translation;                // the first generated sentence, or the rewritten words
  std::vector<WString> alternatives;  // the further generated sentences
  bool parsed = false;
  bool mapped = false;
  bool generated = false;
  int64_t parseMilliseconds = 0;
  int64_t mapMilliseconds = 0;
  int64_t generateMilliseconds = 0;
};

struct CTranslationResult {
  WString sentence;  // as translated: cleaned and trimmed
  WString output;    // the merged text of the segments
  CTreeView sourceTree;
  CTreeView targetTree;
  std::vector<CSegmentOutcome> segments;
  std::vector<CTranslationMessage> messages;
  std::vector<CStructureDocument> cStructures;
  int64_t totalMilliseconds = 0;
  bool translated = false;  // the road ran (an engine was there and the sentence was not empty)

  // Every segment got a generated sentence.
  bool AllSegmentsTranslated() const {
    if (!translated || segments.empty()) return false;
    for (const CSegmentOutcome& segment : segments) {
      if (!segment.generated) return false;
    }
    return true;
  }
};

// What a front end asks of one translation.
struct CTranslateOptions {
  bool showCStructure = false;  // write and hand over each segment's C-structures
};
