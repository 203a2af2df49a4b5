#include "support/interface_language.h"

#include "platform/ascii_text.h"
#include "support/fixed_text.h"
#include "support/string_ids.h"
#include "support/text_format.h"

#include <array>
#include <vector>

namespace corvane {

namespace {

constexpr std::u16string_view kLanguageFileName = u"languages.ini";
constexpr std::size_t kPathCapacity = 260;
constexpr int kLocaleNameCapacity = 8;
constexpr platform::LanguageId kPrimaryLanguageMask = 0x3FF;

// Parses a locale identifier given as hexadecimal text; 0 when it is not one.
platform::LocaleId ParseHexLocale(const char16_t* text) {
    platform::LocaleId value = 0;
    int digits = 0;
    for (; text != nullptr && *text != u'\0' && digits < 8; ++text, ++digits) {
        const char16_t c = *text;
        const int digit = HexDigitValue(c);
        if (digit < 0) {
            return 0;
        }
        value = (value << 4) | static_cast<std::uint32_t>(digit);
    }
    return value;
}

struct LocaleNames {
    std::u16string language;
    std::u16string country;
};

std::u16string LocaleInfoText(platform::Platform& os, platform::LocaleId locale,
                              platform::LocaleInfoType type) {
    std::array<char16_t, kLocaleNameCapacity> buffer{};
    if (os.locale.GetLocaleInfo(locale, type, buffer.data(), kLocaleNameCapacity) <= 0) {
        return {};
    }
    return std::u16string(buffer.data(), BoundedLength(buffer.data(), buffer.size()));
}

LocaleNames NamesOf(platform::Platform& os, platform::LocaleId locale) {
    return {LocaleInfoText(os, locale, platform::LocaleInfoType::Iso639LanguageName),
            LocaleInfoText(os, locale, platform::LocaleInfoType::Iso3166CountryName)};
}

// Appends a file name to a directory as PathAppendW does: one backslash
// between them. Returns false when the result does not fit MAX_PATH.
bool AppendPath(std::u16string& directory, std::u16string_view name) {
    if (!directory.empty() && directory.back() != u'\\') {
        directory.push_back(u'\\');
    }
    directory.append(name);
    return directory.size() < kPathCapacity;
}

void ReplaceAll(std::u16string& text, std::u16string_view from, std::u16string_view to) {
    std::size_t at = 0;
    while ((at = text.find(from, at)) != std::u16string::npos) {
        text.replace(at, from.size(), to);
        at += to.size();
    }
}

bool LoadResourceString(platform::Platform& os, std::uint32_t id, platform::LanguageId language,
                        std::u16string& text) {
    std::vector<char16_t> buffer(kResourceStringCapacity, u'\0');
    const int length =
        os.resources.LoadStringInLanguage(id, language, buffer.data(), kResourceStringCapacity);
    if (length <= 0) {
        return false;
    }
    text.assign(buffer.data(), std::min<std::size_t>(static_cast<std::size_t>(length),
                                                     BoundedLength(buffer.data(), buffer.size())));
    return true;
}

bool SectionHasEntries(platform::Platform& os, const std::u16string& section,
                       const std::u16string& file) {
    std::array<char16_t, 3> probe{};
    return os.profile.GetSection(section.c_str(), probe.data(), 3, file.c_str()) != 0;
}

} // namespace

bool ApplyForcedLanguage(platform::Platform& os, SetupState& state, std::u16string_view tag) {
    state.ForcedLanguageTag.assign(tag);
    if (tag.empty()) {
        os.locale.SetThreadLocale(platform::kLocaleCustomDefault);
        return true;
    }
    bool matched = false;
    os.locale.EnumSystemLocales([&](const char16_t* localeText) {
        const platform::LocaleId locale = ParseHexLocale(localeText);
        if (locale == 0) {
            return true;
        }
        const LocaleNames names = NamesOf(os, locale);
        const std::u16string full = names.language + u"-" + names.country;
        if (EqualsIgnoringAsciiCase(full, tag) ||
            (!names.language.empty() && EqualsIgnoringAsciiCase(names.language, tag))) {
            state.MessageBoxLanguage = locale;
            os.locale.SetThreadLocale(locale);
            matched = true;
            return false;
        }
        return true;
    });
    if (!matched) {
        state.MessageBoxLanguage = platform::kLocaleEnglishUS;
        os.locale.SetThreadLocale(platform::kLocaleEnglishUS);
    }
    return matched;
}

bool ReapplyForcedLanguage(platform::Platform& os, SetupState& state) {
    const std::u16string tag = state.ForcedLanguageTag;
    return ApplyForcedLanguage(os, state, tag);
}

platform::LanguageId InterfaceLanguage(platform::Platform& os, const SetupState& state) {
    if (!state.ForcedLanguageTag.empty()) {
        const auto forced = static_cast<platform::LanguageId>(state.MessageBoxLanguage & 0xFFFFu);
        switch (forced & kPrimaryLanguageMask) {
        case kLanguageGerman& kPrimaryLanguageMask:
            return kLanguageGerman;
        case kLanguageEnglish& kPrimaryLanguageMask:
            return kLanguageEnglish;
        default:
            break;
        }
    }
    return os.resources.DefaultLanguage();
}

bool LoadInterfaceString(platform::Platform& os, const SetupState& state, std::uint32_t id,
                         std::u16string& text) {
    return LoadResourceString(os, id, InterfaceLanguage(os, state), text);
}

bool IsReplaceableNoticeString(std::uint32_t id) {
    return id >= kStringRenameFailedText && id <= kStringRenameFailedCaption;
}

bool LoadLocalizedString(platform::Platform& os, const SetupState& state, std::uint32_t id,
                         std::u16string& text) {
    return LookupLanguageString(os, state, id, text);
}

std::u16string DecodeLanguageFileEscapes(std::u16string_view value) {
    std::u16string text(value);
    ReplaceAll(text, u"\\n", u"\n");
    ReplaceAll(text, u"\\r", u"\r");
    ReplaceAll(text, u"\\t", u"\t");
    ReplaceAll(text, u"\\\\", u"\\");
    return text;
}

std::u16string LocateLanguageFile(platform::Platform& os) {
    std::array<char16_t, kPathCapacity> buffer{};
    const std::uint32_t length =
        os.files.GetCurrentDirectory(static_cast<std::uint32_t>(buffer.size()), buffer.data());
    if (length > 0 && length < buffer.size()) {
        std::u16string candidate(buffer.data(), BoundedLength(buffer.data(), buffer.size()));
        if (AppendPath(candidate, kLanguageFileName) &&
            os.files.PathFileExists(candidate.c_str())) {
            return candidate;
        }
    }
    // The executable's directory is used without a test: a missing file there
    // simply has no sections.
    buffer.fill(u'\0');
    const std::uint32_t moduleLength =
        os.files.GetModuleFileName(buffer.data(), static_cast<std::uint32_t>(buffer.size()));
    std::u16string directory(
        buffer.data(),
        std::min<std::size_t>(moduleLength, BoundedLength(buffer.data(), buffer.size())));
    const std::size_t slash = directory.find_last_of(u"\\/");
    directory.resize(slash == std::u16string::npos ? 0 : slash);
    if (!AppendPath(directory, kLanguageFileName)) {
        return {};
    }
    return directory;
}

bool LookupLanguageString(platform::Platform& os, const SetupState& state, std::uint32_t id,
                          std::u16string& text) {
    if (!IsReplaceableNoticeString(id)) {
        return LoadInterfaceString(os, state, id, text);
    }
    const platform::LocaleId threadLocale = os.locale.GetThreadLocale();
    const std::u16string file = LocateLanguageFile(os);
    const LocaleNames names = NamesOf(os, threadLocale);

    std::u16string section;
    if (!file.empty() && !names.language.empty()) {
        const std::u16string full = names.language + u"-" + names.country;
        if (SectionHasEntries(os, full, file)) {
            section = full;
        } else if (SectionHasEntries(os, names.language, file)) {
            section = names.language;
        }
    }

    if (section.empty()) {
        return LoadInterfaceString(os, state, id, text);
    }

    const std::u16string key = FormatText(u"%d", id);
    std::vector<char16_t> value(kLanguageFileValueCapacity, u'\0');
    os.profile.GetString(section.c_str(), key.c_str(), u"", value.data(),
                         static_cast<std::uint32_t>(value.size()), file.c_str());
    const std::u16string_view raw(value.data(), BoundedLength(value.data(), value.size()));
    if (!raw.empty()) {
        text = DecodeLanguageFileEscapes(raw);
        return true;
    }
    // A section that exists wins for the ids it holds; the others come from
    // the resources.
    std::u16string loaded;
    if (LoadInterfaceString(os, state, id, loaded)) {
        text = loaded;
        return !text.empty();
    }
    return false;
}

} // namespace corvane
