// The page's keyboard events in the desktop's terms: a key's physical position (the event's
// `code`, which does not change with the layout or with shift) gives the virtual-key code, and
// the produced text (the event's `key`) gives the character typed, if any.
#pragma once

#include <cstdint>
#include <string_view>

namespace platform::web {

// The virtual-key code of a key position such as "KeyD" or "ArrowLeft"; 0 for keys the desktop
// has no code for.
uint8_t VirtualKeyFromCode(std::string_view code);

// The character a key press types: a printable ASCII character, or the control character of
// backspace, tab, enter and escape; 0 when it types nothing (shift, the arrows, non-ASCII).
uint8_t TypedCharacter(std::string_view key);

// Whether the browser's own use of a key is kept: function keys and shortcuts held with control
// or the system key still reload, zoom and open the tools; everything else belongs to the game,
// so that the arrows and space do not scroll the page under it.
bool BrowserKeepsKey(uint8_t virtual_key, bool control, bool meta);

}  // namespace platform::web
