#pragma once

#include <ctime>
#include <string>
#include <string_view>

namespace testing_support {

// A fresh folder below the system temporary folder, removed with everything
// in it when the object goes.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder, ending with "/".
    const std::string& path() const { return path_; }
    std::string operator/(std::string_view relative) const { return path_ + std::string(relative); }

  private:
    std::string path_;
};

// Writes a file (making its folders) and, when mtime is not 0, sets its modification time.
void WriteFile(const std::string& path, std::string_view bytes, std::time_t mtime = 0);
std::string ReadFile(const std::string& path);
bool Exists(const std::string& path);
void MakeDirs(const std::string& path);
// Seconds since the epoch of a local date and time.
std::time_t LocalTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

} // namespace testing_support
