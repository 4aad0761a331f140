// The alert seam: every message box of the system goes through one sink.
//
// In a settings dialog an alert is a message box; on the drawing thread of a running saver it
// becomes the on-screen error display (that thread installs its own sink); tests record alerts.
#pragma once

#include <string>
#include <vector>

namespace seams {

// Flags and answers use the message-box values so that callers can pass them straight through.
constexpr unsigned kAlertOk = 0x00000000;
constexpr unsigned kAlertYesNo = 0x00000004;
constexpr unsigned kAlertIconHand = 0x00000010;
constexpr unsigned kAlertIconExclamation = 0x00000030;
constexpr unsigned kAlertIconInformation = 0x00000040;
constexpr int kAnswerOk = 1;
constexpr int kAnswerYes = 6;
constexpr int kAnswerNo = 7;

class AlertSink {
 public:
  virtual ~AlertSink() = default;
  // owner: the window that owns the box (an HWND), or nullptr. Returns the button chosen.
  virtual int Show(void* owner, const std::string& text, const std::string& caption,
                   unsigned flags) = 0;
};

// Shows an alert through this thread's sink, else the process's sink, else the default one
// (a message box on Windows, standard error natively). caption nullptr: no caption. owner
// nullptr: the window this thread's alerts belong to now (ScopedAlertOwner), if any.
int Alert(const char* text, const char* caption = nullptr, unsigned flags = kAlertOk,
          void* owner = nullptr);

// The window that owns this thread's alerts for the length of a scope: a dialog procedure sets
// itself for each message it handles, so that a box raised deep inside (a picture that fails to
// load) is owned by that dialog, which stays disabled until the box is answered.
class ScopedAlertOwner {
 public:
  explicit ScopedAlertOwner(void* owner);
  ~ScopedAlertOwner();
  ScopedAlertOwner(const ScopedAlertOwner&) = delete;
  ScopedAlertOwner& operator=(const ScopedAlertOwner&) = delete;

 private:
  void* previous_;
};
// The owner alerts of this thread get when they name none (nullptr outside every scope).
void* CurrentAlertOwner();

// Within the scope, only the first alert of this thread is shown; the others are dropped, and
// counted. One failure met while a dialog opens would otherwise raise a box at every step that
// depends on what failed.
class ScopedFirstAlertOnly {
 public:
  ScopedFirstAlertOnly();
  ~ScopedFirstAlertOnly();
  ScopedFirstAlertOnly(const ScopedFirstAlertOnly&) = delete;
  ScopedFirstAlertOnly& operator=(const ScopedFirstAlertOnly&) = delete;
  int Shown() const { return shown_; }
  int Dropped() const { return dropped_; }

 private:
  friend int Alert(const char*, const char*, unsigned, void*);
  ScopedFirstAlertOnly* previous_;
  int shown_ = 0;
  int dropped_ = 0;
};

// Install a sink (nullptr restores the default); each returns the previous sink.
AlertSink* InstallAlertSink(AlertSink* sink);
AlertSink* InstallThreadAlertSink(AlertSink* sink);

struct AlertRecord {
  void* owner;
  std::string text;
  std::string caption;
  unsigned flags;
};

// Records every alert and answers with `answer` (tests).
class RecordingAlertSink : public AlertSink {
 public:
  explicit RecordingAlertSink(int answer = kAnswerOk) : answer_(answer) {}
  int Show(void* owner, const std::string& text, const std::string& caption,
           unsigned flags) override;
  const std::vector<AlertRecord>& Records() const { return records_; }
  void Clear() { records_.clear(); }

 private:
  int answer_;
  std::vector<AlertRecord> records_;
};

// Installs a recording sink for the whole process for the lifetime of a scope (tests).
class ScopedAlertRecorder : public RecordingAlertSink {
 public:
  explicit ScopedAlertRecorder(int answer = kAnswerOk)
      : RecordingAlertSink(answer), previous_(InstallAlertSink(this)) {}
  ~ScopedAlertRecorder() override { InstallAlertSink(previous_); }
  ScopedAlertRecorder(const ScopedAlertRecorder&) = delete;
  ScopedAlertRecorder& operator=(const ScopedAlertRecorder&) = delete;

 private:
  AlertSink* previous_;
};

}  // namespace seams
