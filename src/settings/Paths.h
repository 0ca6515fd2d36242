// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace telvaro::paths {

// Home of Telvaro.ini and of the line layer's configuration:
// $TELVARO_CONFIG_DIR, else $XDG_CONFIG_HOME/Telvaro (~/.config/Telvaro).
QString configDir();
// Call logs, their backups, profile files:
// $TELVARO_DATA_DIR, else $XDG_DATA_HOME/Telvaro (~/.local/share/Telvaro).
QString dataDir();
// Runtime records (instance socket, telephony session), mode 0700:
// $TELVARO_RUNTIME_DIR, else $XDG_RUNTIME_DIR/telvaro, else a user-only
// folder under the temp folder.
QString runtimeDir();

// The settings file: configDir() + "/Telvaro.ini".
QString settingsFile();
// The line layer's own configuration (modems, dialing locations, calling
// cards): configDir() + "/Telephony.ini".
QString telephonyConfigFile();
// The absolute path of the running program.
QString programFile();

} // namespace telvaro::paths
