// The directory service over the real ADSI, as far as Wine offers it: Wine
// has the LDAP provider but no IADsContainer and no WinNT provider, so these
// tests only bind what cannot succeed and check that every path fails
// cleanly and leaves the thread's COM as it found it.
#include "directory/computer_account.h"
#include "model/setup_state.h"
#include "platform/win32/directory_service.h"
#include "platform/win32/win32_platform.h"

#include <gtest/gtest.h>
#include <string>
#include <thread>

// clang-format off
#include <objbase.h>
// clang-format on

namespace corvane::win32 {
namespace {

bool ComInitializedOnThisThread() {
    APTTYPE type{};
    APTTYPEQUALIFIER qualifier{};
    return CoGetApartmentType(&type, &qualifier) != CO_E_NOTINITIALIZED;
}

// Runs `body` on a thread of its own, which starts without COM.
template <typename Body>
void OnFreshThread(Body body) {
    std::thread thread(body);
    thread.join();
}

// A name that no resolver answers (RFC 6761).
constexpr char16_t kNoDomain[] = u"corvane-no-such-domain.invalid";

TEST(Win32DirectoryService, FindsTheBindFunctionInTheSystemDirectory) {
    const SystemLibrary activeds(L"activeds.dll");
    ASSERT_TRUE(activeds.IsLoaded());
    void(WINAPI * open)() = nullptr;
    EXPECT_EQ(activeds.Find("ADsOpenObject", open), 0u);
}

TEST(Win32DirectoryService, BindsThatCannotSucceedFailWithoutAnInterface) {
    OnFreshThread([] {
        Win32DirectoryService directory;
        ASSERT_FALSE(ComInitializedOnThisThread());
        ASSERT_EQ(directory.CoInitialize(), S_OK);
        const std::u16string paths[] = {u"Nosuch://x", u"", u"LDAP:",
                                        u"WinNT://" + std::u16string(kNoDomain)};
        for (const std::u16string& path : paths) {
            SCOPED_TRACE(std::string(path.begin(), path.end()));
            platform::DirectoryInterface object = 1;
            EXPECT_TRUE(FAILED(directory.OpenObject(
                path.c_str(), nullptr, nullptr, platform::kAdsSecureAuthentication,
                platform::DirectoryInterfaceKind::Container, &object)));
            EXPECT_EQ(object, platform::kNoDirectoryInterface);
        }
        // Null arguments are refused before anything is called.
        EXPECT_EQ(directory.OpenObject(nullptr, nullptr, nullptr, 1,
                                       platform::DirectoryInterfaceKind::Ads, nullptr),
                  E_POINTER);
        EXPECT_EQ(directory.Release(platform::kNoDirectoryInterface), 0u);
        directory.CoUninitialize();
        EXPECT_FALSE(ComInitializedOnThisThread());
    });
}

TEST(Win32DirectoryService, TheAccountOperationsEndTheirComBracketOnFailure) {
    OnFreshThread([] {
        Win32Platform platform;
        SetupState state;
        state.Account.Assign(u"installer@corvane.invalid");
        state.Password.Assign(u"s3cret");
        EXPECT_NE(CreateComputerAccount(platform.Os(), state, kNoDomain, u"PC1", std::nullopt), 0u);
        EXPECT_FALSE(ComInitializedOnThisThread());
        EXPECT_NE(DeleteComputerAccount(platform.Os(), state, kNoDomain, u"PC1"), 0u);
        EXPECT_FALSE(ComInitializedOnThisThread());
        EXPECT_NE(MoveComputerAccountToOrganizationUnit(platform.Os(), state, kNoDomain, u"PC1",
                                                        u"\\Sales"),
                  0u);
        EXPECT_FALSE(ComInitializedOnThisThread());
        OrganizationUnitText located(u"\\Kept");
        EXPECT_FALSE(
            GetComputerAccountOrganizationUnit(platform.Os(), state, kNoDomain, u"PC1", located));
        EXPECT_EQ(located.view(), u"\\Kept");
        EXPECT_FALSE(ComInitializedOnThisThread());
    });
}

TEST(Win32DirectoryService, AnApartmentOfTheCallerStaysOpen) {
    OnFreshThread([] {
        // A multithreaded apartment: the operation's CoInitialize is refused
        // (RPC_E_CHANGED_MODE) and must not be undone.
        ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
        Win32Platform platform;
        SetupState state;
        EXPECT_NE(DeleteComputerAccount(platform.Os(), state, kNoDomain, u"PC1"), 0u);
        EXPECT_TRUE(ComInitializedOnThisThread());
        CoUninitialize();
        EXPECT_FALSE(ComInitializedOnThisThread());
    });
}

} // namespace
} // namespace corvane::win32
