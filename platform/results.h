// Result codes of the platform layer: 0 is success, every failure is negative. The display and
// sound codes carry the names the engine's diagnostics use.
#pragma once

#include <cstdint>

namespace platform {

using Result = int32_t;

constexpr Result OK = 0;
constexpr Result E_FAIL = -1;

// Display.
constexpr Result DDERR_GENERIC = -100;
constexpr Result DDERR_OUTOFMEMORY = -101;
constexpr Result DDERR_INVALIDPARAMS = -102;
constexpr Result DDERR_INCOMPATIBLEPRIMARY = -103;
constexpr Result DDERR_INVALIDCAPS = -104;
constexpr Result DDERR_INVALIDOBJECT = -105;
constexpr Result DDERR_INVALIDPIXELFORMAT = -106;
constexpr Result DDERR_NOALPHAHW = -107;
constexpr Result DDERR_NOCOOPERATIVELEVELSET = -108;
constexpr Result DDERR_NOEXCLUSIVEMODE = -109;
constexpr Result DDERR_NOFLIPHW = -110;
constexpr Result DDERR_NOZBUFFERHW = -111;
constexpr Result DDERR_OUTOFVIDEOMEMORY = -112;
constexpr Result DDERR_NODIRECTDRAWHW = -113;
constexpr Result DDERR_PRIMARYSURFACEALREADYEXISTS = -114;
constexpr Result DDERR_NOEMULATION = -115;
constexpr Result DDERR_SURFACELOST = -116;
constexpr Result DDERR_WASSTILLDRAWING = -117;
constexpr Result DDERR_UNSUPPORTEDMODE = -118;
constexpr Result DDERR_SURFACEBUSY = -119;
constexpr Result DDERR_NOTLOCKED = -120;
constexpr Result DDERR_NOTFLIPPABLE = -121;
constexpr Result DDERR_NOTFOUND = -122;

// Sound.
constexpr Result DSERR_GENERIC = -200;
constexpr Result DSERR_BUFFERLOST = -201;
constexpr Result DSERR_INVALIDCALL = -202;
constexpr Result DSERR_INVALIDPARAM = -203;
constexpr Result DSERR_PRIOLEVELNEEDED = -204;
constexpr Result DSERR_OUTOFMEMORY = -205;
constexpr Result DSERR_NODRIVER = -206;

}  // namespace platform
