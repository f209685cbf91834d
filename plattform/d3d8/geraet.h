#pragma once
// The software device behind IDirect3DDevice8: its states, transforms,
// material and lights, the back buffer and the depth buffer. Drawing runs
// through the transform-and-light stage (beleuchtung.h) and the rasteriser
// (raster.h).
#include <cstdint>
#include <map>
#include <vector>

#include "plattform/d3d8/beleuchtung.h"
#include "plattform/d3d8/d3d8.h"
#include "plattform/d3d8/flaeche.h"
#include "plattform/d3d8/raster/raster.h"

namespace ersatz {

// Whether the software device can be made with these parameters, and a
// back buffer made for them.
bool Parameter_Gueltig(const D3DPRESENT_PARAMETERS& p);
Flaeche* Neuer_Rueckpuffer(const D3DPRESENT_PARAMETERS& p);

class Geraet final : public Com<IDirect3DDevice8, IID_IDirect3DDevice8> {
 public:
  // The back buffer is pRueckpuffer (the device takes over that reference);
  // bTiefenpuffer: a D16 depth buffer of the same size exists; bVollbild:
  // the device is lost when the program loses the screen.
  Geraet(Flaeche* pRueckpuffer, bool bTiefenpuffer, bool bVollbild);
  Geraet(const Geraet&) = delete;
  Geraet& operator=(const Geraet&) = delete;

  HRESULT STDMETHODCALLTYPE TestCooperativeLevel() override;
  HRESULT STDMETHODCALLTYPE Reset(D3DPRESENT_PARAMETERS* pPresentationParameters) override;
  HRESULT STDMETHODCALLTYPE Present(const RECT* pSourceRect, const RECT* pDestRect,
                                    HWND hDestWindowOverride, const RGNDATA* pDirtyRegion) override;
  HRESULT STDMETHODCALLTYPE GetBackBuffer(UINT BackBuffer, D3DBACKBUFFER_TYPE Type,
                                          IDirect3DSurface8** ppBackBuffer) override;
  HRESULT STDMETHODCALLTYPE BeginScene() override;
  HRESULT STDMETHODCALLTYPE EndScene() override;
  HRESULT STDMETHODCALLTYPE Clear(DWORD Count, const D3DRECT* pRects, DWORD Flags, D3DCOLOR Color,
                                  float Z, DWORD Stencil) override;
  HRESULT STDMETHODCALLTYPE SetTransform(D3DTRANSFORMSTATETYPE State,
                                         const D3DMATRIX* pMatrix) override;
  HRESULT STDMETHODCALLTYPE GetViewport(D3DVIEWPORT8* pViewport) override;
  HRESULT STDMETHODCALLTYPE SetMaterial(const D3DMATERIAL8* pMaterial) override;
  HRESULT STDMETHODCALLTYPE SetLight(DWORD Index, const D3DLIGHT8* pLight) override;
  HRESULT STDMETHODCALLTYPE LightEnable(DWORD Index, BOOL Enable) override;
  HRESULT STDMETHODCALLTYPE SetRenderState(D3DRENDERSTATETYPE State, DWORD Value) override;
  HRESULT STDMETHODCALLTYPE SetTextureStageState(DWORD Stage, D3DTEXTURESTAGESTATETYPE Type,
                                                 DWORD Value) override;
  HRESULT STDMETHODCALLTYPE DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE PrimitiveType,
                                                   UINT MinVertexIndex, UINT NumVertexIndices,
                                                   UINT PrimitiveCount, const void* pIndexData,
                                                   D3DFORMAT IndexDataFormat,
                                                   const void* pVertexStreamZeroData,
                                                   UINT VertexStreamZeroStride) override;
  HRESULT STDMETHODCALLTYPE SetVertexShader(DWORD Handle) override;

 private:
  ~Geraet() override;

  struct Lichteintrag {
    D3DLIGHT8 Licht{};
    bool bAn = false;
  };

  void Vorbelegen(Flaeche* pNeuerRueckpuffer, bool bTiefenpuffer, bool bVollbild);
  bool Verloren();
  Ziel Zeichenziel();
  Ziel Aktuelles_Ziel;
  Rasterzustand Rasterzustand_Holen() const;
  void Eckenrechner_Aktualisieren();
  HRESULT Zeichnen_Pruefen(D3DPRIMITIVETYPE Typ, UINT nMin, UINT nAnzahl, UINT nPrimitive,
                           const void* pIndizes, D3DFORMAT IndexFormat, const void* pEcken,
                           UINT nStride) const;
  template <typename Index>
  void Zeichnen(D3DPRIMITIVETYPE Typ, UINT nMin, UINT nAnzahl, UINT nPrimitive,
                const Index* pIndizes, const std::uint8_t* pEcken, UINT nStride);
  template <typename Index>
  void Ecken_Berechnen(D3DPRIMITIVETYPE Typ, UINT nMin, UINT nAnzahl, UINT nPrimitive,
                       const Index* pIndizes, const std::uint8_t* pEcken, UINT nStride);

  Flaeche* pRueckpuffer = nullptr;
  bool bVollbild = false;
  bool bVerloren = false;
  unsigned nVerlusteGesehen = 0;
  std::vector<std::uint16_t> Tiefe;
  bool bSzene = false;
  // The vertex format and its layout; nGroesse is 0 until a drawable
  // format is set.
  DWORD nShader = 0;
  Eckenformat Format;
  DWORD RenderStates[256];
  DWORD Stufen[8][29];
  D3DMATRIX Welt, Sicht, Projektion;
  D3DMATERIAL8 Material{};
  std::map<DWORD, Lichteintrag> Lichter;

  // The transform-and-light stage, rebuilt when a state it reads changed.
  Eckenrechner Rechner;
  bool bRechnerVeraltet = true;
  // Transformed vertices by vertex index; Stempel says which are valid for
  // the current draw call, so no call transforms a vertex twice.
  std::vector<Eckpunkt> Ecken;
  std::vector<std::uint32_t> Stempel;
  std::uint32_t nStempel = 0;
};

}  // namespace ersatz
