// The contract suite against the sim platform: a fresh world per test, with
// two adapters and a domain to join.
#include "contract/contract_target.h"
#include "platform/sim/world.h"

#include <memory>
#include <string>

namespace corvane::contract {
namespace {

class SimTarget final : public ContractTarget {
public:
    SimTarget() {
        sim::AdapterConfig wired;
        wired.name = "{4D36E972-E325-11CE-BFC1-08002BE10318}";
        wired.description = "Intel(R) PRO/1000 MT Network Connection";
        wired.index = 7;
        wired.address = "10.0.0.5";
        wired.mask = "255.255.255.0";
        wired.gateway = "10.0.0.1";
        wired.moreAddresses = {{"10.0.0.6", "255.255.255.0"}};
        world_.AddAdapter(wired);
        sim::AdapterConfig wireless;
        wireless.name = "{9A1F0C3B-77D2-4E0A-9C61-2B5E8F40D1A7}";
        wireless.description = "Wireless Network Adapter";
        wireless.index = 11;
        wireless.dhcpEnabled = 1;
        wireless.mac.back() = 2;
        world_.AddAdapter(wireless);

        sim::Domain& domain = world_.AddDomain(u"CONTOSO", u"contoso.example");
        domain.AddCredential(u"CONTOSO\\admin", u"P@ss w0rd");
        const std::u16string units[] = {u"Sales", u"Berlin"};
        domain.Directory().EnsureOrganizationalUnits(units);
    }

    platform::Platform& Os() override { return world_.platform(); }

    std::u16string ScratchDirectory() override {
        if (scratch_.empty()) {
            scratch_ = u"C:\\Users\\Administrator\\AppData\\Local\\Temp\\contract";
            world_.CreateDirectory(scratch_);
        }
        return scratch_;
    }

    void WriteTestFile(const std::u16string& path,
                       const std::vector<std::uint8_t>& bytes) override {
        world_.PutFile(path, bytes);
    }

    bool HasDomainOperations() const override { return true; }

    ContractDomain Domain() const override {
        return {u"CONTOSO", u"contoso.example", u"admin@contoso.example", u"P@ss w0rd",
                u"OU=Berlin,OU=Sales,DC=contoso,DC=example"};
    }

    void SetUserLocale(platform::LocaleId locale) override { world_.SetUserDefaultLocale(locale); }

private:
    sim::World world_;
    std::u16string scratch_;
};

std::unique_ptr<ContractTarget> MakeSimTarget() {
    return std::make_unique<SimTarget>();
}

} // namespace

CORVANE_CONTRACT_TARGET(Sim, MakeSimTarget);

} // namespace corvane::contract
