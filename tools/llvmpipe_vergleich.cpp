// Our device against Mesa's llvmpipe on the same frame: the draw calls of
// the heaviest grown tree's frame (camera at 3.0), recorded once from the
// program's device, then replayed into each renderer in interleaved
// rounds, each frame a clear and every call. llvmpipe draws through
// OpenGL's fixed function (the same transforms, light and material, 16-bit
// colour and depth, Gouraud, back faces culled) into a framebuffer object
// of an EGL context without a surface. Prints the median time a frame of
// each and the median of the rounds' ratios. LP_NUM_THREADS=0 keeps
// llvmpipe on the calling thread; unset, it uses its own threads.
//   llvmpipe_vergleich [ROUNDS [FRAMES]]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <vector>

// The platform's names first: they define APIENTRY, which OpenGL's
// headers then leave as it is.
#include <EGL/egl.h>
#include <EGL/eglext.h>

#include "bench/programmbaum.h"
#include "grafik/grafik.h"
#include "plattform/d3d8/aufzeichnung.h"
#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>

namespace {

constexpr int nBreite = 1152, nHoehe = 864;

struct Ecke {
  float x, y, z, nx, ny, nz, u, v;
};
constexpr DWORD nFormat = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1;

// One recorded draw call with its own vertices, numbered from 0.
struct Zeichnung {
  std::vector<Ecke> Ecken;
  std::vector<WORD> Indizes;
};

// What the frame drew with: the last value of each state in the record.
struct Zustand {
  D3DMATRIX Projektion{}, Sicht{};
  D3DMATERIAL8 Material{};
  D3DLIGHT8 Licht{};
  DWORD nUmgebung = 0, nSchattierung = D3DSHADE_GOURAUD, nNormieren = FALSE;
};

void Zustand_Lesen(const std::vector<ersatz::Aufruf>& aufrufe, Zustand& z) {
  for (const ersatz::Aufruf& a : aufrufe) {
    using ersatz::Aufruf_Art;
    if (a.Art == Aufruf_Art::SetTransform && a.nTyp == D3DTS_PROJECTION) z.Projektion = a.Matrix;
    if (a.Art == Aufruf_Art::SetTransform && a.nTyp == D3DTS_VIEW) z.Sicht = a.Matrix;
    if (a.Art == Aufruf_Art::SetMaterial) z.Material = a.Material;
    if (a.Art == Aufruf_Art::SetLight && a.nTyp == 0) z.Licht = a.Licht;
    if (a.Art != Aufruf_Art::SetRenderState) continue;
    if (a.nTyp == D3DRS_AMBIENT) z.nUmgebung = a.nWert;
    if (a.nTyp == D3DRS_SHADEMODE) z.nSchattierung = a.nWert;
    if (a.nTyp == D3DRS_NORMALIZENORMALS) z.nNormieren = a.nWert;
  }
}

std::vector<Zeichnung> Zeichnungen_Lesen(const std::vector<ersatz::Aufruf>& aufrufe) {
  std::vector<Zeichnung> z;
  for (const ersatz::Aufruf& a : aufrufe) {
    if (a.Art != ersatz::Aufruf_Art::DrawIndexedPrimitiveUP) continue;
    Zeichnung d;
    std::map<UINT, WORD> neu;
    for (const ersatz::Aufruf_Ecke& e : a.Zeichnen.Ecken) {
      const auto [it, bNeu] = neu.emplace(e.nIndex, WORD(d.Ecken.size()));
      if (bNeu) {
        d.Ecken.push_back({e.Position.x, e.Position.y, e.Position.z, e.Normale.x, e.Normale.y,
                           e.Normale.z, 0, 0});
      }
      d.Indizes.push_back(it->second);
    }
    z.push_back(std::move(d));
  }
  return z;
}

void Unser_Bild(const std::vector<Zeichnung>& zeichnungen) {
  pDevice->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
  for (const Zeichnung& d : zeichnungen) {
    pDevice->BeginScene();
    pDevice->SetVertexShader(nFormat);
    pDevice->DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, UINT(d.Ecken.size()),
                                    UINT(d.Indizes.size() / 3), d.Indizes.data(), D3DFMT_INDEX16,
                                    d.Ecken.data(), sizeof(Ecke));
    pDevice->EndScene();
  }
}

