#include "tools/match_sim/play_log.h"

#include <utility>

namespace match_sim {

class PlayLog::Buffer final : public platform::SoundBuffer {
 public:
  Buffer(PlayLog& log, platform::SoundBuffer* inner) : log_(log), inner_(inner) {}

  platform::Result GetCaps(platform::BufferCaps* caps) override { return inner_->GetCaps(caps); }
  platform::Result Lock(uint32_t offset, uint32_t bytes, void** region1, uint32_t* bytes1,
                        void** region2, uint32_t* bytes2, uint32_t flags) override {
    return inner_->Lock(offset, bytes, region1, bytes1, region2, bytes2, flags);
  }
  platform::Result Restore() override { return inner_->Restore(); }
  platform::Result Unlock(void* region1, uint32_t bytes1, void* region2, uint32_t bytes2) override {
    return inner_->Unlock(region1, bytes1, region2, bytes2);
  }
  platform::Result SetCurrentPosition(uint32_t position) override {
    return inner_->SetCurrentPosition(position);
  }
  platform::Result Play(uint32_t reserved, uint32_t priority, uint32_t flags) override {
    const platform::Result r = inner_->Play(reserved, priority, flags);
    if (r == platform::OK) log_.NotePlay(this);
    return r;
  }
  void Release() override { inner_->Release(); }

 private:
  PlayLog& log_;
  platform::SoundBuffer* inner_;
};

class PlayLog::Sound final : public platform::Sound {
 public:
  Sound(PlayLog& log, platform::Sound* inner) : log_(log), inner_(inner) {}

  platform::Result SetCooperativeLevel(platform::Window window, uint32_t level) override {
    return inner_->SetCooperativeLevel(window, level);
  }
  platform::Result CreateSoundBuffer(const platform::BufferDesc& desc,
                                     platform::SoundBuffer** out) override {
    platform::SoundBuffer* made = nullptr;
    const platform::Result r = inner_->CreateSoundBuffer(desc, &made);
    if (r != platform::OK) {
      *out = nullptr;
      return r;
    }
    buffers_.push_back(std::make_unique<Buffer>(log_, made));
    *out = buffers_.back().get();
    return r;
  }
  void Release() override { inner_->Release(); }

 private:
  PlayLog& log_;
  platform::Sound* inner_;
  std::vector<std::unique_ptr<Buffer>> buffers_;
};

PlayLog::PlayLog(platform::Platform& inner) : inner_(inner) {}
PlayLog::~PlayLog() = default;

platform::Result PlayLog::CreateSound(platform::Sound** out) {
  platform::Sound* made = nullptr;
  const platform::Result r = inner_.CreateSound(&made);
  if (r != platform::OK) {
    *out = nullptr;
    return r;
  }
  sounds_.push_back(std::make_unique<Sound>(*this, made));
  *out = sounds_.back().get();
  return r;
}

std::vector<const platform::SoundBuffer*> PlayLog::TakePlays() {
  return std::exchange(plays_, {});
}

}  // namespace match_sim
