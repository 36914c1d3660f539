#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "tests/support/sample_level.h"
#include "tests/support/temp_dir.h"
#include "tools/level/level_commands.h"
#include "world/level_file.h"

namespace zandrel::tools {
namespace {

struct ToolRun {
  int status;
  std::string out, err;
};

ToolRun Tool(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  const int status = RunLevelTool(args, out, err);
  return {status, out.str(), err.str()};
}

class LevelToolTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(world::WriteLevel(test::SampleLevel(), level_.string(), {})); }
  test::TempDir dir_;
  std::filesystem::path level_ = dir_ / "sample.lev";
};

TEST_F(LevelToolTest, InfoReportsEveryField) {
  const ToolRun run = Tool({"info", level_.string()});
  ASSERT_EQ(run.status, 0) << run.err;
  const nlohmann::json info = nlohmann::json::parse(run.out);
  EXPECT_EQ(info["bank"], "STANDARD.BNK");
  EXPECT_EQ(info["size"], nlohmann::json({5, 3, 4}));
  EXPECT_EQ(info["start"], nlohmann::json({1, 1, 2}));
  EXPECT_EQ(info["start_heading"], -8192);
  EXPECT_EQ(info["exit"], nlohmann::json({4, 1, 3}));
  EXPECT_EQ(info["name"], "Ch\xC3\xA2teau  d'or");
  EXPECT_EQ(info["author"], "\xC3\x89quipe Zandrel");
  EXPECT_EQ(info["outside"], true);
  EXPECT_EQ(info["sentry_count"], 2);
  EXPECT_EQ(info["seed"], 4242);
  EXPECT_EQ(info["sentries"][0], nlohmann::json({1280.0, 768.0, 1792.0, -12345.5}));
  EXPECT_EQ(info["music_cells"], nlohmann::json({{2, 1, 2, 3}, {3, 1, 1, 5}}));
  EXPECT_EQ(info["objects"], nlohmann::json({{"0", 36}, {"1", 20}, {"2", 1}, {"20", 2}, {"255", 1}}));
  EXPECT_EQ(info["file_size"], 4913 + 2 * 60 + 2 * 16);
}

TEST_F(LevelToolTest, BuildOfDumpGivesTheSameFile) {
  const ToolRun dump = Tool({"dump", level_.string()});
  ASSERT_EQ(dump.status, 0) << dump.err;
  const std::filesystem::path text = dir_.Write("sample.txt", dump.out);
  const std::filesystem::path rebuilt = dir_ / "rebuilt.lev";
  const ToolRun build = Tool({"build", text.string(), rebuilt.string()});
  ASSERT_EQ(build.status, 0) << build.err;
  base::Expected<world::LevelMap> a = world::LoadLevelFile(level_.string(), {});
  base::Expected<world::LevelMap> b = world::LoadLevelFile(rebuilt.string(), {});
  ASSERT_TRUE(a.ok() && b.ok());
  test::ExpectSameLevel(*a, *b);
  EXPECT_EQ(Tool({"dump", rebuilt.string()}).out, dump.out);
}

TEST_F(LevelToolTest, BadUsageAndBadInputExitWithTwoAndOneLine) {
  const std::filesystem::path cut = dir_.Write("cut.lev", std::string(300, '\x01'));
  const std::filesystem::path badText = dir_.Write("bad.txt", "size: 1 1 1\n");
  struct Case {
    std::vector<std::string> args;
    const char* error;  // start of the line after "zandrel-level: "
  };
  for (const Case& c :
       {Case{{"info", cut.string()}, "The file "}, Case{{"dump", (dir_ / "none.lev").string()}, "The file "},
        Case{{"build", badText.string(), (dir_ / "o.lev").string()}, ""},
        Case{{"build", (dir_ / "none.txt").string(), (dir_ / "o.lev").string()}, "cannot read"}}) {
    const ToolRun run = Tool(c.args);
    EXPECT_EQ(run.status, 2) << c.args[0];
    EXPECT_EQ(run.err.rfind(std::string("zandrel-level: ") + c.error, 0), 0u) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
  }
  EXPECT_FALSE(std::filesystem::exists(dir_ / "o.lev"));
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{}, {"info"}, {"frobnicate", "x"}}) {
    EXPECT_EQ(Tool(args).status, 2);
  }
  const ToolRun help = Tool({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("info FILE.lev"), std::string::npos);
}

TEST_F(LevelToolTest, TheProgramKeepsItsExitStatuses) {
  auto status = [](const std::string& command) {
    const int raw = std::system((command + " >/dev/null 2>&1").c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  };
  EXPECT_EQ(status(std::string(ZANDREL_LEVEL_TOOL) + " info " + level_.string()), 0);
  EXPECT_EQ(status(std::string(ZANDREL_LEVEL_TOOL) + " info /nonexistent.lev"), 2);
  EXPECT_EQ(status(std::string(ZANDREL_LEVEL_TOOL)), 2);
}

}  // namespace
}  // namespace zandrel::tools
