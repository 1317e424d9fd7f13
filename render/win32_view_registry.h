// The page views of the process, one per host window. Calls hold a shared
// reference for their duration, so a window destroyed from inside a host
// callback keeps its view until the call that runs the callback returns.
#pragma once

#include <windows.h>

#include <memory>

#include "render/win32_view.h"

namespace ks::render {

std::shared_ptr<Win32View> FindView(HWND hwnd);
// Creates the view on first use; null when hwnd is not a window.
std::shared_ptr<Win32View> ViewFor(HWND hwnd);
void DropView(HWND hwnd);
// The view whose page holds the element (by address), or null.
std::shared_ptr<Win32View> ViewOwning(const Node* element);

}  // namespace ks::render
