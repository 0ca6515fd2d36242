// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/directory/DirectoryStore.h"
#include "settings/IniFile.h"
#include "settings/SettingsFile.h"

#include <memory>

namespace telvaro::test {

// A test's own store of the directory, on the settings file in place (it
// follows the settings folder a TestEnv sets).
inline DirectoryStore& directoryStore()
{
    static std::unique_ptr<DirectoryStore> store;
    static IniFile* file = nullptr;
    IniFile& now = settings::file();
    if (!store || file != &now) {
        store = std::make_unique<DirectoryStore>(now);
        file = &now;
    }
    return *store;
}

} // namespace telvaro::test
