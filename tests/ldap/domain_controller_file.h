// The key=value lines (uri, admin, admin_password, ...) that
// domain_controller.sh writes for the domain controller it started; read
// by the directory contract and the real-directory benchmark.
#pragma once

#include <fstream>
#include <map>
#include <string>

namespace corvane::ldap_fixture {

// Empty when there is no file: no domain controller runs for this process.
inline std::map<std::string, std::string> ReadDomainControllerFile(const char* path) {
    std::map<std::string, std::string> values;
    if (path == nullptr) {
        return values;
    }
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t equals = line.find('=');
        if (equals != std::string::npos) {
            values[line.substr(0, equals)] = line.substr(equals + 1);
        }
    }
    return values;
}

} // namespace corvane::ldap_fixture
