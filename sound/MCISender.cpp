#include "sound/MCISender.h"

#include <atomic>

namespace {

class SystemMCISender : public MCISender {
 public:
  MCIERROR SendCommand(MCIDEVICEID device, UINT message, DWORD_PTR flags,
                       DWORD_PTR params) override {
#ifdef _WIN32
    return ::mciSendCommandA(device, message, flags, params);
#else
    (void)device, (void)message, (void)flags, (void)params;
    return MCIERR_CANNOT_LOAD_DRIVER;
#endif
  }
  BOOL GetErrorString(MCIERROR error, char* text, UINT size) override {
#ifdef _WIN32
    return ::mciGetErrorStringA(error, text, size);
#else
    (void)error;
    if (size > 0) text[0] = '\0';
    return FALSE;
#endif
  }
};

SystemMCISender systemSender;
std::atomic<MCISender*> installed{nullptr};

}  // namespace

MCISender& CurrentMCISender() {
  MCISender* sender = installed.load(std::memory_order_acquire);
  return sender ? *sender : systemSender;
}

MCISender* InstallMCISender(MCISender* sender) {
  return installed.exchange(sender, std::memory_order_acq_rel);
}
