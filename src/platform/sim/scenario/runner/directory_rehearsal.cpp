#include "platform/sim/scenario/runner/directory_rehearsal.h"

#include "directory/computer_account.h"
#include "directory/distinguished_name.h"
#include "platform/ldap/ldap_directory_service.h"
#include "platform/ldap/ldap_joinable_units.h"
#include "platform/net_buffer.h"
#include "platform/sim/text.h"

#include <algorithm>
#include <vector>

namespace corvane::rehearsal {
namespace {

using sim::Utf16ToUtf8;

std::string PathText(std::u16string_view path) {
    return path.empty() ? std::string("(the default computer container)") : Utf16ToUtf8(path);
}

// The NetBIOS-style first label of a DNS name, upper-cased.
std::u16string FirstLabel(std::u16string_view dnsName) {
    std::u16string label(dnsName.substr(0, dnsName.find(u'.')));
    for (char16_t& c : label) {
        c = sim::FoldChar(c);
    }
    return label;
}

} // namespace

int RunDirectoryRehearsal(sim::World& world, SetupState& state, const DirectoryRehearsal& plan,
                          std::ostream& out) {
    ldap::LdapDirectoryConfig config;
    config.uri = plan.uri;
    config.dnsName = plan.domain;
    config.netbiosName = FirstLabel(plan.domain);
    config.acceptAnyCertificate = plan.acceptAnyCertificate;
    // The workstation is a member of the domain, so that the locate runs;
    // the sim's domain of that name answers the domain-controller look-up.
    world.AddDomain(config.netbiosName, config.dnsName);
    world.SetJoinState(platform::JoinStatus::Domain, config.netbiosName);

    platform::Platform& sim = world.platform();
    ldap::LdapDirectoryService directory(config);
    ldap::LdapJoinableUnits units(config, sim.network);
    platform::Platform os{sim.clock,     sim.locale,   sim.environment, sim.files,
                          sim.profile,   sim.registry, units,           sim.ipHelper,
                          sim.resources, directory,    sim.ui};

    const char16_t* account = state.Account.empty() ? nullptr : state.Account.c_str();
    const char16_t* password = state.Account.empty() ? nullptr : state.Password.c_str();
    out << "directory: " << plan.uri << ", domain " << Utf16ToUtf8(plan.domain) << ", as "
        << (account == nullptr ? std::string("(anonymous)") : Utf16ToUtf8(account))
        << (plan.write ? "" : " (read-only)") << "\n";

    int result = 0;
    platform::NetBuffer<char16_t*> list(os.network);
    std::uint32_t count = 0;
    const platform::ErrorCode listed = os.network.NetGetJoinableOUs(
        plan.domain.c_str(), account, password, &count, list.Receive());
    if (listed != 0) {
        out << "joinable units: NetGetJoinableOUs = " << listed << "\n";
        result = static_cast<int>(listed);
    } else {
        std::vector<std::u16string> paths;
        for (std::uint32_t i = 0; i < count; ++i) {
            paths.push_back(ExtractNamePath(list.get()[i], u"OU", u'\\'));
        }
        std::sort(paths.begin(), paths.end());
        out << "joinable units (" << count << "):\n";
        for (const std::u16string& path : paths) {
            out << "  " << PathText(path) << "\n";
        }
    }

    // The locate writes the path only for an account it found: a text no
    // OU path can be tells "not found" apart from the default container.
    constexpr std::u16string_view kNotFound = u"\x01";
    OrganizationUnitText located;
    located.Assign(kNotFound);
    const bool searched =
        GetComputerAccountOrganizationUnit(os, state, plan.domain, plan.computer, located);
    if (!searched) {
        out << "account " << Utf16ToUtf8(plan.computer) << ": the directory cannot be searched\n";
        return result != 0 ? result : 1;
    }
    const bool found = located.view() != kNotFound;
    out << "account " << Utf16ToUtf8(plan.computer) << ": "
        << (found ? "in " + PathText(located.view()) : std::string("not found")) << "\n";
    if (!plan.unit) {
        return result;
    }
    if (found && *plan.unit == located.view()) {
        out << "move: already in " << PathText(*plan.unit) << "\n";
        return result;
    }
    if (!plan.write) {
        out << (found ? "move: would move " : "create: would create ") << Utf16ToUtf8(plan.computer)
            << " in " << PathText(*plan.unit) << " (--write-directory does it)\n";
        return result;
    }
    platform::ErrorCode moved =
        MoveComputerAccountToOrganizationUnit(os, state, plan.domain, plan.computer, *plan.unit);
    out << "move: MoveComputerAccountToOrganizationUnit = " << moved << "\n";
    if (moved == platform::error::kNerrComputerAccountNotFound) {
        moved = CreateComputerAccount(os, state, plan.domain, plan.computer, *plan.unit);
        out << "create: CreateComputerAccount = " << moved << "\n";
    }
    return result != 0 ? result : static_cast<int>(moved);
}

} // namespace corvane::rehearsal
