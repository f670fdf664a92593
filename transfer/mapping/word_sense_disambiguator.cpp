#include "transfer/mapping/word_sense_disambiguator.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "core/config_store.h"
#include "core/parse_result.h"
#include "core/string_helpers.h"
#include "core/text_reading.h"

int CSenseCandidate::liveInstances = 0;

namespace {

// A context word is kept in a 50-byte field with its NUL.
constexpr size_t kContextWordLength = 49;

uint32_t LittleU32(const unsigned char* bytes) {
  return bytes[0] | (uint32_t{bytes[1]} << 8) | (uint32_t{bytes[2]} << 16) | (uint32_t{bytes[3]} << 24);
}

// The text of a fixed field: up to its first NUL or the field's end.
std::string FieldText(const unsigned char* bytes, size_t size) {
  const auto* end = static_cast<const unsigned char*>(std::memchr(bytes, 0, size));
  return std::string(reinterpret_cast<const char*>(bytes), end ? static_cast<size_t>(end - bytes) : size);
}

// The number of whole records of the open file.
uint64_t CountRecords(FILE* file, size_t size) {
  if (!file || std::fseek(file, 0, SEEK_END) != 0) return 0;
  const long bytes = std::ftell(file);
  return bytes < 0 ? 0 : static_cast<uint64_t>(bytes) / size;
}

}  // namespace

uint32_t HashString(const std::string& text, uint32_t modulus) {
  if (modulus < 2) return 0;
  uint32_t hash = 0;
  uint32_t multiplier = 31415;
  for (char byte : text) {
    const auto unit = static_cast<uint32_t>(static_cast<int32_t>(static_cast<int8_t>(byte)));
    hash = (unit + multiplier * hash) % modulus;
    multiplier = (multiplier * 27183u) % (modulus - 1);
  }
  return hash;
}

CSenseCandidate::CSenseCandidate(uint32_t sense, CMapLexEntry* senseEntry) : senseNumber(sense), entry(senseEntry) {
  ++liveInstances;
}

CSenseCandidate::~CSenseCandidate() { --liveInstances; }

CWordSenseDisambiguator::CWordSenseDisambiguator() = default;

CWordSenseDisambiguator::~CWordSenseDisambiguator() { Clear(); }

void CWordSenseDisambiguator::Clear() {
  for (CSenseCandidate* candidate : candidates_) delete candidate;
  candidates_.clear();
}

bool CWordSenseDisambiguator::ReadConfiguration() {
  const std::string wordList = GetConfigValue("WSDWordListFile");
  const std::string senseInfo = GetConfigValue("WSDSenseInfoFile");
  const std::string collocationInfo = GetConfigValue("WSDCollInfoFile");
  if (!OpenSenseFiles(wordList, senseInfo, collocationInfo)) return false;
  windowSize_ = ParseDigits(GetConfigValue("WSDCollocationWindowSize", true));
  return LoadWordList();
}

bool CWordSenseDisambiguator::OpenSenseFiles(const std::string& wordListFile, const std::string& senseInfoFile,
                                             const std::string& collocationInfoFile) {
  wordListFile_ = wordListFile;
  senseInfoFile_ = senseInfoFile;
  collocationInfoFile_ = collocationInfoFile;
  senseInfo_.reset(OpenFile(senseInfoFile, "rb"));
  collocationInfo_.reset(OpenFile(collocationInfoFile, "rb"));
  senseRecordCount_ = CountRecords(senseInfo_.get(), kSenseRecordBytes);
  collocationRecordCount_ = CountRecords(collocationInfo_.get(), kCollocationRecordBytes);
  return senseInfo_ && collocationInfo_;
}

bool CWordSenseDisambiguator::LoadWordList() {
  FileHandle file(OpenFile(wordListFile_, "rb"));
  if (!file) return false;
  unsigned char bytes[kWordRecordBytes];
  while (std::fread(bytes, 1, kWordRecordBytes, file.get()) == kWordRecordBytes) {
    CWordListRecord record;
    record.word = FieldText(bytes, kWordFieldBytes);
    record.category = bytes[kWordFieldBytes];
    record.firstSense = LittleU32(bytes + 52);
    record.lastSense = LittleU32(bytes + 56);
    const std::string key = record.word + static_cast<char>(record.category);
    wordTable_[key] = std::move(record);
  }
  return true;
}

std::vector<CContextRecord> CWordSenseDisambiguator::BuildContext(const CNamedIdList& tokens, int position) const {
  std::vector<CContextRecord> context;
  auto add = [&](size_t at, int32_t distance) {
    const CNamedId* token = tokens.Items[at];
    std::string word = WideToNarrow(token->Name);
    if (word.size() > kContextWordLength) word.resize(kContextWordLength);
    context.push_back({word, static_cast<uint16_t>(token->Id), distance});
  };
  const auto size = static_cast<int64_t>(tokens.Items.size());
  for (int64_t at = position + 1, distance = 1; at < size && distance <= windowSize_; ++at, ++distance) {
    add(static_cast<size_t>(at), static_cast<int32_t>(distance));
  }
  for (int64_t at = position - 1, distance = 1; at >= 0 && distance <= windowSize_; --at, ++distance) {
    add(static_cast<size_t>(at), static_cast<int32_t>(-distance));
  }
  return context;
}

