// GDI+ started for as long as any page view lives: the first session starts
// it, the last one shuts it down.
#pragma once

namespace ks::render {

class GdiplusSession {
 public:
  GdiplusSession();
  ~GdiplusSession();
  GdiplusSession(const GdiplusSession&) = delete;
  GdiplusSession& operator=(const GdiplusSession&) = delete;

  bool ok() const { return ok_; }

 private:
  bool ok_ = false;
};

}  // namespace ks::render
