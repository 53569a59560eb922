// Reading keys back as the profile writer writes them.
#include "support/files/profile_reader.h"

#include <gtest/gtest.h>

#include "support/files/profile_writer.h"
#include "tests/support/temp_dir.h"

namespace vardelle {
namespace {

TEST(ProfileReaderTest, FindsTheFirstKeyOfTheFirstMatchingSection) {
  const std::string file =
      "; comment=no\r\n"
      "key=before any section\n"
      "[other]\n"
      "gamebox=http://wrong\n"
      " [ Sites ] \r\n"
      "  GameBox = http://127.0.0.1:8080  \r\n"
      "gamebox=http://second\n"
      "empty=\n"
      "url=http://a/?x=1\n"
      "[sites]\n"
      "late=never read\n";
  struct Case {
    const char* section;
    const char* key;
    std::optional<std::string> value;
  };
  const Case cases[] = {
      {"sites", "gamebox", "http://127.0.0.1:8080"},
      {"SITES", " gamebox ", "http://127.0.0.1:8080"},
      {"sites", "empty", ""},
      {"sites", "url", "http://a/?x=1"},
      {"sites", "late", std::nullopt},
      {"sites", "missing", std::nullopt},
      {"other", "gamebox", "http://wrong"},
      {"nowhere", "gamebox", std::nullopt},
      {"", "key", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.section) + "/" + c.key);
    EXPECT_EQ(FindProfileString(file, c.section, c.key), c.value);
  }
}

TEST(ProfileReaderTest, ReadsBackWhatTheWriterWrote) {
  testing_files::TempDir dir;
  const std::string path = dir.File("settings.ini");
  ASSERT_TRUE(WriteProfileStrings(
      {{"sites", "gamebox", "http://127.0.0.1:1"}, {"columns", "gamebox", "x"}}, path));
  ASSERT_TRUE(WriteProfileString("Sites", "GAMEBOX", "http://127.0.0.1:2", path));
  const std::string file = testing_files::ReadBytes(path);
  EXPECT_EQ(FindProfileString(file, "sites", "gamebox"), "http://127.0.0.1:2");
  EXPECT_EQ(FindProfileString(file, "columns", "gamebox"), "x");
}

}  // namespace
}  // namespace vardelle
