#include <cmath>
#include <cstring>

#include "app/app.h"
#include "grafik/grafik.h"

D3DMATERIAL8 Material;
D3DLIGHT8 Licht;
float fLichtWinkel;

namespace {

const float fSichtfeld = 1.05f;
// Height over width of the wanted 1152 x 864 screen, whatever mode runs.
const float fHoeheZuBreite = 0.75f;
const float fNahebene = 0.05f;
const float fFernebene = 1000.0f;
const float fLichtSchritt = 0.05f;
const DWORD nUmgebungslicht = 0x00202020;

}  // namespace

// Sets the perspective projection of pGeraet (left-handed, depth 0..1).
// Called once at start-up; a failing GetViewport is only logged.
int rProjektionsMatrixEinstellen(IDirect3DDevice8* pGeraet) {
  D3DVIEWPORT8 Viewport;
  if (FAILED(pGeraet->GetViewport(&Viewport))) {
    Protokoll_Schreiben("ERROR : rProjektionsMatrixEinstellen() GetViewport failed \n");
  }
  D3DMATRIX Matrix;
  rProjektionsMatrixBerechnen(&Matrix, fSichtfeld, fHoeheZuBreite, fNahebene, fFernebene);
  pGeraet->SetTransform(D3DTS_PROJECTION, &Matrix);
  Protokoll_Schreiben("ProjektionsMatrix eingestellt.\n");
  return 1;
}

// Left-handed perspective projection for row vectors, depth mapped to 0..1;
// fSeitenverhaeltnis is height over width. Returns 0 and leaves the matrix
// untouched when the planes nearly coincide or the field of view is ~0.
int rProjektionsMatrixBerechnen(D3DMATRIX* pMatrix, float fSichtwinkel, float fSeitenverhaeltnis,
                                float fNah, float fFern) {
  const double fGrenze = 0.01f;
  const float q = fFern - fNah;
  if (std::fabs(static_cast<double>(q)) < fGrenze) return 0;
  const double fHalb = fSichtwinkel * 0.5;
  const double fSinus = std::sin(fHalb);
  if (std::fabs(fSinus) < fGrenze) return 0;
  // w is aspect times the stored h, so the two keep the exact ratio the
  // aspect names (0.75 x 1.7264596 = 1.2948447).
  const double fKotangens = std::cos(fHalb) / fSinus;
  const float h = static_cast<float>(fKotangens);
  const float w = fSeitenverhaeltnis * h;
  const float Q = fFern / q;
  memset(pMatrix, 0, sizeof(D3DMATRIX));
  pMatrix->_11 = w;
  pMatrix->_22 = h;
  pMatrix->_33 = Q;
  pMatrix->_34 = 1.0f;
  pMatrix->_43 = -(Q * fNah);
  return 1;
}

// Sets the one material of every surface: white diffuse, 0.2 grey ambient.
// Called once at start-up.
int rMaterialEinstellen() {
  memset(&Material, 0, sizeof(Material));
  Material.Diffuse.r = Material.Diffuse.g = Material.Diffuse.b = 1.0f;
  Material.Ambient.r = Material.Ambient.g = Material.Ambient.b = 0.2f;
  pDevice->SetMaterial(&Material);
  Protokoll_Schreiben("Material initialisiert.\n");
  return 1;
}

// Sets up and enables light 0 (directional along +z, diffuse 8.0) and the
// global ambient light. Called once at start-up; each step logs only on
// success.
void rLichtEinstellen() {
  fLichtWinkel = 0.0f;
  memset(&Licht, 0, sizeof(Licht));
  Licht.Type = D3DLIGHT_DIRECTIONAL;
  Licht.Diffuse.r = Licht.Diffuse.g = Licht.Diffuse.b = 8.0f;
  Licht.Ambient.r = Licht.Ambient.g = Licht.Ambient.b = 0.2f;
  Licht.Direction.z = 1.0f;
  if (pDevice->SetLight(0, &Licht) == 0) Protokoll_Schreiben("Lichtquelle initialisiert.\n");
  if (pDevice->LightEnable(0, TRUE) == 0) Protokoll_Schreiben("licht: LightEnable()\n");
  if (pDevice->SetRenderState(D3DRS_LIGHTING, TRUE) == 0) {
    Protokoll_Schreiben("licht: SetRenderState()\n");
  }
  if (pDevice->SetRenderState(D3DRS_AMBIENT, nUmgebungslicht) == 0) {
    Protokoll_Schreiben("licht: SetRenderState()\n");
  }
}

// Sets projection, material and light on a device that was reset and so
// forgot them; logs nothing, as the start-up already did. The view follows
// with the camera's next move.
void rSzeneWiederherstellen() {
  D3DMATRIX Matrix;
  rProjektionsMatrixBerechnen(&Matrix, fSichtfeld, fHoeheZuBreite, fNahebene, fFernebene);
  pDevice->SetTransform(D3DTS_PROJECTION, &Matrix);
  pDevice->SetMaterial(&Material);
  pDevice->SetLight(0, &Licht);
  pDevice->LightEnable(0, TRUE);
  pDevice->SetRenderState(D3DRS_LIGHTING, TRUE);
  pDevice->SetRenderState(D3DRS_AMBIENT, nUmgebungslicht);
}

// Turns light 0 by 0.05 rad about the vertical axis; once per frame, so the
// speed is per frame. Direction (sin a, 0, cos a).
void rLichtBewegen() {
  fLichtWinkel += fLichtSchritt;
  Licht.Direction.x = static_cast<float>(std::sin(static_cast<double>(fLichtWinkel)));
  Licht.Direction.z = static_cast<float>(std::cos(static_cast<double>(fLichtWinkel)));
  if (pDevice->SetLight(0, &Licht) != 0) {
    Protokoll_Schreiben("Lichtquelle konnte nicht bewegt werden.\n");
  }
}
