#include "gui/app/single_instance.h"

#include "core/app/runtime_folder.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <utility>

namespace varnot {

std::string TSingleInstance::DefaultLockPath() {
    return RuntimeFilePath(LockName);
}

TSingleInstance::TSingleInstance(std::string lockPath) : path_(std::move(lockPath)) {}

TSingleInstance::~TSingleInstance() {
    release();
}

bool TSingleInstance::tryAcquire() {
    if (fd_ >= 0) return true;
    // Close-on-exec: programs started later (the external editor) must not
    // inherit the descriptor and keep the lock alive after we end. No
    // symbolic links: in a shared temporary folder another user could plant one.
    int fd;
    do {
        fd = open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return false;
    int locked;
    do {
        locked = flock(fd, LOCK_EX | LOCK_NB);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0) {
        close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}

void TSingleInstance::release() {
    if (fd_ < 0) return;
    // The file stays: removing it would race with a starting copy that has
    // already opened it and would then lock an unlinked file.
    flock(fd_, LOCK_UN);
    close(fd_);
    fd_ = -1;
}

} // namespace varnot
