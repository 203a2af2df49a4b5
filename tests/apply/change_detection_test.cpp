#include "apply/change_detection.h"
#include "fakes/fake_dialog_view.h"
#include "ui/administrator_choice_reading.h"
#include "ui/dialog_ids.h"

#include <cstring>
#include <functional>
#include <gtest/gtest.h>

namespace corvane {
namespace {

namespace id = ui::main_dialog;
using platform::JoinStatus;

// A domain member PC1 in a.b.c (NetBIOS name ABC), OU \Sales, start-with-Windows absent, one
// adapter; the dialog shows exactly that state.
struct Machine {
    SetupState state;
    fakes::FakeDialogView dialog;

    Machine() {
        state.CurrentComputerName.Assign(u"PC1");
        state.CurrentDomain.Assign(u"a.b.c");
        state.CurrentDomainJoinedName.Assign(u"ABC");
        state.CurrentOrganizationUnit.Assign(u"\\Sales");
        state.JoinStatusAtStart = JoinStatus::Domain;
        AdapterRecord record{};
        std::strcpy(record.adapterName, "{4D36E972}");
        std::strcpy(record.ipAddressList.ipAddress.text, "10.0.0.5");
        state.AdaptersAsFound.push_back(record);
        state.AdaptersAsEdited.push_back(record);

        dialog.item(id::kComputerName).text = u"PC1";
        dialog.item(id::kDomain).text = u"a.b.c";
        dialog.item(id::kMemberOfDomain).checked = true;
        dialog.item(id::kOrganizationUnitList).list = {{u"", 0}, {u"\\Sales", 0}};
        dialog.item(id::kOrganizationUnitList).selection = 1;
    }
};

struct Case {
    const char* name;
    std::function<void(Machine&)> edit;
    ChangeMask mask;
    bool valid;
};

TEST(ChangeDetection, MaskAndValidityFollowTheFields) {
    const Case cases[] = {
        {"nothing changed", [](Machine&) {}, 0, true},
        {"letter case of the name",
         [](Machine& m) { m.dialog.item(id::kComputerName).text = u"pc1"; }, ChangeComputerName,
         true},
        {"over-long name cut to its first 15 characters",
         [](Machine& m) {
             m.state.CurrentComputerName.Assign(u"ABCDEFGHIJKLMNO");
             m.dialog.item(id::kComputerName).text = u"ABCDEFGHIJKLMNOPQRS";
         },
         0, true},
        {"another domain only", [](Machine& m) { m.dialog.item(id::kDomain).text = u"x.y"; },
         ChangeDomain, true},
        {"the domain by its NetBIOS name",
         [](Machine& m) { m.dialog.item(id::kDomain).text = u"ABC"; }, 0, true},
        {"the domain by its NetBIOS name in small letters",
         [](Machine& m) { m.dialog.item(id::kDomain).text = u"abc"; }, 0, true},
        {"the domain by its DNS name in capitals",
         [](Machine& m) { m.dialog.item(id::kDomain).text = u"A.B.C"; }, 0, true},
        {"a name that only begins like the domain's",
         [](Machine& m) { m.dialog.item(id::kDomain).text = u"a.b.c.d"; }, ChangeDomain, true},
        {"an empty domain field on a member",
         [](Machine& m) { m.dialog.item(id::kDomain).text = u""; }, ChangeDomain, false},
        {"domain chosen on a workgroup computer with an empty field",
         [](Machine& m) {
             m.state.JoinStatusAtStart = JoinStatus::Workgroup;
             m.state.CurrentDomain.Clear();
             m.state.CurrentWorkgroup.Assign(u"WORKGROUP");
             m.dialog.item(id::kDomain).text = u"";
         },
         ChangeMembershipType, false},
        {"workgroup chosen on a domain member",
         [](Machine& m) {
             m.dialog.item(id::kMemberOfDomain).checked = false;
             m.dialog.item(id::kMemberOfWorkgroup).checked = true;
             m.dialog.item(id::kWorkgroup).text = u"WG";
         },
         ChangeWorkgroup | ChangeMembershipType, true},
        {"workgroup chosen with an empty workgroup field",
         [](Machine& m) {
             m.dialog.item(id::kMemberOfDomain).checked = false;
             m.dialog.item(id::kMemberOfWorkgroup).checked = true;
         },
         ChangeMembershipType, false},
        {"unjoined computer with neither option",
         [](Machine& m) {
             m.state.JoinStatusAtStart = JoinStatus::Unjoined;
             m.state.CurrentDomain.Clear();
             m.dialog.item(id::kMemberOfDomain).checked = false;
         },
         ChangeMembershipType, true},
        {"another OU selected",
         [](Machine& m) { m.dialog.item(id::kOrganizationUnitList).selection = 0; },
         ChangeOrganizationUnit, true},
        {"start-with-Windows box differs",
         [](Machine& m) { m.dialog.item(id::kStartWithWindows).checked = true; },
         ChangeStartWithWindows, true},
        {"adapter switched to DHCP",
         [](Machine& m) { m.state.AdaptersAsEdited[0].dhcpEnabled = 1; }, ChangeAdapters, true},
        {"adapter text equal but bytes behind the terminator differ",
         [](Machine& m) {
             char* text = m.state.AdaptersAsEdited[0].ipAddressList.ipAddress.text;
             std::strcpy(text, "10.0.0.123");
             std::strcpy(text, "10.0.0.5");
         },
         ChangeAdapters, true},
        {"only the link to the next record differs",
         [](Machine& m) { m.state.AdaptersAsEdited[0].next = &m.state.AdaptersAsFound[0]; }, 0,
         true},
    };
    for (const Case& c : cases) {
        Machine machine;
        c.edit(machine);
        const ChangeMask mask =
            ComputeChangeMask(ReadAdministratorChoice(machine.dialog), machine.state);
        EXPECT_EQ(c.mask, mask) << c.name;
        EXPECT_EQ(c.valid, ValidateInputs(ReadAdministratorChoice(machine.dialog), machine.state))
            << c.name;
    }
}

TEST(ChangeDetection, RefreshesTheDesiredTextsCutToCapacity) {
    Machine m;
    m.dialog.item(id::kComputerName).text = u"NEWNAME-0123456789";
    m.dialog.item(id::kWorkgroup).text = u"WORKGROUP-0123456789";
    m.dialog.item(id::kDomain).text = std::u16string(200, u'd');
    ComputeChangeMask(ReadAdministratorChoice(m.dialog), m.state);
    EXPECT_EQ(u"NEWNAME-0123456", m.state.DesiredComputerName.view());
    EXPECT_EQ(u"WORKGROUP-01234", m.state.DesiredWorkgroup.view());
    EXPECT_EQ(std::u16string(128, u'd'), m.state.DesiredDomain.view());
    EXPECT_EQ(u"\\Sales", m.state.DesiredOrganizationUnit.view());
}

TEST(ChangeDetection, AnEarlierOuSelectionStaysWhenNothingIsSelected) {
    Machine m;
    m.dialog.item(id::kOrganizationUnitList).selection = 0;
    EXPECT_EQ(ChangeOrganizationUnit,
              ComputeChangeMask(ReadAdministratorChoice(m.dialog), m.state));
    m.dialog.item(id::kOrganizationUnitList).selection = platform::kNoListSelection;
    EXPECT_EQ(ChangeOrganizationUnit,
              ComputeChangeMask(ReadAdministratorChoice(m.dialog), m.state));
    EXPECT_EQ(u"", m.state.DesiredOrganizationUnit.view());
}

TEST(ChangeDetection, AnOuItemTooLongForTheStateIsNotCutIntoAnotherPath) {
    Machine m;
    auto& list = m.dialog.item(id::kOrganizationUnitList);
    list.list.push_back({u"\\" + std::u16string(130, u'x'), 0});
    list.selection = 2;
    OrganizationUnitText buffer(u"\\Previous");
    GetSelectedOrganizationUnit(m.dialog, id::kOrganizationUnitList, buffer);
    EXPECT_EQ(u"\\Previous", buffer.view());
    list.list.back().text = u"\\" + std::u16string(126, u'x'); // 127 characters fit
    GetSelectedOrganizationUnit(m.dialog, id::kOrganizationUnitList, buffer);
    EXPECT_EQ(127u, buffer.size());
}

} // namespace
} // namespace corvane
