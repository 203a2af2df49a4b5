// The attributes through which a search sees an object of the directory
// tree: objectClass with its chain of superclasses, name, the naming
// attribute of the object's own component (cn, ou or dc),
// distinguishedName, and the further attributes set on the object.
#pragma once

#include "platform/sim/directory/directory_tree.h"

#include <string>
#include <string_view>
#include <vector>

namespace corvane::sim {

std::vector<std::u16string> DirectoryAttributeValues(const DirectoryTree& tree, ObjectId object,
                                                     std::u16string_view attribute);

// Whether no class of the sim's directory derives from `objectClass`, so
// that "objectClass=X" selects exactly the objects whose own class is X.
bool IsMostDerivedClass(std::u16string_view objectClass);

} // namespace corvane::sim
