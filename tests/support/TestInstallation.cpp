#include "tests/support/TestInstallation.h"

#include "tests/support/TestFiles.h"
#include "tests/support/TestFolders.h"

namespace {

QByteArray boolean(bool value)
{
    return value ? "true" : "false";
}

const QString installedData = QStringLiteral(QUORVEL_SOURCE_DIR "/data");

} // namespace

QByteArray TestOptions::Xml() const
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<root>\r\n  <version>1</version>\r\n"
           "  <sound_disabled>" + boolean(SoundDisabled) + "</sound_disabled>\r\n"
           "  <programfiles_readonly>false</programfiles_readonly>\r\n"
           "  <userfiles_readonly>" + boolean(UserfilesReadonly) + "</userfiles_readonly>\r\n"
           "  <users>\r\n    <directory>Benutzer</directory>\r\n    <directory_relative>true</directory_relative>\r\n"
           "    <autoload>" + boolean(Autoload) + "</autoload>\r\n"
           "    <autoload_profile>" + AutoloadProfile + "</autoload_profile>\r\n"
           "    <autoload_profile_relative>true</autoload_profile_relative>\r\n"
           "    <select_showpath>" + boolean(SelectShowPath) + "</select_showpath>\r\n  </users>\r\n"
           "  <units>\r\n    <directory>Lektionen</directory>\r\n    <directory_relative>true</directory_relative>\r\n"
           "  </units>\r\n  <play>\r\n    <both_intervall>3000</both_intervall>\r\n"
           "    <series_showquestionintervall>2000</series_showquestionintervall>\r\n"
           "    <series_showanswerintervall>2000</series_showanswerintervall>\r\n  </play>\r\n"
           "  <query>\r\n    <delimiter>;</delimiter>\r\n  </query>\r\n</root>\r\n";
}

QString WriteOptions(const TestFolders& folders, const TestOptions& options)
{
    const QString path = folders.AppData() + QStringLiteral("/Data/Options.xml");
    WriteFile(path, options.Xml());
    return path;
}

void WriteInstallation(const TestFolders& folders, const TestOptions& options)
{
    WriteOptions(folders, options);
    WriteFile(folders.AppData() + QStringLiteral("/Data/LanguageNames.xml"),
              ReadFile(installedData + QStringLiteral("/appdata/Data/LanguageNames.xml")));
}

QString InstallProfile(const TestFolders& folders)
{
    return WriteGuarded(folders.Documents() + QStringLiteral("/Benutzer/Lernender.qxs"),
                        ReadFile(installedData + QStringLiteral("/documents/Benutzer/Lernender.qxs")));
}
