#include "directory/domain_lookups.h"

#include "platform/net_buffer.h"

namespace corvane {

platform::ErrorCode GetDomainDnsName(platform::Platform& os, SetupState& state,
                                     DomainText& domain) {
    platform::NetBuffer<platform::DomainControllerInfo> info(os.network);
    const platform::ErrorCode status =
        os.network.DsGetDcName(domain.c_str(), platform::kDsReturnDnsName, info.Receive());
    if (status == platform::error::kSuccess && info && info.get()->domainName != nullptr) {
        const std::u16string_view dnsName(info.get()->domainName);
        if (dnsName.size() < DomainText::kCapacity) {
            domain.Assign(dnsName);
        }
    }
    state.Log.Log(LogLevel::Info, static_cast<std::int32_t>(status), u"%S: Status",
                  "GetDomainDnsName");
    return status;
}

bool IsDomainMember(platform::Platform& os) {
    platform::NetBuffer<char16_t> name(os.network);
    platform::JoinStatus status = platform::JoinStatus::Unknown;
    if (os.network.NetGetJoinInformation(name.Receive(), &status) != platform::error::kSuccess) {
        return false;
    }
    return status == platform::JoinStatus::Domain;
}

} // namespace corvane
