// Saves killed at random moments: a child process writes new bytes over a file holding old ones
// through the designer's atomic write and is killed with SIGKILL after a random delay. The
// target must always hold exactly the old or exactly the new bytes, and the next save that
// completes removes the temporaries the killed ones left, and nothing else.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "designer/files.h"
#include "tests/support/file_tools.h"

namespace tk::designer {
namespace {

namespace fs = std::filesystem;
using testing::ReadAll;
using testing::WriteAll;
using Clock = std::chrono::steady_clock;

// Numbered lines, so that a file made of parts of both would not equal either.
std::string Lines(const char* word, int count) {
  std::string text;
  for (int i = 0; i < count; ++i)
    text +=
        std::string(word) + " " + std::to_string(i) + " ButtonGadget(#Button, 10, 10, 100, 25)\r\n";
  return text;
}

// What the folder holds beside the target and the files the test put there itself.
int Leftovers(const fs::path& folder, const std::vector<fs::path>& placed) {
  int count = 0;
  for (const auto& entry : fs::directory_iterator(folder))
    if (entry.path().filename() != "form.pb" &&
        std::find(placed.begin(), placed.end(), entry.path()) == placed.end())
      ++count;
  return count;
}

// Starts a save in a child process that does nothing else: one byte into `started` once it
// runs, plain file calls, and when `done` is a pipe the save's own duration in microseconds
// into it; then _exit.
pid_t SaveInChild(const fs::path& target, const std::string& bytes, int started, int done = -1) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    (void)!::write(started, "s", 1);
    const auto start = Clock::now();
    const bool saved = WriteFileAtomically(target.string(), bytes, nullptr);
    const long took = static_cast<long>(
        std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count());
    if (done >= 0) (void)!::write(done, &took, sizeof took);
    ::_exit(saved ? 0 : 1);
  }
  return pid;
}

// Waits for the byte a child writes into a pipe.
bool Heard(int pipe) {
  char byte = 0;
  return ::read(pipe, &byte, 1) == 1;
}

TEST(CrashSafeSave, KilledSavesLeaveOldOrNewBytesAndTheNextSaveRemovesTheirTemporaries) {
  // A memory file system when there is one: a kill ends a process whatever the disk, and
  // without disk syncs the saves are short enough for hundreds of kills.
  std::error_code ec;
  const fs::path base = fs::is_directory("/dev/shm", ec) && ::access("/dev/shm", W_OK) == 0
                            ? fs::path("/dev/shm")
                            : fs::temp_directory_path();
  const fs::path dir = base / ("tk_crash_save_" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  const fs::path target = dir / "form.pb";
  const std::string oldBytes = Lines("old", 4000);  // about 240 KB
  const std::string newBytes = Lines("new", 5000);  // about 300 KB
  WriteAll(target, oldBytes);

  // How long a save takes here once the child runs, to spread the kills over it and a little
  // past it (the fork and the end of the process cost more than the save itself).
  int started[2], done[2];
  ASSERT_EQ(::pipe(started), 0);
  ASSERT_EQ(::pipe(done), 0);
  std::vector<long> durations;
  for (int i = 0; i < 5; ++i) {
    const pid_t pid = SaveInChild(target, newBytes, started[1], done[1]);
    ASSERT_GT(pid, 0);
    ASSERT_TRUE(Heard(started[0]));
    long took = 0;
    ASSERT_EQ(::read(done[0], &took, sizeof took), static_cast<ssize_t>(sizeof took));
    durations.push_back(took);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_EQ(ReadAll(target), newBytes);
    WriteAll(target, oldBytes);
  }
  std::sort(durations.begin(), durations.end());
  const long span = durations[durations.size() / 2] * 13 / 10 + 1;

  std::mt19937 random(16);
  std::uniform_int_distribution<long> delay(0, span);
  // A save that ends removes the temporaries of the saves killed before it, so a temporary is
  // counted when it appears.
  int beforeRename = 0, afterRename = 0, finished = 0, mixed = 0, midWrite = 0, left = 0;
  auto killOne = [&](long wait) {
    if (ReadAll(target) != oldBytes) WriteAll(target, oldBytes);
    const pid_t pid = SaveInChild(target, newBytes, started[1]);
    if (pid <= 0 || !Heard(started[0])) return false;
    std::this_thread::sleep_for(std::chrono::microseconds(wait));
    ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (WIFEXITED(status)) ++finished;
    const std::string now = ReadAll(target);
    if (now == oldBytes)
      ++beforeRename;
    else if (now == newBytes)
      ++afterRename;
    else
      ++mixed;
    const int leftovers = Leftovers(dir, {});
    if (leftovers > left) ++midWrite;
    left = leftovers;
    return true;
  };
  constexpr int kKills = 210;
  for (int i = 0; i < kKills; ++i)
    ASSERT_TRUE(killOne(delay(random)));
  // The save below must find a leftover to remove: kill until one is left (over the whole
  // span: on a busy machine early kills land before the temporary exists).
  for (int i = 0; i < 1000 && left == 0; ++i)
    ASSERT_TRUE(killOne(delay(random)));
  for (const int end : {started[0], started[1], done[0], done[1]})
    ::close(end);
  std::cout << "[ kills    ] " << beforeRename + afterRename + mixed << " kills over 0-" << span
            << " us: " << beforeRename << " left the old bytes, " << afterRename
            << " the new bytes (" << finished << " of them ended before their kill), " << mixed
            << " a mix; " << midWrite << " kills left a temporary, " << left << " still there\n";
  EXPECT_EQ(mixed, 0);
  // The kills must land on both sides of the rename, and some in the middle of a write,
  // or the run proved nothing.
  EXPECT_GT(beforeRename, 0);
  EXPECT_GT(afterRename, 0);
  EXPECT_GT(midWrite, 0);
  ASSERT_GT(left, 0);

  // Files the next save must leave: a save still running (its temporary locked), another
  // target's temporary, and the user's own files with similar names.
  const fs::path running = dir / ".form.pb.Run123.saving";
  WriteAll(running, "running");
  const int held = ::open(running.c_str(), O_RDONLY);
  ASSERT_GE(held, 0);
  ASSERT_EQ(::flock(held, LOCK_EX | LOCK_NB), 0);
  const std::vector<fs::path> kept = {
      running,          dir / ".other.pb.abc123.saving",    dir / ".form.pb.backup",
      dir / "form.pb~", dir / ".form.pb.abc123.saving.old", dir / "form.pb.abc123.saving"};
  for (const fs::path& path : kept)
    if (path != running) WriteAll(path, "mine");

  std::string error;
  ASSERT_TRUE(WriteFileAtomically(target.string(), newBytes, &error)) << error;
  EXPECT_EQ(ReadAll(target), newBytes);
  EXPECT_EQ(Leftovers(dir, kept), 0);
  for (const fs::path& path : kept)
    EXPECT_TRUE(fs::exists(path)) << path;
  ::close(held);
  // Once nothing holds it, it is a leftover like the others.
  ASSERT_TRUE(WriteFileAtomically(target.string(), oldBytes, &error)) << error;
  EXPECT_FALSE(fs::exists(running));
  EXPECT_EQ(Leftovers(dir, kept), 0);
  fs::remove_all(dir);
}

}  // namespace
}  // namespace tk::designer
