#include "platform/sdl/sdl_sound.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/pcm_store.h"

namespace platform {

namespace {

class SdlSound;

// One buffer: its samples as the engine writes them, and the same samples in the device's
// format, which the audio thread plays. The converted samples, the cursor and the playing flag
// belong to the audio thread and change only with the device locked.
class SdlSoundBuffer final : public SoundBuffer {
 public:
  SdlSoundBuffer(SdlSound& sound, const BufferDesc& desc) : sound_(sound), store_(desc) {}

  Result GetCaps(BufferCaps* caps) override { return store_.GetCaps(caps); }
  Result Lock(uint32_t offset, uint32_t bytes, void** region1, uint32_t* bytes1, void** region2,
              uint32_t* bytes2, uint32_t /*flags*/) override {
    return store_.Lock(offset, bytes, region1, bytes1, region2, bytes2);
  }
  Result Restore() override { return store_.Released() ? DSERR_INVALIDCALL : OK; }
  Result Unlock(void* region1, uint32_t bytes1, void* region2, uint32_t bytes2) override;
  Result SetCurrentPosition(uint32_t position) override;
  Result Play(uint32_t reserved, uint32_t priority, uint32_t flags) override;
  void Release() override;

  // Audio thread: adds what is left of this buffer into `out`, up to `length` bytes.
  void MixInto(uint8_t* out, int length, SDL_AudioFormat format);

 private:
  bool Convert(std::vector<uint8_t>* converted) const;

  SdlSound& sound_;
  PcmStore store_;

  std::vector<uint8_t> converted_;
  std::size_t cursor_ = 0;
  bool playing_ = false;
};

class SdlSound final : public Sound {
 public:
  SdlSound() = default;
  ~SdlSound() override { Close(); }
  SdlSound(const SdlSound&) = delete;
  SdlSound& operator=(const SdlSound&) = delete;

  // Opens the device and starts it; false when there is none.
  bool Open();

  Result SetCooperativeLevel(Window /*window*/, uint32_t level) override {
    if (device_ == 0) return DSERR_INVALIDCALL;
    if (level == 0) return DSERR_INVALIDPARAM;
    level_ = level;
    return OK;
  }
  Result CreateSoundBuffer(const BufferDesc& desc, SoundBuffer** out) override;
  void Release() override { delete this; }

  const SDL_AudioSpec& device_format() const { return device_format_; }
  SDL_AudioDeviceID device() const { return device_; }
  static void Callback(void* user, uint8_t* stream, int length);

 private:
  void Close();

  SDL_AudioDeviceID device_ = 0;
  SDL_AudioSpec device_format_{};
  uint32_t level_ = 0;
  std::vector<std::unique_ptr<SdlSoundBuffer>> buffers_;
};

class DeviceLock {
 public:
  explicit DeviceLock(SDL_AudioDeviceID device) : device_(device) { SDL_LockAudioDevice(device_); }
  ~DeviceLock() { SDL_UnlockAudioDevice(device_); }
  DeviceLock(const DeviceLock&) = delete;
  DeviceLock& operator=(const DeviceLock&) = delete;

