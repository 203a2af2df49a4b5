// String resources from the program's table and the system message texts.
#include "platform/sim/machine/services.h"
#include "platform/sim/text.h"
#include "support/fixed_text.h"
#include "ui/string_resources.h"

namespace corvane::sim {

namespace {

struct SystemMessage {
    platform::ErrorCode code;
    std::u16string_view text;
};

// The English texts of the Windows system message table for the codes the
// program meets, each ending in CR LF as FormatMessage returns them.
constexpr SystemMessage kSystemMessages[] = {
    {0, u"The operation completed successfully.\r\n"},
    {2, u"The system cannot find the file specified.\r\n"},
    {3, u"The system cannot find the path specified.\r\n"},
    {5, u"Access is denied.\r\n"},
    {6, u"The handle is invalid.\r\n"},
    {8, u"Not enough memory resources are available to process this command.\r\n"},
    {32, u"The process cannot access the file because it is being used by another process.\r\n"},
    {50, u"The request is not supported.\r\n"},
    {52, u"You were not connected because a duplicate name exists on the network. If joining a "
         u"domain, go to System in Control Panel to change the computer name and try again. If "
         u"joining a workgroup, choose another workgroup name.\r\n"},
    {86, u"The specified network password is not correct.\r\n"},
    {87, u"The parameter is incorrect.\r\n"},
    {111, u"The file name is too long.\r\n"},
    {122, u"The data area passed to a system call is too small.\r\n"},
    {127, u"The specified procedure could not be found.\r\n"},
    {161, u"The specified path is invalid.\r\n"},
    {232, u"The pipe is being closed.\r\n"},
    {234, u"More data is available.\r\n"},
    {1223, u"The operation was canceled by the user.\r\n"},
    {1237, u"The operation could not be completed. A retry should be performed.\r\n"},
    {1323, u"Unable to update the password. The value provided as the current password is "
           u"incorrect.\r\n"},
    {1326, u"The user name or password is incorrect.\r\n"},
    {1331, u"This user can't sign in because this account is currently disabled.\r\n"},
    {1355, u"The specified domain either does not exist or could not be contacted.\r\n"},
    {1787, u"The security database on the server does not have a computer account for this "
           u"workstation trust relationship.\r\n"},
    {1815, u"The specified resource language ID cannot be found in the image file.\r\n"},
    {2691, u"This machine is already joined to a domain.\r\n"},
    {2692, u"This machine is not currently joined to a domain.\r\n"},
    {2697, u"The computer account could not be found. Contact an administrator to verify the "
           u"account is in the domain. If the account has been deleted unjoin, reboot, and "
           u"rejoin the domain.\r\n"},
    {5010, u"The object already exists.\r\n"},
    {8213, u"The operation cannot be performed because child objects exist. This operation can "
           u"only be performed on a leaf object.\r\n"},
    {8240, u"There is no such object on the server.\r\n"},
    {8245, u"The server is unwilling to process the request.\r\n"},
    {9003, u"DNS name does not exist.\r\n"},
};

int CopyString(std::u16string_view text, char16_t* buffer, int size) {
    if (buffer == nullptr || size <= 0) {
        return 0;
    }
    return static_cast<int>(CopyTruncated(buffer, static_cast<std::size_t>(size), text));
}

} // namespace

std::u16string_view SystemMessageText(platform::ErrorCode code) {
    for (const SystemMessage& message : kSystemMessages) {
        if (message.code == code) {
            return message.text;
        }
    }
    return {};
}

int SimResources::LoadString(std::uint32_t id, char16_t* buffer, int size) {
    platform::LanguageId language = ui::kLanguageEnglish;
    {
        std::lock_guard lock(state_.mutex);
        language = state_.DefaultResourceLanguage();
    }
    return LoadStringInLanguage(id, language, buffer, size);
}

platform::LanguageId SimResources::DefaultLanguage() {
    std::lock_guard lock(state_.mutex);
    return state_.DefaultResourceLanguage();
}

int SimResources::LoadStringInLanguage(std::uint32_t id, platform::LanguageId language,
                                       char16_t* buffer, int size) {
    {
        // Both ways of loading a string are one operation for fault injection.
        std::lock_guard lock(state_.mutex);
        if (auto code = state_.Fail("LoadString")) {
            state_.Record("LoadString", {std::to_string(id)}, *code, true);
            if (buffer != nullptr && size > 0) {
                buffer[0] = u'\0';
            }
            return 0;
        }
    }
    std::u16string_view text;
    if (!ui::FindStringResource(id, language, text)) {
        if (buffer != nullptr && size > 0) {
            buffer[0] = u'\0';
        }
        return 0;
    }
    return CopyString(text, buffer, size);
}

std::uint32_t SimResources::FormatSystemMessage(platform::ErrorCode code, char16_t* buffer,
                                                std::uint32_t size) {
    {
        std::lock_guard lock(state_.mutex);
        if (auto injected = state_.Fail("FormatMessage")) {
            state_.Record("FormatMessage", {Decimal(code)}, *injected, true);
            return 0;
        }
    }
    const std::u16string_view text = SystemMessageText(code);
    if (text.empty() || buffer == nullptr || text.size() + 1 > size) {
        return 0;
    }
    text.copy(buffer, text.size());
    buffer[text.size()] = u'\0';
    return static_cast<std::uint32_t>(text.size());
}

} // namespace corvane::sim
