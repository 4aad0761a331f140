// Linked only into the virtual-time variant of the saver module: installs the gated virtual
// clock of VirtualTime.h before WinMain runs, when the test has named its marks.
#include <windows.h>
#include <psapi.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <sstream>
#include <vector>

#include "seams/Clock.h"
#include "seams/Trace.h"
#include "tests/wine/saverrun/VirtualTime.h"
#include "tests/wine/support/GdiHeadroom.h"

namespace {

constexpr uint32_t kTickStart = 100000;  // virtual time 0 as a tick count
constexpr DWORD kHoldSliceMs = 10;       // how often a held thread looks for a stop request

std::string Variable(const char* name) {
  char value[1024];
  const DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
  return length > 0 && length < sizeof value ? std::string(value, length) : std::string();
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> items;
  std::istringstream in(text);
  std::string item;
  while (std::getline(in, item, separator)) items.push_back(item);
  return items;
}

std::vector<uint32_t> ParseMarks(const std::string& text) {
  std::vector<uint32_t> marks;
  for (const std::string& item : Split(text, ',')) {
    marks.push_back(static_cast<uint32_t>(std::stoul(item)));
  }
  return marks;
}

// Waits for the test's release; a stop request ends the wait, so the window's join never waits
// on a held thread. What this thread drew reaches the screen first.
void HoldUntil(HANDLE release) {
  GdiFlush();
  while (WaitForSingleObject(release, kHoldSliceMs) == WAIT_TIMEOUT) {
    if (seams::StopRequested()) return;
  }
}

class GatedClock : public seams::Clock {
 public:
  GatedClock(std::vector<uint32_t> marks, std::string name, std::string log)
      : marks_(std::move(marks)), name_(std::move(name)), log_(std::move(log)) {
    for (size_t i = 0; i < marks_.size(); ++i) {
      reached_.push_back(CreateEventA(nullptr, TRUE, FALSE, vtime::ReachedEvent(name_, i).c_str()));
      release_.push_back(CreateEventA(nullptr, TRUE, FALSE, vtime::ReleaseEvent(name_, i).c_str()));
    }
  }

  uint32_t TickCount() override { return kTickStart + AdvanceTo(Elapsed() + 1); }
  int64_t WallSeconds() override { return vtime::kWallStart + Elapsed() / 1000; }
  void Idle() override { AdvanceTo(Elapsed() + 1); }
  void IdleUntil(uint32_t deadline) override {
    const int32_t left = static_cast<int32_t>(deadline - (kTickStart + Elapsed()));
    AdvanceTo(Elapsed() + (left > 0 ? static_cast<uint32_t>(left) : 1));
  }

 private:
  uint32_t Elapsed() {
    std::lock_guard<std::mutex> lock(mutex_);
    return elapsed_;
  }

  // Moves virtual time to `target`, but holds the caller at the next mark on the way until the
  // test releases it. Returns the elapsed time after the move.
  uint32_t AdvanceTo(uint32_t target) {
    size_t mark;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (seams::StopRequested() || next_ >= marks_.size() || target < marks_[next_]) {
        if (target > elapsed_) elapsed_ = target;
        return elapsed_;
      }
      mark = next_;
      elapsed_ = marks_[mark];
      if (!announced_[mark]) {
        announced_[mark] = true;
        LogMark(mark);
        SetEvent(reached_[mark]);
      }
    }
    Hold(mark);
    return Elapsed();
  }

  void Hold(size_t mark) {
    HoldUntil(release_[mark]);
    std::lock_guard<std::mutex> lock(mutex_);
    if (next_ == mark) ++next_;
  }

  // Measured while every other thread of the saver is held or idle.
  void LogMark(size_t mark) {
    if (log_.empty()) return;
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    if (FILE* file = std::fopen(log_.c_str(), "a")) {
      std::fprintf(file, "%u %d %llu\n", static_cast<unsigned>(marks_[mark]),
                   wintest::FreeGdiHandles(),
                   static_cast<unsigned long long>(memory.WorkingSetSize));
      std::fclose(file);
    }
  }

  std::mutex mutex_;
  uint32_t elapsed_ = 0;
  size_t next_ = 0;
  std::vector<uint32_t> marks_;
  std::vector<bool> announced_ = std::vector<bool>(marks_.size(), false);
  std::vector<HANDLE> reached_, release_;
  std::string name_, log_;
};

// Holds the thread that writes the next of the named texts to the trace (VirtualTime.h).
class TraceHolds {
 public:
  TraceHolds(std::vector<std::string> texts, const std::string& name) : texts_(std::move(texts)) {
    for (size_t i = 0; i < texts_.size(); ++i) {
      const int hold = static_cast<int>(i);
      reached_.push_back(
          CreateEventA(nullptr, TRUE, FALSE, vtime::HoldReachedEvent(name, hold).c_str()));
      release_.push_back(
          CreateEventA(nullptr, TRUE, FALSE, vtime::HoldReleaseEvent(name, hold).c_str()));
    }
  }

  void Seen(const char* text) {
    size_t hold;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (next_ >= texts_.size() || !std::strstr(text, texts_[next_].c_str())) return;
      hold = next_++;
    }
    SetEvent(reached_[hold]);
    HoldUntil(release_[hold]);
  }

 private:
  std::mutex mutex_;
  size_t next_ = 0;
  std::vector<std::string> texts_;
  std::vector<HANDLE> reached_, release_;
};

TraceHolds* traceHolds = nullptr;

struct InstallAtStart {
  InstallAtStart() {
    const std::string holds = Variable(vtime::kHoldsVariable);
    if (!holds.empty()) {
      static TraceHolds held(Split(holds, '|'), Variable(vtime::kNameVariable));
      traceHolds = &held;
      seams::Trace::SetObserver([](const char* text) { traceHolds->Seen(text); });
    }
    const std::string marks = Variable(vtime::kMarksVariable);
    if (marks.empty()) return;
    static GatedClock clock(ParseMarks(marks), Variable(vtime::kNameVariable),
                            Variable(vtime::kLogVariable));
    seams::InstallClock(&clock);
  }
} installAtStart;

}  // namespace
