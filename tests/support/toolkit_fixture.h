// A fresh headless toolkit per test.
#pragma once

#include <gtest/gtest.h>

#include "core/toolkit.h"
#include "elements/registry.h"
#include "platform/headless/headless_platform.h"

namespace tk::testing {

// Holds a headless platform and a toolkit built on it, with the element kinds registered (their
// creation defaults live with them). Render-layer hooks are installed by InstallRender
// (render/host.h) in tests that need dispatch.
class ToolkitTest : public ::testing::Test {
 protected:
  ToolkitTest() : platform(800, 600), tk(platform) { RegisterKinds(tk); }
  platform::HeadlessPlatform platform;
  Toolkit tk;
};

}  // namespace tk::testing
