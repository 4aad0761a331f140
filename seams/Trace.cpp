#include "seams/Trace.h"

#include <atomic>
#include <cstdio>
#include <mutex>

namespace seams {
namespace {

std::mutex traceMutex;
FILE* traceFile = nullptr;
std::atomic<bool> traceOn{false};
std::atomic<Trace::Observer> traceObserver{nullptr};

}  // namespace

bool Trace::Open(const char* path, const char* banner) {
  std::lock_guard<std::mutex> lock(traceMutex);
  if (traceFile) std::fclose(traceFile);
  traceFile = std::fopen(path, "w");
  traceOn = traceFile != nullptr;
  if (traceFile && banner) {
    std::fprintf(traceFile, "%s\n", banner);
    std::fflush(traceFile);
  }
  return traceOn;
}

void Trace::Close() {
  std::lock_guard<std::mutex> lock(traceMutex);
  traceOn = false;
  if (traceFile) std::fclose(traceFile);
  traceFile = nullptr;
}

bool Trace::IsOn() { return traceOn; }

void Trace::VPrintf(const char* format, va_list args) {
  if (!traceOn) return;
  va_list again;
  va_copy(again, args);
  {
    std::lock_guard<std::mutex> lock(traceMutex);
    if (traceFile) {
      std::vfprintf(traceFile, format, args);
      std::fflush(traceFile);
    }
  }
  if (const Observer observer = traceObserver) {
    char text[512];
    std::vsnprintf(text, sizeof text, format, again);
    observer(text);
  }
  va_end(again);
}

void Trace::SetObserver(Observer observer) { traceObserver = observer; }

void Trace::Printf(const char* format, ...) {
  va_list args;
  va_start(args, format);
  VPrintf(format, args);
  va_end(args);
}

TraceScope::TraceScope(const char* name) : name_(name) { Trace::Printf("%s - start\n", name_); }

TraceScope::~TraceScope() {
  if (!ended_) Trace::Printf("%s - end\n", name_);
}

void TraceScope::AbortEnd() {
  if (!ended_) Trace::Printf("%s - abort_end\n", name_);
  ended_ = true;
}

TraceMessageScope::TraceMessageScope(const char* name, unsigned message, uintptr_t wParam,
                                     intptr_t lParam)
    : name_(name), message_(message), wParam_(wParam), lParam_(lParam) {
  Trace::Printf("%s - Starting Message=%x, wParam=%x, lParam=%x\n", name_, message_,
                static_cast<unsigned>(wParam_), static_cast<unsigned>(lParam_));
}

void TraceMessageScope::Ending() const {
  Trace::Printf("%s - Ending Message=%x, wParam=%x, lParam=%x\n", name_, message_,
                static_cast<unsigned>(wParam_), static_cast<unsigned>(lParam_));
}

}  // namespace seams
