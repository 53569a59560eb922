#include "support/files/background_profile_writer.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "support/files/file_access.h"

namespace vardelle {

bool WriteProfileStringsMakingFolder(const std::vector<ProfileEntry>& entries, const Text& path) {
  const Text folder(ContainingFolder(path));
  const bool folderReady = folder.empty() || CreateDirectories(folder);
  return folderReady && WriteProfileStrings(entries, path);
}

BackgroundProfileWriter::BackgroundProfileWriter(WriteFile writeFile)
    : writeFile_(std::move(writeFile)) {}

BackgroundProfileWriter::~BackgroundProfileWriter() { Stop(); }

void BackgroundProfileWriter::Write(const Text& path, std::vector<ProfileEntry> entries) {
  bool writeHere = false;
  {
    std::lock_guard guard(mutex_);
    Queue(path, std::move(entries));
    writeHere = stopped_ || !StartThread();
  }
  changed_.notify_all();
  if (writeHere) {
    while (WriteNextFile()) {
    }
  }
}

void BackgroundProfileWriter::Flush() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return queue_.empty() && !writing_; });
}

void BackgroundProfileWriter::Stop() {
  std::thread worker;
  {
    std::lock_guard guard(mutex_);
    stopped_ = true;
    worker = std::move(thread_);
  }
  changed_.notify_all();
  if (worker.joinable()) worker.join();
}

// With the lock held.
void BackgroundProfileWriter::Queue(const Text& path, std::vector<ProfileEntry> entries) {
  const auto queued = std::find_if(queue_.begin(), queue_.end(),
                                   [&path](const QueuedFile& file) { return file.path == path; });
  if (queued == queue_.end()) {
    queue_.push_back({path, std::move(entries)});
    return;
  }
  queued->entries.insert(queued->entries.end(), std::make_move_iterator(entries.begin()),
                         std::make_move_iterator(entries.end()));
}

// With the lock held; false when no thread can be had.
bool BackgroundProfileWriter::StartThread() {
  if (thread_.joinable()) return true;
  try {
    thread_ = std::thread([this] { Serve(); });
    return true;
  } catch (...) {
    return false;
  }
}

// The writer's thread: writes until it is stopped and nothing is left queued.
void BackgroundProfileWriter::Serve() {
  for (;;) {
    {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [this] { return !queue_.empty() || stopped_; });
      if (queue_.empty()) return;
    }
    WriteNextFile();
  }
}

bool BackgroundProfileWriter::WriteNextFile() {
  QueuedFile file;
  {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !writing_; });
    if (queue_.empty()) return false;
    file = std::move(queue_.front());
    queue_.pop_front();
    writing_ = true;
  }
  try {
    writeFile_(file.entries, file.path);
  } catch (...) {
    // No one is left to tell: the file keeps what it had, and the writes after it go on.
  }
  {
    std::lock_guard guard(mutex_);
    writing_ = false;
  }
  changed_.notify_all();
  return true;
}

}  // namespace vardelle
