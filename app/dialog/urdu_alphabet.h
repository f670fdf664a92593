// The Urdu alphabet of the dialog's captions: 46 entries in dictionary
// order (alif, alif with hamza, alif madda, be, pe, ... bari ye with hamza,
// hamza on ye, do-chashmi he) and the blank that joins words. The Urdu words
// of the captions are written with these letters only.
#pragma once

#include <array>
#include <cstddef>

#include "core/wide_string.h"

class CUrduAlphabet {
 public:
  static constexpr size_t kSize = 46;
  static constexpr std::array<WChar, kSize> kLetters = {
      u'\u0627', u'\u0623', u'\u0622', u'\u0628', u'\u067E', u'\u062A', u'\u0679', u'\u062B', u'\u062C', u'\u0686',
      u'\u062D', u'\u062E', u'\u062F', u'\u0688', u'\u0630', u'\u0631', u'\u0691', u'\u0632', u'\u0698', u'\u0633',
      u'\u0634', u'\u0635', u'\u0636', u'\u0637', u'\u0638', u'\u0639', u'\u063A', u'\u0641', u'\u0642', u'\u06A9',
      u'\u06AF', u'\u0644', u'\u0645', u'\u06BA', u'\u0646', u'\u0648', u'\u0624', u'\u06C1', u'\u0629', u'\u0621',
      u'\u06CC', u'\u06D2', u'\u06D3', u'\u0626', u'\u06BE', u'\u0020'};

  // The entry at the index as a one-letter string.
  static WString Letter(size_t index) { return WString(1, kLetters.at(index)); }
  static bool Contains(WChar unit);
};
