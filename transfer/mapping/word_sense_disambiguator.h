// Word-sense disambiguation: orders the candidate entries of an ambiguous
// English word by the collocations that the sentence around it contains.
//
// Three binary files (all little-endian):
//   word list ("WSDWordListFile"): 60-byte records: the word (50 bytes,
//     NUL-terminated unless full), category byte, one unused byte, first and
//     last sense record numbers (u32, counted from 1).
//   sense info ("WSDSenseInfoFile"): 12-byte records: first and last
//     collocation record numbers (u32, from 1), sense number (u32, the '@'
//     number of a mapping entry).
//   collocation info ("WSDCollInfoFile"): 64-byte records: collocate (52
//     bytes, NUL-terminated), distance (i32, negative before the word), score
//     (float), next slot of the hash chain (i32 within the sense's block, 0
//     ends the chain). The records of one sense form one hash table: a
//     collocate hashing to h sits at slot h or further along its chain.
// tools/build_sense_files.py builds them from
// datasrc/data/wsd/SenseCollocations.txt.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/wide_string.h"
#include "platform/file_system.h"

class CMapLexEntry;
class CNamedIdList;

// The hash of the collocation tables: 0 when modulus is below 2; otherwise
// h = (c + a*h) mod M, a = (a*27183) mod (M-1) over the bytes c of the text
// (sign-extended), a starting at 31415, in wrapping 32-bit arithmetic.
uint32_t HashString(const std::string& text, uint32_t modulus);

// One candidate translation of a word: its entry and sense number.
class CSenseCandidate {
 public:
  CSenseCandidate(uint32_t senseNumber, CMapLexEntry* entry);
  ~CSenseCandidate();
  CSenseCandidate(const CSenseCandidate&) = delete;
  CSenseCandidate& operator=(const CSenseCandidate&) = delete;

  uint32_t senseNumber = 0;
  CMapLexEntry* entry = nullptr;  // not owned
  float score = 0.0f;

  static int liveInstances;
};

// Record sizes of the three files.
constexpr size_t kWordRecordBytes = 60;
constexpr size_t kWordFieldBytes = 50;
constexpr size_t kSenseRecordBytes = 12;
constexpr size_t kCollocationRecordBytes = 64;
constexpr size_t kCollocateFieldBytes = 52;

// A word-list record.
struct CWordListRecord {
  std::string word;
  uint8_t category = 0;
  uint32_t firstSense = 0;
  uint32_t lastSense = 0;
};

// A sense-info record.
struct CSenseRecord {
  uint32_t firstCollocation = 0;
  uint32_t lastCollocation = 0;
  uint32_t senseNumber = 0;
};

// A collocation-info record (one slot of a sense's hash table).
struct CCollocationRecord {
  std::string collocate;  // up to its NUL, blanks trimmed
  int32_t distance = 0;
  float score = 0.0f;
  int32_t next = 0;
};

// A word of the sentence around the ambiguous word.
struct CContextRecord {
  std::string word;  // at most 49 characters
  uint16_t category = 0;
  int32_t distance = 0;
};

class CWordSenseDisambiguator {
 public:
  CWordSenseDisambiguator();
  ~CWordSenseDisambiguator();
  CWordSenseDisambiguator(const CWordSenseDisambiguator&) = delete;
  CWordSenseDisambiguator& operator=(const CWordSenseDisambiguator&) = delete;

  // Reads the three file names and the window size from the configuration,
  // opens the sense-info and collocation-info files, then loads the word
  // list. False when a file cannot be opened.
  bool ReadConfiguration();
  // Reads the word list into the word table. False when it cannot be opened.
  bool LoadWordList();

  // Orders the candidates of the word at position in tokens, best sense
  // first. False, order unchanged, when the word is unknown, the position is
  // outside the tokens or no candidate scores above 0.
  bool Disambiguate(const WString& word, std::vector<CSenseCandidate*>& candidates, const CNamedIdList& tokens,
                    int position);
  // The best score of the collocations of the sense that the context holds;
  // 0 when the sense is not among senses or nothing matches.
  float ScoreCollocations(uint32_t senseNumber, const std::vector<CSenseRecord>& senses,
                          const std::vector<CContextRecord>& context);
  // Sense records first..last (counted from 1). Empty when the numbers are
  // not 1 <= first <= last <= the records of the file, or a read falls short.
  void ReadSenseRecords(uint32_t first, uint32_t last, std::vector<CSenseRecord>& out);
  // Collocation records first..last, checked like the sense records.
  void ReadCollocationRecords(uint32_t first, uint32_t last, std::vector<CCollocationRecord>& buffer);

  // Empties the candidate list.
  void Clear();

  // The window, in tokens on either side of the word.
  int WindowSize() const { return windowSize_; }
  void SetWindowSize(int size) { windowSize_ = size; }
  size_t WordCount() const { return wordTable_.size(); }

  // Keeps the three file names and opens the sense-info and
  // collocation-info files (ReadConfiguration passes the configured names).
  // False when either cannot be opened.
  bool OpenSenseFiles(const std::string& wordListFile, const std::string& senseInfoFile,
                      const std::string& collocationInfoFile);

 private:
  std::vector<CContextRecord> BuildContext(const CNamedIdList& tokens, int position) const;
  // Reads count records of size bytes from record number first (from 1);
  // false when the numbers are outside the file or a read falls short.
  static bool ReadRecords(FILE* file, uint64_t recordCount, size_t size, uint32_t first, uint32_t last,
                          std::vector<unsigned char>& bytes);

  std::unordered_map<std::string, CWordListRecord> wordTable_;
  std::vector<CSenseCandidate*> candidates_;
  std::string wordListFile_;
  std::string senseInfoFile_;
  std::string collocationInfoFile_;
  FileHandle senseInfo_;
  FileHandle collocationInfo_;
  uint64_t senseRecordCount_ = 0;
  uint64_t collocationRecordCount_ = 0;
  int windowSize_ = 0;
};
