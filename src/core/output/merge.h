#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace varnot {

// "expo.txt" in the program folder: the file handed to the external text
// editor and word processor.
inline constexpr std::string_view ExportFileName = "expo.txt";
std::string ExportFilePath();

// How an export ended. A failure names the file it happened to: the export
// file when it could not be written, a message file when reading it failed.
struct MergeResult {
    enum class Status { Written, CannotWrite, ReadFailed };
    Status status = Status::Written;
    std::string file;
    int error = 0; // errno of the failure

    explicit operator bool() const { return status == Status::Written; }
};

// Writes messages one after the other into one text: each optionally
// preceded by its date line "hh:nn dd.mm.yyyy", then its text, then CR LF.
// Message bytes are code page 1251 (866 first when InDos is on) and the export
// file is UTF-8, which is what the programs it is handed to read. The text
// goes to a temporary file beside the export file and is renamed into place
// by Close, so a failed export leaves the previous file untouched.
class TMerge {
  public:
    static constexpr std::size_t BufferSize = 32000;

    TMerge(bool insertDate, bool inDos) : InsertDate(insertDate), InDos(inDos) {}
    // An export that was never closed successfully is thrown away.
    ~TMerge();
    TMerge(const TMerge&) = delete;
    TMerge& operator=(const TMerge&) = delete;

    MergeResult Open(const std::string& path);
    // Appends one message file; one that cannot be opened is left out.
    MergeResult Add(const std::string& messagePath);
    // Appends one line that is UTF-8 already (the editor's text) and CR LF.
    MergeResult AddLine(std::string_view utf8);
    // Puts the export file in place. After any failure it only cleans up and
    // repeats that failure.
    MergeResult Close();

    bool InsertDate;
    bool InDos;

  private:
    MergeResult Fail(MergeResult::Status status, const std::string& file, int error);
    bool WriteBytes(std::string_view bytes);
    void Discard();

    int fd_ = -1;
    std::string path_;
    std::string temporary_;
    std::unique_ptr<char[]> buffer_;
    MergeResult failure_;
};

// One whole export: the message files in order. Files that cannot be opened
// are left out.
MergeResult WriteExportFile(const std::string& path, const std::vector<std::string>& messageFiles,
                            bool insertDate, bool inDos);
// The editor's export: every line (UTF-8) followed by CR LF.
MergeResult WriteExportLines(const std::string& path, const std::vector<std::string>& utf8Lines);

} // namespace varnot
