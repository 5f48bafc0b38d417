#pragma once

#include <string>

namespace varnot {

// One running copy per user: an exclusive lock on a small file. The kernel
// drops the lock however the holder ends, so a crash never blocks a restart.
class TSingleInstance {
  public:
    static constexpr const char* LockName = "PELLMAR_VARNOT_SHAREAD_MEMORY";

    // The lock file of this user: in $XDG_RUNTIME_DIR, or, when that is unset
    // or empty, in the system temporary folder with the user id in the name.
    static std::string DefaultLockPath();

    explicit TSingleInstance(std::string lockPath = DefaultLockPath());
    ~TSingleInstance();
    TSingleInstance(const TSingleInstance&) = delete;
    TSingleInstance& operator=(const TSingleInstance&) = delete;

    // True when this object now holds the lock (or already held it). False
    // when another holder has it or the lock file cannot be opened or created.
    bool tryAcquire();
    bool held() const { return fd_ >= 0; }
    void release();

    const std::string& lockPath() const { return path_; }

  private:
    std::string path_;
    int fd_ = -1;
};

} // namespace varnot
