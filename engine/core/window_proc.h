// The handler of the engine's window class: turns window messages into the engine object's input
// state, window position and focus flag, then hands each message to the default handling.
#pragma once

#include <cstdint>

#include "platform/platform.h"

intptr_t WindowProc(platform::Window window, uint32_t message, uintptr_t wparam, intptr_t lparam);