bool CWordSenseDisambiguator::Disambiguate(const WString& word, std::vector<CSenseCandidate*>& candidates,
                                           const CNamedIdList& tokens, int position) {
  if (position < 0 || static_cast<size_t>(position) >= tokens.Items.size()) return false;
  const int category = tokens.Items[static_cast<size_t>(position)]->Id;
  if (category < 0 || category > 0xFF) return false;
  // "play_1" and "play" share the entry of "play".
  const size_t underscore = word.rfind(u'_');
  const WString stem = underscore == WString::npos ? word : word.substr(0, underscore);
  auto found = wordTable_.find(WideToNarrow(stem) + static_cast<char>(category));
  if (found == wordTable_.end()) return false;

  const std::vector<CContextRecord> context = BuildContext(tokens, position);
  std::vector<CSenseRecord> senses;
  ReadSenseRecords(found->second.firstSense, found->second.lastSense, senses);
  bool anyScored = false;
  for (CSenseCandidate* candidate : candidates) {
    candidate->score = ScoreCollocations(candidate->senseNumber, senses, context);
    if (candidate->score > 0.0f) anyScored = true;
  }
  if (!anyScored) return false;
  // Highest score first; among equal scores the later candidate first.
  std::reverse(candidates.begin(), candidates.end());
  std::stable_sort(candidates.begin(), candidates.end(),
                   [](const CSenseCandidate* a, const CSenseCandidate* b) { return a->score > b->score; });
  return true;
}

float CWordSenseDisambiguator::ScoreCollocations(uint32_t senseNumber, const std::vector<CSenseRecord>& senses,
                                                 const std::vector<CContextRecord>& context) {
  auto sense = std::find_if(senses.begin(), senses.end(),
                            [&](const CSenseRecord& record) { return record.senseNumber == senseNumber; });
  if (sense == senses.end()) return 0.0f;
  std::vector<CCollocationRecord> block;
  ReadCollocationRecords(sense->firstCollocation, sense->lastCollocation, block);
  if (block.empty()) return 0.0f;
  const auto slots = static_cast<uint32_t>(block.size());
  float best = 0.0f;
  for (const CContextRecord& word : context) {
    uint32_t slot = HashString(word.word, slots);
    // A chain never visits more slots than the block has; a longer one is
    // damaged (it loops) and stops the search.
    for (uint32_t steps = 0; steps < slots; ++steps) {
      const CCollocationRecord& record = block[slot];
      if (record.collocate == word.word && record.distance == word.distance) {
        best = std::max(best, record.score);
        break;
      }
      if (record.next <= 0 || static_cast<uint32_t>(record.next) >= slots) break;
      slot = static_cast<uint32_t>(record.next);
    }
  }
  return best;
}

bool CWordSenseDisambiguator::ReadRecords(FILE* file, uint64_t recordCount, size_t size, uint32_t first, uint32_t last,
                                          std::vector<unsigned char>& bytes) {
  if (!file || first < 1 || first > last || last > recordCount) return false;
  const uint64_t count = uint64_t{last} - first + 1;
  bytes.assign(count * size, 0);
  if (std::fseek(file, static_cast<long>((uint64_t{first} - 1) * size), SEEK_SET) != 0) return false;
  return std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
}

void CWordSenseDisambiguator::ReadSenseRecords(uint32_t first, uint32_t last, std::vector<CSenseRecord>& out) {
  out.clear();
  std::vector<unsigned char> bytes;
  if (!ReadRecords(senseInfo_.get(), senseRecordCount_, kSenseRecordBytes, first, last, bytes)) return;
  for (size_t at = 0; at < bytes.size(); at += kSenseRecordBytes) {
    out.push_back({LittleU32(&bytes[at]), LittleU32(&bytes[at + 4]), LittleU32(&bytes[at + 8])});
  }
}

void CWordSenseDisambiguator::ReadCollocationRecords(uint32_t first, uint32_t last,
                                                     std::vector<CCollocationRecord>& buffer) {
  buffer.clear();
  std::vector<unsigned char> bytes;
  if (!ReadRecords(collocationInfo_.get(), collocationRecordCount_, kCollocationRecordBytes, first, last, bytes)) {
    return;
  }
  for (size_t at = 0; at < bytes.size(); at += kCollocationRecordBytes) {
    CCollocationRecord record;
    record.collocate = WideToNarrow(TrimWString(NarrowToWide(FieldText(&bytes[at], kCollocateFieldBytes))));
    record.distance = static_cast<int32_t>(LittleU32(&bytes[at + 52]));
    record.score = std::bit_cast<float>(LittleU32(&bytes[at + 56]));
    record.next = static_cast<int32_t>(LittleU32(&bytes[at + 60]));
    buffer.push_back(std::move(record));
  }
}
