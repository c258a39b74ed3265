// Linked into every GoogleTest program: the font names the programs keep
// between runs, and those of the tools they start, go to a folder of the
// build, never to the user's cache, before any test can look for them.

#include <cstdlib>

namespace {

const bool cacheHomeSet = ::setenv("XDG_CACHE_HOME", SPANWICK_TEST_CACHE_HOME, 1) == 0;

}  // namespace
