// glTF binary files, their JSON through tinygltf: the last frame as one
// mesh, and the growth as the same mesh with a morph target per sample and
// an animation of the targets' weights.
//
// Material: the program lights a white material (diffuse 1, ambient 0.2)
// with one directional light and no specular part; glTF's nearest is a
// rough dielectric of the diffuse colour (metallic 0, roughness 1). The
// ambient part is left to the viewer's own surrounding light.
#include <tiny_gltf.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "plattform/datei/datei.h"
#include "plattform/export/export.h"
#include "plattform/fehler/fehler.h"

namespace ersatz {
namespace {

const int nArrayBuffer = 34962;
const int nElementArrayBuffer = 34963;

// A buffer view of nBytes at nOffset in the buffer and an accessor of it;
// returns the accessor.
int Sicht(tinygltf::Model& m, std::size_t nOffset, std::size_t nBytes, int nKomponente, int nTyp,
          std::size_t nAnzahl, int nZiel) {
  tinygltf::BufferView sicht;
  sicht.buffer = 0;
  sicht.byteOffset = nOffset;
  sicht.byteLength = nBytes;
  sicht.target = nZiel;
  m.bufferViews.push_back(sicht);
  tinygltf::Accessor a;
  a.bufferView = static_cast<int>(m.bufferViews.size() - 1);
  a.componentType = nKomponente;
  a.type = nTyp;
  a.count = nAnzahl;
  m.accessors.push_back(a);
  return static_cast<int>(m.accessors.size() - 1);
}

// Appends the bytes (4-byte aligned) to the buffer as a view and an
// accessor of it; returns the accessor.
int Anhaengen(tinygltf::Model& m, const void* pDaten, std::size_t nBytes, int nKomponente, int nTyp,
              std::size_t nAnzahl, int nZiel) {
  auto& puffer = m.buffers[0].data;
  puffer.resize((puffer.size() + 3) & ~std::size_t{3});
  const auto* p = static_cast<const unsigned char*>(pDaten);
  puffer.insert(puffer.end(), p, p + nBytes);
  return Sicht(m, puffer.size() - nBytes, nBytes, nKomponente, nTyp, nAnzahl, nZiel);
}

// Min and max of three floats per element, as glTF asks them of positions.
void Grenzen(tinygltf::Accessor& a, const std::vector<float>& v) {
  if (v.empty()) return;
  float fMin[3] = {v[0], v[1], v[2]}, fMax[3] = {v[0], v[1], v[2]};
  for (std::size_t i = 0; i < v.size(); i += 3) {
    for (int c = 0; c < 3; ++c) {
      fMin[c] = std::min(fMin[c], v[i + c]);
      fMax[c] = std::max(fMax[c], v[i + c]);
    }
  }
  a.minValues.assign(fMin, fMin + 3);
  a.maxValues.assign(fMax, fMax + 3);
}

int Vektoren(tinygltf::Model& m, const std::vector<float>& v, bool bGrenzen) {
  const int n = Anhaengen(m, v.data(), v.size() * sizeof(float), TINYGLTF_COMPONENT_TYPE_FLOAT,
                          TINYGLTF_TYPE_VEC3, v.size() / 3, nArrayBuffer);
  if (bGrenzen) Grenzen(m.accessors[n], v);
  return n;
}

int Zahlen(tinygltf::Model& m, const std::vector<float>& v, bool bGrenzen) {
  const int n = Anhaengen(m, v.data(), v.size() * sizeof(float), TINYGLTF_COMPONENT_TYPE_FLOAT,
                          TINYGLTF_TYPE_SCALAR, v.size(), 0);
  if (bGrenzen && !v.empty()) {
    m.accessors[n].minValues = {*std::min_element(v.begin(), v.end())};
    m.accessors[n].maxValues = {*std::max_element(v.begin(), v.end())};
  }
  return n;
}

// The run the mesh is of: its seed (a whole number; beyond glTF readers'
// 32-bit integers a double, which holds it exactly) and the frame's number.
tinygltf::Value Angaben(const Netz& netz) {
  tinygltf::Value::Object angaben;
  if (netz.nSaat) {
    const std::uint32_t n = *netz.nSaat;
    angaben["seed"] = n <= 0x7fffffffu ? tinygltf::Value(static_cast<int>(n))
                                       : tinygltf::Value(static_cast<double>(n));
  }
  angaben["frame"] = tinygltf::Value(static_cast<int>(netz.nBild));
  return tinygltf::Value(std::move(angaben));
}

// The model: one buffer, one node with one mesh of one triangle list.
tinygltf::Model Modell(const Netz& netz, std::size_t nReserve) {
  tinygltf::Model m;
  m.asset.version = "2.0";
  m.asset.generator = "borkwerk";
  m.asset.extras = Angaben(netz);
  m.buffers.resize(1);
  m.buffers[0].data.reserve(nReserve);

  tinygltf::Material material;
  material.name = "Rinde";
  const D3DCOLORVALUE& f = netz.Material.Diffuse;
  material.pbrMetallicRoughness.baseColorFactor = {
      std::clamp(f.r, 0.0f, 1.0f), std::clamp(f.g, 0.0f, 1.0f), std::clamp(f.b, 0.0f, 1.0f), 1.0};
  material.pbrMetallicRoughness.metallicFactor = 0.0;
  material.pbrMetallicRoughness.roughnessFactor = 1.0;
  m.materials.push_back(material);

  tinygltf::Primitive teil;
  teil.mode = TINYGLTF_MODE_TRIANGLES;
  teil.material = 0;
  teil.attributes["POSITION"] = Vektoren(m, netz.Positionen, true);
  teil.attributes["NORMAL"] = Vektoren(m, netz.Normalen, false);
  teil.indices = Anhaengen(m, netz.Dreiecke.data(), netz.Dreiecke.size() * 4,
                           TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT, TINYGLTF_TYPE_SCALAR,
                           netz.Dreiecke.size(), nElementArrayBuffer);
  tinygltf::Mesh netzDaten;
  netzDaten.name = "Baum";
  netzDaten.primitives.push_back(teil);
  m.meshes.push_back(netzDaten);

  tinygltf::Node knoten;
  knoten.name = "Baum";
  knoten.mesh = 0;
  m.nodes.push_back(knoten);
  tinygltf::Scene szene;
  szene.nodes = {0};
  m.scenes.push_back(szene);
  m.defaultScene = 0;
  return m;
}

// The JSON of the model (without buffers) as tinygltf writes it, with one
// buffer of nBytes.
bool Json(const tinygltf::Model& m, std::size_t nBytes, std::string& text) {
  std::ostringstream strom;
  tinygltf::TinyGLTF gltf;
  if (!gltf.WriteGltfSceneToStream(&m, strom, false, false)) return false;
  nlohmann::json json = nlohmann::json::parse(strom.str());
  json["buffers"] = nlohmann::json::array({{{"byteLength", nBytes}}});
  text = json.dump();
  return true;
}

bool Wort(std::FILE* f, std::uint32_t n) { return std::fwrite(&n, 4, 1, f) == 1; }

// A glTF binary file (little-endian, as every platform the program runs
// on): tinygltf's JSON, then the binary chunk of the model's buffer data
// and the nWeitere bytes that weitere writes after it. So a growth's
// morph targets go to the file one by one and never stand in memory whole
// (writing a file is mostly the first touch of fresh memory).
bool Schreiben(const std::string& pfad, tinygltf::Model m, std::size_t nWeitere,
               const std::function<bool(std::FILE*)>& weitere, std::string& fehler) {
  const std::vector<unsigned char> daten = std::move(m.buffers[0].data);
  m.buffers.clear();
  const std::size_t nBin = (daten.size() + nWeitere + 3) & ~std::size_t{3};
  std::string json;
  if (!Json(m, daten.size() + nWeitere, json)) {
    fehler = "cannot encode " + Lesbar(pfad);
    return false;
  }
  json.resize((json.size() + 3) & ~std::size_t{3}, ' ');
  const std::string grund = Datei_Ganz_Schreiben(pfad, [&](std::FILE* f) {
    const char szNull[4] = {};
    return Wort(f, 0x46546C67) && Wort(f, 2) &&
           Wort(f, static_cast<std::uint32_t>(12 + 8 + json.size() + 8 + nBin)) &&
           Wort(f, static_cast<std::uint32_t>(json.size())) && Wort(f, 0x4E4F534A) &&
           std::fwrite(json.data(), 1, json.size(), f) == json.size() &&
           Wort(f, static_cast<std::uint32_t>(nBin)) && Wort(f, 0x004E4942) &&
           std::fwrite(daten.data(), 1, daten.size(), f) == daten.size() &&
           (!weitere || weitere(f)) &&
           std::fwrite(szNull, 1, nBin - daten.size() - nWeitere, f) ==
               nBin - daten.size() - nWeitere;
  });
  if (!grund.empty()) fehler = "cannot write " + Lesbar(pfad) + ": " + grund;
  return grund.empty();
}

}  // namespace

bool Glb_Schreiben(const std::string& pfad, const Netz& netz, std::string& fehler) {
  return Schreiben(pfad, Modell(netz, 0), 0, nullptr, fehler);
}

// The mesh's own positions are the last sample's, so a viewer that shows
// no animation shows the grown tree. Target k moves every vertex from there
// to sample k; the animation holds weight 1 on sample k's target at its
// time and blends linearly to the next, and ends with all weights 0. The
// targets follow the buffer's other data: each is placed twice, once for
// its bounds and once into the file.
bool Wachstum_Glb_Schreiben(const std::string& pfad, const Netz& netz,
                            const std::function<void(std::size_t, float*)>& positionen,
                            const std::vector<unsigned>& nummern, unsigned nBis,
                            std::string& fehler) {
  const std::size_t nZiele = nummern.size() - 1;
  const std::size_t nWerte = netz.Positionen.size();
  tinygltf::Model m = Modell(
      netz, 4 * (3 * nWerte + netz.Dreiecke.size()) + 4 * nummern.size() * (nZiele + 1) + 16);
  std::vector<float> versatz(nWerte);
  const auto ziel = [&](std::size_t k) {
    positionen(k, versatz.data());
    for (std::size_t i = 0; i < nWerte; ++i) versatz[i] -= netz.Positionen[i];
  };
  m.meshes[0].weights.assign(nZiele, 0.0);
  tinygltf::Value::Array namen;
  for (std::size_t k = 0; k < nZiele; ++k)
    namen.emplace_back("frame " + std::to_string(nummern[k]));
  tinygltf::Value::Object netzAngaben;
  netzAngaben["targetNames"] = tinygltf::Value(std::move(namen));
  m.meshes[0].extras = tinygltf::Value(std::move(netzAngaben));

  std::vector<float> zeiten, gewichte;
  for (std::size_t k = 0; k < nummern.size(); ++k) {
    zeiten.push_back(float(nummern[k] - nummern[0]) / 25.0f);
    for (std::size_t j = 0; j < nZiele; ++j) gewichte.push_back(j == k ? 1.0f : 0.0f);
  }
  if (nBis > nummern.back()) {
    zeiten.push_back(float(nBis - nummern[0]) / 25.0f);
    gewichte.insert(gewichte.end(), nZiele, 0.0f);
  }
  if (nZiele > 0) {
    tinygltf::AnimationSampler probe;
    probe.input = Zahlen(m, zeiten, true);
    probe.output = Zahlen(m, gewichte, false);
    probe.interpolation = "LINEAR";
    tinygltf::AnimationChannel kanal;
    kanal.sampler = 0;
    kanal.target_node = 0;
    kanal.target_path = "weights";
    tinygltf::Animation animation;
    animation.name = "Wachstum";
    animation.samplers.push_back(probe);
    animation.channels.push_back(kanal);
    m.animations.push_back(animation);
  }

  auto& puffer = m.buffers[0].data;
  puffer.resize((puffer.size() + 3) & ~std::size_t{3});
  const std::size_t nZielBytes = nWerte * sizeof(float);
  tinygltf::Primitive& teil = m.meshes[0].primitives[0];
  for (std::size_t k = 0; k < nZiele; ++k) {
    ziel(k);
    const int n =
        Sicht(m, puffer.size() + k * nZielBytes, nZielBytes, TINYGLTF_COMPONENT_TYPE_FLOAT,
              TINYGLTF_TYPE_VEC3, nWerte / 3, nArrayBuffer);
    Grenzen(m.accessors[n], versatz);
    teil.targets.push_back({{"POSITION", n}});
  }
  const auto ziele = [&](std::FILE* f) {
    for (std::size_t k = 0; k < nZiele; ++k) {
      ziel(k);
      if (std::fwrite(versatz.data(), sizeof(float), nWerte, f) != nWerte) return false;
    }
    return true;
  };
  return Schreiben(pfad, std::move(m), nZiele * nZielBytes, ziele, fehler);
}

}  // namespace ersatz
