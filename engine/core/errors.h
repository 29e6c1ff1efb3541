// State codes of the engine and their error texts.
#pragma once

constexpr int STATUS_NO_INIT = 0;
// Start-up's stages reached, in order; each failure code is one above the stage it failed after.
constexpr int STATUS_CLASS_REGISTERED = 2;
constexpr int STATUS_WINDOW_MEASURED = 4;
constexpr int STATUS_WINDOW_CREATED = 6;
constexpr int STATUS_WINDOW_SHOWN = 8;
constexpr int STATUS_DISPLAY_CREATED = 10;
constexpr int STATUS_DISPLAY_LEVEL_SET = 12;
constexpr int STATUS_MODE_SET = 14;
constexpr int STATUS_FRONT_CREATED = 16;
constexpr int STATUS_SURFACES_CREATED = 18;
constexpr int STATUS_RUNNING = 19;
constexpr int STATUS_VIEWLOCK_FAILED = 20;

constexpr int ERR_NO_INIT = 0;
constexpr int ERR_INITCLASS = 1;
constexpr int ERR_INITWINTEMP = 3;
constexpr int ERR_INITWINREAL = 5;
constexpr int ERR_SHOWWIN = 7;
constexpr int ERR_DDSTART = 9;
constexpr int ERR_DDSETLEVEL = 11;
constexpr int ERR_SETMODE = 13;
constexpr int ERR_FRONTSURFACE = 15;
constexpr int ERR_BACKSURFACE = 17;
constexpr int ERR_REQSIZE = 21;
constexpr int ERR_BPP = 22;
constexpr int ERR_SOUNDINIT = 23;
constexpr int ERR_SOUNDCOOP = 24;
constexpr int ERR_SOUNDCREATE = 25;
constexpr int ERR_SOUNDMATCH = 26;
constexpr int ERR_SOUNDCAPS = 27;
constexpr int ERR_SOUNDBUFLEN = 28;
constexpr int ERR_SOUNDLOST = 29;
constexpr int ERR_SOUNDINVALID = 30;
constexpr int ERR_SOUNDPARAM = 31;
constexpr int ERR_SOUNDPRIORITY = 32;
constexpr int ERR_IMAGEUSE = 33;

struct ErrorText {
  const char* line;    // "Error: NAME (what failed)"
  const char* advice;  // what the user can do about it
};

// The error line and advice text for a code; the unregistered pair for codes without an entry.
ErrorText LookUpError(int code);
