// SPDX-License-Identifier: MIT
// Rows of a series made on several threads and written in order: byte for byte the output of
// one thread, in memory that does not grow with the number of rows.
#pragma once

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "cli/output.hpp"

namespace astro::cli {

// Rows in a block, the unit of work of a thread.
inline constexpr std::int64_t kRowsPerBlock = 4096;

// Writes rows 0..count-1 to out, made block by block on `threads` threads, the calling
// thread one of them: it also writes the finished blocks in order. render(first, last, text)
// appends the text of rows first..last-1 to text (an empty string, kept from block to
// block). A pipeline: each thread takes the next block as soon as it is done with one, while
// a slot is free; there are threads + 2 slots, a slot is free again once its block is
// written, so the threads run up to threads + 2 blocks ahead of the output and never wait
// for one another. The calling thread writes every block that is done, in order, before it
// takes another.
//
// When render throws, its text keeps the rows made before; they are written after the blocks
// before it, then the exception goes on, as from one thread's loop: nothing after it is
// written, and from then on no block after it is begun. When writing throws (OutputError),
// the other threads stop after their current block and the exception goes on. Either way
// every thread started here has ended when this returns or throws.
template <class Render>
void produce_in_blocks(std::int64_t count, unsigned threads, Output& out, Render render) {
  struct Slot {
    std::string text;
    std::exception_ptr failure;
    bool done = false;
  };
  const std::int64_t blocks = (count + kRowsPerBlock - 1) / kRowsPerBlock;
  const std::int64_t slot_count = static_cast<std::int64_t>(threads) + 2;
  std::vector<Slot> slots(static_cast<std::size_t>(slot_count));
  const auto slot_of = [&](std::int64_t block) -> Slot& {
    return slots[static_cast<std::size_t>(block % slot_count)];
  };

  std::mutex mutex;
  std::condition_variable block_done, slot_free;
  std::int64_t next = 0;       // the next block to begin
  std::int64_t end = blocks;   // no block from here on is begun: the first failed one + 1
  std::int64_t written = 0;    // blocks written
  bool stop = false;           // the calling thread has given up

  // Takes the next block and makes it, when one may be begun; false when none may. Called
  // with the lock held, and returns with it held.
  const auto make_one = [&](std::unique_lock<std::mutex>& lock) {
    if (stop || next >= end || next >= written + slot_count) return false;
    const std::int64_t block = next++;
    Slot& slot = slot_of(block);
    lock.unlock();
    slot.text.clear();
    slot.failure = nullptr;
    const std::int64_t first = block * kRowsPerBlock;
    try {
      render(first, std::min(count, first + kRowsPerBlock), slot.text);
    } catch (...) {
      slot.failure = std::current_exception();
    }
    lock.lock();
    slot.done = true;
    if (slot.failure) end = std::min(end, block + 1);
    block_done.notify_all();
    return true;
  };
  const auto work = [&] {
    std::unique_lock lock(mutex);
    for (;;) {
      slot_free.wait(lock, [&] { return stop || next >= end || next < written + slot_count; });
      if (!make_one(lock)) return;
    }
  };

  std::vector<std::jthread> workers;
  // Declared after the workers, so destroyed before them: on the way out, normal or by an
  // exception, the workers are told to stop, then joined.
  struct Stop {
    std::mutex& mutex;
    bool& stop;
    std::condition_variable& slot_free;
    ~Stop() {
      {
        std::lock_guard lock(mutex);
        stop = true;
      }
      slot_free.notify_all();
    }
  } stop_workers{mutex, stop, slot_free};
  workers.reserve(threads - 1);
  for (unsigned t = 1; t < threads; ++t) workers.emplace_back(work);

  std::unique_lock lock(mutex);  // released before Stop takes it
  for (std::int64_t block = 0; block < blocks; ++block) {
    Slot& slot = slot_of(block);
    while (!slot.done) {
      if (!make_one(lock)) block_done.wait(lock, [&] { return slot.done; });
    }
    lock.unlock();
    out.put(slot.text);
    if (slot.failure) std::rethrow_exception(slot.failure);
    lock.lock();
    slot.done = false;
    ++written;
    slot_free.notify_all();
  }
}

}  // namespace astro::cli
