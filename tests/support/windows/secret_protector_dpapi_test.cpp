// The Globalping token sealed for the user: what the file holds names neither the token nor
// any part of it, opens again to the same bytes, and a damaged form opens to nothing.
#include <gtest/gtest.h>

#include <string>

#include "support/files/secret_protector.h"

namespace vardelle {
namespace {

TEST(DpapiSecretProtector, SealedTokensOpenAgainAndHideTheirText) {
  const SecretProtector& protector = SystemSecretProtector();
  const std::string secrets[] = {"x", "0123456789abcdefghijklmnopqrstuv", "令牌=值；含 GBK",
                                 std::string(5000, 'k'), std::string("a\0b", 3)};
  for (const std::string& secret : secrets) {
    SCOPED_TRACE(secret.substr(0, 40));
    EXPECT_TRUE(protector.IsExposed(secret));
    const std::optional<std::string> sealed = protector.Protect(secret);
    ASSERT_TRUE(sealed);
    EXPECT_TRUE(sealed->starts_with("dpapi:"));
    EXPECT_EQ(sealed->find(secret.substr(0, 4)), std::string::npos);
    EXPECT_EQ(sealed->find_first_of(std::string("\r\n\0", 3)), std::string::npos);
    EXPECT_FALSE(protector.IsExposed(*sealed));
    EXPECT_EQ(protector.Reveal(*sealed), secret);
  }
}

TEST(DpapiSecretProtector, ClearAndDamagedFormsAreToldApart) {
  const SecretProtector& protector = SystemSecretProtector();
  const std::string sealed = protector.Protect("token").value_or("");
  ASSERT_GT(sealed.size(), 20u);
  EXPECT_EQ(protector.Reveal("token-in-clear"), "token-in-clear");
  EXPECT_EQ(protector.Protect(""), "");
  EXPECT_FALSE(protector.IsExposed(""));
  for (const std::string& damaged :
       {std::string("dpapi:"), std::string("dpapi:!!!"), std::string("dpapi:AAAAAAAA"),
        sealed.substr(0, sealed.size() / 2), sealed.substr(0, 10) + "A" + sealed.substr(11)}) {
    SCOPED_TRACE(damaged);
    EXPECT_EQ(protector.Reveal(damaged), std::nullopt);
  }
}

}  // namespace
}  // namespace vardelle
