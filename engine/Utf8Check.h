#pragma once
// Checks 64 bytes of text for UTF-8 at once, for the measuring loop's
// 64-byte path. Two ways to the same answer: plain SSE2, which every
// x86-64 processor has, and SSSE3's table lookups, about three times
// fewer instructions, chosen when the processor has them.

#if defined(__SSE2__)

namespace engine::utf8check {

// Whether the 64 bytes at p are UTF-8 as far as they go, given the 16
// bytes before them (whole characters, or zeros at the start of the
// data). A sequence the 64 bytes cut short is checked only up to their
// end, and a lead byte last of all may not be checked: the caller checks
// the character that crosses the end whole.
using Check = bool (*)(const unsigned char* p, const unsigned char* before);

bool sse2(const unsigned char* p, const unsigned char* before);
bool ssse3(const unsigned char* p, const unsigned char* before);  // only where hasSsse3()

bool hasSsse3();

// The fastest this processor has.
Check best();

}  // namespace engine::utf8check

#endif
