#include "tools/match_sim/robots.h"

namespace match_sim {

namespace {

// A stretch lasts a third of a second to three seconds at 60 frames per second.
constexpr int kShortestStretch = 20;
constexpr int kStretchSpread = 160;

}  // namespace

Robot::Robot(int first_key, int second_key, uint32_t seed)
    : first_key_(first_key), second_key_(second_key), rng_(seed) {}

void Robot::Step(platform::headless::HeadlessPlatform* headless) {
  if (frames_left_ > 0) {
    --frames_left_;
    return;
  }
  // Mostly push one way, sometimes the other, now and then let go.
  const int choice = Draw(20);
  const int next = choice < 9 ? first_key_ : choice < 16 ? second_key_ : 0;
  frames_left_ = kShortestStretch + Draw(kStretchSpread);
  if (next == held_) return;
  if (held_ != 0) headless->PostKeyUp(held_);
  if (next != 0) headless->PostKeyDown(next);
  held_ = next;
}

namespace {

// A whole decimal number within [low, high] made of all of `text`.
bool Decimal(std::string_view text, long high, long* value) {
  if (text.empty() || text.size() > 9) return false;
  long v = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
  }
  if (v > high) return false;
  *value = v;
  return true;
}

}  // namespace

bool ParseKeys(std::string_view list, std::vector<ScriptedKey>* keys) {
  while (!list.empty()) {
    const std::size_t comma = list.find(',');
    const std::string_view item = list.substr(0, comma);
    list = comma == std::string_view::npos ? std::string_view{} : list.substr(comma + 1);
    const std::size_t sign = item.find_first_of("+-");
    if (sign == std::string_view::npos) return false;
    ScriptedKey key;
    long code = 0;
    const std::string_view name = item.substr(sign + 1);
    if (!Decimal(item.substr(0, sign), 100000000L, &key.frame) || key.frame < 1) return false;
    if (name.size() == 1 && name[0] >= 'A' && name[0] <= 'Z') {
      code = name[0];
    } else if (!Decimal(name, 255, &code) || code == 0) {
      return false;
    }
    key.key = static_cast<int>(code);
    key.down = item[sign] == '+';
    keys->push_back(key);
  }
  return true;
}

void PostKeys(const std::vector<ScriptedKey>& keys, long frame,
              platform::headless::HeadlessPlatform* headless) {
  for (const ScriptedKey& key : keys) {
    if (key.frame != frame) continue;
    if (key.down) {
      headless->PostKeyDown(key.key);
    } else {
      headless->PostKeyUp(key.key);
    }
  }
}

}  // namespace match_sim
