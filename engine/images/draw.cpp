// Placeholder draw routines that draw nothing, until the real ones land.
#include "engine/images/draw.h"

int DrawPlain(int, int, Image*) { return 1; }
int DrawMasked(int, int, Image*) { return 1; }
int DrawAlpha(int, int, Image*) { return 1; }
int DrawAdditive(int, int, Image*) { return 1; }
int DrawTiled(int, int, Image*) { return 1; }
int DrawPixel(int, int, int, int, int) { return 1; }
bool ClipImage(int, int, const Image*, int*, int*, int*, int*) { return false; }
void RotateScale(const Image&, Image*, float, float) {}
