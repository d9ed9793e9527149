// Splitting a loop over 0 … count−1 across threads in contiguous ranges.
#pragma once

#include <algorithm>
#include <cstddef>
#include <system_error>
#include <thread>
#include <vector>

namespace posewright {

/// The thread count for count items: requested (0: one per hardware thread),
/// at least 1, and no more than leaves minimumPerThread items to each.
inline unsigned ThreadsForItems(unsigned requested, std::size_t count, std::size_t minimumPerThread) {
  unsigned threads = requested != 0 ? requested : std::max(1u, std::thread::hardware_concurrency());
  const std::size_t most = std::max<std::size_t>(1, count / std::max<std::size_t>(1, minimumPerThread));
  return static_cast<unsigned>(std::min<std::size_t>(threads, most));
}

/// Calls work(begin, end, part) for threads contiguous ranges covering 0 …
/// count−1 (part 0 … threads−1), part 0 on the calling thread and the others
/// on threads of their own; returns when all are done. A range whose thread
/// cannot be started is run on the calling thread.
template <class Work>
void ParallelRanges(std::size_t count, unsigned threads, const Work& work) {
  threads = std::max(1u, threads);
  auto bounds = [&](unsigned part) { return count * part / threads; };
  std::vector<std::thread> started;
  std::vector<unsigned> leftOver;
  for (unsigned part = 1; part < threads; ++part) {
    try {
      started.emplace_back([&, part] { work(bounds(part), bounds(part + 1), part); });
    } catch (const std::system_error&) {
      leftOver.push_back(part);
    }
  }
  work(bounds(0), bounds(1), 0u);
  for (unsigned part : leftOver) work(bounds(part), bounds(part + 1), part);
  for (std::thread& t : started) t.join();
}
}  // namespace posewright
