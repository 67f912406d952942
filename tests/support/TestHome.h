// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tests/support/ScopedEnv.h"

#include <cstdlib>
#include <string>

namespace zantrove::test {

// A temporary folder that serves as HOME and XDG data home while it lives; removed afterwards, and
// the variables put back.
class TestHome
{
public:
    TestHome();
    ~TestHome();
    TestHome(const TestHome&) = delete;
    TestHome& operator=(const TestHome&) = delete;

private:
    std::string m_path;
    ScopedEnv m_home{"HOME", m_path};
    ScopedEnv m_data{"XDG_DATA_HOME", m_path + "/.local/share"};
    ScopedEnv m_config{"XDG_CONFIG_HOME", m_path + "/.config"};
    ScopedEnv m_runtime{"XDG_RUNTIME_DIR", m_path};
    ScopedEnv m_platform{"QT_QPA_PLATFORM",
                         std::getenv("QT_QPA_PLATFORM") ? std::getenv("QT_QPA_PLATFORM") : "offscreen"};
};

// A fresh empty folder below the current test home.
std::string MakeTempFolder(const std::string& stem = "t");
void WriteTextFile(const std::string& path, const std::string& content);
std::string ReadTextFile(const std::string& path);
// What the shell command prints on its standard output; its input is /dev/null.
std::string CaptureShell(const std::string& command);

} // namespace zantrove::test
