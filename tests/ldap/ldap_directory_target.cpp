// The directory contract against a real domain controller: the Samba
// domain that the test run provisions (domain_controller.sh), named by the
// file in CORVANE_DC_ENV. The workstation around the directory is the sim's,
// a member of that domain; its directory and joinable units are the real
// ones.
#include "contract/directory_target.h"
#include "domain_controller_file.h"
#include "platform/ldap/ldap_connection.h"
#include "platform/ldap/ldap_directory_service.h"
#include "platform/ldap/ldap_joinable_units.h"
#include "platform/sim/world.h"

#include <cstdlib>
#include <ldap.h>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace corvane::contract {
namespace {

using ldap::FromUtf8;
using ldap::ToUtf8;

constexpr const char* kTreeDelete = "1.2.840.113556.1.4.805";

class LdapDirectory final : public DirectoryTarget {
public:
    explicit LdapDirectory(std::map<std::string, std::string> server)
        : server_(std::move(server)), config_(Config(server_)), directory_(config_),
          units_(config_, world_.platform().network), os_{world_.platform().clock,
                                                          world_.platform().locale,
                                                          world_.platform().environment,
                                                          world_.platform().files,
                                                          world_.platform().profile,
                                                          world_.platform().registry,
                                                          units_,
                                                          world_.platform().ipHelper,
                                                          world_.platform().resources,
                                                          directory_,
                                                          world_.platform().ui} {
        // The sim's domain of the same names answers the domain-controller
        // look-up; its directory is not used.
        world_.AddDomain(config_.netbiosName, config_.dnsName);
        world_.SetJoinState(platform::JoinStatus::Domain, config_.netbiosName);
        const DirectoryLogons logons = Logons();
        ldap::LdapConnection::Open(config_, logons.admin.c_str(), logons.adminPassword.c_str(),
                                   admin_);
    }

    bool Connected() const { return admin_ != nullptr; }

    platform::Platform& Os() override { return os_; }
    std::size_t UnreleasedDirectoryObjects() override {
        const ldap::LdapDirectoryService::Usage usage = directory_.CurrentUsage();
        return usage.liveInterfaces + usage.openSearches + usage.heldColumns + units_.LiveBuffers();
    }
    std::u16string DnsName() const override { return config_.dnsName; }
    DirectoryLogons Logons() const override {
        auto text = [&](const char* key) { return FromUtf8(server_.at(key)); };
        return {text("admin"),          text("admin_password"), text("clerk"),
                text("clerk_password"), text("disabled"),       text("disabled_password")};
    }

    void AddUnit(const std::u16string& relativeDn) override {
        ASSERT_EQ(Add(Absolute(relativeDn), {{"objectClass", "organizationalUnit"}}), LDAP_SUCCESS)
            << ToUtf8(relativeDn);
    }
    void AddComputer(const std::u16string& name, const std::u16string& container) override {
        const std::string dn =
            "CN=" + ToUtf8(name) + "," + Absolute(container.empty() ? u"CN=Computers" : container);
        ASSERT_EQ(Add(dn, {{"objectClass", "computer"},
                           {"sAMAccountName", ToUtf8(name) + "$"},
                           {"userAccountControl", "4128"}}),
                  LDAP_SUCCESS)
            << dn;
    }
    void AddComputers(const std::vector<std::u16string>& names,
                      const std::u16string& container) override {
        for (const std::u16string& name : names) {
            AddComputer(name, container);
        }
    }
    std::u16string ComputerContainer(const std::u16string& name) override {
        const std::string dn = FindComputer(name);
        if (dn.empty()) {
            return u"-";
        }
        std::vector<sim::RelativeName> components;
        sim::ParseDistinguishedName(FromUtf8(dn), components);
        const std::u16string parent =
            sim::FormatDistinguishedName(std::span<const sim::RelativeName>(components).subspan(1));
        const std::u16string root = FromUtf8(admin_->RootDn());
        return parent.substr(0, parent.size() - root.size() - 1);
    }
    std::vector<std::u16string> ComputerAttribute(const std::u16string& name,
                                                  const std::u16string& attribute) override {
        std::vector<std::u16string> out;
        const std::string dn = FindComputer(name);
        std::vector<std::string> values;
        if (!dn.empty()) {
            admin_->ReadValues(dn, ToUtf8(attribute).c_str(), values);
        }
        for (const std::string& value : values) {
            out.push_back(FromUtf8(value));
        }
        return out;
    }
    void RemoveUnit(const std::u16string& relativeDn) override { Remove(Absolute(relativeDn)); }
    void RemoveComputer(const std::u16string& name) override {
        for (std::string dn = FindComputer(name); !dn.empty(); dn = FindComputer(name)) {
            ASSERT_EQ(Remove(dn), LDAP_SUCCESS) << dn;
        }
    }

private:
    static ldap::LdapDirectoryConfig Config(const std::map<std::string, std::string>& server) {
        ldap::LdapDirectoryConfig config;
        config.uri = server.at("uri");
        config.dnsName = FromUtf8(server.at("domain"));
        config.netbiosName = FromUtf8(server.at("netbios"));
        config.acceptAnyCertificate = true;
        return config;
    }

