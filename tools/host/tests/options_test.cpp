#include "tools/host/options.h"

#include <gtest/gtest.h>

namespace {

ParseResult Parse(std::vector<const char*> args, HostOptions* options, std::string* error) {
  args.insert(args.begin(), "quarven-host");
  return ParseHostOptions(static_cast<int>(args.size()), args.data(), options, error);
}

TEST(HostOptions, AddinAndDocuments) {
  HostOptions options;
  std::string error;
  ASSERT_EQ(Parse({"quarven.dll", "a.pdf", "b.pdf"}, &options, &error), ParseResult::kRun);
  EXPECT_EQ(options.addinPath, "quarven.dll");
  EXPECT_EQ(options.documents, (std::vector<std::string>{"a.pdf", "b.pdf"}));
  // The defaults are what the real client does.
  EXPECT_EQ(options.chunkLength, 1600u);
  EXPECT_EQ(options.refuseInitCode, 0u);
  EXPECT_EQ(options.optionsAnswer, OptionsAnswer::kInitialized);
  EXPECT_EQ(options.failOpenCode, 0u);
  EXPECT_FALSE(options.v1Server);
  EXPECT_FALSE(options.reconnect);
}

TEST(HostOptions, JustTheAddin) {
  HostOptions options;
  std::string error;
  ASSERT_EQ(Parse({"quarven.dll"}, &options, &error), ParseResult::kRun);
  EXPECT_TRUE(options.documents.empty());
}

TEST(HostOptions, EveryOption) {
  HostOptions options;
  std::string error;
  ASSERT_EQ(Parse({"--refuse-init", "5", "--fail-open", "0x6", "--v1-server", "--server", "srv",
                   "--chunk-size", "100", "--extra-flags", "0x10", "--reconnect", "--pause",
                   "250", "--extra-options", "0x1", "x.dll", "d"},
                  &options, &error),
            ParseResult::kRun)
      << error;
  EXPECT_EQ(options.refuseInitCode, 5u);
  EXPECT_EQ(options.failOpenCode, 6u);
  EXPECT_TRUE(options.v1Server);
  EXPECT_EQ(options.serverName, "srv");
  EXPECT_EQ(options.chunkLength, 100u);
  EXPECT_EQ(options.extraDataFlags, 0x10u);
  EXPECT_TRUE(options.reconnect);
  EXPECT_EQ(options.pauseMs, 250u);
  EXPECT_EQ(options.optionsAnswer, OptionsAnswer::kExtraBits);
  EXPECT_EQ(options.extraOptionBits, 1u);
  EXPECT_EQ(options.addinPath, "x.dll");
}

TEST(HostOptions, LeaveOptions) {
  HostOptions options;
  std::string error;
  ASSERT_EQ(Parse({"--leave-options", "x.dll"}, &options, &error), ParseResult::kRun);
  EXPECT_EQ(options.optionsAnswer, OptionsAnswer::kUnset);
}

TEST(HostOptions, DoubleDashEndsOptions) {
  HostOptions options;
  std::string error;
  ASSERT_EQ(Parse({"--", "--odd.dll"}, &options, &error), ParseResult::kRun);
  EXPECT_EQ(options.addinPath, "--odd.dll");
}

TEST(HostOptions, Help) {
  HostOptions options;
  std::string error;
  EXPECT_EQ(Parse({"--help"}, &options, &error), ParseResult::kHelp);
}

TEST(HostOptions, Errors) {
  struct Case {
    std::vector<const char*> args;
    const char* message;
  } cases[] = {
      {{}, "no add-in named"},
      {{"--frobnicate", "x.dll"}, "unknown option --frobnicate"},
      {{"x.dll", "--chunk-size"}, "--chunk-size needs a value"},
      {{"--chunk-size", "0", "x.dll"}, "bad value for --chunk-size: \"0\""},
      {{"--chunk-size", "-3", "x.dll"}, "bad value for --chunk-size: \"-3\""},
      {{"--refuse-init", "0", "x.dll"}, "bad value for --refuse-init: \"0\""},
      {{"--fail-open", "abc", "x.dll"}, "bad value for --fail-open: \"abc\""},
  };
  for (const Case& c : cases) {
    HostOptions options;
    std::string error;
    EXPECT_EQ(Parse(c.args, &options, &error), ParseResult::kError) << c.message;
    EXPECT_EQ(error, c.message);
  }
}

}  // namespace
