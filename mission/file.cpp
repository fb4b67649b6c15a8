#include "mission/file.h"

#include <algorithm>
#include <cerrno>

#include "mission/system_file.h"

namespace mission {

using system::Reason;

namespace {

std::size_t RoundUpToPages(std::size_t n) {
  return (n + system::PageSize() - 1) / system::PageSize() * system::PageSize();
}

}  // namespace

// The bytes live in memory of their own, so that decoded pages can be handed
// back to the system one by one.
MissionBytes::~MissionBytes() { Free(); }

void MissionBytes::Free() {
  if (data_ != nullptr) system::UnmapPages(data_, capacity_);
  data_ = nullptr;
  size_ = capacity_ = released_ = 0;
}

// Only reading grows, before anything is released.
bool MissionBytes::Reserve(std::size_t capacity) {
  capacity = RoundUpToPages(capacity);
  char* grown = data_ == nullptr ? system::MapPages(capacity) : system::GrowPages(data_, capacity_, capacity, size_);
  if (grown == nullptr) return false;
  data_ = grown;
  capacity_ = capacity;
  return true;
}

std::string MissionBytes::ReadFrom(int fd, std::size_t expected) {
  Free();
  constexpr std::size_t kLimit = kMaxMissionBytes;
  // One byte more than expected, so that the end is seen without growing.
  if (!Reserve(std::min<std::size_t>(std::max<std::size_t>(expected + 1, 1 << 16), kLimit + 1))) return Reason(ENOMEM);
  for (;;) {
    if (size_ == capacity_) {
      if (size_ > kLimit) break;
      if (!Reserve(std::min<std::size_t>(capacity_ * 2, kLimit + 1))) return Reason(ENOMEM);
    }
    const long got = system::ReadSome(fd, data_ + size_, capacity_ - size_);
    if (got > 0) {
      size_ += static_cast<std::size_t>(got);
    } else if (got == 0) {
      break;
    } else if (errno != EINTR) {
      return Reason(errno);
    }
  }
  if (size_ > kLimit) {
    Free();
    return Reason(EFBIG);
  }
  return {};
}

void MissionBytes::Release(std::size_t count) {
  const std::size_t end = std::min(count, size_) / system::PageSize() * system::PageSize();
  if (end <= released_) return;
  system::DropPages(data_ + released_, end - released_);
  released_ = end;
}

}  // namespace mission
