// The localizer a replacement function uses, handed out only for the length
// of one use. A replacement may run on any thread, also during a language
// change or long after, through an address looked up while a localizer was
// current; it must then find either a live localizer or none.
#pragma once

#include <windows.h>

#include "common/unique_handle.h"

namespace ks {

template <typename Localizer>
class LocalizerSlot {
 public:
  LocalizerSlot() = default;
  LocalizerSlot(const LocalizerSlot&) = delete;
  LocalizerSlot& operator=(const LocalizerSlot&) = delete;

  // Makes `localizer` the one that later uses find.
  void Become(Localizer* localizer) {
    AcquireSRWLockExclusive(&lock_);
    current_ = localizer;
    ReleaseSRWLockExclusive(&lock_);
  }

  // Empties the slot if it holds `localizer`, after every use of it that has
  // begun has ended; from then on no use can reach it, so it may be destroyed.
  void Withdraw(const Localizer* localizer) {
    AcquireSRWLockExclusive(&lock_);
    if (current_ == localizer) current_ = nullptr;
    ReleaseSRWLockExclusive(&lock_);
  }

  // Runs use(localizer) with the current localizer kept alive meanwhile;
  // false, without running it, when the slot is empty. Uses on several
  // threads run side by side; `use` must not reach this slot again.
  template <typename Action>
  bool With(Action&& use) {
    AcquireSRWLockShared(&lock_);
    const ScopeExit release([this] { ReleaseSRWLockShared(&lock_); });
    Localizer* const localizer = current_;
    if (localizer == nullptr) return false;
    use(*localizer);
    return true;
  }

 private:
  SRWLOCK lock_ = SRWLOCK_INIT;
  Localizer* current_ = nullptr;
};

}  // namespace ks
