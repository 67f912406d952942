// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

namespace zantrove::test {

// Sets (or, with nullopt, removes) one environment variable for its lifetime and puts back what was
// there before, so no test leaks its environment into the next.
class ScopedEnv
{
public:
    ScopedEnv(std::string name, const std::optional<std::string>& value) : m_name(std::move(name))
    {
        if (const char* old = std::getenv(m_name.c_str()))
            m_old = old;
        Put(m_name, value);
    }
    ~ScopedEnv() { Put(m_name, m_old); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    static void Put(const std::string& name, const std::optional<std::string>& value)
    {
        if (value)
            ::setenv(name.c_str(), value->c_str(), 1);
        else
            ::unsetenv(name.c_str());
    }

    std::string m_name;
    std::optional<std::string> m_old;
};

// Makes a folder the working folder for its lifetime and goes back to the one before.
class ScopedCurrentFolder
{
public:
    explicit ScopedCurrentFolder(const std::filesystem::path& folder) : m_old(std::filesystem::current_path())
    {
        std::filesystem::current_path(folder);
    }
    ~ScopedCurrentFolder()
    {
        std::error_code ignored; // the old folder may be gone; there is nothing better to go back to
        std::filesystem::current_path(m_old, ignored);
    }
    ScopedCurrentFolder(const ScopedCurrentFolder&) = delete;
    ScopedCurrentFolder& operator=(const ScopedCurrentFolder&) = delete;

private:
    std::filesystem::path m_old;
};

} // namespace zantrove::test
