// The exporter: what a device drew, read back from the files it wrote, and
// the growth of the program's own tree against what each frame drew.
#include "plattform/export/export.h"

#include <gtest/gtest.h>
#include <tiny_gltf.h>
#include <tiny_obj_loader.h>
#include <unistd.h>

#include <array>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "plattform/d3d8/aufzeichnung.h"
#include "plattform/win32/win32.h"
#include "tests/testgeraet.h"
#include "tests/testhilfe.h"

namespace {

using Punkt = std::array<float, 3>;
using Dreieck = std::array<Punkt, 3>;

// A folder of the running test's own: ctest runs the tests side by side.
std::filesystem::path Ordner() {
  const auto* pTest = testing::UnitTest::GetInstance()->current_test_info();
  const auto ordner = std::filesystem::path(testing::TempDir()) /
                      ("borkwerk_" + std::string(pTest->name()) + "_" + std::to_string(getpid()));
  std::filesystem::remove_all(ordner);
  std::filesystem::create_directories(ordner);
  return ordner;
}

// An accessor's floats, three to an element or one.
std::vector<float> Floats(const tinygltf::Model& m, int nAccessor) {
  const auto& a = m.accessors[nAccessor];
  const auto& s = m.bufferViews[a.bufferView];
  const std::size_t n = a.count * (a.type == TINYGLTF_TYPE_VEC3 ? 3 : 1);
  std::vector<float> werte(n);
  std::memcpy(werte.data(), m.buffers[s.buffer].data.data() + s.byteOffset + a.byteOffset,
              n * sizeof(float));
  return werte;
}

std::vector<std::uint32_t> Indizes(const tinygltf::Model& m, int nAccessor) {
  const auto& a = m.accessors[nAccessor];
  EXPECT_EQ(a.componentType, TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT);
  const auto& s = m.bufferViews[a.bufferView];
  std::vector<std::uint32_t> werte(a.count);
  std::memcpy(werte.data(), m.buffers[s.buffer].data.data() + s.byteOffset + a.byteOffset,
              a.count * 4);
  return werte;
}

tinygltf::Model Glb_Lesen(const std::filesystem::path& pfad) {
  tinygltf::Model m;
  tinygltf::TinyGLTF leser;
  std::string fehler, warnung;
  EXPECT_TRUE(leser.LoadBinaryFromFile(&m, &fehler, &warnung, pfad.string())) << fehler;
  EXPECT_EQ(m.meshes.size(), 1u);
  return m;
}

std::vector<Dreieck> Dreiecke(const std::vector<float>& pos,
                              const std::vector<std::uint32_t>& idx) {
  std::vector<Dreieck> d;
  for (std::size_t k = 0; k < idx.size(); k += 3) {
    Dreieck t;
    for (int e = 0; e < 3; ++e)
      t[e] = {pos[3 * idx[k + e]], pos[3 * idx[k + e] + 1], pos[3 * idx[k + e] + 2]};
    d.push_back(t);
  }
  return d;
}

double Flaeche(const Dreieck& t) {
  const double ax = t[1][0] - t[0][0], ay = t[1][1] - t[0][1], az = t[1][2] - t[0][2];
  const double bx = t[2][0] - t[0][0], by = t[2][1] - t[0][1], bz = t[2][2] - t[0][2];
  const double cx = ay * bz - az * by, cy = az * bx - ax * bz, cz = ax * by - ay * bx;
  return 0.5 * std::sqrt(cx * cx + cy * cy + cz * cz);
}

std::size_t Dreieckzahl(const std::string& pfad) {
  const auto m = Glb_Lesen(pfad);
  return m.accessors[m.meshes[0].primitives[0].indices].count / 3;
}

struct Ecke {
  float x, y, z, nx, ny, nz, u, v;
};

class Export : public testing::Test {
 protected:
  void SetUp() override {
    ordner = Ordner();
    p = Software_Geraet(64, 64);
    ASSERT_NE(p, nullptr);
    p->SetVertexShader(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1);
  }
  void TearDown() override {
    std::string fehler;
    ersatz::Export_Abschliessen(fehler);
    if (p) p->Release();
    std::filesystem::remove_all(ordner);
  }
  void Zeichnen(const std::vector<Ecke>& ecken, const std::vector<std::uint16_t>& indizes,
                D3DPRIMITIVETYPE Typ = D3DPT_TRIANGLELIST, UINT nMin = 0, UINT nAnzahl = 0) {
    const UINT nPrim = Typ == D3DPT_TRIANGLELIST ? indizes.size() / 3 : indizes.size() - 2;
    p->BeginScene();
    p->DrawIndexedPrimitiveUP(Typ, nMin, nAnzahl ? nAnzahl : ecken.size(), nPrim, indizes.data(),
                              D3DFMT_INDEX16, ecken.data(), sizeof(Ecke));
    p->EndScene();
  }
  std::filesystem::path ordner;
  IDirect3DDevice8* p = nullptr;
};

// A world transform moves the triangle by (1, 2, 3); z changes sign, the
// winding turns round, normals come out unit length.
TEST_F(Export, LetztesBildInGltfsKonventionUndAlsObj) {
  std::string fehler;
  ASSERT_TRUE(ersatz::Export_Einrichten((ordner / "a.glb").string(), "", fehler)) << fehler;
  const std::vector<Ecke> ecken = {{0, 0, 0, 0, 0, -2, 0, 0},
                                   {1, 0, 0, 0, 0, -2, 0, 0},
                                   {0, 1, 0, 0, 0, -2, 0, 0},
                                   {9, 9, 9, 0, 0, -2, 0, 0}};
  Zeichnen(ecken, {0, 1, 2});
  p->Present(nullptr, nullptr, nullptr, nullptr);
  D3DMATRIX welt = {};
  welt._11 = welt._22 = welt._33 = welt._44 = 1;
  welt._41 = 1, welt._42 = 2, welt._43 = 3;
  p->SetTransform(D3DTS_WORLD, &welt);
  D3DMATERIAL8 material = {};
  material.Diffuse = {0.5f, 0.25f, 1.0f, 1.0f};
  p->SetMaterial(&material);
  Zeichnen(ecken, {0, 1, 2, 3, 3, 3});
  // A strip of two triangles; its second turns its order round.
  Zeichnen(ecken, {0, 1, 2, 3}, D3DPT_TRIANGLESTRIP);
  // An index outside the range handed over: the device leaves that out.
  Zeichnen(ecken, {0, 1, 3}, D3DPT_TRIANGLELIST, 0, 3);
  p->Present(nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(ersatz::Export_Abschliessen(fehler)) << fehler;

  const auto m = Glb_Lesen(ordner / "a.glb");
  const auto& teil = m.meshes[0].primitives[0];
  const auto pos = Floats(m, teil.attributes.at("POSITION"));
  const auto nor = Floats(m, teil.attributes.at("NORMAL"));
  const auto d = Dreiecke(pos, Indizes(m, teil.indices));
  ASSERT_EQ(d.size(), 4u);
  EXPECT_EQ(d[0], (Dreieck{{{1, 2, -3}, {1, 3, -3}, {2, 2, -3}}}));
  EXPECT_EQ(d[1], (Dreieck{{{10, 11, -12}, {10, 11, -12}, {10, 11, -12}}}));
  EXPECT_EQ(d[2], (Dreieck{{{1, 2, -3}, {1, 3, -3}, {2, 2, -3}}}));
  EXPECT_EQ(d[3], (Dreieck{{{2, 2, -3}, {1, 3, -3}, {10, 11, -12}}}));
  for (std::size_t i = 0; i < nor.size(); i += 3)
    EXPECT_EQ((Punkt{nor[i], nor[i + 1], nor[i + 2]}), (Punkt{0, 0, 1}));
  const auto& grenzen = m.accessors[teil.attributes.at("POSITION")];
  EXPECT_EQ(grenzen.minValues, (std::vector<double>{1, 2, -12}));
  EXPECT_EQ(grenzen.maxValues, (std::vector<double>{10, 11, -3}));
  EXPECT_EQ(m.materials[teil.material].pbrMetallicRoughness.baseColorFactor,
            (std::vector<double>{0.5, 0.25, 1.0, 1.0}));

  // The same frame as OBJ, read back by another reader: the same triangles.
  ASSERT_TRUE(ersatz::Export_Einrichten((ordner / "a.obj").string(), "", fehler));
  Zeichnen(ecken, {0, 1, 2, 3, 3, 3});
  Zeichnen(ecken, {0, 1, 2, 3}, D3DPT_TRIANGLESTRIP);
  Zeichnen(ecken, {0, 1, 3}, D3DPT_TRIANGLELIST, 0, 3);
  p->Present(nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(ersatz::Export_Abschliessen(fehler)) << fehler;
  tinyobj::attrib_t obj;
  std::vector<tinyobj::shape_t> formen;
  std::vector<tinyobj::material_t> materialien;
  std::string warnung;
  ASSERT_TRUE(
      tinyobj::LoadObj(&obj, &formen, &materialien, &warnung, &fehler, (ordner / "a.obj").c_str()))
      << fehler;
  ASSERT_EQ(formen.size(), 1u);
  std::vector<std::uint32_t> objIndizes;
  for (const auto& i : formen[0].mesh.indices) {
    objIndizes.push_back(i.vertex_index);
    EXPECT_EQ(i.normal_index, i.vertex_index);
  }
  EXPECT_EQ(Dreiecke(obj.vertices, objIndizes), d);
}

// A frame the device lost is not the last frame; a run that presented none
// writes nothing and says so; a file that cannot be written is named and
// leaves an earlier one whole.
TEST_F(Export, VerlorenesBildUndFehler) {
  std::string fehler;
  EXPECT_FALSE(ersatz::Export_Einrichten("baum.gltf", "", fehler));
  EXPECT_EQ(fehler, "--export needs a file ending in .glb or .obj, not 'baum.gltf'");
  EXPECT_FALSE(ersatz::Export_Einrichten("", "w.obj", fehler));
  EXPECT_EQ(fehler, "--export-growth needs a file ending in .glb, not 'w.obj'");

  const auto datei = (ordner / "a.glb").string();
  ASSERT_TRUE(ersatz::Export_Einrichten(datei, datei, fehler));
  EXPECT_FALSE(ersatz::Export_Abschliessen(fehler));
  EXPECT_NE(fehler.find("the last frame drew no triangles, so "), std::string::npos) << fehler;
  EXPECT_FALSE(std::filesystem::exists(datei));

  const std::vector<Ecke> ecken = {
      {0, 0, 0, 0, 0, -1, 0, 0}, {1, 0, 0, 0, 0, -1, 0, 0}, {0, 1, 0, 0, 0, -1, 0, 0}};
  ASSERT_TRUE(ersatz::Export_Einrichten(datei, "", fehler));
  Zeichnen(ecken, {0, 1, 2});
  p->Present(nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(ersatz::Export_Abschliessen(fehler)) << fehler;
  ASSERT_EQ(Dreieckzahl(datei), 1u);

  const auto gesperrt = ordner / "gesperrt";
  std::filesystem::create_directories(gesperrt);
  const auto alt = (gesperrt / "x.glb").string();
  std::filesystem::copy_file(datei, alt);
  ASSERT_TRUE(ersatz::Export_Einrichten(alt, "", fehler));
  Zeichnen(ecken, {0, 1, 2, 0, 2, 1});
  p->Present(nullptr, nullptr, nullptr, nullptr);
  {
    Dateigrenze grenze(100);
    EXPECT_FALSE(ersatz::Export_Abschliessen(fehler));
  }
  EXPECT_EQ(fehler, "cannot write " + alt + ": File too large");
  EXPECT_EQ(Dreieckzahl(alt), 1u);
  EXPECT_EQ(Entwuerfe(gesperrt.string(), "x.glb"), std::vector<std::string>{});

  ASSERT_TRUE(ersatz::Export_Einrichten(datei, "", fehler));
  Zeichnen(ecken, {0, 1, 2, 0, 2, 1});
  p->Present(nullptr, nullptr, nullptr, nullptr);
  Fokus(false);
  Zeichnen(ecken, {0, 1, 2});
  p->Present(nullptr, nullptr, nullptr, nullptr);
  Fokus(true);
  ASSERT_TRUE(ersatz::Export_Abschliessen(fehler)) << fehler;
  EXPECT_EQ(Dreieckzahl(datei), 2u);
}

// Per presented frame, from the device's record of calls rather than from
// the exporter's own reading: the drawn triangles' count, total area and
// bounds (in glTF's convention; the program draws with the identity world).
struct Bild_Mass {
  std::size_t nDreiecke = 0;
  double fFlaeche = 0;
  Punkt Min{1e30f, 1e30f, 1e30f}, Max{-1e30f, -1e30f, -1e30f};
};

class Messer : public ersatz::Geraete_Beobachter {
 public:
  void Praesentiert(const ersatz::Praesentiertes_Bild*) override {
    Bild_Mass mass;
    for (const auto& a : ersatz::Aufzeichnung()) {
      if (a.Art != ersatz::Aufruf_Art::DrawIndexedPrimitiveUP || a.hErgebnis != D3D_OK) continue;
      const auto& e = a.Zeichnen.Ecken;
      EXPECT_EQ(e.size(), 3 * a.Zeichnen.nPrimitive);
      for (std::size_t k = 0; k + 2 < e.size(); k += 3) {
        Dreieck t;
        for (int j = 0; j < 3; ++j) {
          t[j] = {e[k + j].Position.x, e[k + j].Position.y, -e[k + j].Position.z};
          for (int c = 0; c < 3; ++c) {
            mass.Min[c] = std::min(mass.Min[c], t[j][c]);
            mass.Max[c] = std::max(mass.Max[c], t[j][c]);
          }
        }
        mass.fFlaeche += Flaeche(t);
        ++mass.nDreiecke;
      }
    }
    Masse.push_back(mass);
    ersatz::Aufzeichnung_Starten();
  }
  std::vector<Bild_Mass> Masse;
};

double Flaeche_Aller(const std::vector<float>& pos, const std::vector<std::uint32_t>& idx) {
  double f = 0;
  for (const auto& t : Dreiecke(pos, idx)) f += Flaeche(t);
  return f;
}

// The heaviest tree, 150 frames: the last frame's file holds what the frame
// drew; the growth's every key, the targets weighted as the animation
// weights them, has exactly the area the device drew in that frame, so
// branches not yet born have none; the file stays under 8 MB.
TEST(ExportWachstum, JederSchrittZeigtWasDasBildZeichnete) {
  const auto ordner = Ordner();
  ASSERT_EQ(chdir(ordner.c_str()), 0);
  std::string fehler;
  ASSERT_TRUE(ersatz::Export_Einrichten("baum.glb", "wachstum.glb", fehler)) << fehler;
  Messer messer;
  ersatz::Beobachter_Anmelden(&messer);
  ersatz::Aufzeichnung_Starten();
  ersatz::Uhr_Starten(ersatz::Uhrgang::Virtuell, 17276);
  // The window counts the frames since the process began.
  ersatz::Fenster_Schliessen_Nach(ersatz::Bildnummer() + 150);
  EXPECT_EQ(WinMain(reinterpret_cast<HINSTANCE>(0x400000), nullptr, nullptr, 1), 0);
  ersatz::Aufzeichnung_Beenden();
  ersatz::Beobachter_Abmelden(&messer);
  ASSERT_TRUE(ersatz::Export_Abschliessen(fehler)) << fehler;
  ASSERT_EQ(messer.Masse.size(), 150u);
  EXPECT_LT(std::filesystem::file_size("wachstum.glb"), 8'000'000u);

  const auto baum = Glb_Lesen("baum.glb");
  const auto& teil = baum.meshes[0].primitives[0];
  const auto pos = Floats(baum, teil.attributes.at("POSITION"));
  const auto idx = Indizes(baum, teil.indices);
  const Bild_Mass& letztes = messer.Masse.back();
  EXPECT_EQ(idx.size() / 3, letztes.nDreiecke);
  EXPECT_NEAR(Flaeche_Aller(pos, idx), letztes.fFlaeche, 1e-6 * letztes.fFlaeche);
  const auto& grenzen = baum.accessors[teil.attributes.at("POSITION")];
  for (int c = 0; c < 3; ++c) {
    EXPECT_EQ(grenzen.minValues[c], letztes.Min[c]);
    EXPECT_EQ(grenzen.maxValues[c], letztes.Max[c]);
  }

  const auto w = Glb_Lesen("wachstum.glb");
  const auto& wteil = w.meshes[0].primitives[0];
  const auto basis = Floats(w, wteil.attributes.at("POSITION"));
  EXPECT_EQ(basis, pos);
  EXPECT_EQ(Indizes(w, wteil.indices), idx);
  ASSERT_EQ(w.animations.size(), 1u);
  const auto& probe = w.animations[0].samplers[0];
  const auto zeiten = Floats(w, probe.input);
  const auto gewichte = Floats(w, probe.output);
  const std::size_t nZiele = wteil.targets.size();
  ASSERT_GT(nZiele, 10u);
  ASSERT_EQ(gewichte.size(), zeiten.size() * nZiele);
  std::vector<std::vector<float>> ziele;
  for (const auto& z : wteil.targets) ziele.push_back(Floats(w, z.at("POSITION")));

  std::size_t nGeburt = 0;
  while (messer.Masse[nGeburt].nDreiecke == 0) ++nGeburt;
  EXPECT_EQ(std::lround(zeiten.back() * 25) + nGeburt, 149);
  for (std::size_t k = 0; k < zeiten.size(); ++k) {
    std::vector<float> jetzt = basis;
    for (std::size_t j = 0; j < nZiele; ++j)
      for (std::size_t i = 0; i < jetzt.size(); ++i)
        jetzt[i] += gewichte[k * nZiele + j] * ziele[j][i];
    const std::size_t nBild = std::lround(zeiten[k] * 25) + nGeburt;
    const double fSoll = messer.Masse[nBild].fFlaeche;
    EXPECT_NEAR(Flaeche_Aller(jetzt, idx), fSoll, 1e-4 * fSoll) << "frame " << nBild;
  }
}

}  // namespace
