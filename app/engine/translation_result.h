// What one translation gives a front end: the output text, the alternatives,
// both F-structure trees with their headings, the messages the engines
// showed, the C-structure documents and the phase timings. The command line
// prints from it; the page shows it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/display/fstructure_tree.h"
#include "core/wide_string.h"

class CFSNode;
class CParseResult;

struct CTranslationMessage {
  WString text;
  WString caption;
  unsigned style = 0;
};

// The C-structure file of one segment, taken right after it was written.
struct CStructureDocument {
  int segment = 0;       // 1-based segment number
  std::string path;      // as the pipeline names it ("data\CStructures.xml")
  WString xml;           // the file's text
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
  // What the generated sentence leaves out of the segment: the English
  // words whose Urdu it does not say and symbols taken out of it. A
  // generated segment with words here is translated in part.
  std::vector<WString> leftOut;
  int64_t parseMilliseconds = 0;
  int64_t mapMilliseconds = 0;
  int64_t generateMilliseconds = 0;
  // The same phases in microseconds; parsing split into the chart with its
  // solving and the conversion of the solution into the F-structure tree.
  int64_t chartMicroseconds = 0;
  int64_t treeMicroseconds = 0;
  int64_t mapMicroseconds = 0;
  int64_t generateMicroseconds = 0;
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
  int64_t totalMicroseconds = 0;
  bool translated = false;  // the road ran (an engine was there and the sentence was not empty)
  // Words of the typed text that were set aside before the analysis
  // (symbols, letters of other scripts) or the whole text when it was
  // refused: none of them is in the output.
  std::vector<WString> setAside;

  // Every segment got a generated sentence that says the whole segment,
  // and nothing typed was set aside.
  bool AllSegmentsTranslated() const {
    if (!translated || segments.empty() || !setAside.empty()) return false;
    for (const CSegmentOutcome& segment : segments) {
      if (!segment.generated || !segment.leftOut.empty()) return false;
    }
    return true;
  }

  // Something was generated, but some of the typed words are not in it.
  bool PartlyTranslated() const {
    bool anyGenerated = false, anyLoss = !setAside.empty();
    for (const CSegmentOutcome& segment : segments) {
      anyGenerated = anyGenerated || segment.generated;
      anyLoss = anyLoss || !segment.generated || !segment.leftOut.empty();
    }
    return translated && anyGenerated && anyLoss;
  }
};

// What a front end asks of one translation.
struct CTranslateOptions {
  bool showCStructure = false;   // write and hand over each segment's C-structures
  bool chartParserRoad = false;  // the older road over the LFG chart parser
  // Called with each segment's analysis right after the parse, before it is
  // mapped (the sentence list writes the F-structures so).
  std::function<void(const CParseResult& analysis)> parsedAnalysis = nullptr;
  // Called with each Urdu structure once it is complete (frame features,
  // pronoun features, order), before the segment is generated.
  std::function<void(const CFSNode& target)> completedTarget = nullptr;
};
