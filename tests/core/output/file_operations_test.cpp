#include "core/output/file_operations.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/archive/archive_tree.h"
#include "support/scoped_env.h"

namespace varnot {
namespace {

namespace fs = std::filesystem;
using archive_test::ArchiveTree;
using testing_support::Exists;
using testing_support::ReadFile;

int EntriesIn(const std::string& folder) {
    int count = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder)) ++count;
    return count;
}

// Files written by this process may grow to `bytes` at most; a write beyond
// that fails with EFBIG instead of killing the process. Undone on leaving.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit old_{};
    void (*oldHandler_)(int) = SIG_DFL;
};

// A temporary folder on another file system than the archive's, or none.
std::unique_ptr<testing_support::TempDir> FolderOnAnotherFileSystem(const std::string& archive) {
    std::unique_ptr<testing_support::TempDir> other;
    {
        testing_support::ScopedEnv tmp("TMPDIR", "/dev/shm");
        if (fs::is_directory("/dev/shm")) other = std::make_unique<testing_support::TempDir>();
    }
    struct stat here {};
    struct stat there {};
    if (!other || ::stat(archive.c_str(), &here) != 0 ||
        ::stat(other->path().c_str(), &there) != 0 || here.st_dev == there.st_dev)
        return nullptr;
    return other;
}

// Shown messages of one day, rows 0..n-1 newest first; `n` of them with
// bodies of `size` bytes.
class FileOperationsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        destination = tree.dir / "out/";
        testing_support::MakeDirs(destination);
    }

    void Fill(int n, std::size_t size = 0) {
        for (int i = 0; i < n; ++i) {
            const std::string name(1, static_cast<char>('a' + i));
            std::string body = "body of " + name;
            if (size > body.size()) body.resize(size, static_cast<char>('0' + i % 10));
            tree.Found(list, "03_12_25", name + ".txt", {2003, 12, 25, 10, i, 0}, body);
            bodies[name + ".txt"] = body;
        }
        list.SortRecords();
        for (int i = 0; i < list.Used; ++i) list.RecordAt(i).Flags = TFileInfo::Shown;
        list.BuildRows(-1);
    }

    void SelectRows(std::initializer_list<int> rows) {
        for (int row : rows) list.ToggleRow(row);
    }
    std::string RowName(int row) const {
        return std::string(list.RecordAt(list.PositionAtRow(row)).FileName());
    }
    ApplyResult Apply(int row, std::string_view folder, ApplyOperation operation,
                      const std::function<bool(const TApplyRun&)>& goOn = {}) {
        return ApplyToSelected(list, row, folder, operation, tree.options, lastNewFile, goOn);
    }

    // Every message is whole in the archive or in `folder`; the number that is in neither.
    int SourcesLost(const std::string& folder) const {
        int lost = 0;
        for (const auto& [name, body] : bodies) {
            const std::string inArchive = tree.PathOf("03_12_25", name);
            const bool kept = Exists(inArchive) && ReadFile(inArchive) == body;
            const bool moved = Exists(folder + name) && ReadFile(folder + name) == body;
            if (!kept && !moved) ++lost;
        }
        return lost;
    }

    // What a fault test leaves behind, printed for the record.
    static void PrintCounts(const char* what, const ApplyResult& result, int lost) {
        int copied = 0;
        int moved = 0;
        int deleted = 0;
        for (const AppliedFile& file : result.files) {
            if (!file.Done()) continue;
            if (file.copied && file.removed)
                ++moved;
            else if (file.copied)
                ++copied;
            else if (file.removed)
                ++deleted;
        }
        std::cout << "[ counts   ] " << what << ": copied " << copied << ", moved " << moved
                  << ", deleted " << deleted << ", failed " << result.FailedCount()
                  << ", untouched " << result.untouched << ", source files lost " << lost << "\n";
    }

    ArchiveTree tree;
    CList list{10};
    std::string destination;
    std::string lastNewFile;
    std::map<std::string, std::string> bodies;
};

