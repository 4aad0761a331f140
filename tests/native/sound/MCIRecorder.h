// Records the MCI commands the media player object sends and answers them as a device would:
// opens hand out device identifiers 7, 8, ...; status queries give the replies set per item;
// any command can be made to fail with an error code.
#pragma once

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "sound/MCISender.h"

namespace mcitest {

struct Call {
  MCIDEVICEID device;
  UINT message;
  DWORD_PTR flags;
  std::string element;  // MCI_OPEN: the element name
  const char* elementPointer = nullptr;
  DWORD timeFormat = 0;    // MCI_SET
  DWORD item = 0;          // MCI_STATUS
  DWORD to = 0;            // MCI_SEEK
  DWORD_PTR callback = 0;  // MCI_PLAY
};

inline const char* Name(UINT message) {
  switch (message) {
    case MCI_OPEN: return "OPEN";
    case MCI_CLOSE: return "CLOSE";
    case MCI_PLAY: return "PLAY";
    case MCI_SEEK: return "SEEK";
    case MCI_STOP: return "STOP";
    case MCI_SET: return "SET";
    case MCI_STATUS: return "STATUS";
    default: return "?";
  }
}

class Recorder : public MCISender {
 public:
  Recorder() : scoped_(this) {}

  MCIERROR SendCommand(MCIDEVICEID device, UINT message, DWORD_PTR flags,
                       DWORD_PTR params) override {
    Call call{device, message, flags, {}};
    Fill(call, message, params);
    calls.push_back(call);
    auto failure = failures.find(message);
    if (failure != failures.end()) return failure->second;
    if (message == MCI_OPEN) reinterpret_cast<MCI_OPEN_PARMS*>(params)->wDeviceID = nextDevice++;
    if (message == MCI_STATUS) {
      auto* status = reinterpret_cast<MCI_STATUS_PARMS*>(params);
      status->dwReturn = replies[status->dwItem];
    }
    return 0;
  }
  BOOL GetErrorString(MCIERROR error, char* text, UINT size) override {
    std::snprintf(text, size, "error %u", static_cast<unsigned>(error));
    return TRUE;
  }

  // "OPEN(0) SET(7) ..." : each command with the device it went to.
  std::string Sequence() const {
    std::string s;
    for (const Call& c : calls) {
      if (!s.empty()) s += ' ';
      s += std::string(Name(c.message)) + "(" + std::to_string(c.device) + ")";
    }
    return s;
  }

  std::vector<Call> calls;
  std::map<UINT, MCIERROR> failures;
  std::map<DWORD, DWORD_PTR> replies;
  MCIDEVICEID nextDevice = 7;

 private:
  static void Fill(Call& call, UINT message, DWORD_PTR params) {
    switch (message) {
      case MCI_OPEN: {
        auto* open = reinterpret_cast<MCI_OPEN_PARMS*>(params);
        call.elementPointer = open->lpstrElementName;
        if (open->lpstrElementName) call.element = open->lpstrElementName;
        break;
      }
      case MCI_SET: call.timeFormat = reinterpret_cast<MCI_SET_PARMS*>(params)->dwTimeFormat; break;
      case MCI_STATUS: call.item = reinterpret_cast<MCI_STATUS_PARMS*>(params)->dwItem; break;
      case MCI_SEEK: call.to = reinterpret_cast<MCI_SEEK_PARMS*>(params)->dwTo; break;
      case MCI_PLAY: call.callback = reinterpret_cast<MCI_PLAY_PARMS*>(params)->dwCallback; break;
      default: break;
    }
  }
  ScopedMCISender scoped_;
};

}  // namespace mcitest
