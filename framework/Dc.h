// CDC: a device context wrapper. For now only what drawing a bitmap needs: the handle.
//
// Natively there are no device contexts; a CDC there only ever holds a null handle.
#pragma once

#include "framework/Object.h"
#include "framework/WinTypes.h"

class CDC : public CObject {
 public:
  CDC() = default;
  CDC(const CDC&) = delete;
  CDC& operator=(const CDC&) = delete;
  // Deletes the device context still attached (Attach hands it over).
  ~CDC() override;

  HDC GetSafeHdc() const { return m_hDC; }
  // Takes ownership of a device context; FALSE (nothing changes) when it is null or one is held.
  BOOL Attach(HDC hDC);
  // Gives up ownership: returns the handle and leaves the wrapper empty.
  HDC Detach();

  HDC m_hDC = nullptr;
};
