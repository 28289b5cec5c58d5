// Where a file written atomically ends up, and what is refused before a
// byte is written: links are followed, pipes, devices and folders are no
// files to replace, a file the user may not write stays, the mode of the
// file replaced is kept, and a name as long as a name may be is taken.
#include "document/AtomicFile.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

namespace fs = std::filesystem;

class AtomicFile : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("atomic-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override {
        fs::permissions(dir, fs::perms::all, fs::perm_options::add);
        fs::remove_all(dir);
    }
    static void Write(const fs::path& path, const std::string& text) {
        WriteFileAtomically(path.string(), [&](TFileSink& sink) { sink.Write(text); });
    }
    static std::string Read(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    // The message of a write refused, or "" when it was not.
    static std::string Refusal(const fs::path& path) {
        try {
            Write(path, "new");
        } catch (const FileError& e) {
            return e.what();
        }
        return "";
    }
    std::size_t Entries() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
    }
    fs::path dir;
};

TEST_F(AtomicFile, ALinkIsFollowedAndItsTargetReplaced) {
    Write(dir / "target.png", "old");
    fs::create_symlink("target.png", dir / "link.png"); // relative, as users make them
    fs::create_directories(dir / "sub");
    fs::create_symlink("../link.png", dir / "sub" / "chain.png");
    Write(dir / "sub" / "chain.png", "new");
    EXPECT_TRUE(fs::is_symlink(dir / "link.png"));
    EXPECT_TRUE(fs::is_symlink(dir / "sub" / "chain.png"));
    EXPECT_EQ(Read(dir / "target.png"), "new");
    // A link to where no file is yet makes the file there.
    fs::create_symlink("fresh.png", dir / "dangling.png");
    Write(dir / "dangling.png", "made");
    EXPECT_TRUE(fs::is_symlink(dir / "dangling.png"));
    EXPECT_EQ(Read(dir / "fresh.png"), "made");
    // Links in a circle end.
    fs::create_symlink("b", dir / "a");
    fs::create_symlink("a", dir / "b");
    EXPECT_NE(Refusal(dir / "a").find("в круг"), std::string::npos);
}

TEST_F(AtomicFile, WhatIsNoRegularFileIsRefusedAndStays) {
    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
    fs::create_directories(dir / "folder.png");
    const struct {
        fs::path path;
        const char* cause;
    } rows[] = {{dir / "pipe", "канал или устройство"}, {dir / "folder.png", "это папка"}};
    for (const auto& row : rows) {
        const std::string message = Refusal(row.path);
        EXPECT_NE(message.find(row.path.string()), std::string::npos) << message;
        EXPECT_NE(message.find(row.cause), std::string::npos) << message;
    }
    EXPECT_TRUE(fs::is_fifo(dir / "pipe"));
    EXPECT_TRUE(fs::is_directory(dir / "folder.png"));
    // A device, as a copy of /dev/full is one (only the superuser makes one).
    if (::mknod((dir / "full").c_str(), S_IFCHR | 0666, makedev(1, 7)) == 0) {
        EXPECT_NE(Refusal(dir / "full").find("канал или устройство"), std::string::npos);
        EXPECT_TRUE(fs::is_character_file(dir / "full"));
    }
    EXPECT_EQ(Entries(), 2u + fs::exists(dir / "full")); // nothing beside them
}

TEST_F(AtomicFile, TheReplacedFileKeepsItsModeAndAFileNotToWriteStays) {
    Write(dir / "private.png", "old");
    fs::permissions(dir / "private.png", fs::perms::owner_read | fs::perms::owner_write,
                    fs::perm_options::replace);
    Write(dir / "private.png", "new");
    EXPECT_EQ(fs::status(dir / "private.png").permissions(),
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(Read(dir / "private.png"), "new");

    // A read-only file in a folder anyone may write, written by another user.
    Write(dir / "theirs.png", "theirs");
    fs::permissions(dir / "theirs.png",
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read,
                    fs::perm_options::replace);
    fs::permissions(dir, fs::perms::all, fs::perm_options::replace); // no sticky bit
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::geteuid() == 0 && ::setuid(65534) != 0) ::_exit(3); // nobody
        const std::string message = Refusal(dir / "theirs.png");
        ::_exit(message.find("нет права") != std::string::npos ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the read-only file was replaced";
    EXPECT_EQ(Read(dir / "theirs.png"), "theirs");
}

TEST_F(AtomicFile, NamesAsLongAsANameMayBe) {
    const std::string name = std::string(250, 'n') + ".png"; // 254 bytes
    Write(dir / name, "long");
    Write(dir / name, "longer");
    EXPECT_EQ(Read(dir / name), "longer");
    EXPECT_EQ(Entries(), 1u);
}

// Every message names the file and says the cause in the window's words,
// with the run-time's words after them.
TEST_F(AtomicFile, MessagesNameTheFileAndTheCause) {
    const fs::path missing = dir / "no" / "such" / "a.png";
    EXPECT_EQ(Refusal(missing), "Файл «" + missing.string() + "» не записан: нет папки «" +
                                    (dir / "no" / "such").string() + "» (File not found).");
    EXPECT_EQ(FileFailureMessage("a.mth", ENOENT, TFileAction::Read),
              "Файл «a.mth» не прочитан: такого файла нет (File not found).");
    EXPECT_EQ(FileFailureMessage("/m/a.png", ENOSPC, TFileAction::Write),
              "Файл «/m/a.png» не записан: на диске нет места (Disk full).");
}

TEST_F(AtomicFile, SameFileSeesThroughLinksAndOtherNames) {
    Write(dir / "plot.mth", "x");
    fs::create_symlink("plot.mth", dir / "alias.svg");
    EXPECT_TRUE(SameFile((dir / "plot.mth").string(), (dir / "alias.svg").string()));
    EXPECT_TRUE(SameFile((dir / "plot.mth").string(), (dir / "." / "plot.mth").string()));
    EXPECT_FALSE(SameFile((dir / "plot.mth").string(), (dir / "other.svg").string()));
}

} // namespace
