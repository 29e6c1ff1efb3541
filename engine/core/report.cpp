#include <string>

#include "engine/core/vorn.h"
#include "engine/files/debug_log.h"

void WinDX::SetError(int code) {
  status = code;
  ReportError();
}

void WinDX::ReportError() {
  // Taken before the box opens: the window handler may run inside it and change `status`.
  const ErrorText error = LookUpError(status);
  const std::string text =
      std::string("Unable to start Vorn.\n\n") + error.line + "\n\n" + error.advice;
  if (backend != nullptr) {
    backend->Windows().MessageBox(nullptr, text.c_str(), "Vorn", platform::MB_OK);
  }
  const std::string entry = std::string("Vorn ") + error.line + "\n";
  debug_log.Output(entry.c_str(), "");
}
