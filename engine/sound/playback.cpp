// The sound registry and playback: every clip gets one platform buffer at its first play, in the
// one format taken from the first clip, and its samples are copied in whenever they changed.
#include <algorithm>
#include <cstring>

#include "engine/core/vorn.h"
#include "engine/sound/soundx.h"

namespace {

// A lost buffer is restored and locked again at most this many times.
constexpr int kLockRetries = 10;
// The registry grows by this many entries at a time.
constexpr int kRegistryGrowth = 10;

int BlockAlign(int bits, int channels) {
  return (bits / 8) * channels;
}

// The status a failed lock leaves; other failures keep the current one.
int LockStatus(platform::Result result, int current) {
  switch (result) {
    case platform::DSERR_BUFFERLOST:
      return ERR_SOUNDLOST;
    case platform::DSERR_INVALIDCALL:
      return ERR_SOUNDINVALID;
    case platform::DSERR_INVALIDPARAM:
      return ERR_SOUNDPARAM;
    case platform::DSERR_PRIOLEVELNEEDED:
      return ERR_SOUNDPRIORITY;
    default:
      return current;
  }
}

}  // namespace

void WinDX::SoundPlay(SoundX* clip, int resume) {
  if (clip->NeedsFill()) SoundFill(clip);
  if (clip->buffer < 0 || clip->buffer >= sound_count) return;
  platform::SoundBuffer* buffer = sound_buffers[clip->buffer];
  if (buffer == nullptr) return;
  if (resume == 0) buffer->SetCurrentPosition(0);
  buffer->Play(0, 0, 0);
}

void WinDX::SoundFill(SoundX* clip) {
  if (clip->buffer == -1) clip->buffer = SoundCreate(clip);
  if (clip->buffer < 0 || clip->buffer >= sound_count) return;
  platform::SoundBuffer* buffer = sound_buffers[clip->buffer];
  // Without a buffer the clip stays dirty, and every play stops here again.
  if (buffer == nullptr) return;

  platform::BufferCaps caps;
  caps.size = platform::BUFFER_CAPS_SIZE;
  uint32_t buffer_bytes = 0;
  if (buffer->GetCaps(&caps) == platform::OK) {
    buffer_bytes = caps.buffer_bytes;
  } else {
    SetError(ERR_SOUNDCAPS);
  }

  const uint32_t sample_bytes = clip->bits <= 8 ? 1u : 2u;
  const uint32_t frame_bytes = clip->channels * sample_bytes;
  const uint32_t buffer_frames = frame_bytes != 0 ? buffer_bytes / frame_bytes : 0;
  if (buffer_frames != static_cast<uint32_t>(clip->frames)) SetError(ERR_SOUNDBUFLEN);

  void* region1 = nullptr;
  void* region2 = nullptr;
  uint32_t bytes1 = 0;
  uint32_t bytes2 = 0;
  platform::Result result = buffer->Lock(0, buffer_bytes, &region1, &bytes1, &region2, &bytes2, 0);
  for (int retry = 0; result == platform::DSERR_BUFFERLOST && retry < kLockRetries; ++retry) {
    buffer->Restore();
    result = buffer->Lock(0, buffer_bytes, &region1, &bytes1, &region2, &bytes2, 0);
  }

  if (result != platform::OK) {
    status = LockStatus(result, status);
    ReportError();
  } else {
    // Whole samples only, never past the locked region nor past the clip's own bytes.
    const uint64_t wanted = static_cast<uint64_t>(std::max(clip->frames, 0)) * frame_bytes;
    const uint64_t held =
        clip->data != nullptr ? static_cast<uint64_t>(std::max(clip->size, 0)) : 0;
    uint64_t bytes = std::min({wanted, held, static_cast<uint64_t>(bytes1)});
    bytes -= bytes % sample_bytes;
    if (bytes > 0) std::memcpy(region1, clip->data.get(), static_cast<std::size_t>(bytes));
    buffer->Unlock(region1, bytes1, region2, bytes2);
    // Only a filled buffer is clean: after a failed lock the next play fills it again.
    clip->dirty = 0;
  }
}

int WinDX::SoundCreate(SoundX* clip) {
  if (sound_count == sound_capacity) {
    sound_capacity += kRegistryGrowth;
    sound_clips.resize(static_cast<size_t>(sound_capacity));
    sound_buffers.resize(static_cast<size_t>(sound_capacity));
  }
  sound_clips[sound_count] = clip;

  if (sound_count == 0) {
    sound_channels = clip->channels;
    sound_bits = clip->bits;
    sound_rate = clip->rate;
  } else {
    // Each field that differs is reported on its own; the buffer is made in the common format.
    if (clip->channels != sound_channels) SetError(ERR_SOUNDMATCH);
    if (clip->bits != sound_bits) SetError(ERR_SOUNDMATCH);
    if (clip->rate != sound_rate) SetError(ERR_SOUNDMATCH);
  }

  platform::WaveFormat format;
  format.format_tag = platform::WAVE_FORMAT_PCM;
  format.channels = static_cast<uint16_t>(sound_channels);
  format.samples_per_sec = static_cast<uint32_t>(sound_rate);
  format.block_align = static_cast<uint16_t>(BlockAlign(sound_bits, sound_channels));
  format.avg_bytes_per_sec = static_cast<uint32_t>(sound_rate) * format.block_align;
  format.bits_per_sample = static_cast<uint16_t>(sound_bits);
  format.extra_size = 0;

  platform::BufferDesc desc;
  desc.size = platform::BUFFER_DESC_SIZE;
  desc.flags =
      platform::DSBCAPS_CTRLFREQUENCY | platform::DSBCAPS_CTRLPAN | platform::DSBCAPS_CTRLVOLUME;
  desc.buffer_bytes = static_cast<uint32_t>(std::max(clip->frames, 0)) * format.block_align;
  desc.reserved = 0;
  desc.format = &format;

  sound_buffers[sound_count] = nullptr;
  // Without a sound object (its start failed) no buffer can be made.
  if (ds == nullptr || ds->CreateSoundBuffer(desc, &sound_buffers[sound_count]) < 0) {
    sound_buffers[sound_count] = nullptr;
    SetError(ERR_SOUNDCREATE);
  }
  return sound_count++;
}
