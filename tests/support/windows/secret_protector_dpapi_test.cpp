// The Globalping token sealed for the user: what the file holds names neither the token nor
// any part of it, opens again to the same bytes, and a damaged form opens to nothing.
#include <gtest/gtest.h>

#include <string>

#include "support/files/secret_protector.h"

namespace vardelle {
namespace {

TEST(DpapiSecretProtector, SealedTokensOpenAgainAndHideTheirText) {
  const SecretProtector& protector = SystemSecretProtector();
  // Each holds a character that base64 lacks, so none can appear in the sealed form by chance.
  const std::string secrets[] = {"x-1", "0123456789abcdefghijklmnopqrstuv-", "令牌=值；含 GBK",
                                 std::string(5000, '-'), std::string("a\0b", 3)};
  for (const std::string& secret : secrets) {
    SCOPED_TRACE(secret.substr(0, 40));
    EXPECT_TRUE(protector.IsExposed(secret));
    const std::optional<std::string> sealed = protector.Protect(secret);
    ASSERT_TRUE(sealed);
    EXPECT_TRUE(sealed->starts_with("dpapi:"));
    EXPECT_EQ(sealed->find(secret), std::string::npos);
    EXPECT_EQ(sealed->find_first_of(std::string("\r\n\0", 3)), std::string::npos);
    EXPECT_FALSE(protector.IsExposed(*sealed));
    EXPECT_EQ(protector.Reveal(*sealed), secret);
  }
}

// The form with one base64 digit changed, in the sealed bytes' check.
std::string Altered(std::string form, std::size_t at) {
  form[at] = form[at] == 'A' ? 'B' : 'A';
  return form;
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
        sealed.substr(0, sealed.size() / 2), Altered(sealed, sealed.size() - 5)}) {
    SCOPED_TRACE(damaged);
    EXPECT_EQ(protector.Reveal(damaged), std::nullopt);
  }
}

}  // namespace
}  // namespace vardelle
