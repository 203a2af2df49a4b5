#include "platform/ldap/ldap_joinable_units.h"

#include "platform/ascii_text.h"
#include "platform/directory_service.h"
#include "platform/sim/text.h"

#include <algorithm>
#include <cstddef>
#include <ldap.h>
#include <new>
#include <string>
#include <vector>

namespace corvane::ldap {
namespace {

constexpr int kPageSize = 100;
constexpr std::string_view kComputerClass = "computer";

bool AllowsComputers(::ldap* handle, LDAPMessage* entry) {
    berval** values = ldap_get_values_len(handle, entry, "allowedChildClassesEffective");
    if (values == nullptr) {
        return false;
    }
    bool allowed = false;
    for (berval** value = values; *value != nullptr && !allowed; ++value) {
        const std::string_view text((*value)->bv_val, (*value)->bv_len);
        allowed = EqualsIgnoringAsciiCase(text, kComputerClass);
    }
    ldap_value_free_len(values);
    return allowed;
}

// Collects the DNs of the entries below `base` (scope as given) that match
// the filter and allow computer objects, page by page.
int CollectUnits(::ldap* handle, const std::string& base, int scope, const char* filter,
                 std::vector<std::string>& units) {
    char attribute[] = "allowedChildClassesEffective";
    char* attributes[] = {attribute, nullptr};
    std::string cookie;
    for (;;) {
        LDAPControl* paging = nullptr;
        berval cookieValue{static_cast<ber_len_t>(cookie.size()), cookie.data()};
        if (const int made = ldap_create_page_control(
                handle, kPageSize, cookie.empty() ? nullptr : &cookieValue, 0, &paging);
            made != LDAP_SUCCESS) {
            return made;
        }
        LDAPControl* controls[] = {paging, nullptr};
        LDAPMessage* page = nullptr;
        const int searched = ldap_search_ext_s(handle, base.c_str(), scope, filter, attributes, 0,
                                               controls, nullptr, nullptr, 0, &page);
        ldap_control_free(paging);
        if (searched != LDAP_SUCCESS) {
            ldap_msgfree(page);
            return searched;
        }
        for (LDAPMessage* entry = ldap_first_entry(handle, page); entry != nullptr;
             entry = ldap_next_entry(handle, entry)) {
            if (!AllowsComputers(handle, entry)) {
                continue;
            }
            char* dn = ldap_get_dn(handle, entry);
            if (dn != nullptr) {
                units.emplace_back(dn);
                ldap_memfree(dn);
            }
        }
        cookie.clear();
        LDAPControl** returned = nullptr;
        if (ldap_parse_result(handle, page, nullptr, nullptr, nullptr, nullptr, &returned, 0) ==
            LDAP_SUCCESS) {
            if (LDAPControl* response =
                    ldap_control_find(LDAP_CONTROL_PAGEDRESULTS, returned, nullptr)) {
                ber_int_t estimate = 0;
                berval next{0, nullptr};
                if (ldap_parse_pageresponse_control(handle, response, &estimate, &next) ==
                    LDAP_SUCCESS) {
                    cookie.assign(next.bv_val == nullptr ? "" : next.bv_val, next.bv_len);
                    ber_memfree(next.bv_val);
                }
            }
            ldap_controls_free(returned);
        }
        ldap_msgfree(page);
        if (cookie.empty()) {
            return LDAP_SUCCESS;
        }
    }
}

} // namespace

LdapJoinableUnits::LdapJoinableUnits(LdapDirectoryConfig config, platform::NetworkManagement& rest)
    : config_(std::move(config)), rest_(rest) {}

std::size_t LdapJoinableUnits::LiveBuffers() const {
    std::lock_guard lock(mutex_);
    return buffers_.size();
}

platform::ErrorCode LdapJoinableUnits::NetGetJoinableOUs(const char16_t* domain,
                                                         const char16_t* account,
                                                         const char16_t* password,
                                                         std::uint32_t* count, char16_t*** units) {
    if (count != nullptr) {
        *count = 0;
    }
    if (units != nullptr) {
        *units = nullptr;
    }
    if (count == nullptr || units == nullptr || sim::View(domain).empty()) {
        return platform::error::kInvalidParameter;
    }
    const std::u16string_view name = sim::View(domain);
    if (!sim::EqualsNoCase(name, config_.dnsName) &&
        !sim::EqualsNoCase(name, config_.netbiosName)) {
        return platform::error::kNoSuchDomain;
    }
    std::shared_ptr<LdapConnection> connection;
    const platform::HResult opened = LdapConnection::Open(config_, account, password, connection);
    if (platform::hresult::Failed(opened)) {
        return static_cast<platform::ErrorCode>(opened) & 0xFFFFu;
    }
    ::ldap* handle = connection->Handle();
    std::vector<std::string> found;
    int status = CollectUnits(handle, "CN=Computers," + connection->RootDn(), LDAP_SCOPE_BASE,
                              "(objectClass=*)", found);
    if (status == LDAP_NO_SUCH_OBJECT) {
        status = LDAP_SUCCESS; // a domain without the default container
    }
    if (status == LDAP_SUCCESS) {
        status = CollectUnits(handle, connection->RootDn(), LDAP_SCOPE_SUBTREE,
                              "(objectClass=organizationalUnit)", found);
    }
    if (status != LDAP_SUCCESS) {
        return static_cast<platform::ErrorCode>(connection->Status(status)) & 0xFFFFu;
    }
    // One buffer: the pointer array, then the texts it points to.
    std::vector<std::u16string> names;
    names.reserve(found.size());
    std::size_t bytes = found.size() * sizeof(char16_t*);
    for (const std::string& dn : found) {
        names.push_back(FromUtf8(dn));
        bytes += (names.back().size() + 1) * sizeof(char16_t);
    }
    auto* block = static_cast<std::byte*>(::operator new(std::max<std::size_t>(bytes, 1)));
    auto** array = reinterpret_cast<char16_t**>(block);
    auto* text = reinterpret_cast<char16_t*>(block + names.size() * sizeof(char16_t*));
    for (std::size_t i = 0; i < names.size(); ++i) {
        array[i] = text;
        names[i].copy(text, names[i].size());
        text[names[i].size()] = u'\0';
        text += names[i].size() + 1;
    }
    {
        std::lock_guard lock(mutex_);
        buffers_.insert(block);
    }
    *count = static_cast<std::uint32_t>(names.size());
    *units = array;
    return platform::error::kSuccess;
}

platform::ErrorCode LdapJoinableUnits::NetApiBufferFree(void* buffer) {
    if (buffer == nullptr) {
        return platform::error::kSuccess;
    }
    {
        std::lock_guard lock(mutex_);
        if (buffers_.erase(buffer) != 0) {
            ::operator delete(buffer);
            return platform::error::kSuccess;
        }
    }
    return rest_.NetApiBufferFree(buffer);
}

} // namespace corvane::ldap
