// The tests' main: every test starts on the stand-in as a fresh run finds
// it, and the files tests write go to a folder of this process's own,
// removed at the end: two test runs on one machine never share a name, and
// none leaves files behind.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/testhilfe.h"

namespace {

class Zuruecksetzen : public testing::EmptyTestEventListener {
  void OnTestStart(const testing::TestInfo&) override { Ersatz_Zuruecksetzen(); }
};

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleMock(&argc, argv);
  std::string muster = testing::TempDir() + "borkwerk_test_XXXXXX";
  if (!mkdtemp(muster.data())) {
    std::perror(muster.c_str());
    return 1;
  }
  setenv("TEST_TMPDIR", muster.c_str(), 1);
  testing::UnitTest::GetInstance()->listeners().Append(new Zuruecksetzen);
  const int nErgebnis = RUN_ALL_TESTS();
  if (chdir("/") != 0) std::perror("/");
  std::error_code fc;
  std::filesystem::remove_all(muster, fc);
  return nErgebnis;
}
