// SPDX-License-Identifier: GPL-3.0-or-later
// What the window tells the window manager: a fixed size and no maximize or resize, so the
// title bar offers no maximize button and the frame no resize handles.
#include <gtest/gtest.h>

#include "zentora/ui/tests/frame_fixture.h"

// The X headers come last: their macros (None, Status, ...) clash with names used above.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <gdk/gdkx.h>
#include <gtk/gtk.h>

namespace zentora {
namespace {

// The bits of the _MOTIF_WM_HINTS property (flags, functions, decorations, ...).
constexpr unsigned long kMwmHasFunctions = 1, kMwmHasDecorations = 2;
constexpr unsigned long kMwmFunctionAll = 1, kMwmFunctionResize = 2, kMwmFunctionMaximize = 16;
constexpr unsigned long kMwmDecorAll = 1, kMwmDecorResizeHandle = 4, kMwmDecorMaximize = 64;

class WindowHintsTest : public test::MainFrameTest {};

TEST_F(WindowHintsTest, FixedSizeWithoutMaximizeOrResize) {
  Start();
  GdkWindow* window = gtk_widget_get_window(static_cast<GtkWidget*>(frame_->GetHandle()));
  ASSERT_NE(window, nullptr);
  Display* display = GDK_WINDOW_XDISPLAY(window);
  const Window id = GDK_WINDOW_XID(window);

  XSizeHints size{};
  long supplied = 0;
  ASSERT_TRUE(XGetWMNormalHints(display, id, &size, &supplied));
  ASSERT_TRUE(size.flags & PMinSize);
  ASSERT_TRUE(size.flags & PMaxSize);
  EXPECT_EQ(size.min_width, size.max_width);
  EXPECT_EQ(size.min_height, size.max_height);
  EXPECT_GT(size.min_width, 0);

  const Atom mwm = XInternAtom(display, "_MOTIF_WM_HINTS", True);
  ASSERT_NE(mwm, static_cast<Atom>(None));
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  ASSERT_EQ(XGetWindowProperty(display, id, mwm, 0, 5, False, AnyPropertyType, &type, &format,
                               &count, &after, &data),
            Success);
  ASSERT_NE(data, nullptr) << "no _MOTIF_WM_HINTS";
  ASSERT_GE(count, 3u);
  const auto* hints = reinterpret_cast<unsigned long*>(data);
  const unsigned long flags = hints[0], functions = hints[1], decorations = hints[2];
  XFree(data);
  ASSERT_TRUE(flags & kMwmHasFunctions);
  EXPECT_FALSE(functions & (kMwmFunctionAll | kMwmFunctionResize | kMwmFunctionMaximize));
  ASSERT_TRUE(flags & kMwmHasDecorations);
  EXPECT_FALSE(decorations & (kMwmDecorAll | kMwmDecorResizeHandle | kMwmDecorMaximize));
}

}  // namespace
}  // namespace zentora
