#include "ui/string_resources.h"

namespace corvane::ui {

namespace {

constexpr StringResource kStrings[] = {
    {kStringDefaultTitle, kLanguageGerman, u"Netzwerkeinstellungen"},
    {kStringDefaultHeader, kLanguageGerman,
     u"\u00c4ndern der Einstellungen wie Computernamen, Dom\u00e4nen-/"
     u"Arbeitsgruppenzugeh\u00f6rigkeit und IP Adressen der Netzwerkverbindungen."},
    {kStringRenameFailedText, kLanguageGerman,
     u"Der Computername konnte in der Dom\u00e4ne nicht ge\u00e4ndert werden. Der lokale Name "
     u"wird aher auch nicht ge\u00e4ndert!"},
    {kStringRestartText, kLanguageGerman,
     u"Der Computer muss neu gestartet werden um die \u00c4nderungen vollst\u00e4ndig zu "
     u"\u00fcbernehmen."},
    {kStringRestartCaption, kLanguageGerman, u"Neustart erforderlich"},
    {kStringRenameFailedCaption, kLanguageGerman,
     u"\u00c4nderung des Computernamens fehlgeschlagen"},

    {kStringDefaultTitle, kLanguageEnglish, u"Network settings"},
    {kStringDefaultHeader, kLanguageEnglish,
     u"Changing settings like Computer name, Domain-/Workgroup membership and IP settings for "
     u"all network connections."},
    {kStringRenameFailedText, kLanguageEnglish,
     u"Computer name can not be changed within domain. Local name will also not changed!"},
    {kStringRestartText, kLanguageEnglish,
     u"The computer need to be restarted to apply new settings."},
    {kStringRestartCaption, kLanguageEnglish, u"Restart needed"},
    {kStringRenameFailedCaption, kLanguageEnglish, u"Changing computer name failed"},
};

} // namespace

std::span<const StringResource> StringResources() {
    return kStrings;
}

bool FindStringResource(std::uint32_t id, platform::LanguageId language,
                        std::u16string_view& text) {
    for (const StringResource& entry : kStrings) {
        if (entry.id == id && entry.language == language) {
            text = entry.text;
            return true;
        }
    }
    text = {};
    return false;
}

} // namespace corvane::ui
