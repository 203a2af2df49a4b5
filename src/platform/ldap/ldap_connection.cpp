#include "platform/ldap/ldap_connection.h"

#include "platform/directory_service.h"
#include "platform/ldap/ldap_status.h"

#include <ldap.h>

namespace corvane::ldap {
namespace {

constexpr int kNetworkTimeoutSeconds = 10;

} // namespace

std::string ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        } else if (c >= 0xD800 && c < 0xE000) {
            c = 0xFFFD; // a lone surrogate
        }
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

std::u16string FromUtf8(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        int extra = 0;
        char32_t c = lead;
        if (lead >= 0xF0 && lead < 0xF8) {
            extra = 3;
            c = lead & 0x07;
        } else if (lead >= 0xE0) {
            extra = 2;
            c = lead & 0x0F;
        } else if (lead >= 0xC0) {
            extra = 1;
            c = lead & 0x1F;
        } else if (lead >= 0x80) {
            extra = -1;
        }
        bool valid = extra >= 0 && i + static_cast<std::size_t>(extra) < text.size();
        for (int k = 1; valid && k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            valid = (next & 0xC0) == 0x80;
            c = (c << 6) | (next & 0x3F);
        }
        if (!valid) {
            out.push_back(u'\xFFFD');
            ++i;
            continue;
        }
        i += static_cast<std::size_t>(extra) + 1;
        if (c >= 0x10000) {
            c -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(c));
        }
    }
    return out;
}

platform::HResult LdapConnection::Open(const LdapDirectoryConfig& config, const char16_t* user,
                                       const char16_t* password,
                                       std::shared_ptr<LdapConnection>& connection) {
    std::u16string account;
    std::u16string secret;
    if (user == nullptr) {
        account = config.ownAccount;
        secret = config.ownPassword;
    } else {
        account = user;
        secret = password == nullptr ? std::u16string() : std::u16string(password);
        if (account.empty() || secret.empty()) {
            return platform::hresult::FromWin32(platform::error::kLogonFailure);
        }
    }
    std::shared_ptr<LdapConnection> opened(new LdapConnection());
    if (ldap_initialize(&opened->handle_, config.uri.c_str()) != LDAP_SUCCESS ||
        opened->handle_ == nullptr) {
        return HResultFromLdap(LDAP_SERVER_DOWN, {});
    }
    const int version = LDAP_VERSION3;
    ldap_set_option(opened->handle_, LDAP_OPT_PROTOCOL_VERSION, &version);
    ldap_set_option(opened->handle_, LDAP_OPT_REFERRALS, LDAP_OPT_OFF);
    timeval timeout{kNetworkTimeoutSeconds, 0};
    ldap_set_option(opened->handle_, LDAP_OPT_NETWORK_TIMEOUT, &timeout);
    if (config.acceptAnyCertificate) {
        const int allow = LDAP_OPT_X_TLS_ALLOW;
        ldap_set_option(opened->handle_, LDAP_OPT_X_TLS_REQUIRE_CERT, &allow);
        const int fresh = 0;
        ldap_set_option(opened->handle_, LDAP_OPT_X_TLS_NEWCTX, &fresh);
    }
    std::string name = ToUtf8(account);
    std::string pass = ToUtf8(secret);
    berval credential{static_cast<ber_len_t>(pass.size()), pass.data()};
    const int bound = ldap_sasl_bind_s(opened->handle_, name.empty() ? nullptr : name.c_str(),
                                       LDAP_SASL_SIMPLE, &credential, nullptr, nullptr, nullptr);
    // The password goes no further than the bind.
    pass.assign(pass.size(), '\0');
    if (bound != LDAP_SUCCESS) {
        return opened->Status(bound);
    }
    std::vector<std::string> contexts;
    if (const platform::HResult read = opened->ReadValues("", "defaultNamingContext", contexts);
        platform::hresult::Failed(read)) {
        return read;
    }
    if (!contexts.empty()) {
        opened->rootDn_ = contexts.front();
    }
    connection = std::move(opened);
    return platform::hresult::kOk;
}

LdapConnection::~LdapConnection() {
    if (handle_ != nullptr) {
        ldap_unbind_ext_s(handle_, nullptr, nullptr);
    }
}

platform::HResult LdapConnection::Status(int result) const {
    char* diagnostic = nullptr;
    ldap_get_option(handle_, LDAP_OPT_DIAGNOSTIC_MESSAGE, &diagnostic);
    const std::string text = diagnostic == nullptr ? std::string() : std::string(diagnostic);
    ldap_memfree(diagnostic);
    return HResultFromLdap(result, text);
}

platform::HResult LdapConnection::ReadBase(const std::string& dn) const {
    std::vector<std::string> ignored;
    return ReadValues(dn, "1.1", ignored);
}

platform::HResult LdapConnection::ReadValues(const std::string& dn, const char* attribute,
                                             std::vector<std::string>& values) const {
    values.clear();
    char* attributes[] = {const_cast<char*>(attribute), nullptr};
    LDAPMessage* result = nullptr;
    const int searched = ldap_search_ext_s(handle_, dn.c_str(), LDAP_SCOPE_BASE, "(objectClass=*)",
                                           attributes, 0, nullptr, nullptr, nullptr, 1, &result);
    if (searched != LDAP_SUCCESS) {
        ldap_msgfree(result);
        return Status(searched);
    }
    LDAPMessage* entry = ldap_first_entry(handle_, result);
    if (entry == nullptr) {
        ldap_msgfree(result);
        return HResultFromLdap(LDAP_NO_SUCH_OBJECT, {});
    }
    if (berval** found = ldap_get_values_len(handle_, entry, attribute)) {
        for (berval** value = found; *value != nullptr; ++value) {
            values.emplace_back((*value)->bv_val, (*value)->bv_len);
        }
        ldap_value_free_len(found);
    }
    ldap_msgfree(result);
    return platform::hresult::kOk;
}

} // namespace corvane::ldap