    std::string Absolute(const std::u16string& relativeDn) const {
        return ToUtf8(relativeDn) + "," + admin_->RootDn();
    }

    int Add(const std::string& dn, const std::vector<std::pair<std::string, std::string>>& pairs) {
        std::vector<LDAPMod> mods(pairs.size());
        std::vector<std::vector<char*>> values(pairs.size());
        std::vector<LDAPMod*> list;
        for (std::size_t i = 0; i < pairs.size(); ++i) {
            values[i] = {const_cast<char*>(pairs[i].second.c_str()), nullptr};
            mods[i].mod_op = LDAP_MOD_ADD;
            mods[i].mod_type = const_cast<char*>(pairs[i].first.c_str());
            mods[i].mod_values = values[i].data();
            list.push_back(&mods[i]);
        }
        list.push_back(nullptr);
        return ldap_add_ext_s(admin_->Handle(), dn.c_str(), list.data(), nullptr, nullptr);
    }

    int Remove(const std::string& dn) {
        LDAPControl tree{const_cast<char*>(kTreeDelete), {0, nullptr}, 1};
        LDAPControl* controls[] = {&tree, nullptr};
        const int removed = ldap_delete_ext_s(admin_->Handle(), dn.c_str(), controls, nullptr);
        return removed == LDAP_NO_SUCH_OBJECT ? LDAP_SUCCESS : removed;
    }

    std::string FindComputer(const std::u16string& name) {
        const std::string filter = "(sAMAccountName=" + ToUtf8(name) + "$)";
        char noAttributes[] = "1.1";
        char* attributes[] = {noAttributes, nullptr};
        LDAPMessage* result = nullptr;
        std::string dn;
        if (ldap_search_ext_s(admin_->Handle(), admin_->RootDn().c_str(), LDAP_SCOPE_SUBTREE,
                              filter.c_str(), attributes, 0, nullptr, nullptr, nullptr, 0,
                              &result) == LDAP_SUCCESS) {
            if (LDAPMessage* entry = ldap_first_entry(admin_->Handle(), result)) {
                char* text = ldap_get_dn(admin_->Handle(), entry);
                dn = text == nullptr ? std::string() : text;
                ldap_memfree(text);
            }
        }
        ldap_msgfree(result);
        return dn;
    }

    std::map<std::string, std::string> server_;
    ldap::LdapDirectoryConfig config_;
    sim::World world_;
    ldap::LdapDirectoryService directory_;
    ldap::LdapJoinableUnits units_;
    platform::Platform os_;
    std::shared_ptr<ldap::LdapConnection> admin_;
};

std::unique_ptr<DirectoryTarget> MakeLdapDirectory(std::string& skipReason) {
    const char* path = std::getenv("CORVANE_DC_ENV");
    std::map<std::string, std::string> server = ldap_fixture::ReadDomainControllerFile(path);
    if (server.count("uri") == 0) {
        skipReason = "no domain controller is running for this test run (Samba's AD DC is not "
                     "installed, or the tests run outside ctest); scripts/setup.sh installs "
                     "samba, samba-ad-dc and ldap-utils";
        return nullptr;
    }
    auto target = std::make_unique<LdapDirectory>(std::move(server));
    if (!target->Connected()) {
        skipReason.clear();
        ADD_FAILURE() << "the domain controller in " << path << " refuses the administrator";
        return nullptr;
    }
    return target;
}

} // namespace

CORVANE_DIRECTORY_TARGET(Ldap, MakeLdapDirectory);

} // namespace corvane::contract
