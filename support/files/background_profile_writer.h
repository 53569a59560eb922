// Profile writes done on one thread of the writer's own, so the thread that asks for one
// (the window's) never waits for the disk: writing a file reads it, writes a new one,
// flushes it to the disk and renames it into place.
//
// The files are written in the order they were first asked for. Writes asked for while a
// file is still queued join its queued write, so however many come while the disk is busy
// the file is replaced once more, with every entry applied in order and the newest value of
// each key on disk.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "support/files/profile_writer.h"
#include "support/text/text.h"

namespace vardelle {

// WriteProfileStrings, making the file's folder first when it is missing.
bool WriteProfileStringsMakingFolder(const std::vector<ProfileEntry>& entries, const Text& path);

class BackgroundProfileWriter {
 public:
  // Writes one file's entries; its result and any exception it throws are dropped.
  using WriteFile = std::function<void(const std::vector<ProfileEntry>& entries, const Text& path)>;

  explicit BackgroundProfileWriter(WriteFile writeFile = WriteProfileStringsMakingFolder);
  // Stops the writer (see Stop).
  ~BackgroundProfileWriter();
  BackgroundProfileWriter(const BackgroundProfileWriter&) = delete;
  BackgroundProfileWriter& operator=(const BackgroundProfileWriter&) = delete;

  // Queues the entries for path and returns; the writer's thread starts with the first
  // write. Once stopped, or when no thread can be started, the write is done here, before
  // this returns.
  void Write(const Text& path, std::vector<ProfileEntry> entries);

  // Blocks until every write queued before has been done.
  void Flush();

  // Does every queued write, then ends the writer's thread and joins it. Later writes are
  // done by their callers. Not to be called by a write itself.
  void Stop();

 private:
  struct QueuedFile {
    Text path;
    std::vector<ProfileEntry> entries;
  };

  void Queue(const Text& path, std::vector<ProfileEntry> entries);
  bool StartThread();
  void Serve();
  // Takes the oldest queued file, once no other write is under way, and writes it; false
  // when none is queued.
  bool WriteNextFile();

  const WriteFile writeFile_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<QueuedFile> queue_;
  bool writing_ = false;  // a file taken from the queue is being written
  bool stopped_ = false;
  std::thread thread_;
};

}  // namespace vardelle
