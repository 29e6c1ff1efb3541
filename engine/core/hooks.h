// The game's two hooks and the program entry. The game (or a test) defines the hooks.
#pragma once

void GameInit();
void GameRun();

// Starts the game, runs the message loop, gives the game one frame whenever no message waits.
int WinMain(void* instance, void* prev_instance, char* command_line, int show_cmd);