void Mesa_Bild(const std::vector<Zeichnung>& zeichnungen) {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  for (const Zeichnung& d : zeichnungen) {
    glVertexPointer(3, GL_FLOAT, sizeof(Ecke), &d.Ecken[0].x);
    glNormalPointer(GL_FLOAT, sizeof(Ecke), &d.Ecken[0].nx);
    glDrawElements(GL_TRIANGLES, GLsizei(d.Indizes.size()), GL_UNSIGNED_SHORT, d.Indizes.data());
  }
  glFinish();
}

bool Mesa_Einrichten() {
  auto holen = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
      eglGetProcAddress("eglGetPlatformDisplayEXT"));
  EGLDisplay d =
      holen ? holen(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr) : EGL_NO_DISPLAY;
  EGLint nHaupt, nNeben;
  if (d == EGL_NO_DISPLAY || !eglInitialize(d, &nHaupt, &nNeben) || !eglBindAPI(EGL_OPENGL_API))
    return false;
  EGLContext k = eglCreateContext(d, EGL_NO_CONFIG_KHR, EGL_NO_CONTEXT, nullptr);
  if (k == EGL_NO_CONTEXT || !eglMakeCurrent(d, EGL_NO_SURFACE, EGL_NO_SURFACE, k)) return false;
  GLuint f, r[2];
  glGenFramebuffers(1, &f);
  glBindFramebuffer(GL_FRAMEBUFFER, f);
  glGenRenderbuffers(2, r);
  glBindRenderbuffer(GL_RENDERBUFFER, r[0]);
  glRenderbufferStorage(GL_RENDERBUFFER, GL_RGB565, nBreite, nHoehe);
  glBindRenderbuffer(GL_RENDERBUFFER, r[1]);
  glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT16, nBreite, nHoehe);
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, r[0]);
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, r[1]);
  return glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
}

// Direct3D's row-vector matrices are OpenGL's column-major ones as they
// are stored. Direct3D's clip depth runs 0..w, OpenGL's -w..w: z' = 2z - w.
// Direct3D culls what turns anticlockwise on the screen, as OpenGL culls
// the back of clockwise front faces.
void Mesa_Zustand(const Zustand& z) {
  glViewport(0, 0, nBreite, nHoehe);
  D3DMATRIX p = z.Projektion;
  for (int i = 0; i < 4; ++i) p.m[i][2] = 2.0f * p.m[i][2] - p.m[i][3];
  glMatrixMode(GL_PROJECTION);
  glLoadMatrixf(&p.m[0][0]);
  glMatrixMode(GL_MODELVIEW);
  glLoadMatrixf(&z.Sicht.m[0][0]);
  const D3DVECTOR& r = z.Licht.Direction;
  const GLfloat fRichtung[4] = {-r.x, -r.y, -r.z, 0.0f};
  glLightfv(GL_LIGHT0, GL_POSITION, fRichtung);
  glLightfv(GL_LIGHT0, GL_DIFFUSE, &z.Licht.Diffuse.r);
  glLightfv(GL_LIGHT0, GL_AMBIENT, &z.Licht.Ambient.r);
  glLightfv(GL_LIGHT0, GL_SPECULAR, &z.Licht.Specular.r);
  const DWORD u = z.nUmgebung;
  const GLfloat fUmgebung[4] = {((u >> 16) & 0xFF) / 255.0f, ((u >> 8) & 0xFF) / 255.0f,
                                (u & 0xFF) / 255.0f, (u >> 24) / 255.0f};
  glLightModelfv(GL_LIGHT_MODEL_AMBIENT, fUmgebung);
  glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, &z.Material.Diffuse.r);
  glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, &z.Material.Ambient.r);
  glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, &z.Material.Emissive.r);
  const GLfloat fSchwarz[4] = {0, 0, 0, 1};
  glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, fSchwarz);
  glEnable(GL_LIGHTING);
  glEnable(GL_LIGHT0);
  if (z.nNormieren) glEnable(GL_NORMALIZE);
  glShadeModel(z.nSchattierung == D3DSHADE_FLAT ? GL_FLAT : GL_SMOOTH);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  glEnable(GL_CULL_FACE);
  glFrontFace(GL_CW);
  glCullFace(GL_BACK);
  glClearColor(0, 0, 0, 0);
  glClearDepth(1.0);
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_NORMAL_ARRAY);
}

