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
#include <fstream>
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
    ersatz::Export_Einstellen({});
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

// In the program's world: a world transform moves the triangle by (1, 2,
// 3); z changes sign, the winding turns round, normals come out unit
// length; a triangle that repeats a vertex and the vertex only it used are
// left out. The files name the seed and the frame; the OBJ's material file
// holds the material's values.
TEST_F(Export, LetztesBildInGltfsKonventionUndAlsObj) {
  std::string fehler;
  ersatz::Export_Einstellen({ersatz::Export_Ursprung::Programm, 4711});
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
  material.Diffuse = {0.5f, 0.25f, 1.0f, 0.0f};
  material.Ambient = {0.2f, 0.3f, 0.4f, 1.0f};
  material.Specular = {0.125f, 0.0f, 0.0f, 1.0f};
  material.Emissive = {0.0f, 0.5f, 2.0f, 1.0f};
  material.Power = 8.0f;
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
  ASSERT_EQ(d.size(), 3u);
  EXPECT_EQ(d[0], (Dreieck{{{1, 2, -3}, {1, 3, -3}, {2, 2, -3}}}));
  EXPECT_EQ(d[1], (Dreieck{{{1, 2, -3}, {1, 3, -3}, {2, 2, -3}}}));
  EXPECT_EQ(d[2], (Dreieck{{{2, 2, -3}, {1, 3, -3}, {10, 11, -12}}}));
  EXPECT_EQ(pos.size(), 3u * 7) << "the first call's fourth vertex only made the point";
  for (std::size_t i = 0; i < nor.size(); i += 3)
    EXPECT_EQ((Punkt{nor[i], nor[i + 1], nor[i + 2]}), (Punkt{0, 0, 1}));
  const auto& grenzen = m.accessors[teil.attributes.at("POSITION")];
  EXPECT_EQ(grenzen.minValues, (std::vector<double>{1, 2, -12}));
  EXPECT_EQ(grenzen.maxValues, (std::vector<double>{10, 11, -3}));
  EXPECT_EQ(m.materials[teil.material].pbrMetallicRoughness.baseColorFactor,
            (std::vector<double>{0.5, 0.25, 1.0, 1.0}));
  EXPECT_EQ(m.asset.extras.Get("seed").GetNumberAsInt(), 4711);
  EXPECT_EQ(m.asset.extras.Get("frame").GetNumberAsInt(), 1);

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
  ASSERT_TRUE(tinyobj::LoadObj(&obj, &formen, &materialien, &warnung, &fehler,
                               (ordner / "a.obj").c_str(), (ordner.string() + "/").c_str()))
      << fehler;
  ASSERT_EQ(formen.size(), 1u);
  ASSERT_EQ(materialien.size(), 1u) << warnung;
  const tinyobj::material_t& mtl = materialien[0];
  EXPECT_EQ(formen[0].mesh.material_ids, std::vector<int>(3, 0));
  EXPECT_EQ((Punkt{mtl.diffuse[0], mtl.diffuse[1], mtl.diffuse[2]}), (Punkt{0.5f, 0.25f, 1}));
  EXPECT_EQ((Punkt{mtl.ambient[0], mtl.ambient[1], mtl.ambient[2]}), (Punkt{0.2f, 0.3f, 0.4f}));
  EXPECT_EQ((Punkt{mtl.specular[0], mtl.specular[1], mtl.specular[2]}), (Punkt{0.125f, 0, 0}));
  EXPECT_EQ((Punkt{mtl.emission[0], mtl.emission[1], mtl.emission[2]}), (Punkt{0, 0.5f, 1}))
      << "colours are clamped to 0..1";
  EXPECT_EQ(mtl.shininess, 8);
  EXPECT_EQ(mtl.dissolve, 1) << "the device draws the tree opaque, whatever the alpha";
  EXPECT_EQ(mtl.illum, 2);
  std::ifstream objDatei(ordner / "a.obj");
  std::string kopf;
  std::getline(objDatei, kopf);
  EXPECT_EQ(kopf, "# borkwerk: seed 4711, frame 0, 7 vertices, 3 triangles");
  std::vector<std::uint32_t> objIndizes;
  for (const auto& i : formen[0].mesh.indices) {
    objIndizes.push_back(i.vertex_index);
    EXPECT_EQ(i.normal_index, i.vertex_index);
  }
  EXPECT_EQ(Dreiecke(obj.vertices, objIndizes), d);
}

