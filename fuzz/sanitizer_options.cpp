// The AddressSanitizer options every fuzz target starts with, wherever it is
// run (scripts/fuzz.sh, the CTests, a finding replayed by hand); ASAN_OPTIONS
// in the environment still overrides each of them.
//
// malloc_context_size: the sanitizer keeps the call stack of every
// allocation and release, once per distinct stack, for the life of the
// process. The sentence analysis allocates millions of blocks per input from
// recursive walks over the chart and the F-structures, and at the default
// depth of 30 frames nearly every stack is new: 300 sentences stored 12.5
// million stacks (3.2 GB), so a fuzz run reached the 2 GB limit although no
// input needs more than the start-up's memory. Ten frames still name the
// function and its callers in a report, and the distinct stacks stay in the
// thousands.

// The sanitizer looks the function up by this name.
extern "C" const char* __asan_default_options();

extern "C" const char* __asan_default_options() { return "malloc_context_size=10"; }
