#include "base/large_buffer.h"

#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace corvane {

namespace {

constexpr std::size_t kLargePage = std::size_t{2} << 20;
// At most what the allocator puts before a block it maps on its own (its size fields).
constexpr std::size_t kAllocatorHeader = 64;
#if defined(__linux__)
constexpr int kCollapse = 25;  // MADV_COLLAPSE (Linux 6.1); older systems refuse it
#endif

}  // namespace

void ReserveLarge(Bytes& buffer, std::size_t size) {
  if (size <= buffer.capacity()) return;
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  if (size < kLargePage) {
    buffer.reserve(size);
    return;
  }
  // A request that with the allocator's header fills whole large pages gets a mapping of its own
  // that the system places on a large-page boundary: every large page then lies inside the buffer.
  const std::size_t pages = (size + kAllocatorHeader + kLargePage - 1) / kLargePage;
  buffer.reserve(pages * kLargePage - kAllocatorHeader);
  const auto begin = reinterpret_cast<std::uintptr_t>(buffer.data());
  std::uintptr_t first = begin & ~std::uintptr_t{kLargePage - 1};
  if (begin - first > kAllocatorHeader) first += kLargePage;
  const std::uintptr_t last = (begin + size) & ~std::uintptr_t{kLargePage - 1};
  // Only the large pages the buffer fills; a refusal is harmless.
  if (last <= first) return;
  ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
  // The allocator has written its header into the first page already, which keeps that stretch in
  // small pages unless it is made one large page now.
  if (first < begin) ::madvise(reinterpret_cast<void*>(first), kLargePage, kCollapse);
#else
  buffer.reserve(size);
#endif
}

}  // namespace corvane
