#include "engine/core/exit.h"

#include <cstdlib>

// std::exit runs the static destructors, which close the debug log.
void VornExit(int status) { std::exit(status); }
