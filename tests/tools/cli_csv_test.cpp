#include <gtest/gtest.h>

#include <fstream>

#include "cli_runner.h"
#include "config_csv.h"
#include "varied_config.h"

namespace qrv {
namespace {

std::string Contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return in ? std::string(std::istreambuf_iterator<char>(in), {}) : "<missing>";
}

// export then import with the same --base gives the file back byte for byte; without a base
// the board-wide values are the start values.
TEST(CliCsvTest, ExportAndImportGiveTheFileBack) {
  ScratchFolder dir;
  DisplayConfig varied = VariedConfig();
  varied.display_page_auto = 1;
  for (const std::string& dat : {std::string(QRV_SAMPLE_DAT), dir.Save("varied.dat", varied)}) {
    const std::string csv = dir / "out.csv", back = dir / "back.dat";
    const CliRun exported = RunClient({"export", dat, "-o", csv});
    EXPECT_EQ(std::make_tuple(exported.status, exported.out, exported.err),
              std::make_tuple(0, "", ""));
    const CliRun imported = RunClient({"import", csv, "--base", dat, "-o", back});
    EXPECT_EQ(std::make_tuple(imported.status, imported.err), std::make_tuple(0, ""));
    EXPECT_EQ(Contents(back), Contents(dat)) << dat;
  }
  const std::string plain = dir / "plain.dat";
  ASSERT_EQ(RunClient({"import", dir / "out.csv", "-o", plain}).status, 0);
  DisplayConfig start = varied;
  start.position_h = start.position_v = 8;
  start.current_page = start.display_page_auto = 0;
  EXPECT_EQ(Contents(plain), Contents(dir.Save("start.dat", start)));
}

// A title typed with half-width spaces goes through the CSV, the .dat file and the frame as
// the full-width spaces it is stored with; lines the board cannot show are written all the
// same and named, by page, line and CSV line.
TEST(CliCsvTest, ImportStoresSpacesFullWidthAndWarnsOfUnsendableLines) {
  ScratchFolder dir;
  std::string text = WriteConfigCsv({});
  const auto set = [&text](const std::string& row, const std::string& to) {
    text.replace(text.find(row), row.size(), to);
  };
  set("1,1,,白,黒", "1,1,東京 大阪 名古屋京都,白,黒");
  set("2,3,,白,黒", "2,3,ｱｲｳ,白,黒");
  set("2,4,,白,黒", "2,4,\"ABC\"\"D\"\"\",白,黒");
  set("3,7,,白,黒", "3,7,,ブランク,ブランク");
  std::ofstream(dir / "in.csv", std::ios::binary) << text;
  const CliRun imported = RunClient({"import", dir / "in.csv", "-o", dir / "out.dat"});
  EXPECT_EQ(imported.status, 0);
  EXPECT_EQ(imported.err,
            "warning: page 2 line 3 (CSV line 11): the board cannot show the title: odd number of "
            "bytes (3): a half-width character in \"ｱｲｳ\" (ＪＩＳ第１水準,第２水準以外の字が選択"
            "されてます)\n"
            "warning: page 2 line 4 (CSV line 12): the board cannot show the title: character 1 "
            "(Shift_JIS 4142) is not in JIS levels 1 and 2 in \"ABC\"D\"\" (ＪＩＳ第１水準,第２"
            "水準以外の字が選択されてます)\n"
            "warning: page 3 line 7 (CSV line 22): character and border colour are both ブランク, "
            "which the board refuses (Miss! Can't Set)\n");
  // 東 京 、 大 阪 、 名 古 屋 京 都 and three full-width spaces of padding.
  const CliRun frames = RunClient({"frames", dir / "out.dat", "--page", "1", "--only", "titles"});
  EXPECT_EQ(frames.out.substr(0, 4 + 14 * 4),
            "CA01456C357E212142673A6521214C3E38453230357E4554212121212121");
}

TEST(CliCsvTest, RefusalsWriteNothing) {
  ScratchFolder dir;
  const std::string good = dir.Save("good.dat", {}), csv = dir / "in.csv";
  std::string text = WriteConfigCsv({});
  const std::string row = "1,2,,白";
  text.replace(text.find(row), row.size(), "1,2,€,桃");
  std::ofstream(csv, std::ios::binary) << text;
  std::ofstream(dir / "cut.dat") << Contents(good).substr(0, 1500);
  const std::tuple<std::vector<std::string>, int, std::string> cases[] = {
      {{"import", csv, "-o", dir / "x.dat"},
       1,
       "line 3 column text: code page 932 lacks \"€\"\nline 3 column char_colour: \"桃\" is not "
       "a colour (黒 赤 緑 黄 青 マゼンタ シアン 白 ブランク, or 0..8)\n"},
      {{"import", dir / "good.csv", "-o", dir / "x.dat"},
       1,
       "qrv470kse-cli: cannot read " + dir / "good.csv" + ": No such file or directory\n"},
      {{"import", csv, "--base", dir / "cut.dat", "-o", dir / "x.dat"},
       1,
       "qrv470kse-cli: " + dir / "cut.dat" + ": ends at line 500 of 996\n"},
      {{"export", dir / "cut.dat", "-o", dir / "x.csv"},
       1,
       "qrv470kse-cli: " + dir / "cut.dat" + ": ends at line 500 of 996\n"},
      {{"export", good, "-o", dir / "none/x.csv"},
       1,
       "qrv470kse-cli: cannot write " + dir / "none/x.csv"},
      {{"export", good}, 2, "qrv470kse-cli: no -o OUT.csv given\n"},
      {{"import", "-o", "x.dat"}, 2, "qrv470kse-cli: no IN.csv given\n"},
      {{"export", good, "--base", good, "-o", "x.csv"}, 2, "qrv470kse-cli: unknown option --base"},
      {{"import", "--help"}, 0, "usage: qrv470kse-cli import IN.csv -o OUT.dat [--base BASE.dat]"},
  };
  for (const auto& [args, status, says] : cases) {
    const CliRun run = RunClient(args);
    EXPECT_EQ(run.status, status) << args[0] << " " << args[1];
    EXPECT_EQ((run.out + run.err).substr(0, says.size()), says);
  }
  EXPECT_EQ(Contents(dir / "x.dat") + Contents(dir / "x.csv"), "<missing><missing>");
  // Values no dialog offers are exported as numbers, with a warning, and refused on import.
  DisplayConfig odd;
  odd.blink[0][0] = 7;
  const CliRun exported = RunClient({"export", dir.Save("odd.dat", odd), "-o", dir / "odd.csv"});
  EXPECT_EQ(std::make_tuple(exported.status, exported.err),
            std::make_tuple(0, "warning: page 1 line 1 blink 7 (0..4)\n"));
  EXPECT_EQ(RunClient({"import", dir / "odd.csv", "-o", dir / "x.dat"}).err,
            "line 2 column blink: \"7\" is not 0..4\n");
}

}  // namespace
}  // namespace qrv
