// A property a fuzz target holds its reader to: a broken one stops the run where libFuzzer sees a
// crash and keeps the input, in every build (an assert would vanish under NDEBUG).
#pragma once

inline void Check(bool condition) {
  if (!condition) __builtin_trap();
}
