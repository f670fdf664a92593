#include "analysis/segmentation/sentence_segment.h"

// CSentenceSegment is a plain record; this file keeps the one-pair-per-class
// layout.
