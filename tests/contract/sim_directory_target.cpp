// The directory contract against the sim's directory: a workstation that
// is a member of the domain SALES (sales.example.com), with the logons the
// contract names.
#include "contract/directory_target.h"
#include "platform/sim/directory/directory_attributes.h"
#include "platform/sim/world.h"

#include <memory>
#include <span>
#include <string>
#include <vector>

namespace corvane::contract {
namespace {

class SimDirectory final : public DirectoryTarget {
public:
    SimDirectory() : domain_(world_.AddDomain(u"SALES", u"sales.example.com")) {
        const DirectoryLogons logons = Logons();
        domain_.AddCredential(logons.admin, logons.adminPassword);
        domain_.AddCredential(logons.reader, logons.readerPassword, false, true);
        domain_.AddCredential(logons.disabled, logons.disabledPassword, true);
        world_.SetJoinState(platform::JoinStatus::Domain, u"SALES");
    }

    platform::Platform& Os() override { return world_.platform(); }
    std::size_t UnreleasedDirectoryObjects() override {
        return world_.LiveDirectoryInterfaces() + world_.OpenComBrackets() +
               world_.OpenDirectorySearches() + world_.HeldSearchColumns() +
               world_.OutstandingNetApiBuffers();
    }
    std::u16string DnsName() const override { return u"sales.example.com"; }
    DirectoryLogons Logons() const override {
        return {u"Administrator@sales.example.com", u"Corvane-Adm1n!",
                u"clerk@sales.example.com",         u"Clerk-Pa55!",
                u"leaver@sales.example.com",        u"Clerk-Pa55!"};
    }

    void AddUnit(const std::u16string& relativeDn) override {
        std::vector<sim::RelativeName> components;
        ASSERT_TRUE(sim::ParseDistinguishedName(relativeDn, components));
        const std::u16string parent =
            sim::FormatDistinguishedName(std::span<const sim::RelativeName>(components).subspan(1));
        sim::DirectoryTree& tree = domain_.Directory();
        const sim::ObjectId container =
            parent.empty() ? tree.Root() : tree.Find(domain_.AbsoluteDn(parent));
        ASSERT_EQ(tree.Create(container, sim::directory_class::kOrganizationalUnit,
                              components.front().value),
                  0u);
    }
    void AddComputer(const std::u16string& name, const std::u16string& container) override {
        ASSERT_NE(domain_.AddComputer(name, container), sim::kNoObject);
    }
    void AddComputers(const std::vector<std::u16string>& names,
                      const std::u16string& container) override {
        for (const std::u16string& name : names) {
            AddComputer(name, container);
        }
    }
    std::u16string ComputerContainer(const std::u16string& name) override {
        const sim::ObjectId object = domain_.FindComputer(name);
        if (object == sim::kNoObject) {
            return u"-";
        }
        const sim::DirectoryTree& tree = domain_.Directory();
        const std::u16string dn = tree.DistinguishedName(tree.Parent(object));
        return dn.substr(0, dn.size() - tree.RootDn().size() - 1);
    }
    std::vector<std::u16string> ComputerAttribute(const std::u16string& name,
                                                  const std::u16string& attribute) override {
        const sim::ObjectId object = domain_.FindComputer(name);
        if (object == sim::kNoObject) {
            return {};
        }
        return sim::DirectoryAttributeValues(domain_.Directory(), object, attribute);
    }
    void RemoveUnit(const std::u16string& relativeDn) override {
        sim::DirectoryTree& tree = domain_.Directory();
        const sim::ObjectId unit = tree.Find(domain_.AbsoluteDn(relativeDn));
        if (unit != sim::kNoObject) {
            tree.DeleteSubtree(unit);
        }
    }
    void RemoveComputer(const std::u16string& name) override {
        for (sim::ObjectId object = domain_.FindComputer(name); object != sim::kNoObject;
             object = domain_.FindComputer(name)) {
            domain_.Directory().DeleteSubtree(object);
        }
    }

private:
    sim::World world_;
    sim::Domain& domain_;
};

std::unique_ptr<DirectoryTarget> MakeSimDirectory(std::string& /*skipReason*/) {
    return std::make_unique<SimDirectory>();
}

} // namespace

CORVANE_DIRECTORY_TARGET(Sim, MakeSimDirectory);

} // namespace corvane::contract
