// The program's entry: start the game, run the message loop, give the game a frame whenever no
// message waits, release the display at the end.
#include "engine/core/hooks.h"
#include "engine/core/vorn.h"
#include "platform/messages.h"

namespace {

// Every waiting message, then one frame: the same order as a loop that runs a frame whenever it
// finds no message. False once the quit message comes, with its code in *exit_code.
bool LoopPass(int* exit_code) {
  platform::WindowSystem& windows = Vorn.backend->Windows();
  platform::Message message;
  while (windows.PeekMessage(&message)) {
    if (message.message == platform::WM_QUIT) {
      *exit_code = static_cast<int>(message.wparam);
      return false;
    }
    windows.TranslateMessage(message);
    windows.DispatchMessage(message);
  }
  GameRun();
  return true;
}

int LoopEnd(int exit_code) {
  Vorn.CleanUp();
  return exit_code;
}

}  // namespace

int WinMain(void* instance, void*, char*, int show_cmd) {
  Vorn.instance = instance;
  Vorn.show_cmd = show_cmd;
  GameInit();
  if (Vorn.status != STATUS_RUNNING || Vorn.backend == nullptr) {
    // A failed start leaves what it made; the process ends without CleanUp.
    Vorn.ReportError();
    return -1;
  }
  // A host that cannot be blocked in (a browser page) runs the passes from its own frames.
  if (Vorn.backend->TakeLoop(platform::LoopHooks{LoopPass, LoopEnd})) return 0;
  int exit_code = 0;
  while (LoopPass(&exit_code)) {
  }
  return LoopEnd(exit_code);
}
