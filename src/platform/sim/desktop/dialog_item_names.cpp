#include "platform/sim/desktop/dialog_item_names.h"

#include "ui/dialog_ids.h"

namespace corvane::sim {

namespace {

struct NamedItem {
    std::uint16_t templateId;
    std::string_view name;
    int item;
};

namespace m = ui::main_dialog;
namespace a = ui::auth_dialog;

constexpr NamedItem kItems[] = {
    {ui::kDialogMain, "ok", ui::kItemOk},
    {ui::kDialogMain, "cancel", ui::kItemCancel},
    {ui::kDialogMain, "adapter", m::kAdapterList},
    {ui::kDialogMain, "automatic-address", m::kAddressAutomatic},
    {ui::kDialogMain, "fixed-address", m::kAddressFixed},
    {ui::kDialogMain, "ip-address", m::kIpAddress},
    {ui::kDialogMain, "subnet-mask", m::kSubnetMask},
    {ui::kDialogMain, "default-gateway", m::kDefaultGateway},
    {ui::kDialogMain, "computer-name", m::kComputerName},
    {ui::kDialogMain, "ou", m::kOrganizationUnitList},
    {ui::kDialogMain, "member-of-domain", m::kMemberOfDomain},
    {ui::kDialogMain, "domain", m::kDomain},
    {ui::kDialogMain, "credentials", m::kCredentials},
    {ui::kDialogMain, "member-of-workgroup", m::kMemberOfWorkgroup},
    {ui::kDialogMain, "workgroup", m::kWorkgroup},
    {ui::kDialogMain, "start-with-windows", m::kStartWithWindows},
    {ui::kDialogAuthentication, "ok", ui::kItemOk},
    {ui::kDialogAuthentication, "cancel", ui::kItemCancel},
    {ui::kDialogAuthentication, "domain", a::kDomain},
    {ui::kDialogAuthentication, "browse", a::kDomainBrowser},
    {ui::kDialogAuthentication, "account", a::kAccount},
    {ui::kDialogAuthentication, "password", a::kPassword},
    {ui::kDialogAuthentication, "error-text", a::kErrorText},
};

} // namespace

std::optional<std::uint16_t> DialogByName(std::string_view name) {
    if (name == "main") {
        return ui::kDialogMain;
    }
    if (name == "credentials") {
        return ui::kDialogAuthentication;
    }
    if (name == "progress") {
        return ui::kDialogProgress;
    }
    return std::nullopt;
}

std::optional<int> DialogItemByName(std::uint16_t templateId, std::string_view name) {
    for (const NamedItem& named : kItems) {
        if (named.templateId == templateId && named.name == name) {
            return named.item;
        }
    }
    return std::nullopt;
}

std::string_view DialogItemName(std::uint16_t templateId, int item) {
    for (const NamedItem& named : kItems) {
        if (named.templateId == templateId && named.item == item) {
            return named.name;
        }
    }
    return {};
}

} // namespace corvane::sim
