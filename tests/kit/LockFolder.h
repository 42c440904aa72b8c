#pragma once

#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "tests/kit/TempFolder.h"

// A runtime folder of the test's own for the files of named locks, so that no
// lock is shared with another test, run beside it or in another process, nor
// with a player; it goes at the end with whatever was left in it.
class LockFolder {
public:
    LockFolder()
    {
        if (const char* saved = std::getenv("XDG_RUNTIME_DIR")) m_saved = saved;
        setenv("XDG_RUNTIME_DIR", m_folder.Host().c_str(), 1);
    }
    ~LockFolder()
    {
        if (m_saved) setenv("XDG_RUNTIME_DIR", m_saved->c_str(), 1);
        else unsetenv("XDG_RUNTIME_DIR");
    }
    LockFolder(const LockFolder&) = delete;
    LockFolder& operator=(const LockFolder&) = delete;

    // Unique to this folder and test even where a lock falls back to /tmp.
    std::string Name(std::string_view what) const
    {
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        return "Z:?" + m_folder.Host().filename().string() + "?" + test->test_suite_name() + "." + test->name() + "?" +
               std::string(what);
    }
    std::size_t Files() const { return m_folder.CountEntries(); }

private:
    TempFolder m_folder;
    std::optional<std::string> m_saved;
};
