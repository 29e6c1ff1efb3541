// The one way the engine ends the program on bad data or misuse, so that tests can observe it.
#pragma once

// Ends the program with the given status; the debug log is closed on the way out.
[[noreturn]] void VornExit(int status);
