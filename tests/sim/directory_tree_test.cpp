#include "platform/sim/directory/directory_tree.h"
#include "platform/sim/text.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace corvane::sim {
namespace {

std::string Narrow(std::u16string_view text) {
    return Utf16ToUtf8(text);
}

TEST(DirectoryNames, EscapesValues) {
    struct Case {
        std::u16string_view value;
        std::u16string_view escaped;
    };
    const Case cases[] = {
        {u"Sales", u"Sales"},
        {u"R&D, Europe", u"R&D\\, Europe"},
        {u"a+b=c", u"a\\+b\\=c"},
        {u"No#1", u"No\\#1"},
        {u"say \"hi\"", u"say \\\"hi\\\""},
        {u"<x>;y", u"\\<x\\>\\;y"},
        {u"back\\slash", u"back\\\\slash"},
        {u"line\r\nbreak", u"line\\0D\\0Abreak"},
        {u" padded ", u"\\ padded\\ "},
        {u"inner space", u"inner space"},
        {u"Dom\u00e4ne", u"Dom\u00e4ne"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Narrow(c.value));
        EXPECT_EQ(EscapeDnValue(c.value), c.escaped);
        // What is escaped parses back to the value.
        std::vector<RelativeName> parts;
        ASSERT_TRUE(ParseDistinguishedName(u"OU=" + EscapeDnValue(c.value) + u",DC=a", parts));
        ASSERT_EQ(parts.size(), 2u);
        EXPECT_EQ(parts[0].value, c.value);
    }
}

TEST(DirectoryNames, ParsesBothEscapeFormsAndBlanks) {
    struct Case {
        std::u16string_view dn;
        std::vector<RelativeName> parts;
    };
    const Case cases[] = {
        {u"", {}},
        {u"DC=a", {{u"DC", u"a"}}},
        {u"CN=PC1,OU=Berlin,OU=Sales,DC=a,DC=b",
         {{u"CN", u"PC1"}, {u"OU", u"Berlin"}, {u"OU", u"Sales"}, {u"DC", u"a"}, {u"DC", u"b"}}},
        {u"ou = Sales , dc=a;DC=b", {{u"ou", u"Sales"}, {u"dc", u"a"}, {u"DC", u"b"}}},
        {u"OU=R&D\\2C Europe,DC=a", {{u"OU", u"R&D, Europe"}, {u"DC", u"a"}}},
        {u"OU=Dom\\C3\\A4ne,DC=a", {{u"OU", u"Dom\u00e4ne"}, {u"DC", u"a"}}},
        {u"OU=x\\\\y,DC=a", {{u"OU", u"x\\y"}, {u"DC", u"a"}}},
        {u"OU=\\ lead,DC=a", {{u"OU", u" lead"}, {u"DC", u"a"}}},
        {u"OU=a\\\r\nb,DC=a", {{u"OU", u"a\r\nb"}, {u"DC", u"a"}}}, // backslash before a raw CR
        {u"OU=No#1,DC=a", {{u"OU", u"No#1"}, {u"DC", u"a"}}},
        {u"OU=a=b,DC=a", {{u"OU", u"a=b"}, {u"DC", u"a"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Narrow(c.dn));
        std::vector<RelativeName> parts;
        ASSERT_TRUE(ParseDistinguishedName(c.dn, parts));
        EXPECT_EQ(parts, c.parts);
    }
}

TEST(DirectoryNames, RejectsTextThatIsNoDn) {
    for (std::u16string_view dn :
         {u"Sales", u"=Sales", u"OU=", u"OU=Sales,", u"OU=a+CN=b", u"OU=\"quoted\"", u"OU=<x>",
          u"OU=dangling\\", u"OU=#04024869", u",DC=a", u"OU=a,,DC=b", u"O U=a"}) {
        SCOPED_TRACE(Narrow(dn));
        std::vector<RelativeName> parts = {{u"X", u"left over"}};
        EXPECT_FALSE(ParseDistinguishedName(dn, parts));
    }
}

TEST(DirectoryNames, DomainRootDn) {
    EXPECT_EQ(DomainRootDn(u"sales.example.com"), u"DC=sales,DC=example,DC=com");
    EXPECT_EQ(DomainRootDn(u"SALES"), u"DC=SALES");
    EXPECT_EQ(DomainRootDn(u"a..b."), u"DC=a,DC=b");
}

class DirectoryTreeTest : public testing::Test {
protected:
    ObjectId Add(ObjectId parent, std::u16string_view objectClass, std::u16string_view name) {
        ObjectId id = kNoObject;
        EXPECT_EQ(tree_.Create(parent, objectClass, name, &id), 0u);
        return id;
    }

    DirectoryTree tree_{u"a.b.c"};
};

TEST_F(DirectoryTreeTest, StartsWithTheDomainAndItsComputerContainer) {
    EXPECT_EQ(tree_.Size(), 2u);
    EXPECT_EQ(tree_.DistinguishedName(tree_.Root()), u"DC=a,DC=b,DC=c");
    EXPECT_EQ(tree_.Class(tree_.Root()), directory_class::kDomain);
    const ObjectId computers = tree_.DefaultComputerContainer();
    EXPECT_EQ(tree_.DistinguishedName(computers), u"CN=Computers,DC=a,DC=b,DC=c");
    EXPECT_EQ(tree_.Class(computers), directory_class::kContainer);
    EXPECT_EQ(tree_.Find(u"cn=computers,dc=A,DC=b,dc=C"), computers);
    EXPECT_EQ(tree_.Find(u"DC=a,DC=b,DC=c"), tree_.Root());
}

TEST_F(DirectoryTreeTest, FindsByDnAndByClassAndName) {
    const ObjectId sales = Add(tree_.Root(), directory_class::kOrganizationalUnit, u"Sales");
    const ObjectId berlin = Add(sales, directory_class::kOrganizationalUnit, u"R&D, Berlin");
    const ObjectId pc = Add(berlin, directory_class::kComputer, u"PC1");
    const ObjectId other =
        Add(tree_.DefaultComputerContainer(), directory_class::kComputer, u"pc1");

    EXPECT_EQ(tree_.DistinguishedName(pc), u"CN=PC1,OU=R&D\\, Berlin,OU=Sales,DC=a,DC=b,DC=c");
    EXPECT_EQ(tree_.Find(u"CN=pc1,OU=R&D\\2C Berlin,OU=SALES,DC=a,DC=b,DC=c"), pc);
    EXPECT_EQ(tree_.Find(tree_.DistinguishedName(berlin)), berlin);
    EXPECT_EQ(tree_.FindByClassAndName(u"COMPUTER", u"Pc1"), (std::vector<ObjectId>{pc, other}));
    EXPECT_TRUE(tree_.FindByClassAndName(directory_class::kOrganizationalUnit, u"PC1").empty());

    for (std::u16string_view missing :
         {u"CN=PC2,OU=R&D\\, Berlin,OU=Sales,DC=a,DC=b,DC=c", u"OU=Sales,DC=x,DC=b,DC=c",
          u"OU=Sales,DC=b,DC=c", u"CN=Sales,DC=a,DC=b,DC=c", u"DC=b,DC=c", u"not a dn"}) {
        SCOPED_TRACE(Narrow(missing));
        EXPECT_EQ(tree_.Find(missing), kNoObject);
    }
}

TEST_F(DirectoryTreeTest, CreateRefusesDuplicatesAndBadInput) {
    const ObjectId sales = Add(tree_.Root(), directory_class::kOrganizationalUnit, u"Sales");
    ObjectId id = 99;
    EXPECT_EQ(tree_.Create(tree_.Root(), directory_class::kOrganizationalUnit, u"SALES", &id),
              directory_error::kObjectExists);
    EXPECT_EQ(id, kNoObject);
    // Another component type is another name: CN=Sales beside OU=Sales.
    EXPECT_EQ(tree_.Create(tree_.Root(), directory_class::kContainer, u"Sales"), 0u);
    EXPECT_EQ(tree_.Create(sales, directory_class::kComputer, u""),
              directory_error::kInvalidDnSyntax);
    EXPECT_EQ(tree_.Create(12345, directory_class::kComputer, u"PC"),
              directory_error::kNoSuchObject);
}

TEST_F(DirectoryTreeTest, ChildrenKeepInsertionOrderAndMovesGoLast) {
    const ObjectId root = tree_.Root();
    const ObjectId b = Add(root, directory_class::kOrganizationalUnit, u"B");
    const ObjectId a = Add(root, directory_class::kOrganizationalUnit, u"A");
    const ObjectId pc = Add(tree_.DefaultComputerContainer(), directory_class::kComputer, u"PC");
    EXPECT_EQ(tree_.Children(root),
              (std::vector<ObjectId>{tree_.DefaultComputerContainer(), b, a}));
    ASSERT_EQ(tree_.Move(tree_.DefaultComputerContainer(), a), 0u);
    EXPECT_EQ(tree_.Children(root), (std::vector<ObjectId>{b, a}));
    EXPECT_EQ(tree_.DistinguishedName(pc), u"CN=PC,CN=Computers,OU=A,DC=a,DC=b,DC=c");
    EXPECT_EQ(tree_.Find(u"CN=PC,CN=Computers,OU=A,DC=a,DC=b,DC=c"), pc);
    EXPECT_EQ(tree_.Find(u"CN=PC,CN=Computers,DC=a,DC=b,DC=c"), kNoObject);
}

TEST_F(DirectoryTreeTest, MoveRefusesCyclesTheRootAndTakenNames) {
    const ObjectId sales = Add(tree_.Root(), directory_class::kOrganizationalUnit, u"Sales");
    const ObjectId berlin = Add(sales, directory_class::kOrganizationalUnit, u"Berlin");
    const ObjectId pc = Add(berlin, directory_class::kComputer, u"PC");
    Add(tree_.DefaultComputerContainer(), directory_class::kComputer, u"pc");

    EXPECT_EQ(tree_.Move(sales, berlin), directory_error::kUnwillingToPerform);
    EXPECT_EQ(tree_.Move(sales, sales), directory_error::kUnwillingToPerform);
    EXPECT_EQ(tree_.Move(tree_.Root(), sales), directory_error::kUnwillingToPerform);
    EXPECT_EQ(tree_.Move(pc, tree_.DefaultComputerContainer()), directory_error::kObjectExists);
    EXPECT_EQ(tree_.Move(pc, 4242), directory_error::kNoSuchObject);
    EXPECT_EQ(tree_.Parent(pc), berlin);
    EXPECT_EQ(tree_.Move(pc, berlin), 0u); // already there
}

TEST_F(DirectoryTreeTest, RenameUpdatesBothIndexes) {
    const ObjectId pc = Add(tree_.DefaultComputerContainer(), directory_class::kComputer, u"OLD");
    Add(tree_.DefaultComputerContainer(), directory_class::kComputer, u"TAKEN");
    EXPECT_EQ(tree_.Rename(pc, u"TAKEN"), directory_error::kObjectExists);
    ASSERT_EQ(tree_.Rename(pc, u"NEW"), 0u);
    EXPECT_EQ(tree_.Find(u"CN=NEW,CN=Computers,DC=a,DC=b,DC=c"), pc);
    EXPECT_EQ(tree_.Find(u"CN=OLD,CN=Computers,DC=a,DC=b,DC=c"), kNoObject);
    EXPECT_EQ(tree_.FindByClassAndName(directory_class::kComputer, u"new"),
              std::vector<ObjectId>{pc});
    EXPECT_TRUE(tree_.FindByClassAndName(directory_class::kComputer, u"OLD").empty());
    EXPECT_EQ(tree_.Rename(pc, u"new"), 0u); // a change of case only
    EXPECT_EQ(tree_.Name(pc), u"new");
    EXPECT_EQ(tree_.Rename(tree_.Root(), u"x"), directory_error::kUnwillingToPerform);
}

TEST_F(DirectoryTreeTest, DeleteLeavesAndSubtrees) {
    const ObjectId sales = Add(tree_.Root(), directory_class::kOrganizationalUnit, u"Sales");
    const ObjectId berlin = Add(sales, directory_class::kOrganizationalUnit, u"Berlin");
    const ObjectId pc = Add(berlin, directory_class::kComputer, u"PC");
    const ObjectId keep = Add(tree_.Root(), directory_class::kOrganizationalUnit, u"Keep");

    EXPECT_EQ(tree_.Delete(sales), directory_error::kNotLeaf);
    EXPECT_EQ(tree_.Delete(tree_.Root()), directory_error::kUnwillingToPerform);
    ASSERT_EQ(tree_.DeleteSubtree(sales), 0u);
    for (ObjectId gone : {sales, berlin, pc}) {
        EXPECT_FALSE(tree_.Exists(gone));
    }
    EXPECT_EQ(tree_.Find(u"OU=Sales,DC=a,DC=b,DC=c"), kNoObject);
    EXPECT_TRUE(tree_.FindByClassAndName(directory_class::kComputer, u"PC").empty());
    EXPECT_EQ(tree_.Size(), 3u);
    EXPECT_EQ(tree_.Children(tree_.Root()),
              (std::vector<ObjectId>{tree_.DefaultComputerContainer(), keep}));
    // The name is free again; ids are never reused.
    const ObjectId again = Add(tree_.Root(), directory_class::kOrganizationalUnit, u"Sales");
    EXPECT_NE(again, sales);
    EXPECT_EQ(tree_.Delete(pc), directory_error::kNoSuchObject);
}

TEST_F(DirectoryTreeTest, VisitsInPreOrderWithEachScope) {
    const ObjectId sales = Add(tree_.Root(), directory_class::kOrganizationalUnit, u"Sales");
    const ObjectId berlin = Add(sales, directory_class::kOrganizationalUnit, u"Berlin");
    const ObjectId pc = Add(berlin, directory_class::kComputer, u"PC");
    const ObjectId munich = Add(sales, directory_class::kOrganizationalUnit, u"Munich");
    auto visit = [&](ObjectId base, DirectoryTree::Scope scope, std::size_t stopAfter = 100) {
        std::vector<ObjectId> seen;
        tree_.VisitSubtree(base, scope, [&](ObjectId id) {
            seen.push_back(id);
            return seen.size() < stopAfter;
        });
        return seen;
    };
    using Scope = DirectoryTree::Scope;
    EXPECT_EQ(visit(sales, Scope::Base), std::vector<ObjectId>{sales});
    EXPECT_EQ(visit(sales, Scope::OneLevel), (std::vector<ObjectId>{berlin, munich}));
    EXPECT_EQ(visit(sales, Scope::Subtree), (std::vector<ObjectId>{sales, berlin, pc, munich}));
    EXPECT_EQ(visit(tree_.Root(), Scope::Subtree),
              (std::vector<ObjectId>{tree_.Root(), tree_.DefaultComputerContainer(), sales, berlin,
                                     pc, munich}));
    EXPECT_EQ(visit(sales, Scope::Subtree, 2), (std::vector<ObjectId>{sales, berlin}));
    EXPECT_TRUE(visit(777, Scope::Subtree).empty());
}

TEST_F(DirectoryTreeTest, AttributesIgnoreNameCase) {
    const ObjectId pc = Add(tree_.DefaultComputerContainer(), directory_class::kComputer, u"PC");
    tree_.SetAttribute(pc, u"sAMAccountName", u"PC$");
    tree_.SetAttribute(pc, u"SAMACCOUNTNAME", u"PC2$");
    ASSERT_NE(tree_.Attribute(pc, u"samaccountname"), nullptr);
    EXPECT_EQ(*tree_.Attribute(pc, u"samaccountname"), u"PC2$");
    EXPECT_EQ(tree_.Attributes(pc).size(), 1u);
    EXPECT_EQ(tree_.Attribute(pc, u"description"), nullptr);
}

TEST(DirectoryTreeScale, HundredThousandObjectsStayCheap) {
    // A quadratic index would take minutes here; the hash indexes take a
    // fraction of a second.
    DirectoryTree tree(u"big.example.com");
    std::vector<ObjectId> units;
    for (int i = 0; i < 100; ++i) {
        ObjectId unit = kNoObject;
        ASSERT_EQ(tree.Create(tree.Root(), directory_class::kOrganizationalUnit,
                              u"Unit" + Widen(std::to_string(i)), &unit),
                  0u);
        units.push_back(unit);
    }
    for (int i = 0; i < 100000; ++i) {
        ASSERT_EQ(tree.Create(units[static_cast<std::size_t>(i % 100)], directory_class::kComputer,
                              u"PC" + Widen(std::to_string(i))),
                  0u);
    }
    EXPECT_EQ(tree.Size(), 100102u);
    for (int i = 0; i < 100000; i += 997) {
        const std::u16string name = u"PC" + Widen(std::to_string(i));
        const std::vector<ObjectId> found = tree.FindByClassAndName(u"computer", name);
        ASSERT_EQ(found.size(), 1u);
        const std::u16string dn = tree.DistinguishedName(found[0]);
        EXPECT_EQ(dn, u"CN=" + name + u",OU=Unit" + Widen(std::to_string(i % 100)) +
                          u",DC=big,DC=example,DC=com");
        EXPECT_EQ(tree.Find(dn), found[0]);
    }
    // Moving a unit of a thousand computers re-keys one object, not its subtree.
    ASSERT_EQ(tree.Move(units[1], units[0]), 0u);
    EXPECT_NE(tree.Find(u"CN=PC1,OU=Unit1,OU=Unit0,DC=big,DC=example,DC=com"), kNoObject);
    std::size_t below = 0;
    tree.VisitSubtree(units[0], DirectoryTree::Scope::Subtree, [&](ObjectId) {
        ++below;
        return true;
    });
    EXPECT_EQ(below, 2002u);
    ASSERT_EQ(tree.DeleteSubtree(units[0]), 0u);
    EXPECT_EQ(tree.Size(), 100102u - 2002u);
}

} // namespace
} // namespace corvane::sim
