#include "core/token.h"

// CToken is a plain value; this file keeps the one-pair-per-class layout.
