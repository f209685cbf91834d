#pragma once
// COM as the stand-in's Direct3D and DirectInput objects use it: IUnknown
// with the platform's layout, GUID comparison, and one base (Com) that
// gives an object its reference count and QueryInterface.
#include <cstring>

#include "plattform/win32/win32.h"

struct IUnknown {
  virtual HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) = 0;
  virtual ULONG STDMETHODCALLTYPE AddRef() = 0;
  virtual ULONG STDMETHODCALLTYPE Release() = 0;

 protected:
  ~IUnknown() = default;
};

extern const IID IID_IUnknown;

inline bool IsEqualGUID(REFGUID a, REFGUID b) { return std::memcmp(&a, &b, sizeof(GUID)) == 0; }

namespace ersatz {

// An object that offers one interface, identified by Kennung: it answers
// QueryInterface for that interface and for IUnknown, and lives from its
// creation (one reference) until the last Release.
template <class Schnittstelle, const IID& Kennung>
class Com : public Schnittstelle {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (!IsEqualGUID(riid, Kennung) && !IsEqualGUID(riid, IID_IUnknown)) return E_NOINTERFACE;
    AddRef();
    *ppv = static_cast<Schnittstelle*>(this);
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++nReferenzen_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG n = --nReferenzen_;
    if (n == 0) delete this;
    return n;
  }
  ULONG Referenzen() const { return nReferenzen_; }

 protected:
  Com() = default;
  virtual ~Com() = default;
  Com(const Com&) = delete;
  Com& operator=(const Com&) = delete;

 private:
  ULONG nReferenzen_ = 1;
};

}  // namespace ersatz
