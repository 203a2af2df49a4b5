#include "platform/sim/directory/ads_path.h"

namespace corvane::sim {

namespace {

constexpr std::u16string_view kLdap = u"LDAP://";
constexpr std::u16string_view kWinNt = u"WinNT://";

} // namespace

std::optional<AdsPath> ParseAdsPath(std::u16string_view path) {
    AdsPath parsed;
    if (path.starts_with(kLdap)) {
        const std::u16string_view rest = path.substr(kLdap.size());
        if (rest.empty()) {
            return std::nullopt;
        }
        parsed.provider = AdsProvider::Ldap;
        const std::size_t slash = rest.find(u'/');
        const std::u16string_view head = rest.substr(0, slash);
        if (head.find(u'=') != std::u16string_view::npos) {
            // Serverless: the whole rest is the DN.
            parsed.object.assign(rest);
            return parsed;
        }
        if (head.empty()) {
            return std::nullopt;
        }
        parsed.server.assign(head);
        if (slash != std::u16string_view::npos) {
            parsed.object.assign(rest.substr(slash + 1));
        }
        return parsed;
    }
    if (path.starts_with(kWinNt)) {
        const std::u16string_view rest = path.substr(kWinNt.size());
        const std::size_t slash = rest.find(u'/');
        parsed.provider = AdsProvider::WinNt;
        parsed.server.assign(rest.substr(0, slash));
        if (parsed.server.empty()) {
            return std::nullopt;
        }
        if (slash != std::u16string_view::npos) {
            parsed.object.assign(rest.substr(slash + 1));
            // "WinNT://domain/PC1,computer": the class hint is dropped.
            const std::size_t comma = parsed.object.find(u',');
            if (comma != std::u16string::npos) {
                parsed.object.resize(comma);
            }
            if (parsed.object.empty()) {
                return std::nullopt;
            }
        }
        return parsed;
    }
    return std::nullopt;
}

std::u16string_view ServerHost(std::u16string_view server) {
    const std::size_t colon = server.rfind(u':');
    if (colon == std::u16string_view::npos) {
        return server;
    }
    return server.substr(0, colon);
}

std::u16string FormatLdapPath(std::u16string_view server, std::u16string_view dn) {
    std::u16string path(kLdap);
    if (!server.empty()) {
        path += server;
        if (!dn.empty()) {
            path.push_back(u'/');
        }
    }
    for (const char16_t c : dn) {
        if (c == u'/') {
            path.push_back(u'\\');
        }
        path.push_back(c);
    }
    return path;
}

} // namespace corvane::sim
