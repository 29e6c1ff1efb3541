// A back end that passes every call on to another one and notes, in order, each sound buffer
// that is started, so that a replay can report the sounds of a frame as they were played.
#pragma once

#include <memory>
#include <vector>

#include "platform/platform.h"

namespace match_sim {

class PlayLog final : public platform::Platform {
 public:
  explicit PlayLog(platform::Platform& inner);
  ~PlayLog() override;

  platform::WindowSystem& Windows() override { return inner_.Windows(); }
  platform::Result CreateDisplay(platform::Display** out) override {
    return inner_.CreateDisplay(out);
  }
  platform::Result CreateSound(platform::Sound** out) override;
  uint32_t Milliseconds() override { return inner_.Milliseconds(); }

  // The buffers started since the last call, in the order they were started. They are the
  // buffers the engine holds in its sound registry.
  std::vector<const platform::SoundBuffer*> TakePlays();

  // Used by the buffers this back end hands out.
  void NotePlay(const platform::SoundBuffer* buffer) { plays_.push_back(buffer); }

 private:
  class Sound;
  class Buffer;

  platform::Platform& inner_;
  std::vector<std::unique_ptr<Sound>> sounds_;
  std::vector<const platform::SoundBuffer*> plays_;
};

}  // namespace match_sim