TEST_F(FileOperationsTest, CopyOfSelectedKeepsRecordsAndTimeStamps) {
    Fill(5);
    SelectRows({0, 2, 4});
    const ApplyResult result = Apply(1, destination, CopyOperation);
    EXPECT_EQ(result.files.size(), 3u);
    EXPECT_EQ(result.FailedCount(), 0);
    for (const char* name : {"e.txt", "c.txt", "a.txt"}) {
        ASSERT_TRUE(Exists(destination + name)) << name;
        EXPECT_EQ(ReadFile(destination + name), bodies[name]);
        struct stat copy {};
        struct stat original {};
        ::stat((destination + name).c_str(), &copy);
        ::stat(tree.PathOf("03_12_25", name).c_str(), &original);
        EXPECT_EQ(copy.st_mtime, original.st_mtime) << name;
    }
    EXPECT_FALSE(Exists(destination + "b.txt"));
    EXPECT_EQ(list.Used, 5);
    EXPECT_EQ(list.SelCount, 0);
    EXPECT_EQ(list.SelSize, 0);
    for (int i = 0; i < list.Used; ++i) EXPECT_FALSE(list.RecordAt(i).Has(TFileInfo::Selected));
    EXPECT_EQ(result.rows.currentRow, 1);
    EXPECT_EQ(result.rows.rowCount, 5);
}

TEST_F(FileOperationsTest, WithoutSelectionTheCurrentRowIsUsed) {
    Fill(5);
    const ApplyResult result = Apply(3, tree.dir / "out", CopyOperation);
    ASSERT_EQ(result.files.size(), 1u);
    EXPECT_EQ(result.files[0].name, "03_12_25\\B.TXT");
    EXPECT_TRUE(result.files[0].copied);
    EXPECT_TRUE(Exists(destination + "b.txt"));
    EXPECT_EQ(result.rows.currentRow, 3);

    // Delete with nothing selected: the current message goes, the newer neighbour is current.
    const ApplyResult deleted = Apply(2, "", DeleteOperation);
    EXPECT_FALSE(tree.Has("03_12_25", "c.txt"));
    EXPECT_EQ(deleted.rows.currentRow, 1);
    EXPECT_EQ(RowName(1), "D.TXT");
    EXPECT_EQ(list.Used, 4);
}

TEST_F(FileOperationsTest, MoveReplacesAnEquallyNamedFileAndRemovesTheSource) {
    Fill(5);
    testing_support::WriteFile(destination + "d.txt", "an older copy");
    SelectRows({1, 2});
    const ApplyResult result = Apply(4, destination, MoveOperation);
    EXPECT_EQ(ReadFile(destination + "d.txt"), "body of d");
    EXPECT_EQ(ReadFile(destination + "c.txt"), "body of c");
    EXPECT_FALSE(tree.Has("03_12_25", "d.txt"));
    EXPECT_FALSE(tree.Has("03_12_25", "c.txt"));
    EXPECT_EQ(list.Used, 3);
    EXPECT_EQ(result.rows.rowCount, 3);
    // The current message (A, row 4) stays the current one.
    EXPECT_EQ(RowName(result.rows.currentRow), "A.TXT");
    EXPECT_EQ(result.RemovedNames(),
              (std::vector<std::string>{"03_12_25\\C.TXT", "03_12_25\\D.TXT"}));
}

TEST_F(FileOperationsTest, MoveToAnotherFileSystemCopiesThenRemoves) {
    const auto other = FolderOnAnotherFileSystem(tree.options.root);
    if (!other) GTEST_SKIP() << "no second file system at /dev/shm";
    Fill(5);
    testing_support::WriteFile(other->path() + "d.txt", "an older copy");
    SelectRows({1, 2});
    const ApplyResult result = Apply(4, other->path(), MoveOperation);
    EXPECT_EQ(result.FailedCount(), 0);
    EXPECT_EQ(ReadFile(other->path() + "d.txt"), "body of d");
    EXPECT_FALSE(tree.Has("03_12_25", "d.txt"));
    EXPECT_FALSE(tree.Has("03_12_25", "c.txt"));
    EXPECT_EQ(EntriesIn(other->path()), 2);
    EXPECT_EQ(list.Used, 3);
}