// By default the tree stands on the ground plane with its base on the
// origin: the lowest vertices' middle on the y axis, every vertex moved
// alike, the growth's samples as the last frame. Triangles without area
// (a repeated vertex, corners on one line) and the vertices only they used
// are left out of both files alike.
TEST_F(Export, AmUrsprungOhneDreieckeOhneFlaeche) {
  std::string fehler;
  ASSERT_TRUE(
      ersatz::Export_Einrichten((ordner / "a.glb").string(), (ordner / "w.glb").string(), fehler))
      << fehler;
  D3DMATRIX welt = {};
  welt._11 = welt._22 = welt._33 = welt._44 = 1;
  welt._41 = 1, welt._42 = 2, welt._43 = 3;
  p->SetTransform(D3DTS_WORLD, &welt);
  std::vector<Ecke> ecken = {{0, 0, 0, 0, 0, -1, 0, 0},
                             {0.5f, 0, 0, 0, 0, -1, 0, 0},
                             {0, 0.5f, 0, 0, 0, -1, 0, 0},
                             {2, 0, 0, 0, 0, -1, 0, 0},
                             {5, -5, 5, 0, 0, -1, 0, 0}};
  const std::vector<std::uint16_t> indizes = {0, 1, 2, 0, 0, 2, 0, 1, 3, 4, 4, 4};
  Zeichnen(ecken, indizes);
  p->Present(nullptr, nullptr, nullptr, nullptr);
  ecken[1].x = 1;
  ecken[2].y = 1;
  Zeichnen(ecken, indizes);
  p->Present(nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(ersatz::Export_Abschliessen(fehler)) << fehler;

  const Dreieck soll = {{{-0.5f, 0, 0}, {-0.5f, 1, 0}, {0.5f, 0, 0}}};
  const auto m = Glb_Lesen(ordner / "a.glb");
  const auto& teil = m.meshes[0].primitives[0];
  const auto pos = Floats(m, teil.attributes.at("POSITION"));
  EXPECT_EQ(Dreiecke(pos, Indizes(m, teil.indices)), std::vector<Dreieck>{soll});
  EXPECT_EQ(pos.size(), 9u);
  EXPECT_FALSE(m.asset.extras.Has("seed")) << "no launcher said it";
  EXPECT_EQ(m.asset.extras.Get("frame").GetNumberAsInt(), 1);

  const auto w = Glb_Lesen(ordner / "w.glb");
  const auto& wteil = w.meshes[0].primitives[0];
  const auto basis = Floats(w, wteil.attributes.at("POSITION"));
  EXPECT_EQ(basis, pos);
  ASSERT_EQ(wteil.targets.size(), 1u);
  auto frueher = Floats(w, wteil.targets[0].at("POSITION"));
  for (std::size_t i = 0; i < frueher.size(); ++i) frueher[i] += basis[i];
  EXPECT_EQ(Dreiecke(frueher, Indizes(w, wteil.indices)),
            (std::vector<Dreieck>{{{{-0.5f, 0, 0}, {-0.5f, 0.5f, 0}, {0, 0, 0}}}}))
      << "the earlier frame moved as the last one";
  const auto& namen = w.meshes[0].extras.Get("targetNames");
  ASSERT_EQ(namen.ArrayLen(), 1u);
  EXPECT_EQ(namen.Get(0).Get<std::string>(), "frame 0");
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
  EXPECT_EQ(ersatz::Export_Materialdatei("a/b.obj"), "a/b.mtl");
  EXPECT_EQ(ersatz::Export_Materialdatei("a/b.glb"), "");

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

  // Only a point: nothing with an area to write.
  ASSERT_TRUE(ersatz::Export_Einrichten(alt, "", fehler));
  Zeichnen(ecken, {0, 0, 0});
  p->Present(nullptr, nullptr, nullptr, nullptr);
  EXPECT_FALSE(ersatz::Export_Abschliessen(fehler));
  EXPECT_EQ(fehler, "the last frame drew no triangle with an area, so " + alt + " was not written");
  EXPECT_EQ(Dreieckzahl(alt), 1u);

  // The material file is written first: when it cannot be, the OBJ is not.
  const auto obj = (ordner / "b.obj").string();
  std::filesystem::create_directories(ordner / "b.mtl");
  ASSERT_TRUE(ersatz::Export_Einrichten(obj, "", fehler));
  Zeichnen(ecken, {0, 1, 2});
  p->Present(nullptr, nullptr, nullptr, nullptr);
  EXPECT_FALSE(ersatz::Export_Abschliessen(fehler));
  EXPECT_EQ(fehler.rfind("cannot write " + (ordner / "b.mtl").string() + ": ", 0), 0u) << fehler;
  EXPECT_FALSE(std::filesystem::exists(obj));

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
// the exporter's own reading: the count, total area and bounds of the drawn
// triangles that have an area (in glTF's convention; the program draws with
// the identity world).
struct Bild_Mass {
  std::size_t nDreiecke = 0;
  std::size_t nOhneFlaeche = 0;
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
        for (int j = 0; j < 3; ++j)
          t[j] = {e[k + j].Position.x, e[k + j].Position.y, -e[k + j].Position.z};
        if (Flaeche(t) == 0) {
          ++mass.nOhneFlaeche;
          continue;
        }
        for (int j = 0; j < 3; ++j) {
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

// The lowest y of the vertices, and the middle (x, z) of those within a
// millimetre of it.
std::array<float, 3> Fuss(const std::vector<float>& pos) {
  float fUnten = 1e30f;
  for (std::size_t i = 1; i < pos.size(); i += 3) fUnten = std::min(fUnten, pos[i]);
  Punkt Min{1e30f, 0, 1e30f}, Max{-1e30f, 0, -1e30f};
  for (std::size_t i = 0; i < pos.size(); i += 3) {
    if (pos[i + 1] > fUnten + 0.001f) continue;
    for (const int c : {0, 2}) {
      Min[c] = std::min(Min[c], pos[i + c]);
      Max[c] = std::max(Max[c], pos[i + c]);
    }
  }
  return {(Min[0] + Max[0]) / 2, fUnten, (Min[2] + Max[2]) / 2};
}

// The heaviest tree, 150 frames: the last frame's file holds what the frame
// drew, standing on the origin; the growth's every key, the targets weighted
// as the animation weights them, has exactly the area the device drew in
// that frame, so branches not yet born have none, stands on the origin too
// and is named by its frame; the file stays under 8 MB.
TEST(ExportWachstum, JederSchrittZeigtWasDasBildZeichnete) {
  const auto ordner = Ordner();
  ASSERT_EQ(chdir(ordner.c_str()), 0);
  std::string fehler;
  ersatz::Export_Einstellen({ersatz::Export_Ursprung::Basis, 17276});
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
  EXPECT_EQ(grenzen.minValues[1], 0);
  EXPECT_EQ(grenzen.maxValues[1], letztes.Max[1] - letztes.Min[1]);
  for (int c = 0; c < 3; ++c)
    EXPECT_NEAR(grenzen.maxValues[c] - grenzen.minValues[c], letztes.Max[c] - letztes.Min[c], 1e-6);
  const auto fuss = Fuss(pos);
  EXPECT_EQ(fuss[1], 0);
  EXPECT_NEAR(fuss[0], 0, 1e-7);
  EXPECT_NEAR(fuss[2], 0, 1e-7);
  EXPECT_EQ(baum.asset.extras.Get("seed").GetNumberAsInt(), 17276);
  EXPECT_EQ(baum.asset.extras.Get("frame").GetNumberAsInt(), 149);

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
  while (messer.Masse[nGeburt].nDreiecke + messer.Masse[nGeburt].nOhneFlaeche == 0) ++nGeburt;
  EXPECT_EQ(std::lround(zeiten.back() * 25) + nGeburt, 149);
  const auto& namen = w.meshes[0].extras.Get("targetNames");
  ASSERT_EQ(namen.ArrayLen(), nZiele);
  for (std::size_t j = 0; j < nZiele; ++j)
    EXPECT_EQ(namen.Get(int(j)).Get<std::string>(),
              "frame " + std::to_string(std::lround(zeiten[j] * 25) + nGeburt));
  EXPECT_EQ(w.asset.extras.Get("frame").GetNumberAsInt(), 149);
  for (std::size_t k = 0; k < zeiten.size(); ++k) {
    std::vector<float> jetzt = basis;
    for (std::size_t j = 0; j < nZiele; ++j)
      for (std::size_t i = 0; i < jetzt.size(); ++i)
        jetzt[i] += gewichte[k * nZiele + j] * ziele[j][i];
    const std::size_t nBild = std::lround(zeiten[k] * 25) + nGeburt;
    const double fSoll = messer.Masse[nBild].fFlaeche;
    EXPECT_NEAR(Flaeche_Aller(jetzt, idx), fSoll, 1e-4 * fSoll) << "frame " << nBild;
    EXPECT_NEAR(Fuss(jetzt)[1], 0, 1e-6) << "frame " << nBild;
  }
}

}  // namespace
