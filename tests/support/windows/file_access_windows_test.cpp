// Whole-file access with Chinese paths: the names on disk are the UTF-16 names, whatever the
// system's ANSI code page, and a failed replacement leaves nothing behind.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "support/files/file_access.h"
#include "support/text/text_codec.h"

namespace vardelle {
namespace {

std::wstring Wide(const std::string& gbk) {
  const std::u16string text = ToUtf16(gbk);
  return std::wstring(text.begin(), text.end());
}

// The names in a folder, as the system lists them.
std::set<std::wstring> Listing(const std::wstring& folder) {
  std::set<std::wstring> names;
  WIN32_FIND_DATAW found{};
  const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") names.insert(name);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

// A fresh folder under the system's temporary folder, removed with its contents at the end;
// its path as the program's GBK text.
class WindowsFileAccess : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temporary[MAX_PATH + 1] = {};
    ASSERT_GT(GetTempPathW(MAX_PATH + 1, temporary), 0u);
    root = std::wstring(temporary) + L"vardelle-files-" + std::to_wstring(GetCurrentProcessId());
    std::filesystem::remove_all(root);
    ASSERT_TRUE(CreateDirectoryW(root.c_str(), nullptr));
    const std::u16string wideRoot(root.begin(), root.end());
    gbkRoot = ToGbk(wideRoot);
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
  }

  std::wstring root;
  std::string gbkRoot;
};

TEST_F(WindowsFileAccess, ChineseNamesReachTheDiskAsThemselves) {
  const std::string folder = gbkRoot + "\\测试目录\\子目录";
  const std::string file = folder + "\\数据.json";
  ASSERT_TRUE(CreateDirectories(folder));
  EXPECT_TRUE(CreateDirectories(folder));  // already there
  ASSERT_TRUE(ReplaceWholeFile(file, "first"));
  ASSERT_TRUE(ReplaceWholeFile(file, "second, longer"));  // over an existing file
  EXPECT_EQ(ReadWholeFile(file), "second, longer");

  EXPECT_EQ(Listing(root), std::set<std::wstring>{L"测试目录"});
  EXPECT_EQ(Listing(root + L"\\测试目录\\子目录"), std::set<std::wstring>{L"数据.json"});
  EXPECT_EQ(Wide(file), root + L"\\测试目录\\子目录\\数据.json");
}

TEST_F(WindowsFileAccess, FailuresLeaveNothingBehind) {
  const std::string folder = gbkRoot + "\\目录";
  ASSERT_TRUE(CreateDirectories(folder));
  const std::string missingFolder = gbkRoot + "\\没有\\文件.txt";
  EXPECT_FALSE(ReplaceWholeFile(missingFolder, "x"));
  EXPECT_FALSE(ReplaceWholeFile(folder, "x"));  // a folder cannot be replaced by a file
  EXPECT_FALSE(ReplaceWholeFile(gbkRoot + std::string("\\a\0b", 4), "x"));
  EXPECT_EQ(Listing(root), std::set<std::wstring>{L"目录"});
  EXPECT_TRUE(Listing(root + L"\\目录").empty());

  EXPECT_EQ(ReadWholeFile(missingFolder), std::nullopt);
  EXPECT_EQ(ReadWholeFile(missingFolder, true), "");
  EXPECT_EQ(ReadWholeFile(folder, true), std::nullopt);

  ASSERT_TRUE(ReplaceWholeFile(gbkRoot + "\\文件", "x"));
  EXPECT_FALSE(CreateDirectories(gbkRoot + "\\文件"));
  EXPECT_FALSE(CreateDirectories(gbkRoot + "\\文件\\下面"));
}

// The profile writer replaces files that readers may hold open at that moment.
TEST_F(WindowsFileAccess, OtherHoldersOfTheFileDoNotStopReadsOrReplacement) {
  const std::string file = gbkRoot + "\\共享.txt";
  ASSERT_TRUE(ReplaceWholeFile(file, "old"));
  const HANDLE held = CreateFileW(Wide(file).c_str(), GENERIC_READ | GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_EQ(ReadWholeFile(file), "old");
  EXPECT_TRUE(ReplaceWholeFile(file, "new"));
  CloseHandle(held);
  EXPECT_EQ(ReadWholeFile(file), "new");
  EXPECT_EQ(Listing(root), std::set<std::wstring>{L"共享.txt"});
}

// A copy that an interrupted save left in a Chinese-named folder goes; another program's
// names, and the file itself, stay.
TEST_F(WindowsFileAccess, InterruptedReplacementsAreRemovedAndNothingElse) {
  const std::string folder = gbkRoot + "\\设置";
  ASSERT_TRUE(CreateDirectories(folder));
  const std::string self = std::to_string(GetCurrentProcessId());
  // Windows process ids are multiples of four, so this one is no process's.
  const std::string gone = "4294967291";
  for (const std::string& name : std::vector<std::string>{
           "settings.ini", "settings.ini.tmp" + gone + "-1", "settings.ini.tmp" + self + "-2",
           "settings.ini.tmp" + gone, "settings.ini.tmp" + gone + "-1x",
           "other.ini.tmp" + gone + "-1", "settings.ini.bak"}) {
    ASSERT_TRUE(ReplaceWholeFile(folder + "\\" + name, "x"));
  }
  RemoveInterruptedReplacements(folder + "\\settings.ini");
  const std::wstring wideGone(gone.begin(), gone.end());
  EXPECT_EQ(Listing(root + L"\\设置"),
            (std::set<std::wstring>{L"settings.ini", L"settings.ini.tmp" + wideGone,
                                    L"settings.ini.tmp" + wideGone + L"-1x",
                                    L"other.ini.tmp" + wideGone + L"-1", L"settings.ini.bak"}));
}

}  // namespace
}  // namespace vardelle
