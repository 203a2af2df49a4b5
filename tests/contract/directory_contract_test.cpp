// The directory service: what every implementation does with a bind that
// cannot succeed. Binds that succeed need a domain's directory, which
// neither Wine nor a workstation outside a domain has.
#include "contract/contract_target.h"

#include <string>

namespace corvane::contract {
namespace {

TEST_P(PlatformContract, DirectoryBindsThatCannotSucceedGiveNoInterface) {
    platform::DirectoryService& directory = Os().directory;
    const platform::HResult com = directory.CoInitialize();
    ASSERT_FALSE(platform::hresult::Failed(com));
    const std::u16string paths[] = {
        u"Nosuch://x",
        u"",
        u"LDAP://corvane-no-such-domain.invalid",
        u"WinNT://corvane-no-such-domain.invalid",
    };
    for (const std::u16string& path : paths) {
        SCOPED_TRACE(std::string(path.begin(), path.end()));
        platform::DirectoryInterface object = 1;
        EXPECT_TRUE(platform::hresult::Failed(
            directory.OpenObject(path.c_str(), nullptr, nullptr, platform::kAdsSecureAuthentication,
                                 platform::DirectoryInterfaceKind::DirectorySearch, &object)));
        EXPECT_EQ(object, platform::kNoDirectoryInterface);
    }
    directory.CoUninitialize();
}

} // namespace
} // namespace corvane::contract
