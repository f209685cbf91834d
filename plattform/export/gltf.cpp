// glTF binary files through tinygltf: the last frame as one mesh, and the
// growth as the same mesh with a morph target per sample and an animation
// of the targets' weights.
//
// Material: the program lights a white material (diffuse 1, ambient 0.2)
// with one directional light and no specular part; glTF's nearest is a
// rough dielectric of the diffuse colour (metallic 0, roughness 1). The
// ambient part is left to the viewer's own surrounding light.
#include <tiny_gltf.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ostream>
#include <streambuf>
#include <string>

#include "plattform/datei/datei.h"
#include "plattform/export/export.h"
#include "plattform/fehler/fehler.h"

namespace ersatz {
namespace {

const int nArrayBuffer = 34962;
const int nElementArrayBuffer = 34963;

// Appends the bytes as a buffer view (4-byte aligned) and an accessor of
// it; returns the accessor.
int Anhaengen(tinygltf::Model& m, const void* pDaten, std::size_t nBytes, int nKomponente, int nTyp,
              std::size_t nAnzahl, int nZiel) {
  auto& puffer = m.buffers[0].data;
  puffer.resize((puffer.size() + 3) & ~std::size_t{3});
  tinygltf::BufferView sicht;
  sicht.buffer = 0;
  sicht.byteOffset = puffer.size();
  sicht.byteLength = nBytes;
  sicht.target = nZiel;
  const auto* p = static_cast<const unsigned char*>(pDaten);
  puffer.insert(puffer.end(), p, p + nBytes);
  m.bufferViews.push_back(sicht);
  tinygltf::Accessor a;
  a.bufferView = static_cast<int>(m.bufferViews.size() - 1);
  a.componentType = nKomponente;
  a.type = nTyp;
  a.count = nAnzahl;
  m.accessors.push_back(a);
  return static_cast<int>(m.accessors.size() - 1);
}

// Three floats per element; min and max as glTF asks them of positions.
int Vektoren(tinygltf::Model& m, const std::vector<float>& v, bool bGrenzen) {
  const int n = Anhaengen(m, v.data(), v.size() * sizeof(float), TINYGLTF_COMPONENT_TYPE_FLOAT,
                          TINYGLTF_TYPE_VEC3, v.size() / 3, nArrayBuffer);
  if (bGrenzen && !v.empty()) {
    auto& a = m.accessors[n];
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

// A C file as the stream tinygltf writes to: straight into the file, as a
// growth file is some megabytes.
class Dateistrom : public std::streambuf {
 public:
  explicit Dateistrom(std::FILE* pDateiNeu) : pDatei(pDateiNeu) {}

 protected:
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    return std::fputc(c, pDatei) == EOF ? traits_type::eof() : c;
  }
  std::streamsize xsputn(const char* p, std::streamsize n) override {
    return static_cast<std::streamsize>(std::fwrite(p, 1, static_cast<std::size_t>(n), pDatei));
  }

 private:
  std::FILE* pDatei;
};

bool Schreiben(const std::string& pfad, const tinygltf::Model& m, std::string& fehler) {
  bool bKodiert = true;
  const std::string grund = Datei_Ganz_Schreiben(pfad, [&](std::FILE* pDatei) {
    Dateistrom puffer(pDatei);
    std::ostream strom(&puffer);
    tinygltf::TinyGLTF gltf;
    bKodiert = gltf.WriteGltfSceneToStream(&m, strom, false, true);
    return bKodiert && strom.good();
  });
  if (!grund.empty())
    fehler = (bKodiert ? "cannot write " : "cannot encode ") + Lesbar(pfad) + ": " + grund;
  return grund.empty();
}

}  // namespace

bool Glb_Schreiben(const std::string& pfad, const Netz& netz, std::string& fehler) {
  return Schreiben(pfad, Modell(netz, 0), fehler);
}

// The mesh's own positions are the last sample's, so a viewer that shows
// no animation shows the grown tree. Target k moves every vertex from there
// to sample k; the animation holds weight 1 on sample k's target at its
// time and blends linearly to the next, and ends with all weights 0.
bool Wachstum_Glb_Schreiben(const std::string& pfad, const Netz& netz,
                            const std::function<void(std::size_t, float*)>& positionen,
                            const std::vector<unsigned>& nummern, unsigned nBis,
                            std::string& fehler) {
  const std::size_t nZiele = nummern.size() - 1;
  const std::size_t nWerte = netz.Positionen.size();
  tinygltf::Model m = Modell(netz, 4 * (3 * nWerte + netz.Dreiecke.size()) +
                                       nZiele * (4 * nWerte + 4 * nummern.size() + 8));
  tinygltf::Primitive& teil = m.meshes[0].primitives[0];
  std::vector<float> versatz(nWerte);
  for (std::size_t k = 0; k < nZiele; ++k) {
    positionen(k, versatz.data());
    for (std::size_t i = 0; i < nWerte; ++i) versatz[i] -= netz.Positionen[i];
    teil.targets.push_back({{"POSITION", Vektoren(m, versatz, true)}});
  }
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
  return Schreiben(pfad, m, fehler);
}

}  // namespace ersatz
