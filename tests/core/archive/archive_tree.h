#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/archive/archive_options.h"
#include "core/archive/c_list.h"
#include "core/archive/dos_time.h"
#include "support/temp_dir.h"

namespace varnot::archive_test {

// The packed form of a local date and time.
inline std::int32_t Dos(int year, int month, int day, int hour = 0, int minute = 0,
                        int second = 0) {
    return PackDosTime(DateTime{year, month, day, hour, minute, second});
}

// A real archive tree below a temporary folder. Files get the time stamps the
// records claim, so a test can see exactly what reached the disk.
class ArchiveTree {
  public:
    ArchiveTree() {
        options.root = dir / "archive/";
        options.deleteAutomaticly = false;
        testing_support::MakeDirs(options.root);
    }

    // Writes root/day/name and returns the file's packed time.
    std::int32_t Put(std::string_view day, std::string_view name, const DateTime& when,
                     std::string_view body = "message\r\n") {
        testing_support::WriteFile(PathOf(day, name), body,
                                   testing_support::LocalTime(when.year, when.month, when.day,
                                                              when.hour, when.minute, when.second));
        return PackDosTime(when);
    }

    // Writes the file and hands it to the list the way a scanner pass does.
    bool Found(CList& list, std::string_view day, std::string_view name, const DateTime& when,
               std::string_view body = "message\r\n") {
        const std::int32_t time = Put(day, name, when, body);
        return list.AddFound(std::string(day) + "\\", name, static_cast<std::int32_t>(body.size()),
                             time, options);
    }

    std::string PathOf(std::string_view day, std::string_view name) const {
        return options.root + std::string(day) + "/" + std::string(name);
    }
    bool Has(std::string_view day, std::string_view name) const {
        return testing_support::Exists(PathOf(day, name));
    }

    testing_support::TempDir dir;
    ArchiveOptions options;
};

} // namespace varnot::archive_test
