#include "core/output/merge.h"

#include "core/app/program_paths.h"
#include "core/archive/dos_time.h"
#include "core/archive/message_file.h"
#include "core/text/code_pages.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace varnot {

namespace {

constexpr std::string_view LineEnd = "\r\n";

} // namespace

std::string ExportFilePath() {
    return ProgramFolder() + std::string(ExportFileName);
}

TMerge::~TMerge() {
    Discard();
}

void TMerge::Discard() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        temporary_.clear();
    }
    buffer_.reset();
}

MergeResult TMerge::Fail(MergeResult::Status status, const std::string& file, int error) {
    Discard();
    failure_ = {status, file, error};
    return failure_;
}

MergeResult TMerge::Open(const std::string& path) {
    Discard();
    failure_ = {};
    path_ = path;
    std::string temporary = path + ".XXXXXX";
    fd_ = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd_ < 0) return Fail(MergeResult::Status::CannotWrite, path_, errno);
    temporary_ = temporary;
    buffer_ = std::make_unique<char[]>(BufferSize);
    return {};
}

bool TMerge::WriteBytes(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) {
            if (written == 0) errno = EIO;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

MergeResult TMerge::Add(const std::string& messagePath) {
    if (!failure_) return failure_;
    MessageFile file(messagePath);
    // A message deleted since the list was read is simply left out.
    if (!file.IsOpen()) return {};
    if (fd_ < 0) return {};
    auto writeFailed = [&] { return Fail(MergeResult::Status::CannotWrite, path_, errno); };

    if (InsertDate) {
        const std::string line =
            FormatDosTime(DosTimeFromUnix(file.ModificationTime()), "hh:nn dd.mm.yyyy");
        if (!WriteBytes(line) || !WriteBytes(LineEnd)) return writeFailed();
    }
    for (;;) {
        const long got = file.Read(buffer_.get(), BufferSize);
        if (got < 0) return Fail(MergeResult::Status::ReadFailed, messagePath, file.Error());
        if (got == 0) break;
        auto* bytes = reinterpret_cast<unsigned char*>(buffer_.get());
        const auto length = static_cast<std::size_t>(got);
        if (InDos) OemToAnsiInPlace(bytes, length);
        // Code page 1251 is single-byte, so every block converts on its own.
        if (!WriteBytes(Cp1251ToUtf8({buffer_.get(), length}))) return writeFailed();
    }
    if (!WriteBytes(LineEnd)) return writeFailed();
    return {};
}

MergeResult TMerge::AddLine(std::string_view utf8) {
    if (!failure_) return failure_;
    if (fd_ < 0) return {};
    if (!WriteBytes(utf8) || !WriteBytes(LineEnd))
        return Fail(MergeResult::Status::CannotWrite, path_, errno);
    return {};
}

MergeResult TMerge::Close() {
    if (!failure_) {
        Discard();
        return failure_;
    }
    if (fd_ < 0) return {};
    bool ok = ::fchmod(fd_, 0644) == 0 && ::fsync(fd_) == 0;
    int error = ok ? 0 : errno;
    if (::close(fd_) != 0 && ok) {
        ok = false;
        error = errno;
    }
    fd_ = -1;
    if (ok && ::rename(temporary_.c_str(), path_.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) return Fail(MergeResult::Status::CannotWrite, path_, error);
    temporary_.clear();
    buffer_.reset();
    return {};
}

MergeResult WriteExportFile(const std::string& path, const std::vector<std::string>& messageFiles,
                            bool insertDate, bool inDos) {
    TMerge merge(insertDate, inDos);
    if (MergeResult opened = merge.Open(path); !opened) return opened;
    for (const std::string& file : messageFiles)
        if (MergeResult added = merge.Add(file); !added) return added;
    return merge.Close();
}

MergeResult WriteExportLines(const std::string& path, const std::vector<std::string>& utf8Lines) {
    TMerge merge(false, false);
    if (MergeResult opened = merge.Open(path); !opened) return opened;
    for (const std::string& line : utf8Lines)
        if (MergeResult added = merge.AddLine(line); !added) return added;
    return merge.Close();
}

} // namespace varnot
