// The tests' main: every test starts on the stand-in as a fresh run finds
// it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/testhilfe.h"

namespace {

class Zuruecksetzen : public testing::EmptyTestEventListener {
  void OnTestStart(const testing::TestInfo&) override { Ersatz_Zuruecksetzen(); }
};

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleMock(&argc, argv);
  testing::UnitTest::GetInstance()->listeners().Append(new Zuruecksetzen);
  return RUN_ALL_TESTS();
}