TEST_F(FileOperationsTest, DeleteOfSelectedLeavesTheShorterListAtOnce) {
    Fill(7);
    SelectRows({0, 1, 3, 4, 6});
    const ApplyResult result = Apply(0, "", DeleteOperation);
    EXPECT_EQ(result.files.size(), 5u);
    EXPECT_EQ(list.ShownCount, 2);
    EXPECT_EQ(result.rows.rowCount, 2);
    EXPECT_EQ(result.rows.currentRow, 0);
    EXPECT_EQ(list.SelCount, 0);
    EXPECT_EQ(list.Capacity(), 10);
    EXPECT_EQ(RowName(0), "E.TXT");
    EXPECT_EQ(RowName(1), "B.TXT");
    EXPECT_EQ(EntriesIn(tree.options.root + "03_12_25"), 2);

    list.SelectAll();
    EXPECT_EQ(Apply(1, "", DeleteOperation).rows.rowCount, 1);
    EXPECT_EQ(list.Used, 0);
}

TEST_F(FileOperationsTest, AGoneFileLeavesTheListOnDelete) {
    Fill(5);
    fs::remove(tree.PathOf("03_12_25", "b.txt"));
    const ApplyResult result = Apply(3, "", DeleteOperation);
    ASSERT_EQ(result.files.size(), 1u);
    EXPECT_TRUE(result.files[0].Done());
    EXPECT_TRUE(result.files[0].removed);
    EXPECT_EQ(list.Used, 4);
}

TEST_F(FileOperationsTest, AFileSavedAgainSinceItWasListedIsNotDeleted) {
    Fill(3);
    SelectRows({0, 1});
    testing_support::WriteFile(tree.PathOf("03_12_25", "c.txt"), "saved again, longer");
    const ApplyResult result = Apply(0, "", DeleteOperation);
    ASSERT_EQ(result.files.size(), 2u);
    EXPECT_EQ(result.files[1].fault, FileFault::Changed); // C, the newest, comes last
    EXPECT_TRUE(Exists(tree.PathOf("03_12_25", "c.txt")));
    EXPECT_EQ(RowName(0), "C.TXT");
    EXPECT_EQ(list.SelCount, 1);
    EXPECT_EQ(list.Used, 2);
}

TEST_F(FileOperationsTest, NothingIsReachedThroughALinkedDayFolder) {
    Fill(5);
    const std::string away = tree.dir / "away";
    fs::rename(tree.options.root + "03_12_25", away);
    fs::create_directory_symlink(away, tree.options.root + "03_12_25");
    SelectRows({0, 1});
    const ApplyResult deleted = Apply(0, "", DeleteOperation);
    EXPECT_EQ(deleted.FailedCount(), 2);
    EXPECT_EQ(deleted.files[0].fault, FileFault::NotRemoved);
    // Not done, so still listed and still selected.
    EXPECT_EQ(list.SelCount, 2);
    const ApplyResult moved = Apply(0, destination, MoveOperation);
    EXPECT_EQ(moved.files[0].fault, FileFault::SourceUnreadable);
    for (const char* name : {"/e.txt", "/d.txt"}) EXPECT_TRUE(Exists(away + name));
    EXPECT_EQ(EntriesIn(destination), 0);
    EXPECT_EQ(list.Used, 5);
}

TEST_F(FileOperationsTest, RemovingTheAnnouncedMessageForgetsIt) {
    Fill(5);
    lastNewFile = "03_12_25\\E.TXT";
    Apply(1, "", DeleteOperation);
    EXPECT_EQ(lastNewFile, "03_12_25\\E.TXT"); // D went, E stays announced
    Apply(0, destination, CopyOperation);
    EXPECT_EQ(lastNewFile, "03_12_25\\E.TXT"); // a copy removes nothing
    Apply(0, destination, MoveOperation);
    EXPECT_EQ(lastNewFile, "");
}

TEST_F(FileOperationsTest, MoveOntoItsOwnFolderKeepsFileAndRecord) {
    Fill(5);
    const std::string ownFolder = tree.options.root + "03_12_25/";
    fs::create_directory_symlink(ownFolder, tree.dir / "alias");
    for (const std::string& folder : {ownFolder, std::string(tree.dir / "alias/")}) {
        for (ApplyOperation operation : {MoveOperation, CopyOperation}) {
            const ApplyResult result = Apply(2, folder, operation);
            ASSERT_EQ(result.files.size(), 1u);
            EXPECT_EQ(result.files[0].fault, FileFault::SameFile);
            EXPECT_EQ(ReadFile(tree.PathOf("03_12_25", "c.txt")), "body of c");
            EXPECT_EQ(list.Used, 5);
            EXPECT_EQ(result.rows.currentRow, 2);
        }
    }
    EXPECT_EQ(EntriesIn(ownFolder), 5);
}