 private:
  SDL_AudioDeviceID device_;
};

bool SdlSoundBuffer::Convert(std::vector<uint8_t>* converted) const {
  const SDL_AudioSpec& to = sound_.device_format();
  const WaveFormat& from = store_.Format();
  const SDL_AudioFormat from_format = from.bits_per_sample == 8 ? AUDIO_U8 : AUDIO_S16LSB;
  SDL_AudioStream* stream =
      SDL_NewAudioStream(from_format, static_cast<Uint8>(from.channels),
                         static_cast<int>(from.samples_per_sec), to.format, to.channels, to.freq);
  if (stream == nullptr) return false;
  // Fed in small pieces: given a large piece at once while resampling, this SDL's stream drops
  // hundreds of frames from the end.
  const std::vector<uint8_t>& bytes = store_.Bytes();
  const std::size_t piece = std::size_t{64} * from.block_align;
  bool ok = true;
  for (std::size_t at = 0; ok && at < bytes.size(); at += piece) {
    const std::size_t count = std::min(piece, bytes.size() - at);
    ok = SDL_AudioStreamPut(stream, bytes.data() + at, static_cast<int>(count)) == 0;
  }
  ok = ok && SDL_AudioStreamFlush(stream) == 0;
  if (ok) {
    converted->resize(static_cast<std::size_t>(SDL_AudioStreamAvailable(stream)));
    const int got =
        SDL_AudioStreamGet(stream, converted->data(), static_cast<int>(converted->size()));
    ok = got >= 0;
    if (ok) converted->resize(static_cast<std::size_t>(got));
  }
  SDL_FreeAudioStream(stream);
  return ok;
}

Result SdlSoundBuffer::Unlock(void* region1, uint32_t bytes1, void* region2, uint32_t bytes2) {
  if (const Result refused = store_.Unlock(region1, bytes1, region2, bytes2); refused != OK) {
    return refused;
  }
  // The new samples become audible now; the conversion runs outside the audio thread's lock.
  std::vector<uint8_t> converted;
  if (!Convert(&converted)) return DSERR_GENERIC;
  DeviceLock lock(sound_.device());
  converted_.swap(converted);
  cursor_ = std::min(cursor_, converted_.size());
  if (cursor_ == converted_.size()) playing_ = false;
  return OK;
}

Result SdlSoundBuffer::SetCurrentPosition(uint32_t position) {
  if (const Result refused = store_.CheckPosition(position); refused != OK) return refused;
  // The same point in time in the converted samples, on a whole device frame.
  const uint64_t frames = store_.Size() / store_.Format().block_align;
  const uint64_t frame = position / store_.Format().block_align;
  const SDL_AudioSpec& device_format = sound_.device_format();
  const uint64_t device_frame_bytes =
      SDL_AUDIO_BITSIZE(device_format.format) / 8u * device_format.channels;
  DeviceLock lock(sound_.device());
  const uint64_t device_frames = converted_.size() / device_frame_bytes;
  cursor_ = static_cast<std::size_t>(frame * device_frames / frames * device_frame_bytes);
  return OK;
}

Result SdlSoundBuffer::Play(uint32_t /*reserved*/, uint32_t /*priority*/, uint32_t /*flags*/) {
  if (store_.Released()) return DSERR_INVALIDCALL;
  DeviceLock lock(sound_.device());
  // A playing buffer goes on; one whose cursor stands at its end has nothing left to play.
  if (cursor_ < converted_.size()) playing_ = true;
  return OK;
}

void SdlSoundBuffer::Release() {
  DeviceLock lock(sound_.device());
  store_.MarkReleased();
  playing_ = false;
}

void SdlSoundBuffer::MixInto(uint8_t* out, int length, SDL_AudioFormat format) {
  if (!playing_) return;
  const std::size_t count = std::min(static_cast<std::size_t>(length), converted_.size() - cursor_);
  SDL_MixAudioFormat(out, converted_.data() + cursor_, format, static_cast<Uint32>(count),
                     SDL_MIX_MAXVOLUME);
  cursor_ += count;
  if (cursor_ >= converted_.size()) playing_ = false;
}

Result SdlSound::CreateSoundBuffer(const BufferDesc& desc, SoundBuffer** out) {
  if (out == nullptr) return DSERR_INVALIDPARAM;
  *out = nullptr;
  if (device_ == 0) return DSERR_INVALIDCALL;
  if (level_ == 0) return DSERR_PRIOLEVELNEEDED;
  if (!PcmStore::Acceptable(desc)) return DSERR_INVALIDPARAM;
  auto buffer = std::make_unique<SdlSoundBuffer>(*this, desc);
  *out = buffer.get();
  DeviceLock lock(device_);
  buffers_.push_back(std::move(buffer));
  return OK;
}

void SdlSound::Callback(void* user, uint8_t* stream, int length) {
  auto* sound = static_cast<SdlSound*>(user);
  std::memset(stream, sound->device_format_.silence, static_cast<std::size_t>(length));
  for (const auto& buffer : sound->buffers_)
    buffer->MixInto(stream, length, sound->device_format_.format);
}

void SdlSound::Close() {
  if (device_ == 0) return;
  SDL_CloseAudioDevice(device_);
  device_ = 0;
  buffers_.clear();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool SdlSound::Open() {
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  SDL_AudioSpec want{};
  want.freq = 44100;
  want.format = AUDIO_S16SYS;
  want.channels = 2;
  want.samples = 1024;
  want.callback = Callback;
  want.userdata = this;
  // The mix is always 16-bit; SDL converts it if the device wants another rate or layout.
  SDL_AudioSpec have{};
  device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have,
                                SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE);
  if (device_ == 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  device_format_ = have;
  SDL_PauseAudioDevice(device_, 0);
  return true;
}

}  // namespace

Result CreateSdlSound(Sound** out) {
  if (out == nullptr) return DSERR_INVALIDPARAM;
  *out = nullptr;
  auto sound = std::make_unique<SdlSound>();
  if (!sound->Open()) return DSERR_NODRIVER;
  *out = sound.release();
  return OK;
}

}  // namespace platform
