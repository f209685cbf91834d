// Running out of memory while a tree is built or while it forks. The
// program's operator new is replaced here so that one chosen allocation
// fails; unarmed it is plain malloc.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <new>
#include <string>

#include "app/app.h"
#include "baum/baum.h"
#include "grafik/grafik.h"
#include "tests/testgeraet.h"
#include "tests/testhilfe.h"

namespace {

long nFehlerBei = 0;  // the n-th allocation after arming fails; 0 = none
long nZaehler = 0;

// Not inlined, so the compiler does not pair malloc with the operator delete
// that frees it.
__attribute__((noinline)) void* Holen(std::size_t n) {
  if (nFehlerBei != 0 && ++nZaehler == nFehlerBei) return nullptr;
  return std::malloc(n ? n : 1);
}

void Scharf(long n) {
  nFehlerBei = n;
  nZaehler = 0;
}

}  // namespace

void* operator new(std::size_t n) {
  if (void* p = Holen(n)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t n) { return operator new(n); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept { return Holen(n); }
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept { return Holen(n); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

namespace {

class BaumSpeicher : public Protokoll_Test {
 protected:
  void SetUp() override {
    // A tool that brings its own operator new (valgrind) bypasses ours.
    Scharf(1);
    void* pProbe = ::operator new(8, std::nothrow);
    Scharf(0);
    if (pProbe) {
      ::operator delete(pProbe);
      GTEST_SKIP() << "the replaced operator new is not in effect";
    }
    pDevice = Software_Geraet(32, 24);
    ASSERT_NE(pDevice, nullptr);
    Protokoll_Test::SetUp();
    bEnde = 0;
  }
  void TearDown() override {
    Scharf(0);
    Protokoll_Test::TearDown();
    if (pDevice) pDevice->Release();
    pDevice = nullptr;
    bEnde = 0;
  }
  // Grows and draws a whole tree; only its growth allocates under the fault.
  void Ganz_Wachsen(Baum* pB) {
    for (int i = 0; i < 140; i++) {
      pB->Wachsen();
      const long nAlt = nFehlerBei;
      nFehlerBei = 0;
      pB->Zeichnen();
      nFehlerBei = nAlt;
    }
  }
};

const D3DVECTOR vFuss = {0.0f, -1.0f, 0.0f};

// Every allocation of the constructor in turn: the run is asked to end with
// an ERROR line, and the tree without a trunk grows, draws and dies quietly.
TEST_F(BaumSpeicher, KonstruktorOhneSpeicher) {
  for (long n = 1;; n++) {
    Scharf(n);
    Baum* pB = new (std::nothrow) Baum(&vFuss, 10);
    const bool bFehler = nZaehler >= n;
    Scharf(0);
    if (!pB) continue;  // the frame loop reports that one
    if (!bFehler) {
      EXPECT_EQ(bEnde, 0);
      EXPECT_GE(n, 6);  // tables, pool, trunk and its arrays were all tried
      delete pB;
      break;
    }
    EXPECT_EQ(bEnde, 1) << n;
    EXPECT_EQ(pB->pStamm, nullptr) << n;
    EXPECT_NE(Protokoll().find("ERROR : kein Speicher fuer "), std::string::npos);
    Ganz_Wachsen(pB);
    delete pB;
    bEnde = 0;
  }
}

// A failed fork leaves its branch a leaf; the rest of the tree grows on.
TEST_F(BaumSpeicher, GabelungOhneSpeicher) {
  const long anFehler[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 14, 100, 1000};
  for (long n : anFehler) {
    srand(9);
    Baum b(&vFuss, 10);
    Scharf(n);
    Ganz_Wachsen(&b);
    Scharf(0);
    EXPECT_EQ(bEnde, 1) << n;
    unsigned int nGabeln = 0, nBlaetterMitPlatz = 0;
    std::function<void(Ast*)> Zaehlen = [&](Ast* a) {
      nGabeln += a->nKinder > 0;
      nBlaetterMitPlatz += a->nKinder == 0 && a->nTiefe < 10 && a->fSkala > 0.0399999991f;
      for (unsigned int i = 0; i < a->nKinder; i++) Zaehlen(&a->pKinder[i]);
    };
    Zaehlen(b.pStamm);
    EXPECT_EQ(nBlaetterMitPlatz, 1u) << n;
    EXPECT_EQ(b.nBenutzt, 8 + 11 * nGabeln) << n;
    bEnde = 0;
  }
  EXPECT_NE(Protokoll().find("ERROR : kein Speicher fuer "), std::string::npos);
}

}  // namespace