TEST_F(FileOperationsTest, AnUnusableDestinationIsRefusedBeforeAnythingIsTouched) {
    Fill(5);
    SelectRows({0, 1});
    testing_support::WriteFile(tree.dir / "plain", "a file");
    for (const std::string& folder : {tree.dir / "no/such/folder/", tree.dir / "plain"}) {
        const ApplyResult result = Apply(0, folder, MoveOperation);
        EXPECT_FALSE(result.destination.Usable()) << folder;
        EXPECT_TRUE(result.files.empty());
        EXPECT_EQ(list.SelCount, 2);
    }
    EXPECT_EQ(CheckDestinationFolder(tree.dir / "no/such").state, DestinationState::Missing);
    EXPECT_EQ(CheckDestinationFolder(tree.dir / "plain").state, DestinationState::NotAFolder);
    EXPECT_EQ(EntriesIn(tree.options.root + "03_12_25"), 5);

    if (::geteuid() == 0) {
        std::cout << "[ skipped  ] read-only folder: the superuser writes into it anyway\n";
        return;
    }
    testing_support::MakeDirs(tree.dir / "locked");
    ::chmod((tree.dir / "locked").c_str(), 0500);
    const ApplyResult locked = Apply(0, tree.dir / "locked", CopyOperation);
    EXPECT_EQ(locked.destination.state, DestinationState::NotWritable);
    EXPECT_EQ(locked.destination.error, EACCES);
    EXPECT_EQ(list.SelCount, 2);
}

TEST_F(FileOperationsTest, ADestinationThatFillsUpHalfWayLosesNoSource) {
    const auto other = FolderOnAnotherFileSystem(tree.options.root);
    Fill(8, 1000);
    // Oldest first: A, B, C are done before the folder fills up; G is to replace a file.
    for (ApplyOperation operation : {CopyOperation, MoveOperation}) {
        if (operation == MoveOperation && !other) {
            std::cout << "[ skipped  ] move onto a full folder: no second file system at "
                         "/dev/shm (a move within one file system renames and needs no space)\n";
            continue;
        }
        const std::string folder = operation == CopyOperation ? destination : other->path();
        testing_support::WriteFile(folder + "g.txt", "the copy it was to replace");
        list.SelectAll();
        std::optional<FileSizeLimit> full;
        const ApplyResult result = Apply(0, folder, operation, [&](const TApplyRun& run) {
            if (run.Applied() == 3) full.emplace(100);
            return true;
        });
        full.reset();
        const int lost = SourcesLost(folder);
        PrintCounts(operation == CopyOperation ? "copy onto a folder that fills up"
                                               : "move onto a folder that fills up",
                    result, lost);
        EXPECT_EQ(lost, 0);
        ASSERT_EQ(result.files.size(), 8u);
        EXPECT_EQ(result.FailedCount(), 5);
        for (std::size_t i = 3; i < result.files.size(); ++i) {
            EXPECT_EQ(result.files[i].fault, FileFault::WriteFailed);
            EXPECT_EQ(result.files[i].error, EFBIG);
        }
        // The failed ones stay selected for another try; the file to replace is intact.
        EXPECT_EQ(list.SelCount, 5);
        EXPECT_EQ(ReadFile(folder + "g.txt"), "the copy it was to replace");
        EXPECT_EQ(EntriesIn(folder), 4);
        EXPECT_EQ(list.Used, operation == CopyOperation ? 8 : 5);
        EXPECT_EQ(EntriesIn(tree.options.root + "03_12_25"), operation == CopyOperation ? 8 : 5);
    }
}

