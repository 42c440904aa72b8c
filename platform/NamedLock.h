#pragma once

#include <string>
#include <string_view>

namespace platform {

// A lock shared between processes by name: an advisory lock on a file in
// $XDG_RUNTIME_DIR (else /tmp) named by a hash of the name, which its holder
// removes as it lets go.
class NamedLock {
public:
    enum OpenResult { Acquired = 0, HeldElsewhere = 1, Failed = 2 };

    NamedLock() = default;
    NamedLock(const NamedLock&) = delete;
    NamedLock& operator=(const NamedLock&) = delete;
    ~NamedLock() { Close(); }

    // Opens the lock and tries to take it without waiting.
    OpenResult Open(std::string_view name);
    // Takes the lock, waiting as long as another holder keeps it.
    void Wait();
    // Lets go and closes.
    void Close();
    bool IsOpen() const { return m_fd >= 0; }

private:
    OpenResult Take(bool wait);

    std::string m_file;
    std::string m_path;
    int m_fd = -1;
    bool m_held = false;
};

} // namespace platform
