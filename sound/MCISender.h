// The one way MCI commands leave the system: a replaceable sender.
//
// On Windows the default sender is mciSendCommand and mciGetErrorString. Natively there is no
// media device, so every command fails with MCIERR_CANNOT_LOAD_DRIVER; tests install a recorder
// that logs the commands and answers them as a device would.
#pragma once

#include "sound/MMTypes.h"

class MCISender {
 public:
  virtual ~MCISender() = default;
  // Sends one command with its parameter block (the block's address, as mciSendCommand takes it).
  virtual MCIERROR SendCommand(MCIDEVICEID device, UINT message, DWORD_PTR flags,
                               DWORD_PTR params) = 0;
  // The text of an error code into text (size characters, zero-terminated); FALSE without one.
  virtual BOOL GetErrorString(MCIERROR error, char* text, UINT size) = 0;
};

// The sender in force for the whole process.
MCISender& CurrentMCISender();
// Replaces the sender (nullptr restores the default); returns the previous one, or nullptr when
// the default was in force.
MCISender* InstallMCISender(MCISender* sender);

// Installs a sender for the lifetime of a scope (tests).
class ScopedMCISender {
 public:
  explicit ScopedMCISender(MCISender* sender) : previous_(InstallMCISender(sender)) {}
  ~ScopedMCISender() { InstallMCISender(previous_); }
  ScopedMCISender(const ScopedMCISender&) = delete;
  ScopedMCISender& operator=(const ScopedMCISender&) = delete;

 private:
  MCISender* previous_;
};
