#pragma once

#include <cstddef>
#include <ctime>
#include <string>

namespace varnot {

// A message file opened for reading. Only regular files open: the open does
// not follow a symbolic link and does not wait on a FIFO, and anything that
// is not a regular file is closed again at once.
class MessageFile {
  public:
    explicit MessageFile(const std::string& path);
    ~MessageFile();
    MessageFile(const MessageFile&) = delete;
    MessageFile& operator=(const MessageFile&) = delete;

    bool IsOpen() const { return fd_ >= 0; }
    // The size when the file was opened (0 when it is not open).
    long long Size() const { return size_; }
    // The last-modification time when the file was opened (0 when it is not open).
    std::time_t ModificationTime() const { return modified_; }
    // errno of the failed open or read; 0 when none failed.
    int Error() const { return error_; }

    // Message files asked for since the program started, opened or not: a
    // cheap way to see that a pass which finds nothing new reads no message.
    static long OpenCount();

    // Reads up to `size` bytes; 0 at the end, -1 on failure (see Error()).
    long Read(void* buffer, std::size_t size);
    // Fills `size` bytes unless the file ends first; the count read, or -1.
    // With `waitedForDisk`, it tells whether the first bytes were not in
    // memory yet and had to be read from the disk.
    long ReadFull(void* buffer, std::size_t size, bool* waitedForDisk = nullptr);

  private:
    int fd_ = -1;
    int error_ = 0;
    long long size_ = 0;
    std::time_t modified_ = 0;
};

// Asks the kernel to start reading the first `bytes` of a message file into
// memory, and returns at once without waiting for them. Nothing happens for a
// path that is not a regular file. Not counted by MessageFile::OpenCount.
void AdviseWillRead(const std::string& path, std::size_t bytes);

// Reads a file line by line through a fixed buffer, so that a file of any
// size or shape costs no more memory than its longest kept line. A line ends
// at LF, CR LF or a lone CR.
class LineReader {
  public:
    explicit LineReader(MessageFile& file) : file_(file) {}

    // The next line without its end, at most `maxLength` bytes of it (the
    // rest is not read until the following call, which skips it); with `skipLeadingBlanks` the
    // bytes of code 32 or below before its first visible byte are left out. False at the end of the
    // file or on a read failure.
    bool Next(std::string& line, std::size_t maxLength, bool skipLeadingBlanks = false);

  private:
    bool Fill();

    MessageFile& file_;
    char buffer_[4096];
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    bool atEnd_ = false;
    bool cut_ = false;     // the last line was cut at its maximum length
    bool afterCr_ = false; // the last line ended with CR: an LF right after it belongs to it
};

} // namespace varnot
