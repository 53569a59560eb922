#include "support/files/profile_writer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "named_cases.h"
#include "support/files/background_profile_writer.h"
#include "temp_dir.h"

namespace vardelle {
namespace {

using named_cases::CaseName;
using named_cases::PrintTo;
using testing_files::ReadBytes;
using testing_files::TempDir;
using testing_files::WriteBytes;

struct WriteCase {
  const char* name;
  std::string before;
  ProfileEntry entry;
  std::string after;
};

class ProfileWrite : public ::testing::TestWithParam<WriteCase> {};

TEST_P(ProfileWrite, EditsTheFileAsTheSystemWriterDoes) {
  const WriteCase& c = GetParam();
  TempDir dir;
  const std::string file = dir.File("jar.ini");
  WriteBytes(file, c.before);
  ASSERT_TRUE(WriteProfileStrings({c.entry}, file));
  EXPECT_EQ(ReadBytes(file), c.after);
}

INSTANTIATE_TEST_SUITE_P(
    ProfileWriter, ProfileWrite,
    ::testing::Values(WriteCase{"emptyFile", "", {"a.com", "k", "v"}, "[a.com]\r\nk=v\r\n"},
                    WriteCase{"updateInPlace",
                              "[a.com]\r\nk=old\r\nz=1\r\n",
                              {"a.com", "k", "new"},
                              "[a.com]\r\nk=new\r\nz=1\r\n"},
                    WriteCase{"sectionAndKeyIgnoreCase",
                              "[A.Com]\r\nKey=old\r\n",
                              {"a.COM", "kEY", "v"},
                              "[A.Com]\r\nkEY=v\r\n"},
                    WriteCase{"spacesAroundNamesIgnored",
                              "[ a.com ]\r\n k =old\r\n",
                              {"a.com", "k", "v"},
                              "[ a.com ]\r\nk=v\r\n"},
                    WriteCase{"keyOfOtherSectionUntouched",
                              "[b.com]\r\nk=1\r\n[a.com]\r\n",
                              {"a.com", "k", "2"},
                              "[b.com]\r\nk=1\r\n[a.com]\r\nk=2\r\n"},
                    WriteCase{"newKeyBeforeBlankSeparator",
                              "[a.com]\r\nx=1\r\n\r\n[b.com]\r\ny=2\r\n",
                              {"a.com", "k", "v"},
                              "[a.com]\r\nx=1\r\nk=v\r\n\r\n[b.com]\r\ny=2\r\n"},
                    WriteCase{"newKeyInEmptySection",
                              "[a.com]\r\n[b.com]\r\n",
                              {"a.com", "k", "v"},
                              "[a.com]\r\nk=v\r\n[b.com]\r\n"},
                    WriteCase{"newSectionAtEnd",
                              "[a.com]\r\nx=1\r\n",
                              {"b.com", "k", "v"},
                              "[a.com]\r\nx=1\r\n[b.com]\r\nk=v\r\n"},
                    WriteCase{"lastLineGetsLineEnd",
                              "[a.com]\r\nx=1",
                              {"b.com", "k", "v"},
                              "[a.com]\r\nx=1\r\n[b.com]\r\nk=v\r\n"},
                    WriteCase{"newKeyAfterUnendedLastLine",
                              "[a.com]\nx=1",
                              {"a.com", "k", "v"},
                              "[a.com]\nx=1\r\nk=v\r\n"},
                    WriteCase{"otherLinesByteForByte",
                              "; note\n[a.com]\nk=1\n# keep\tthis  \r\n",
                              {"a.com", "k", "2"},
                              "; note\n[a.com]\nk=2\n# keep\tthis  \r\n"},
                    WriteCase{"commentCountsAsFilled",
                              "[a.com]\r\n; c\r\n",
                              {"a.com", "k", "v"},
                              "[a.com]\r\n; c\r\nk=v\r\n"},
                    WriteCase{"bracketInsideSectionName",
                              "[a]b]\r\nk=1\r\n",
                              {"a]b", "k", "2"},
                              "[a]b]\r\nk=2\r\n"},
                    WriteCase{"emptyValue", "", {"a.com", "k", ""}, "[a.com]\r\nk=\r\n"},
                    WriteCase{"removedKey",
                              "[b.com]\r\nk=0\r\n[a.com]\r\nx=1\r\n K =2\r\nz=3\r\n",
                              {"a.com", "k", "", true},
                              "[b.com]\r\nk=0\r\n[a.com]\r\nx=1\r\nz=3\r\n"},
                    WriteCase{"removedKeyMissing",
                              "[a.com]\r\nx=1\r\n",
                              {"a.com", "k", "", true},
                              "[a.com]\r\nx=1\r\n"},
                    WriteCase{"removedKeySectionMissing",
                              "[b.com]\r\nk=1\r\n",
                              {"a.com", "k", "", true},
                              "[b.com]\r\nk=1\r\n"}),
    CaseName<WriteCase>);

struct RefusedEntryCase {
  const char* name;
  ProfileEntry entry;
};

class ProfileRefuse : public ::testing::TestWithParam<RefusedEntryCase> {};

// Each of these would put a line of its own into the file, or a key that reads back as
// something else, so the file must stay exactly as it was.
TEST_P(ProfileRefuse, LeavesTheFileAlone) {
  const RefusedEntryCase& c = GetParam();
  TempDir dir;
  const std::string file = dir.File("jar.ini");
  const std::string before = "[a.com]\r\nk=1\r\n";
  WriteBytes(file, before);
  EXPECT_FALSE(WriteProfileString(c.entry.section, c.entry.key, c.entry.value, file));
  EXPECT_EQ(ReadBytes(file), before);
}

INSTANTIATE_TEST_SUITE_P(
    ProfileWriter, ProfileRefuse,
    ::testing::Values(RefusedEntryCase{"valueCrLf", {"a.com", "k", "1\r\n[evil]"}},
                    RefusedEntryCase{"valueLf", {"a.com", "k", "1\nx=2"}},
                    RefusedEntryCase{"valueCr", {"a.com", "k", "1\rx=2"}},
                    RefusedEntryCase{"valueZeroByte", {"a.com", "k", std::string("1\0x=2", 5)}},
                    RefusedEntryCase{"valueByte26", {"a.com", "k", "1\x1ax=2"}},
                    RefusedEntryCase{"keyLf", {"a.com", "k\nx", "1"}},
                    RefusedEntryCase{"sectionLf", {"a.com]\n[b.com", "k", "1"}},
                    RefusedEntryCase{"keyWithEquals", {"a.com", "k=x", "1"}},
                    RefusedEntryCase{"keyReadsAsSection", {"a.com", "[b.com]", "1"}},
                    RefusedEntryCase{"keyReadsAsSectionAfterSpaces", {"a.com", " 　\t[b", "1"}}),
    CaseName<RefusedEntryCase>);

TEST(ProfileWriter, BatchWritesTheSafeEntriesAndReportsTheRefusedOnes) {
  TempDir dir;
  const std::string file = dir.File("jar.ini");
  EXPECT_FALSE(WriteProfileStrings(
      {{"a.com", "x", "1"}, {"a.com", "bad", "2\r\ny=3"}, {"b.com", "z", "4"}}, file));
  EXPECT_EQ(ReadBytes(file), "[a.com]\r\nx=1\r\n[b.com]\r\nz=4\r\n");
}

TEST(ProfileWriter, BatchMatchesOneCallPerEntry) {
  const std::vector<ProfileEntry> entries = {
      {"a.com", "x", "1"}, {"b.com", "y", "2"}, {"A.COM", "X", "3"}, {"a.com", "w", "4"}};
  TempDir dir;
  const std::string batch = dir.File("batch.ini");
  const std::string single = dir.File("single.ini");
  ASSERT_TRUE(WriteProfileStrings(entries, batch));
  for (const ProfileEntry& e : entries) {
    ASSERT_TRUE(WriteProfileString(e.section, e.key, e.value, single));
  }
  EXPECT_EQ(ReadBytes(batch), ReadBytes(single));
  EXPECT_EQ(ReadBytes(batch), "[a.com]\r\nX=3\r\nw=4\r\n[b.com]\r\ny=2\r\n");
}

TEST(ProfileWriter, FailedWritesAnswerFalse) {
  TempDir dir;
  EXPECT_FALSE(WriteProfileString("a.com", "k", "v", dir.File("missing/jar.ini")));
  EXPECT_FALSE(WriteProfileString("a.com", "k", "v", dir.path.string()));
  EXPECT_FALSE(WriteProfileString("a.com", "k", "v", ""));
  EXPECT_FALSE(WriteProfileString("a.com", "k", "v", std::string("jar\0.ini", 8)));
}

TEST(ProfileWriter, ReplacesTheFileWithoutLeftoversAndKeepsItsPermissions) {
  TempDir dir;
  const std::string file = dir.File("jar.ini");
  WriteBytes(file, "[a.com]\r\n");
  ASSERT_EQ(::chmod(file.c_str(), 0600), 0);
  ASSERT_TRUE(WriteProfileString("a.com", "k", "v", file));
  struct stat status {};
  ASSERT_EQ(::stat(file.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0600u);
  int entries = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path)) {
    ++entries;
  }
  EXPECT_EQ(entries, 1);
}

TEST(ProfileWriter, WritesThroughASymbolicLink) {
  TempDir dir;
  const std::string target = dir.File("target.ini");
  const std::string link = dir.File("link.ini");
  WriteBytes(target, "[a.com]\r\n");
  std::filesystem::create_symlink(target, link);
  ASSERT_TRUE(WriteProfileString("a.com", "k", "v", link));
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(ReadBytes(target), "[a.com]\r\nk=v\r\n");
}

// Each write reads the file and replaces it; without taking turns a write would replace
// the file with a version that lacks the key another thread just added.
TEST(ProfileWriter, ConcurrentWritersKeepEveryKey) {
  constexpr int kThreads = 4;
  constexpr int kKeys = 25;
  TempDir dir;
  const std::string file = dir.File("jar.ini");
  std::atomic<int> failures{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int k = 0; k < kKeys; ++k) {
        const std::string key = "t" + std::to_string(t) + "k" + std::to_string(k);
        if (!WriteProfileString("a.com", key, "1", file)) ++failures;
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(failures.load(), 0);
  const std::string written = ReadBytes(file);
  for (int t = 0; t < kThreads; ++t) {
    for (int k = 0; k < kKeys; ++k) {
      const std::string line = "\r\nt" + std::to_string(t) + "k" + std::to_string(k) + "=1\r\n";
      EXPECT_NE(written.find(line), std::string::npos) << line;
    }
  }
}

// A pipe at the path must be refused, not waited on for a writer that never comes.
TEST(ProfileWriter, PipeAtThePathIsRefusedAtOnce) {
  TempDir dir;
  const std::string pipe = dir.File("jar.ini");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  EXPECT_FALSE(WriteProfileString("a.com", "k", "v", pipe));
}

// "path: section.key=value ..." for one write of the background writer.
std::string DescribedProfile(const Text& path, const std::vector<ProfileEntry>& entries) {
  std::string text = path + ":";
  for (const ProfileEntry& e : entries) text += " " + e.section + "." + e.key + "=" + e.value;
  return text;
}

// The first write is held on the writer's thread while more are asked for.
TEST(BackgroundProfileWriter, WritesOfAQueuedFileJoinItAndAllRunOnOneThreadOfItsOwn) {
  std::mutex mutex;
  std::condition_variable changed;
  bool released = false;
  std::vector<std::string> writes;
  std::set<std::thread::id> threads;
  BackgroundProfileWriter writer([&](const std::vector<ProfileEntry>& entries, const Text& path) {
    std::unique_lock lock(mutex);
    writes.push_back(DescribedProfile(path, entries));
    threads.insert(std::this_thread::get_id());
    changed.notify_all();
    changed.wait(lock, [&] { return released; });
  });
  writer.Write("a.ini", {{"s", "k", "1"}});
  {
    std::unique_lock lock(mutex);
    changed.wait(lock, [&] { return !writes.empty(); });
  }
  writer.Write("a.ini", {{"s", "k", "2"}, {"s", "j", "x"}});
  writer.Write("b.ini", {{"s", "k", "b"}});
  writer.Write("a.ini", {{"s", "k", "3"}});
  {
    std::lock_guard guard(mutex);
    released = true;
  }
  changed.notify_all();
  writer.Flush();
  std::lock_guard guard(mutex);
  EXPECT_EQ(writes,
            (std::vector<std::string>{"a.ini: s.k=1", "a.ini: s.k=2 s.j=x s.k=3", "b.ini: s.k=b"}));
  EXPECT_EQ(threads.size(), 1u);
  EXPECT_FALSE(threads.contains(std::this_thread::get_id()));
}

TEST(BackgroundProfileWriter, StopWritesWhatIsQueuedPastAFailureThenCallersWriteThemselves) {
  std::mutex mutex;
  std::vector<std::string> writes;
  std::vector<std::thread::id> threads;
  BackgroundProfileWriter writer([&](const std::vector<ProfileEntry>& entries, const Text& path) {
    if (path == "full.ini") throw std::runtime_error("no room");
    std::lock_guard guard(mutex);
    writes.push_back(DescribedProfile(path, entries));
    threads.push_back(std::this_thread::get_id());
  });
  writer.Write("full.ini", {{"s", "k", "1"}});
  writer.Write("a.ini", {{"s", "k", "1"}});
  writer.Stop();
  {
    std::lock_guard guard(mutex);
    EXPECT_EQ(writes, std::vector<std::string>{"a.ini: s.k=1"});
  }
  writer.Write("b.ini", {{"s", "k", "2"}});
  std::lock_guard guard(mutex);
  EXPECT_EQ(writes, (std::vector<std::string>{"a.ini: s.k=1", "b.ini: s.k=2"}));
  ASSERT_EQ(threads.size(), 2u);
  EXPECT_NE(threads[0], std::this_thread::get_id());
  EXPECT_EQ(threads[1], std::this_thread::get_id());
}

}  // namespace
}  // namespace vardelle
