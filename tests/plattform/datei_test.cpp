// The one writer of whole files: what it replaces, what it writes through,
// what it refuses, and that no temporary outlives a write.
#include "plattform/datei/datei.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/testhilfe.h"

namespace {

namespace fs = std::filesystem;

class Datei : public testing::Test {
 protected:
  void SetUp() override {
    ordner = fs::path(testing::TempDir()) /
             ("borkwerk_datei_" +
              std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(ordner);
    fs::create_directories(ordner);
  }
  void TearDown() override { fs::remove_all(ordner); }

  std::string Pfad(const std::string& name) const { return (ordner / name).string(); }
  static std::string Lesen(const std::string& pfad) {
    std::ifstream datei(pfad, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(datei), {});
  }
  static std::function<bool(std::FILE*)> Text(const std::string& text) {
    return
        [text](std::FILE* f) { return std::fwrite(text.data(), 1, text.size(), f) == text.size(); };
  }
  std::vector<std::string> Reste() const {
    std::vector<std::string> reste;
    for (const auto& e : fs::recursive_directory_iterator(ordner))
      if (e.path().extension() == ".tmp") reste.push_back(e.path().string());
    return reste;
  }

  fs::path ordner;
};

// A new file, then a replacement that keeps the earlier file's mode; a write
// that fails or throws leaves the earlier file and no temporary.
TEST_F(Datei, ErsetztGanzOderGarNicht) {
  const std::string pfad = Pfad("a.txt");
  EXPECT_EQ(Datei_Ganz_Schreiben(pfad, Text("eins")), "");
  EXPECT_EQ(Lesen(pfad), "eins");
  ASSERT_EQ(chmod(pfad.c_str(), 0640), 0);
  EXPECT_EQ(Datei_Ganz_Schreiben(pfad, Text("zwei")), "");
  EXPECT_EQ(Lesen(pfad), "zwei");
  struct stat s;
  ASSERT_EQ(stat(pfad.c_str(), &s), 0);
  EXPECT_EQ(s.st_mode & 07777, 0640u);

  EXPECT_EQ(Datei_Ganz_Schreiben(pfad, [](std::FILE*) { return false; }),
            "its content could not be made");
  EXPECT_THROW(Datei_Ganz_Schreiben(pfad,
                                    [](std::FILE* f) -> bool {
                                      std::fputs("halb", f);
                                      throw std::runtime_error("mitten im Schreiben");
                                    }),
               std::runtime_error);
  {
    Dateigrenze grenze(3);
    EXPECT_EQ(Datei_Ganz_Schreiben(pfad, Text("zu lang")), "File too large");
  }
  EXPECT_EQ(Lesen(pfad), "zwei");
  EXPECT_EQ(Reste(), std::vector<std::string>{});
}

// A link is written through, also one whose target does not exist yet;
// the link stays. A device behind a link is written in place.
TEST_F(Datei, SchreibtDurchLinks) {
  fs::create_directories(ordner / "ziele");
  fs::create_symlink("ziele/t.txt", ordner / "link.txt");
  fs::create_symlink("link.txt", ordner / "link2.txt");
  EXPECT_EQ(Datei_Ganz_Schreiben(Pfad("link2.txt"), Text("durch")), "");
  EXPECT_TRUE(fs::is_symlink(ordner / "link.txt"));
  EXPECT_TRUE(fs::is_symlink(ordner / "link2.txt"));
  EXPECT_EQ(Lesen(Pfad("ziele/t.txt")), "durch");
  fs::create_symlink("/dev/null", ordner / "nichts");
  EXPECT_EQ(Datei_Ganz_Schreiben(Pfad("nichts"), Text("weg")), "");
  EXPECT_TRUE(fs::is_character_file(ordner / "nichts"));
  fs::create_symlink("/dev/full", ordner / "voll");
  EXPECT_EQ(Datei_Ganz_Schreiben(Pfad("voll"), Text("x")), "No space left on device");
  fs::create_symlink("schleife", ordner / "schleife");
  EXPECT_EQ(Datei_Ganz_Schreiben(Pfad("schleife"), Text("x")), "Too many levels of symbolic links");
  EXPECT_EQ(Reste(), std::vector<std::string>{});
}

// What is neither a file nor a device is refused, before and when writing,
// and a missing folder is named.
TEST_F(Datei, VerweigertWasKeineDateiIst) {
  ASSERT_EQ(mkfifo(Pfad("fifo").c_str(), 0600), 0);
  fs::create_directories(ordner / "ordner");
  EXPECT_EQ(Datei_Pruefen(Pfad("fifo")), "it is a FIFO");
  EXPECT_EQ(Datei_Ganz_Schreiben(Pfad("fifo"), Text("x")), "it is a FIFO");
  EXPECT_EQ(Datei_Pruefen(Pfad("ordner")), "it is a folder");
  EXPECT_EQ(Datei_Pruefen(Pfad("fehlt/x")), "No such file or directory");
  EXPECT_EQ(Datei_Ganz_Schreiben(Pfad("fehlt/x"), Text("x")), "No such file or directory");
  EXPECT_EQ(Datei_Pruefen(Pfad("neu.txt")), "");
  EXPECT_FALSE(fs::exists(ordner / "neu.txt")) << "checking writes nothing";
  EXPECT_EQ(Reste(), std::vector<std::string>{});
}

}  // namespace
