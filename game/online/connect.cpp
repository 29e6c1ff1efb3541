#include "game/online/connect.h"

namespace online {

std::optional<Meeting> HostWait::Poll(std::string* notice) {
  platform::net::NetEvent event;
  while (transport_->Poll(&event, 0)) {
    if (event.kind != platform::net::NetEventKind::Connected) continue;
    const std::optional<uint16_t> version = VersionOfJoinWord(event.word);
    if (!version) {
      transport_->Close(event.peer, CloseWord({CloseReason::NotVorn, 0}));
      *notice = "A connection that is not this game was refused";
      continue;
    }
    if (*version != hello_.version) {
      transport_->Close(event.peer, CloseWord({CloseReason::Version, hello_.version}));
      *notice = "A player with protocol version " + std::to_string(*version) +
                " was refused: this side plays version " + std::to_string(hello_.version);
      continue;
    }
    transport_->Send(event.peer, EncodeHello(hello_), true);
    return Meeting{event.peer, hello_};
  }
  return {};
}

std::optional<Meeting> JoinWait::Poll(uint64_t wall_ms, std::string* failure) {
  if (failed_) return {};
  platform::net::NetEvent event;
  while (transport_->Poll(&event, 0)) {
    if (event.kind == platform::net::NetEventKind::Closed) {
      failed_ = true;
      *failure = DescribeClosing(ReadCloseWord(event.word));
      return {};
    }
    if (event.kind != platform::net::NetEventKind::Received) continue;
    if (const std::optional<Hello> hello = DecodeHello(event.bytes)) {
      if (hello->version != kProtocolVersion) {
        failed_ = true;
        *failure = "The host sent a greeting this side cannot read";
        return {};
      }
      return Meeting{event.peer, *hello};
    }
  }
  if (wall_ms - since_ms_ > kJoinWaitMs) {
    failed_ = true;
    *failure = "No answer from the host";
  }
  return {};
}

std::string DescribeClosing(Closing closing) {
  switch (closing.reason) {
    case CloseReason::Version:
      return "The other side plays protocol version " + std::to_string(closing.value) +
             " and this side version " + std::to_string(kProtocolVersion) +
             ": they cannot play together";
    case CloseReason::Full:
      return "The host already has an opponent";
    case CloseReason::OutOfStep:
      return "The match went out of step at frame " + std::to_string(closing.value);
    case CloseReason::Done:
      return "The match is over";
    case CloseReason::NotVorn:
      return "The host did not recognise this game";
    case CloseReason::None:
      break;
  }
  return "The other player left";
}

}  // namespace online
