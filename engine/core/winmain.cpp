// The program's entry: start the game, run the message loop, give the game a frame whenever no
// message waits, release the display at the end.
#include "engine/core/hooks.h"
#include "engine/core/vorn.h"
#include "platform/messages.h"

int WinMain(void* instance, void*, char*, int show_cmd) {
  Vorn.instance = instance;
  Vorn.show_cmd = show_cmd;
  GameInit();
  if (Vorn.status != STATUS_RUNNING || Vorn.backend == nullptr) {
    // A failed start leaves what it made; the process ends without CleanUp.
    Vorn.ReportError();
    return -1;
  }
  platform::WindowSystem& windows = Vorn.backend->Windows();
  platform::Message message;
  for (;;) {
    if (windows.PeekMessage(&message)) {
      if (message.message == platform::WM_QUIT) break;
      windows.TranslateMessage(message);
      windows.DispatchMessage(message);
    } else {
      GameRun();
    }
  }
  Vorn.CleanUp();
  return static_cast<int>(message.wparam);
}
