#include "app/dialog/urdu_alphabet.h"

#include <algorithm>

bool CUrduAlphabet::Contains(WChar unit) { return std::find(kLetters.begin(), kLetters.end(), unit) != kLetters.end(); }
