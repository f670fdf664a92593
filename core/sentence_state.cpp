#include "core/sentence_state.h"

#include <array>

#include "core/fs_handle.h"
#include "core/fs_node.h"
#include "core/production.h"
#include "core/sentence_arena.h"

namespace {

constexpr size_t kPartCount = static_cast<size_t>(SentencePart::kConstraints) + 1;

std::array<SentenceRelease, kPartCount>& Releases() {
  static std::array<SentenceRelease, kPartCount> releases = [] {
    std::array<SentenceRelease, kPartCount> built;
    built[static_cast<size_t>(SentencePart::kProductions)] = DeleteGlobalObjectList;
    built[static_cast<size_t>(SentencePart::kHandles)] = CFSHandle::DeleteAll;
    built[static_cast<size_t>(SentencePart::kNodes)] = CFSNode::DeleteAll;
    return built;
  }();
  return releases;
}

void ResetParts(size_t end) {
  for (size_t part = 0; part < end; ++part) {
    // A copy: a release may replace releases (a parser freed with its chart).
    const SentenceRelease release = Releases()[part];
    if (release) release();
  }
  // Every part has freed its objects; what they took from the arena goes
  // back in one step. Where a part's release was replaced by one that keeps
  // its objects, the arena keeps them too rather than leave them dangling.
  if (SentenceArena().LiveBlocks() == 0) SentenceArena().Release();
}

}  // namespace

void SetSentenceRelease(SentencePart part, SentenceRelease release) {
  Releases()[static_cast<size_t>(part)] = std::move(release);
}

void ResetSentenceSegment() { ResetParts(static_cast<size_t>(SentencePart::kConstraints)); }

void ResetSentenceState() { ResetParts(kPartCount); }
