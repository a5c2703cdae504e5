#pragma once
// The capture driver's custom property interface and the DirectShow
// identifiers the filter lookup needs. The driver package installs the
// implementation; we only call it.
#include <windows.h>
#include <unknwn.h>

// {846A4C4E-76D8-42EC-A333-121F365A4DA8}
struct IDriverCustomProperty;
struct IDriverCustomProperty : public IUnknown {
  // The fourth slot belongs to the driver; the launcher never calls it.
  virtual HRESULT STDMETHODCALLTYPE Unused() = 0;
  virtual HRESULT STDMETHODCALLTYPE SetProperty(ULONG id, LONG* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetProperty(ULONG id, LONG* value) = 0;
};
__CRT_UUID_DECL(IDriverCustomProperty, 0x846A4C4E, 0x76D8, 0x42EC, 0xA3, 0x33, 0x12, 0x1F, 0x36,
                0x5A, 0x4D, 0xA8)

// {62BE5D10-60EB-11D0-BD3B-00A0C911CE86}
constexpr GUID kClsidSystemDeviceEnum = {
    0x62BE5D10, 0x60EB, 0x11D0, {0xBD, 0x3B, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86}};
// CLSID_VideoInputDeviceCategory {860BB310-5D01-11D0-BD3B-00A0C911CE86}
constexpr GUID kVideoInputDeviceCategory = {
    0x860BB310, 0x5D01, 0x11D0, {0xBD, 0x3B, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86}};
// KSCATEGORY_BDA_RECEIVER_COMPONENT {FD0A5AF4-B41D-11D2-9C95-00C04F7971E0}
constexpr GUID kBdaReceiverComponentCategory = {
    0xFD0A5AF4, 0xB41D, 0x11D2, {0x9C, 0x95, 0x00, 0xC0, 0x4F, 0x79, 0x71, 0xE0}};
