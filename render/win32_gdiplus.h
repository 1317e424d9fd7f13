// GDI+ with the COM declarations it needs, which the lean Windows headers
// leave out.
#pragma once

#include <windows.h>

#include <objidl.h>

#include <gdiplus.h>
