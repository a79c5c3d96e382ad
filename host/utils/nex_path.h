#pragma once
// The reader's folders, each ending in a separator and created on first use. Each can be
// redirected by an environment variable so that tests and demos never touch the real
// home folder: STAMPREADER_USER_DIR, STAMPREADER_APP_DIR, STAMPREADER_CONFIG_DIR,
// STAMPREADER_TEMP_DIR.
//   UserPath:       ~/.local/share/stampreader/
//   AppPath:        the folder of the running executable
//   AppConfigsPath: ~/.config/stampreader/
//   TempPath:       <system temp>/stampreader-<user>/

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
};
} // namespace Utils
