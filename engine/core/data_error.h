// The box for a data file that is missing or cannot be used, as the image and sound loaders show
// it.
#pragma once

// Shows `text` in a box captioned "Vorn Error" and waits for it to be closed. Without a window
// system (the tools) the box becomes the line "Vorn Error: TEXT" on standard error.
void ShowDataError(const char* text);
