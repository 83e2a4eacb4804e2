// Command-line options of the designer program.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "codegen/generator.h"
#include "core/creation.h"
#include "designer/cli.h"
#include "designer/designer.h"
#include "designer/files.h"
#include "designer/icon_archives.h"
#include "elements/registry.h"
#include "platform/headless/headless_platform.h"
#include "tests/support/file_tools.h"

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

// A form file to open, --generate with and without -o, --version; what does not fit together
// is refused.
TEST(DesignerCli, FormFilesAndGeneration) {
  Options o;
  std::string error;
  ASSERT_TRUE(Parse({"form.pb"}, o, error)) << error;
  EXPECT_EQ(o.file, "form.pb");
  ASSERT_TRUE(Parse({"--headless", "--screenshot", "x.png", "form.pb"}, o, error)) << error;
  EXPECT_EQ(o.file, "form.pb");
  ASSERT_TRUE(Parse({"--generate", "in.pb", "-o", "out.pb"}, o, error)) << error;
  EXPECT_EQ(o.generate, "in.pb");
  EXPECT_EQ(o.output, "out.pb");
  EXPECT_TRUE(o.file.empty());
  ASSERT_TRUE(Parse({"--version"}, o, error)) << error;
  EXPECT_TRUE(o.version);

  EXPECT_FALSE(Parse({"a.pb", "b.pb"}, o, error));
  EXPECT_FALSE(Parse({"-o", "out.pb"}, o, error));
  EXPECT_EQ(error, "-o works with --generate only");
  EXPECT_FALSE(Parse({"--generate"}, o, error));
  EXPECT_FALSE(Parse({"--generate", "in.pb", "--headless"}, o, error));
  EXPECT_FALSE(Parse({"--generate", "in.pb", "other.pb"}, o, error));
  EXPECT_FALSE(Parse({"-x"}, o, error));
  EXPECT_EQ(error, "unknown argument '-x'");
}

namespace fs = std::filesystem;
using testing::ReadAll;

int Status(const std::string& command) {
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The program's --generate writes the same bytes the Code page shows for the form read from
// the file, to standard output or atomically to -o; it needs no display and no icon archives
// (the program runs from a folder without them). A missing input or an unwritable output is
// one line on standard error and status 1; a bad option status 2 with the usage.
TEST(DesignerProgram, GenerateWritesTheCodePageBytes) {
  const fs::path dir = fs::temp_directory_path() / ("tk_generate_" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  const fs::path program = dir / "designer";
  fs::copy_file(std::string(TK_BINARY_DIR) + "/designer", program);
  const std::string designer =
      "cd '" + dir.string() + "' && env -u DISPLAY -u WAYLAND_DISPLAY '" + program.string() + "'";
  const fs::path err = dir / "err.txt";
  const std::string toErr = " 2>'" + err.string() + "'";

  // The form: windows and gadgets as the designer makes them, written as it writes them.
  std::string source, shown;
  {
    platform::HeadlessPlatform platform(1280, 1024);
    IconArchives archives(platform.Images(), {fs::path(TK_BINARY_DIR)});
    Designer d(archives);
    Toolkit tk(platform);
    PrepareToolkit(tk);
    ASSERT_GT(StartDesigner(tk, d).window, 0);
    const int form = tk.root.DesignedElement;
    CreateDesignElement(tk, d, ElementKind::Button, form, 0, 1);
    const int box = CreateDesignElement(tk, d, ElementKind::Container, form, 0, 1);
    CreateDesignElement(tk, d, ElementKind::CheckBox, box, 0, 1);
    CreateDesignElement(tk, d, ElementKind::Window, d.mainPanel, 0, 1);
    source = FormCodeText(tk, d.mainPanel);
    ASSERT_FALSE(source.empty());
    std::ofstream(dir / "in.pb", std::ios::binary) << source;
    // What the Code page shows once the file is opened.
    ASSERT_TRUE(OpenForm(tk, d, (dir / "in.pb").string()));
    shown = FormCodeText(tk, d.mainPanel);
  }

  EXPECT_EQ(Status(designer + " --generate in.pb -o out.pb" + toErr), 0) << ReadAll(err);
  EXPECT_EQ(ReadAll(dir / "out.pb"), shown);
  EXPECT_EQ(Status(designer + " --generate in.pb >stdout.pb" + toErr), 0) << ReadAll(err);
  EXPECT_EQ(ReadAll(dir / "stdout.pb"), shown);
  EXPECT_EQ(ReadAll(err), "");

  EXPECT_EQ(Status(designer + " --generate missing.pb -o out2.pb" + toErr), 1);
  const std::string missing = ReadAll(err);
  EXPECT_EQ(missing.rfind("designer: cannot read missing.pb: ", 0), 0u) << missing;
  EXPECT_EQ(std::count(missing.begin(), missing.end(), '\n'), 1);
  EXPECT_FALSE(fs::exists(dir / "out2.pb"));
  fs::create_directories(dir / "taken.pb");
  for (const std::string out : {"taken.pb", "no/such/folder/out.pb"}) {
    EXPECT_EQ(Status(designer + " --generate in.pb -o " + out + toErr), 1) << out;
    EXPECT_EQ(ReadAll(err).rfind("designer: cannot save " + out + ": ", 0), 0u) << ReadAll(err);
  }
  EXPECT_TRUE(fs::is_directory(dir / "taken.pb"));

  EXPECT_EQ(Status(designer + " --generate in.pb --frobnicate" + toErr), 2);
  EXPECT_EQ(ReadAll(err).rfind("designer: unknown argument '--frobnicate'\nusage: ", 0), 0u)
      << ReadAll(err);
  EXPECT_EQ(Status(designer + " --version >version.txt"), 0);
  EXPECT_EQ(ReadAll(dir / "version.txt").rfind("designer ", 0), 0u);
  EXPECT_GT(ReadAll(dir / "version.txt").size(), std::string("designer \n").size());
  std::error_code ignored;
  fs::remove_all(dir, ignored);
}

}  // namespace
}  // namespace tk::designer
