// Headless backend: the scripted event queue, the pointer, the host record and presents.
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "platform/headless/headless_platform.h"

namespace tk::platform {
namespace {

using T = NativeEventType;

std::vector<T> Drain(HeadlessPlatform& platform) {
  std::vector<T> types;
  NativeEvent event;
  while (platform.PollEvent(event))
    types.push_back(event.type);
  return types;
}

TEST(HeadlessQueue, OrderPointerAndExhaustion) {
  HeadlessPlatform platform(200, 100);
  platform.InjectMove(5, 6);
  platform.InjectClick(40, 50);
  // Focus and posted events come before what was injected, as on a real window.
  platform.FocusCanvas();
  NativeEvent close;
  close.type = T::CloseRequest;
  EXPECT_FALSE(platform.QueueEmpty());

  NativeEvent event;
  ASSERT_TRUE(platform.PollEvent(event));
  EXPECT_EQ(event.type, T::FocusGained);
  EXPECT_EQ(platform.PointerInClient().x, 0);  // injecting did not move the pointer yet
  ASSERT_TRUE(platform.PollEvent(event));
  EXPECT_EQ(event.type, T::MouseMove);
  EXPECT_EQ(platform.PointerInClient().x, 5);
  EXPECT_EQ(platform.PointerInClient().y, 6);
  platform.PostEvent(close);
  ASSERT_TRUE(platform.PollEvent(event));
  EXPECT_EQ(event.type, T::CloseRequest);
  EXPECT_EQ(platform.PointerInClient().x, 5);  // not a pointer event

  std::vector<T> click = {T::LeftButtonDown, T::LeftButtonUp, T::LeftClick};
  for (T expected : click) {
    ASSERT_TRUE(platform.PollEvent(event));
    EXPECT_EQ(event.type, expected);
    EXPECT_EQ(event.x, 40);
    EXPECT_EQ(platform.PointerInClient().y, 50);
  }
  EXPECT_TRUE(platform.QueueEmpty());
  EXPECT_FALSE(platform.PollEvent(event));
  ASSERT_TRUE(platform.WaitEvent(event, 1000));
  EXPECT_EQ(event.type, T::Exhausted);

  NativeEvent key;
  key.type = T::KeyDown;
  key.keyCode = Key::Left;
  key.modifiers = Modifier::Shift;
  platform.Inject(key);
  ASSERT_TRUE(platform.WaitEvent(event, 0));
  EXPECT_EQ(event.keyCode, Key::Left);
  EXPECT_EQ(event.modifiers, Modifier::Shift);
}

TEST(HeadlessHost, OpenShowResizeAndStates) {
  HeadlessPlatform platform(100, 100);
  EXPECT_FALSE(platform.HostExists());
  EXPECT_FALSE(platform.OpenHost(0, 0, 0, 10));
  ASSERT_TRUE(platform.OpenHost(10, 20, 300, 200));
  EXPECT_TRUE(platform.HostExists());
  EXPECT_FALSE(platform.HostVisible());
  EXPECT_EQ(platform.CanvasWidth(), 300);  // the canvas covers the client area
  EXPECT_EQ(platform.CanvasHeight(), 200);

  platform.ShowHost(ShowMode::ScreenCentered);
  EXPECT_TRUE(platform.HostVisible());
  EXPECT_EQ(platform.LastShowMode(), ShowMode::ScreenCentered);
  EXPECT_EQ(platform.HostRect().x, (1280 - 300) / 2);
  EXPECT_EQ(platform.HostRect().y, (1024 - 200) / 2);
  EXPECT_EQ(platform.PointerOnScreen().x, platform.HostRect().x);

  platform.ResizeHost(0, 0, 320, 240);
  EXPECT_EQ(platform.CanvasWidth(), 320);
  EXPECT_EQ(Drain(platform), std::vector<T>{T::Resized});
  platform.ResizeHost(5, 5, 320, 240);  // same size: moved only
  EXPECT_TRUE(platform.QueueEmpty());

  platform.MaximizeHost();
  EXPECT_TRUE(platform.Maximized());
  EXPECT_EQ(platform.HostRect().w, 1280);
  EXPECT_EQ(platform.CanvasHeight(), 1024);
  platform.RestoreHost();
  EXPECT_FALSE(platform.Maximized());
  EXPECT_EQ(platform.HostRect().w, 320);
  EXPECT_EQ(platform.HostRect().x, 5);
  EXPECT_EQ(Drain(platform), (std::vector<T>{T::Resized, T::Resized}));
  platform.MinimizeHost();
  EXPECT_TRUE(platform.Minimized());
  platform.RestoreHost();
  EXPECT_FALSE(platform.Minimized());

  platform.CloseHost();
  EXPECT_FALSE(platform.HostExists());
  EXPECT_FALSE(platform.HostVisible());
}

TEST(HeadlessHost, DrawingPresentsSnapshotsCursorAndClipboard) {
  HeadlessPlatform platform(30, 20);
  Painter* p = platform.BeginDrawing();
  ASSERT_NE(p, nullptr);
  p->SetOrigin(3, 3);
  p->Box(0, 0, 4, 4, 0xFF0000);
  platform.EndDrawing();
  EXPECT_EQ(platform.PresentCount(), 1);
  platform.EndDrawing();  // without a begin: nothing to present
  EXPECT_EQ(platform.PresentCount(), 1);
  // A new drawing starts from a fresh painter state.
  p = platform.BeginDrawing();
  ASSERT_NE(p, nullptr);
  p->Box(0, 0, 1, 1, 0x00FF00);
  platform.EndDrawing();
  EXPECT_EQ(platform.CanvasPixel(0, 0), 0x00FF00u);
  EXPECT_EQ(platform.CanvasPixel(3, 3), 0x0000FFu);

  std::string path = ::testing::TempDir() + "/tk_headless_snapshot.png";
  std::string error;
  ASSERT_TRUE(platform.SavePng(path, &error)) << error;
  int image = platform.Images().LoadFile(ImageStore::kAny, path);
  EXPECT_EQ(platform.Images().Width(image), 30);
  EXPECT_EQ(platform.Images().Pixel(image, 3, 3), 0xFF0000FFu);
  std::filesystem::remove(path);
  EXPECT_FALSE(platform.SavePng("/nonexistent-dir/x.png", &error));
  EXPECT_FALSE(error.empty());

  EXPECT_FALSE(platform.SetCustomCursor(9999, 0, 0));
  EXPECT_EQ(platform.CurrentCursor(), Cursor::Default);
  EXPECT_TRUE(platform.SetCustomCursor(image, 1, 1));
  EXPECT_EQ(platform.CurrentCursor(), Cursor::Custom);
  platform.SetCursor(Cursor::LeftRight);
  EXPECT_EQ(platform.CurrentCursor(), Cursor::LeftRight);

  platform.SetClipboardText("Привет");
  EXPECT_EQ(platform.ClipboardText(), "Привет");
}

TEST(HeadlessStartupMessage, KeptInOrderForTheTestToRead) {
  HeadlessPlatform platform(10, 10);
  platform.ShowStartupMessage("Designer Error", "images\\images.zip Not found");
  platform.ShowStartupMessage("Information", "Кириллица");
  ASSERT_EQ(platform.StartupMessages().size(), 2u);
  EXPECT_EQ(platform.StartupMessages()[0], "Designer Error|images\\images.zip Not found");
  EXPECT_EQ(platform.StartupMessages()[1], "Information|Кириллица");
}

}  // namespace
}  // namespace tk::platform
