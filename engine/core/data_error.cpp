#include "engine/core/data_error.h"

#include <cstdio>

#include "engine/core/vorn.h"

void ShowDataError(const char* text) {
  constexpr const char* kCaption = "Vorn Error";
  if (Vorn.backend != nullptr) {
    Vorn.backend->Windows().MessageBox(nullptr, text, kCaption, platform::MB_OK);
  } else {
    std::fprintf(stderr, "%s: %s\n", kCaption, text);
  }
}
