#include "seams/Alerts.h"

#include <atomic>
#include <cstdio>

#ifdef _WIN32
#include <windows.h>
#endif

namespace seams {
namespace {

class DefaultSink : public AlertSink {
 public:
  int Show(void* owner, const std::string& text, const std::string& caption,
           unsigned flags) override {
#ifdef _WIN32
    return ::MessageBoxA(static_cast<HWND>(owner), text.c_str(),
                         caption.empty() ? nullptr : caption.c_str(), flags);
#else
    (void)owner;
    std::fprintf(stderr, "alert%s%s: %s\n", caption.empty() ? "" : " ", caption.c_str(),
                 text.c_str());
    return (flags & 0xF) == kAlertYesNo ? kAnswerYes : kAnswerOk;
#endif
  }
};

DefaultSink defaultSink;
std::atomic<AlertSink*> processSink{nullptr};
thread_local AlertSink* threadSink = nullptr;
thread_local void* threadOwner = nullptr;
thread_local ScopedFirstAlertOnly* firstOnly = nullptr;

}  // namespace

int Alert(const char* text, const char* caption, unsigned flags, void* owner) {
  if (firstOnly) {
    if (firstOnly->shown_ > 0) {
      ++firstOnly->dropped_;
      return (flags & 0xF) == kAlertYesNo ? kAnswerNo : kAnswerOk;
    }
    ++firstOnly->shown_;
  }
  AlertSink* sink = threadSink ? threadSink : processSink.load();
  if (!sink) sink = &defaultSink;
  if (!owner) owner = threadOwner;
  return sink->Show(owner, text ? text : "", caption ? caption : "", flags);
}

ScopedAlertOwner::ScopedAlertOwner(void* owner) : previous_(threadOwner) { threadOwner = owner; }
ScopedAlertOwner::~ScopedAlertOwner() { threadOwner = previous_; }
void* CurrentAlertOwner() { return threadOwner; }

ScopedFirstAlertOnly::ScopedFirstAlertOnly() : previous_(firstOnly) { firstOnly = this; }
ScopedFirstAlertOnly::~ScopedFirstAlertOnly() { firstOnly = previous_; }

AlertSink* InstallAlertSink(AlertSink* sink) { return processSink.exchange(sink); }

AlertSink* InstallThreadAlertSink(AlertSink* sink) {
  AlertSink* previous = threadSink;
  threadSink = sink;
  return previous;
}

int RecordingAlertSink::Show(void* owner, const std::string& text, const std::string& caption,
                             unsigned flags) {
  records_.push_back({owner, text, caption, flags});
  return answer_;
}

}  // namespace seams