// Pixels not of the clear colour: both renderers must have drawn the tree.
long Unsere_Pixel() {
  IDirect3DSurface8* s = nullptr;
  D3DLOCKED_RECT r;
  long n = 0;
  if (pDevice->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &s) != D3D_OK) return -1;
  if (s->LockRect(&r, nullptr, D3DLOCK_READONLY) == D3D_OK) {
    for (int y = 0; y < nHoehe; ++y) {
      const auto* z = reinterpret_cast<const std::uint16_t*>(static_cast<const char*>(r.pBits) +
                                                             std::size_t(y) * r.Pitch);
      n += nBreite - std::count(z, z + nBreite, std::uint16_t{0});
    }
    s->UnlockRect();
  }
  s->Release();
  return n;
}

long Mesa_Pixel() {
  std::vector<std::uint16_t> p(std::size_t(nBreite) * nHoehe);
  glReadPixels(0, 0, nBreite, nHoehe, GL_RGB, GL_UNSIGNED_SHORT_5_6_5, p.data());
  return long(p.size()) - std::count(p.begin(), p.end(), std::uint16_t{0});
}

template <typename Bild>
double Millisekunden_je_Bild(int nBilder, Bild bild) {
  const auto t0 = std::chrono::steady_clock::now();
  for (int i = 0; i < nBilder; ++i) bild();
  const std::chrono::duration<double, std::milli> d = std::chrono::steady_clock::now() - t0;
  return d.count() / nBilder;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int nRunden = argc > 1 ? std::atoi(argv[1]) : 7;
  const int nBilder = argc > 2 ? std::atoi(argv[2]) : 100;
  Zustand z;
  ersatz::Aufzeichnung_Starten();
  const auto b = Schwerster_Baum(30);
  ersatz::Aufzeichnung_Beenden();
  Zustand_Lesen(ersatz::Aufzeichnung(), z);
  ersatz::Aufzeichnung_Starten();
  Programmzeichnungen(*b);
  ersatz::Aufzeichnung_Beenden();
  Zustand_Lesen(ersatz::Aufzeichnung(), z);
  const std::vector<Zeichnung> zeichnungen = Zeichnungen_Lesen(ersatz::Aufzeichnung());
  if (nRunden < 1 || nBilder < 1 || !Mesa_Einrichten()) {
    std::fprintf(stderr, "no llvmpipe context (EGL surfaceless, OpenGL), or bad arguments\n");
    return 1;
  }
  Mesa_Zustand(z);
  std::size_t nDreiecke = 0;
  for (const Zeichnung& d : zeichnungen) nDreiecke += d.Indizes.size() / 3;
  const char* szFaeden = std::getenv("LP_NUM_THREADS");
  std::printf("%s, LP_NUM_THREADS=%s\n%zu calls, %zu triangles, %dx%d, R5G6B5 + D16\n",
              reinterpret_cast<const char*>(glGetString(GL_RENDERER)),
              szFaeden ? szFaeden : "(unset)", zeichnungen.size(), nDreiecke, nBreite, nHoehe);
  Unser_Bild(zeichnungen);
  Mesa_Bild(zeichnungen);
  std::printf("pixels drawn: ours %ld, llvmpipe %ld\n", Unsere_Pixel(), Mesa_Pixel());
  std::vector<double> unsere, mesa, verhaeltnis;
  for (int k = 0; k < nRunden; ++k) {
    const bool bMesaZuerst = k % 2 != 0;
    double tMesa = 0;
    if (bMesaZuerst) tMesa = Millisekunden_je_Bild(nBilder, [&] { Mesa_Bild(zeichnungen); });
    const double tUnser = Millisekunden_je_Bild(nBilder, [&] { Unser_Bild(zeichnungen); });
    if (!bMesaZuerst) tMesa = Millisekunden_je_Bild(nBilder, [&] { Mesa_Bild(zeichnungen); });
    unsere.push_back(tUnser);
    mesa.push_back(tMesa);
    verhaeltnis.push_back(tMesa / tUnser);
    std::printf("round %d: ours %.3f ms, llvmpipe %.3f ms, ratio %.2f\n", k + 1, tUnser, tMesa,
                tMesa / tUnser);
  }
  std::printf("median of %d rounds of %d frames: ours %.3f ms, llvmpipe %.3f ms, ratio %.2f\n",
              nRunden, nBilder, Median(unsere), Median(mesa), Median(verhaeltnis));
  D3D_Ende();
  return 0;
}
