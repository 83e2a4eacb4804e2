// A fresh headless toolkit per test.
#pragma once

#include <gtest/gtest.h>

#include "core/toolkit.h"
#include "platform/headless/headless_platform.h"

namespace tk::testing {

// Holds a headless platform and a toolkit built on it. Render-layer hooks are installed by
// InstallRender (render/host.h) in tests that need dispatch.
class ToolkitTest : public ::testing::Test {
 protected:
  ToolkitTest() : platform(800, 600), tk(platform) {}
  platform::HeadlessPlatform platform;
  Toolkit tk;
};

}  // namespace tk::testing
