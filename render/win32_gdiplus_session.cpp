#include "render/win32_gdiplus_session.h"

#include <windows.h>

#include "render/win32_gdiplus.h"

namespace ks::render {
namespace {

// Views live on one window thread each; the counter guards the shared start.
LONG g_sessions = 0;
ULONG_PTR g_token = 0;
bool g_started = false;

}  // namespace

GdiplusSession::GdiplusSession() {
  if (InterlockedIncrement(&g_sessions) == 1) {
    Gdiplus::GdiplusStartupInput input;
    g_started = Gdiplus::GdiplusStartup(&g_token, &input, nullptr) == Gdiplus::Ok;
  }
  ok_ = g_started;
}

GdiplusSession::~GdiplusSession() {
  if (InterlockedDecrement(&g_sessions) == 0 && g_started) {
    Gdiplus::GdiplusShutdown(g_token);
    g_started = false;
  }
}

}  // namespace ks::render
