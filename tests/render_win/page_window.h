// A real top-level window hosting a page through the renderer's interface,
// as the settings program hosts it: every message goes to HTMLayoutProcND
// first, load-data requests are served from the page directory, and
// notifications and behaviour events are recorded for the tests.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "render/htmlayout_api.h"

namespace ks::render::testing {

// The settings page as stored, or with its localisation import pointing at
// sheet (the rewrite the settings program makes for a language prefix).
std::string SettingsPage(const std::string& sheet = {});
std::string PageFile(const std::string& name);

struct BehaviorEvent {
  UINT cmd;
  std::string target;  // the target's id, or its tag name when it has none
};

class PageWindow {
 public:
  enum class Answer { AtOnce, Delayed, Nothing };

  PageWindow(int clientWidth = 1200, int clientHeight = 900);
  ~PageWindow();
  PageWindow(const PageWindow&) = delete;
  PageWindow& operator=(const PageWindow&) = delete;

  HWND hwnd() const { return hwnd_; }
  void load(const std::string& html);
  // Answers the delayed requests in order; a file that does not exist is
  // answered with no data.
  void answerDelayed();
  void pump();

  HLELEMENT root() const;
  HLELEMENT find(const char* id) const;
  std::vector<HLELEMENT> findAll(const char* id) const;
  UINT state(const char* id) const;
  std::wstring attribute(HLELEMENT he, const char* name) const;
  std::string innerHtml(HLELEMENT he) const;
  std::string innerText(HLELEMENT he) const;
  RECT location(const char* id, UINT area = HL_VIEW_RELATIVE | HL_BORDER_BOX) const;

  // Synthetic input through the message queue.
  void clickAt(POINT p);
  void pressAt(POINT p);
  void releaseAt(POINT p);
  void moveTo(POINT p);
  // A point on the first line of an element's content.
  POINT pointIn(const char* id) const;
  void click(const char* id) { clickAt(pointIn(id)); }
  void key(UINT vk, bool shift = false);

  // What the host saw.
  Answer answer = Answer::AtOnce;
  std::vector<std::string> requests;  // load-data URIs in order
  std::vector<std::string> loaded;    // data-loaded URIs
  std::vector<std::string> delayed;
  int completions = 0;
  std::size_t requestsAtCompletion = 0;
  LARGE_INTEGER loadStart{}, completeAt{};
  std::vector<BehaviorEvent> events;
  std::function<bool(const HLBehaviorParams&)> onBehavior;  // answer; false when unset
  std::function<void()> onComplete;
  int unhandledButtonDowns = 0;
  int unhandledKeyUps = 0;
  // WM_NOTIFYFORMAT of every page window, which come before the window knows
  // its object: each control made for a window asks once.
  static inline int notifyFormats = 0;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  static UINT CALLBACK Notify(HLNotifyHeader* header, void* param);
  static BOOL CALLBACK Events(void* tag, HLELEMENT he, UINT group, void* params);
  UINT onLoadData(HLLoadDataNotify& note);
  void serve(const std::string& uri);

  HWND hwnd_ = nullptr;
};

std::string IdOf(HLELEMENT he);

}  // namespace ks::render::testing
