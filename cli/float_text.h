#pragma once

// The shortest text of a 32-bit value that reads back to it, character for character what
// std::to_chars(first, last, value) writes (fixed or scientific notation, whichever is shorter,
// fixed on a tie), found in a few integer operations for the values a response holds. Every
// answer writes dozens of such values; the general conversion costs several times as much.

namespace quorvane {

// Writes the text of `value` from `out` (at most 15 characters; the buffer must hold them) and
// returns the end of it.
char* WriteShortestFloat(char* out, float value);

} // namespace quorvane
