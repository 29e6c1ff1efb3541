// The game's two hooks and the program entry. The game (or a test) defines the hooks.
#pragma once

void GameInit();
// Runs one frame; its result is the result of presenting it (the entry ignores it).
int GameRun();

// Starts the game, runs the message loop, gives the game one frame whenever no message waits.
int WinMain(void* instance, void* prev_instance, char* command_line, int show_cmd);