TEST_F(FileOperationsTest, ASourceDeletedMeanwhileIsReportedAndTheRestGoOn) {
    Fill(5);
    bodies.erase("c.txt");
    for (ApplyOperation operation : {CopyOperation, MoveOperation}) {
        list.SelectAll();
        const ApplyResult result = Apply(0, destination, operation, [&](const TApplyRun& run) {
            if (run.Applied() == 1) fs::remove(tree.PathOf("03_12_25", "c.txt"));
            return true;
        });
        ASSERT_EQ(result.files.size(), 5u);
        EXPECT_EQ(result.FailedCount(), 1);
        EXPECT_EQ(result.files[2].name, "03_12_25\\C.TXT");
        EXPECT_EQ(result.files[2].fault, FileFault::SourceUnreadable);
        EXPECT_EQ(result.files[2].error, ENOENT);
        const int lost = SourcesLost(destination);
        EXPECT_EQ(lost, 0);
        PrintCounts(operation == CopyOperation ? "copy, a source deleted meanwhile"
                                               : "move, a source deleted meanwhile",
                    result, lost);
    }
    // The failed record stays listed (and selected) until a pass finds its file gone.
    EXPECT_EQ(list.Used, 1);
    EXPECT_EQ(list.SelCount, 1);
}

TEST_F(FileOperationsTest, CancelLeavesEveryFileWholeOrUntouched) {
    Fill(8, 100000);
    list.SelectAll();
    const ApplyResult result = Apply(0, destination, CopyOperation,
                                     [](const TApplyRun& run) { return run.Applied() < 3; });
    EXPECT_EQ(result.files.size(), 3u);
    EXPECT_EQ(result.untouched, 5);
    EXPECT_EQ(EntriesIn(destination), 3); // no half-written copy of a fourth
    for (const char* name : {"a.txt", "b.txt", "c.txt"})
        EXPECT_EQ(ReadFile(destination + name), bodies[name]);
    EXPECT_EQ(EntriesIn(tree.options.root + "03_12_25"), 8);
    EXPECT_EQ(list.SelCount, 5);
    PrintCounts("copy cancelled after 3", result, SourcesLost(destination));
}

TEST_F(FileOperationsTest, NoRowOnDisplayTouchesNothing) {
    Fill(5);
    for (int i = 0; i < list.Used; ++i) list.RecordAt(i).Flags = 0;
    list.BuildRows(-1);
    const ApplyResult result = Apply(0, "", DeleteOperation);
    EXPECT_TRUE(result.files.empty());
    EXPECT_EQ(list.Used, 5);
    EXPECT_EQ(EntriesIn(tree.options.root + "03_12_25"), 5);
    EXPECT_EQ(result.rows.rowCount, 1);
}

TEST_F(FileOperationsTest, AStepWorksOnTheListOnDisplayNowAndDropsItsGhosts) {
    Fill(5);
    SelectRows({0, 1, 2});
    TApplyRun run(list, 4, DeleteOperation, "", tree.options);
    run.Step(list, lastNewFile); // C
    // A pass lands that read the folder before C went, and found F besides.
    CList landed{10};
    for (int i = 0; i < 5; ++i) {
        const TFileInfo& record = list.RecordAt(std::min(i, list.Used - 1));
        landed.AddFound("03_12_25\\", std::string(1, static_cast<char>('a' + i)) + ".txt",
                        record.Size, archive_test::Dos(2003, 12, 25, 10, i), tree.options);
    }
    tree.Found(landed, "03_12_25", "f.txt", {2003, 12, 25, 11, 0, 0});
    landed.SortRecords();
    for (int i = 0; i < landed.Used; ++i) landed.RecordAt(i).Flags = TFileInfo::Shown;
    landed.BuildRows(-1);
    while (!run.Finished()) run.Step(landed, lastNewFile);
    const ApplyResult result = run.Finish(landed);
    EXPECT_EQ(result.FailedCount(), 0);
    EXPECT_EQ(landed.Used, 3);
    for (const char* name : {"03_12_25\\C.TXT", "03_12_25\\D.TXT", "03_12_25\\E.TXT"})
        EXPECT_EQ(landed.RemoveByName(name), -1) << name;
    EXPECT_EQ(RowName(0), "E.TXT"); // the first list keeps what it had after C
}

} // namespace
} // namespace varnot
