#pragma once
// The reader's folders, each ending in a separator and created on first use. Each can be
// redirected by an environment variable so that tests and demos never touch the real
// home folder: STAMPREADER_USER_DIR, STAMPREADER_APP_DIR, STAMPREADER_CONFIG_DIR,
// STAMPREADER_TEMP_DIR.
//   UserPath:       ~/.local/share/stampreader/
//   AppPath:        the folder of the running executable
//   AppConfigsPath: ~/.config/stampreader/
//   TempPath:       <system temp>/stampreader-<user>/
// The reader's own parts sit beside the program in the build tree and in the usual places
// once installed; these find them in either layout:
//   PluginPath:  <bin>/plugins/  or  <prefix>/lib/stampannot/plugins/
//   LibraryPath: <bin>/          or  <prefix>/lib/stampannot/  (libraries loaded by path)
//   DataPath:    AppPath()       or  <prefix>/share/stampannot/  (stamps/, translations/)
// The build tree wins when the program's folder has plugins/; a redirected AppPath() is
// always the data folder.

#include <QString>

namespace Utils
{
class Nex_Path
{
public:
    static QString UserPath();
    static QString AppPath();
    static QString AppConfigsPath();
    static QString TempPath();
    static QString PluginPath();
    static QString LibraryPath();
    static QString DataPath();
};
} // namespace Utils
