// Command-line options of the designer program.
#include <gtest/gtest.h>

#include "designer/cli.h"

namespace tk::designer {
namespace {

bool Parse(std::vector<std::string> args, Options& out, std::string& error) {
  out = Options();
  error.clear();
  return ParseOptions(args, out, &error);
}

TEST(DesignerCli, AcceptedCombinations) {
  Options o;
  std::string error;
  ASSERT_TRUE(Parse({}, o, error)) << error;
  EXPECT_FALSE(o.headless);
  EXPECT_TRUE(o.script.empty());

  ASSERT_TRUE(Parse({"--headless", "--script", "s.txt", "--size", "640x480"}, o, error)) << error;
  EXPECT_TRUE(o.headless);
  EXPECT_EQ(o.script, "s.txt");
  EXPECT_EQ(o.width, 640);
  EXPECT_EQ(o.height, 480);

  // A script and a screenshot together: the picture is taken after the script.
  ASSERT_TRUE(Parse({"--script", "a b.txt", "--screenshot", "x.png", "--headless"}, o, error))
      << error;
  EXPECT_EQ(o.script, "a b.txt");
  EXPECT_EQ(o.screenshot, "x.png");

  // --demo picks the toolkit demonstration; the other options work with it as without.
  EXPECT_FALSE(o.demo);
  ASSERT_TRUE(Parse({"--demo", "--headless", "--screenshot", "d.png"}, o, error)) << error;
  EXPECT_TRUE(o.demo);
  EXPECT_EQ(o.screenshot, "d.png");

  ASSERT_TRUE(Parse({"-h"}, o, error));
  EXPECT_TRUE(o.help);
}

TEST(DesignerCli, RefusedArgumentsSayWhy) {
  Options o;
  std::string error;
  EXPECT_FALSE(Parse({"--script", "s.txt"}, o, error));
  EXPECT_EQ(error, "--script works with --headless only");
  EXPECT_FALSE(Parse({"--headless", "--script"}, o, error));
  EXPECT_EQ(error, "--script needs a file name");
  EXPECT_FALSE(Parse({"--screenshot", "x.png"}, o, error));
  EXPECT_EQ(error, "--screenshot works with --headless only");
  EXPECT_FALSE(Parse({"--headless", "--size", "0x10"}, o, error));
  EXPECT_NE(error.find("'0x10'"), std::string::npos) << error;
  EXPECT_FALSE(Parse({"--headless", "--size", "10x"}, o, error));
  EXPECT_FALSE(Parse({"--scrip", "s.txt"}, o, error));
  EXPECT_EQ(error, "unknown argument '--scrip'");
  EXPECT_NE(std::string(UsageText()).find("--script FILE"), std::string::npos);
}

}  // namespace
}  // namespace tk::designer
