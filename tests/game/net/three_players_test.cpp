// Three headless games play together on the loopback network, each its own process with
// its own script: at the end each has the other two players where their scripts took them.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/temp_dir.h"

extern char** environ;

namespace zandrel::net {
namespace {

constexpr const char* kPort = "64202";  // the range of suite 78 (loopback.h)
constexpr int kFrames = 250;

struct Player {
  std::string Name;
  std::string Script;
  std::vector<std::string> Role;
};

pid_t Spawn(const std::vector<std::string>& args, const std::string& log) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_addopen(&files, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&files, 2, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  pid_t pid = -1;
  if (posix_spawn(&pid, argv[0], &files, nullptr, argv.data(), environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&files);
  return pid;
}

// The exit status, or -1 when the process had to be killed after `timeout`.
int Wait(pid_t pid, std::chrono::seconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  int status = 0;
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(ThreePlayers, EachEndsWithTheOtherTwoWhereTheirScriptsTookThem) {
  test::TempDir dir;
  // Each walks its own way, then stands still well before the end.
  const std::vector<Player> players = {
      {"Ann", "0 40 up\n", {"--host", "--port", kPort, "--players", "3"}},
      {"Bob", "0 12 right\n13 50 up\n", {"--join", std::string("127.0.0.1:") + kPort}},
      {"Cy", "0 30 up\n31 40 left\n41 60 up\n", {"--join", std::string("127.0.0.1:") + kPort}},
  };
  std::vector<pid_t> pids;
  for (const Player& p : players) {
    const std::string script = (dir / (p.Name + ".txt")).string();
    std::ofstream(script) << p.Script;
    std::vector<std::string> args = {
        ZANDREL_PROGRAM, "--headless", "--data", ZANDREL_DATA, "--frames", std::to_string(kFrames),
        "--input",       script,       "--name", p.Name,       "--json",   (dir / (p.Name + ".json")).string()};
    args.insert(args.end(), p.Role.begin(), p.Role.end());
    pids.push_back(Spawn(args, (dir / (p.Name + ".log")).string()));
    ASSERT_GT(pids.back(), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(600));  // each joins after the one before
  }
  for (std::size_t i = 0; i < pids.size(); ++i) {
    const int status = Wait(pids[i], std::chrono::seconds(60));
    std::ifstream log(dir / (players[i].Name + ".log"));
    EXPECT_EQ(status, 0) << players[i].Name << ": " << std::string(std::istreambuf_iterator<char>(log), {});
  }

  std::vector<nlohmann::json> ends;
  for (const Player& p : players) {
    std::ifstream in(dir / (p.Name + ".json"));
    ASSERT_TRUE(in) << p.Name;
    ends.push_back(nlohmann::json::parse(in));
  }
  for (std::size_t i = 0; i < ends.size(); ++i) {
    const nlohmann::json& me = ends[i];
    EXPECT_EQ(me["screen"], "play") << players[i].Name;
    EXPECT_EQ(me["net"]["local_slot"], static_cast<int>(i)) << "slots in join order";
    EXPECT_EQ(me["net"]["last_slot"], 2);
    // Who ended first has left the others' sessions by the time they end: every player
    // listed is at its own slot, this one among them.
    bool listed = false;
    for (const nlohmann::json& p : me["net"]["players"]) {
      for (std::size_t j = 0; j < players.size(); ++j) {
        if (p["name"] == players[j].Name) {
          EXPECT_EQ(p["slot"], static_cast<int>(j)) << players[i].Name;
        }
      }
      listed = listed || p["name"] == players[i].Name;
    }
    EXPECT_TRUE(listed) << players[i].Name;
    for (std::size_t j = 0; j < ends.size(); ++j) {
      if (j == i) continue;
      const nlohmann::json& other = ends[j]["hero"];
      const nlohmann::json& seen = me["slots"][j];
      for (const char* axis : {"x", "y", "z"}) {
        EXPECT_NEAR(seen[axis].get<double>(), other[axis].get<double>(), 2.0)
            << players[i].Name << " sees " << players[j].Name << " on " << axis;
      }
    }
  }
  // The three walked apart.
  EXPECT_GT(std::abs(ends[1]["hero"]["x"].get<double>() - ends[0]["hero"]["x"].get<double>()), 100.0);
  EXPECT_GT(std::abs(ends[2]["hero"]["z"].get<double>() - ends[1]["hero"]["z"].get<double>()) +
                std::abs(ends[2]["hero"]["x"].get<double>() - ends[1]["hero"]["x"].get<double>()),
            100.0);
}

}  // namespace
}  // namespace zandrel::net
