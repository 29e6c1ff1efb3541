#include "platform/web/web_sound.h"

#include <emscripten/emscripten.h>

#include <memory>
#include <vector>

#include "platform/pcm_store.h"

// The page's side of the sound (page.js): buffers by number, each an audio buffer with its own
// position and at most one source playing it.
EM_JS(void, vorn_audio_set, (int id, const float* samples, int frames, int channels, int rate), {
  VornPage.audio.set(id, HEAPF32.subarray(samples >> 2, (samples >> 2) + frames * channels), frames,
                     channels, rate);
});
EM_JS(void, vorn_audio_seek, (int id, double seconds), { VornPage.audio.seek(id, seconds); });
EM_JS(void, vorn_audio_play, (int id), { VornPage.audio.play(id); });
EM_JS(void, vorn_audio_drop, (int id), { VornPage.audio.drop(id); });

namespace platform::web {
namespace {

int next_buffer_id = 1;

class WebSoundBuffer final : public SoundBuffer {
 public:
  explicit WebSoundBuffer(const BufferDesc& desc) : store_(desc), id_(next_buffer_id++) {}
  ~WebSoundBuffer() override { vorn_audio_drop(id_); }
  WebSoundBuffer(const WebSoundBuffer&) = delete;
  WebSoundBuffer& operator=(const WebSoundBuffer&) = delete;

  Result GetCaps(BufferCaps* caps) override { return store_.GetCaps(caps); }
  Result Lock(uint32_t offset, uint32_t bytes, void** region1, uint32_t* bytes1, void** region2,
              uint32_t* bytes2, uint32_t /*flags*/) override {
    return store_.Lock(offset, bytes, region1, bytes1, region2, bytes2);
  }
  Result Restore() override { return store_.Released() ? DSERR_INVALIDCALL : OK; }

  // The new samples become audible now, as interleaved floats for the page.
  Result Unlock(void* region1, uint32_t bytes1, void* region2, uint32_t bytes2) override {
    if (const Result refused = store_.Unlock(region1, bytes1, region2, bytes2); refused != OK) {
      return refused;
    }
    const WaveFormat& format = store_.Format();
    const std::vector<uint8_t>& bytes = store_.Bytes();
    std::vector<float> samples;
    if (format.bits_per_sample == 8) {
      samples.reserve(bytes.size());
      for (const uint8_t b : bytes) samples.push_back((static_cast<float>(b) - 128.0f) / 128.0f);
    } else {
      samples.reserve(bytes.size() / 2);
      for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto v = static_cast<int16_t>(bytes[i] | (bytes[i + 1] << 8));
        samples.push_back(static_cast<float>(v) / 32768.0f);
      }
    }
    vorn_audio_set(id_, samples.data(), static_cast<int>(samples.size() / format.channels),
                   format.channels, static_cast<int>(format.samples_per_sec));
    return OK;
  }

  // Moves the play position; a playing buffer goes on from there.
  Result SetCurrentPosition(uint32_t position) override {
    if (const Result refused = store_.CheckPosition(position); refused != OK) return refused;
    const WaveFormat& format = store_.Format();
    vorn_audio_seek(id_, static_cast<double>(position / format.block_align) /
                             static_cast<double>(format.samples_per_sec));
    return OK;
  }

  // Plays once from the position; a playing buffer goes on playing.
  Result Play(uint32_t /*reserved*/, uint32_t /*priority*/, uint32_t /*flags*/) override {
    if (store_.Released()) return DSERR_INVALIDCALL;
    vorn_audio_play(id_);
    return OK;
  }

  void Release() override {
    store_.MarkReleased();
    vorn_audio_drop(id_);
  }

 private:
  PcmStore store_;
  int id_;
};

class WebSound final : public Sound {
 public:
  Result SetCooperativeLevel(Window /*window*/, uint32_t level) override {
    if (level == 0) return DSERR_INVALIDPARAM;
    level_ = level;
    return OK;
  }

  Result CreateSoundBuffer(const BufferDesc& desc, SoundBuffer** out) override {
    if (out == nullptr) return DSERR_INVALIDPARAM;
    *out = nullptr;
    if (level_ == 0) return DSERR_PRIOLEVELNEEDED;
    if (!PcmStore::Acceptable(desc)) return DSERR_INVALIDPARAM;
    buffers_.push_back(std::make_unique<WebSoundBuffer>(desc));
    *out = buffers_.back().get();
    return OK;
  }

  void Release() override { delete this; }

 private:
  uint32_t level_ = 0;
  std::vector<std::unique_ptr<WebSoundBuffer>> buffers_;
};

}  // namespace

Result CreateWebSound(Sound** out) {
  if (out == nullptr) return DSERR_INVALIDPARAM;
  *out = new WebSound();
  return OK;
}

}  // namespace platform::web
