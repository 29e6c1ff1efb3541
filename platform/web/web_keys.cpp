#include "platform/web/web_keys.h"

#include "platform/messages.h"

namespace platform::web {
namespace {

struct CodeKey {
  std::string_view code;
  uint8_t key;
};

// Positions that are not letters, digits, keypad digits or function keys (those are counted).
constexpr CodeKey kCodes[] = {
    {"Backspace", VK_BACK},
    {"Tab", VK_TAB},
    {"Enter", VK_RETURN},
    {"NumpadEnter", VK_RETURN},
    {"ShiftLeft", VK_SHIFT},
    {"ShiftRight", VK_SHIFT},
    {"ControlLeft", VK_CONTROL},
    {"ControlRight", VK_CONTROL},
    {"AltLeft", VK_MENU},
    {"AltRight", VK_MENU},
    {"Pause", 0x13},
    {"CapsLock", 0x14},
    {"Escape", VK_ESCAPE},
    {"Space", VK_SPACE},
    {"PageUp", 0x21},
    {"PageDown", 0x22},
    {"End", 0x23},
    {"Home", 0x24},
    {"ArrowLeft", VK_LEFT},
    {"ArrowUp", VK_UP},
    {"ArrowRight", VK_RIGHT},
    {"ArrowDown", VK_DOWN},
    {"PrintScreen", 0x2C},
    {"Insert", 0x2D},
    {"Delete", 0x2E},
    {"MetaLeft", 0x5B},
    {"MetaRight", 0x5C},
    {"ContextMenu", 0x5D},
    {"NumpadMultiply", 0x6A},
    {"NumpadAdd", 0x6B},
    {"NumpadSubtract", 0x6D},
    {"NumpadDecimal", 0x6E},
    {"NumpadDivide", 0x6F},
    {"NumLock", 0x90},
    {"ScrollLock", 0x91},
    {"Semicolon", VK_OEM_1},
    {"Equal", VK_OEM_PLUS},
    {"Comma", VK_OEM_COMMA},
    {"Minus", VK_OEM_MINUS},
    {"Period", VK_OEM_PERIOD},
    {"Slash", VK_OEM_2},
    {"Backquote", VK_OEM_3},
    {"BracketLeft", VK_OEM_4},
    {"Backslash", VK_OEM_5},
    {"BracketRight", VK_OEM_6},
    {"Quote", VK_OEM_7},
};

constexpr uint8_t kNumpad0 = 0x60;

// The number after `prefix` in `code`, when it is one within [low, high].
bool Numbered(std::string_view code, std::string_view prefix, int low, int high, int* value) {
  if (!code.starts_with(prefix)) return false;
  const std::string_view digits = code.substr(prefix.size());
  if (digits.empty() || digits.size() > 2) return false;
  int v = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
  }
  if (v < low || v > high) return false;
  *value = v;
  return true;
}

}  // namespace

uint8_t VirtualKeyFromCode(std::string_view code) {
  if (code.size() == 4 && code.starts_with("Key") && code[3] >= 'A' && code[3] <= 'Z') {
    return static_cast<uint8_t>(code[3]);
  }
  int n = 0;
  if (Numbered(code, "Digit", 0, 9, &n)) return static_cast<uint8_t>('0' + n);
  if (Numbered(code, "Numpad", 0, 9, &n)) return static_cast<uint8_t>(kNumpad0 + n);
  if (Numbered(code, "F", 1, 12, &n)) return static_cast<uint8_t>(VK_F1 + n - 1);
  for (const CodeKey& entry : kCodes) {
    if (entry.code == code) return entry.key;
  }
  return 0;
}

uint8_t TypedCharacter(std::string_view key) {
  if (key.size() == 1 && key[0] >= 0x20 && key[0] < 0x7F) return static_cast<uint8_t>(key[0]);
  if (key == "Backspace") return VK_BACK;
  if (key == "Tab") return VK_TAB;
  if (key == "Enter") return VK_RETURN;
  if (key == "Escape") return VK_ESCAPE;
  return 0;
}

bool BrowserKeepsKey(uint8_t virtual_key, bool control, bool meta) {
  const bool function_key = virtual_key >= VK_F1 && virtual_key < VK_F1 + 12;
  return control || meta || function_key;
}

}  // namespace platform::web
