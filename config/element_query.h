// Questions another process may ask the settings window about its page
// through WM_COPYDATA, so that a program driving the window (the tests) can
// aim real mouse input at an element and read a box's state. Read-only: an
// answer never changes the page.
#pragma once

#include <windows.h>

namespace ks {

// COPYDATASTRUCT::dwData of a question; lpData holds the element's id as
// UTF-16 without a terminator.
enum ElementQuery : ULONG_PTR {
  kQueryElementPoint = 0x4B530001,  // answer MAKELONG(x, y): a client point inside the element's content
  kQueryElementSize = 0x4B530002,   // answer MAKELONG(width, height) of its border box
  kQueryElementState = 0x4B530003,  // answer its state bits
};

// The answer when the question is not one of these or the element is missing.
constexpr LRESULT kNoSuchElement = -1;

// Answers a WM_COPYDATA question; false when the data is no element question.
bool AnswerElementQuery(HWND window, const COPYDATASTRUCT& data, LRESULT& answer);

}  // namespace ks
