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
    {kStringComputerNameCaption, kLanguageGerman, u"Ung\u00fcltiger Computername"},
    {kStringComputerNameLength, kLanguageGerman,
     u"Der Computername muss 1 bis 15 Zeichen lang sein."},
    {kStringComputerNameCharacters, kLanguageGerman,
     u"Der Computername darf nur die Buchstaben A bis Z, die Ziffern 0 bis 9 und Bindestriche "
     u"enthalten."},
    {kStringComputerNameDigitsOnly, kLanguageGerman,
     u"Der Computername darf nicht nur aus Ziffern bestehen."},
    {kStringNoLogCaption, kLanguageGerman, u"Kein Protokoll"},
    {kStringNoLogText, kLanguageGerman,
     u"Die Protokolldatei corvane.log konnte in keinem tempor\u00e4ren Ordner ge\u00f6ffnet "
     u"werden. Dieser Lauf schreibt kein Protokoll."},

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
    {kStringComputerNameCaption, kLanguageEnglish, u"Invalid computer name"},
    {kStringComputerNameLength, kLanguageEnglish,
     u"The computer name must have 1 to 15 characters."},
    {kStringComputerNameCharacters, kLanguageEnglish,
     u"The computer name may contain only the letters A to Z, the digits 0 to 9 and hyphens."},
    {kStringComputerNameDigitsOnly, kLanguageEnglish,
     u"The computer name may not consist of digits only."},
    {kStringNoLogCaption, kLanguageEnglish, u"No log"},
    {kStringNoLogText, kLanguageEnglish,
     u"The log file corvane.log could not be opened in any temporary folder. This run writes no "
     u"log."},
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
