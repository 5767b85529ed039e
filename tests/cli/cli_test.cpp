#include "cli/cli.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/output.h"
#include "encoding/cp1252.h"

namespace {

struct CliRun {
  int code;
  std::string out;
  std::string err;
};

CliRun Cli(std::vector<std::string> args) {
  std::ostringstream out, err;
  int code = RunCli(args, out, err);
  return {code, out.str(), err.str()};
}

TEST(Cli, PlainOutputShowsTheThreeResultBoxes) {
  CliRun r = Cli({"1/n", "3"});
  EXPECT_EQ(r.code, kExitComputed);
  EXPECT_EQ(r.out, "a_n = 0.33333333333333331\nS_n = 1.8333333333333333\nP_n = 0.16666666666666666\n");
  EXPECT_EQ(Cli({"n"}).out, "a_n = 1\nS_n = 1\nP_n = 1\n");  // N missing means 1
  EXPECT_EQ(Cli({"n", "  $A "}).out, "a_n = 10\nS_n = 55\nP_n = 3628800\n");
  EXPECT_EQ(Cli({"1/(n-2)", "3"}).out, "a_n = 1\nS_n = Divisi\303\263 per zero\nP_n = Divisi\303\263 per zero\n");
}

// A word beginning with "-" is an argument unless it names an option, or looks
// like one (two dashes and a letter) and is no formula; "--" ends the options.
TEST(Cli, WordsBeginningWithAMinusAreArguments) {
  EXPECT_EQ(Cli({"-n", "5"}).out, "a_n = -5\nS_n = -15\nP_n = -120\n");
  EXPECT_EQ(Cli({"--n", "2"}).out, "a_n = 2\nS_n = 3\nP_n = 2\n");
  EXPECT_EQ(Cli({"--", "--json", "1"}).err, "Error: Falta operador\n--j?s\n");  // checked as a formula
  EXPECT_EQ(Cli({"--json", "--", "-1/n", "1"}).out,
            "{\"formula\": \"-1/n\", \"n\": 1, \"a\": {\"code\": 0, \"text\": \"-1\"}, \"S\": {\"code\": 0, \"text\": "
            "\"-1\"}, \"P\": {\"code\": 0, \"text\": \"-1\"}}\n");
  CliRun r = Cli({"--nx", "2"});
  EXPECT_EQ(r.code, kExitUsage);
  EXPECT_EQ(r.err.substr(0, r.err.find("usage:")),
            "vantel-cli: unknown option --nx\n(to compute it as a formula, put -- before it: vantel-cli -- --nx)\n");
  EXPECT_EQ(Cli({"--", "--nx"}).code, kExitFormulaRejected);
  EXPECT_EQ(Cli({"--lang=en", "1/(n-2)", "3"}).out, "a_n = 1\nS_n = Division by zero\nP_n = Division by zero\n");
  EXPECT_EQ(Cli({"--version"}).out, "vantel-cli (Vantel) 1.0.0.0\n");
}

TEST(Cli, RejectionsAndExitCodes) {
  CliRun r = Cli({"2n", "3"});
  EXPECT_EQ(r.code, kExitFormulaRejected);
  EXPECT_EQ(r.err, "Error: Falta operador\n2?n\n");
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(Cli({"   "}).code, kExitFormulaRejected);
  EXPECT_NE(Cli({""}).err, "");
  for (const char* bad : {"0", "65536", "1.5", "abc", "-3", "   "}) {
    r = Cli({"n", bad});
    EXPECT_EQ(r.code, kExitBadN) << bad;
    EXPECT_EQ(r.err, "* error *\nnom\303\251s nombres naturals (enters positius)\n") << bad;
  }
  EXPECT_EQ(Cli({"n", "65535"}).code, kExitComputed);
  EXPECT_EQ(Cli({}).code, kExitUsage);
  EXPECT_EQ(Cli({"n", "1", "2"}).code, kExitUsage);
  EXPECT_EQ(Cli({"--lang", "fr", "n"}).code, kExitUsage);
  EXPECT_EQ(Cli({"--csv", "n", "2"}).code, kExitUsage);
  EXPECT_EQ(Cli({"--csv-semicolon", "n", "2"}).code, kExitUsage);
  EXPECT_EQ(Cli({"--table", "--csv", "--csv-semicolon", "n", "2"}).code, kExitUsage);
  // An empty value is a missing one, not "no picture".
  for (const char* empty : {"--plot=", "--plot-y=", "--lang="}) EXPECT_EQ(Cli({empty, "n", "2"}).code, kExitUsage);
  r = Cli({"--plot", "", "n", "2"});
  EXPECT_EQ(r.code, kExitUsage);
  EXPECT_EQ(r.err.substr(0, r.err.find('\n')), "vantel-cli: --plot needs a value");
  EXPECT_EQ(Cli({"--help"}).code, kExitComputed);
  // A formula longer than the formula field holds is refused, not cut.
  std::string longest = std::string(252, '1') + "+n";
  EXPECT_EQ(Cli({longest}).code, kExitComputed);
  r = Cli({longest + "1"});
  EXPECT_EQ(r.code, kExitFormulaRejected);
  EXPECT_EQ(r.err, "vantel-cli: the formula is longer than 254 characters (it has 255)\n");
}

// A stream that takes nothing, as a full disk or a closed pipe.
class FullDisk : public std::streambuf {
 protected:
  int_type overflow(int_type) override { return traits_type::eof(); }
};

TEST(Cli, OutputThatCannotBeWrittenIsAnError) {
  FullDisk full;
  std::ostream out(&full);
  std::ostringstream err;
  EXPECT_EQ(RunCli({"1/n", "3"}, out, err), kExitOutputFailed);
  EXPECT_EQ(err.str(), "vantel-cli: the output could not be written\n");
}

// Whatever the arguments hold, the output is valid UTF-8 and control characters
// cannot reach the terminal.
TEST(Cli, CleanOutputUnderBadInput) {
  EXPECT_EQ(Cli({"n\x1B]0;x\x07"}).err, "Error: car\303\240cter no v\303\240lid\nn\\x1B : \\x1B\n");
  EXPECT_EQ(Cli({"--json", "n+\xFF", "3"}).out.substr(0, 18), "{\"formula\": \"n+?\",");
  EXPECT_EQ(Cli({"--json", "n\r"}).out.substr(0, 18), "{\"formula\": \"n\\r\",");
  EXPECT_NE(Cli({"--x\xFF\x1B"}).err.find("unknown option --x\357\277\275\\x1B\n"), std::string::npos);
  // The factorial error keeps its own line breaks.
  EXPECT_EQ(Cli({"n!", "171"}).out.substr(0, 40), "a_n = * Error de factorial (n!)*\r\n\r\nn ha");
}

TEST(Cli, JsonObjects) {
  EXPECT_EQ(
      Cli({"--json", "n!", "171"}).out,
      "{\"formula\": \"n!\", \"n\": 171, \"a\": {\"code\": 2, \"text\": \"* Error de factorial (n!)*\\r\\n\\r\\nn "
      "ha d'estar a l'interval [0,170]\\r\\n( <=170 per raons t\303\250cniques)\"}, \"S\": {\"code\": 2, \"text\": "
      "\"* Error de factorial (n!)*\\r\\n\\r\\nn ha d'estar a l'interval [0,170]\\r\\n( <=170 per raons "
      "t\303\250cniques)\"}, \"P\": {\"code\": 4, \"text\": \"Desbordament (massa gran)\"}}\n");
  EXPECT_EQ(Cli({"--json", "--lang", "en", "3#4"}).out,
            "{\"formula\": \"3#4\", \"error\": {\"caption\": \"Error: wrong character\", \"text\": \"3# : #\"}}\n");
  EXPECT_EQ(Cli({"--json", " "}).out, "{\"formula\": \" \", \"error\": {\"caption\": \"\", \"text\": \"\"}}\n");
  EXPECT_EQ(Cli({"--json", "(n", "x"}).out,
            "{\"formula\": \"(n\", \"error\": {\"caption\": \"Error: \", \"text\": \"  \\\"(\\\"  >  \\\")\\\"\"}}\n");
  EXPECT_EQ(Cli({"--json", "n", "0"}).out,
            "{\"formula\": \"n\", \"error\": {\"caption\": \"* error *\", \"text\": \"nom\303\251s nombres naturals "
            "(enters positius)\"}}\n");
}

// Every row shows what a request for that k shows; a sum or product that has
// stopped keeps its code.
TEST(Cli, TableRows) {
  EXPECT_EQ(Cli({"--table", "1/(n-2)", "3"}).out,
            "k\ta_k\tS_k\tP_k\n1\t-1\t-1\t-1\n2\tDivisi\303\263 per zero\tDivisi\303\263 per zero\tDivisi\303\263 per "
            "zero\n3\t1\tDivisi\303\263 per zero\tDivisi\303\263 per zero\n");
  std::string csv = Cli({"--table", "--csv", "--lang", "en", "n!", "171"}).out;
  EXPECT_EQ(csv.substr(0, 21), "k,a_k,S_k,P_k\r\n1,1,1,");
  EXPECT_NE(csv.find("\r\n171,\"* Factorial (n!) error*\r\n\r\nn must be in [0,170] range\r\n( <=170 by technic "
                     "reasons)\",\"* Factorial"),
            std::string::npos);
  EXPECT_NE(csv.find("\r\n27,"), std::string::npos);
  // For spreadsheets with the decimal comma: the byte-order mark, ";" and "," for the point.
  EXPECT_EQ(Cli({"--table", "--csv-semicolon", "--lang", "es", "1/(n-2)", "3"}).out,
            "\xEF\xBB\xBFk;a_k;S_k;P_k\r\n1;-1;-1;-1\r\n2;Divisi\303\263n por cero;Divisi\303\263n por cero;"
            "Divisi\303\263n por cero\r\n3;1;Divisi\303\263n por cero;Divisi\303\263n por cero\r\n");
  EXPECT_EQ(Cli({"--table", "--csv-semicolon", "n/4", "2"}).out.substr(18), "1;0,25;0,25;0,25\r\n2;0,5;0,75;0,125\r\n");
  std::string tsv = Cli({"--table", "n!", "171"}).out;
  EXPECT_NE(tsv.find("\n171\t* Error de factorial (n!)*  n ha d'estar"), std::string::npos);
}

// The picture goes to its file beside the usual output; nothing is written for
// a request that is refused, and a file that cannot be written is a failure.
TEST(Cli, PlotFile) {
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "vantel_cli_plot_test";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  const std::string svg = (dir / "p.svg").string();
  auto head = [&] {
    std::ifstream file(svg, std::ios::binary);
    std::string text(38, '\0');
    file.read(text.data(), 38);
    return text.substr(0, static_cast<std::size_t>(file.gcount()));
  };

  EXPECT_EQ(Cli({"--plot", svg, "2n", "3"}).code, kExitFormulaRejected);
  EXPECT_EQ(Cli({"--plot", svg, "n", "0"}).code, kExitBadN);
  EXPECT_FALSE(std::filesystem::exists(svg));

  CliRun r = Cli({"--table", "--plot", svg, "--plot-y", "log", "n", "2"});
  EXPECT_EQ(r.out, "k\ta_k\tS_k\tP_k\n1\t1\t1\t1\n2\t2\t3\t2\n");
  EXPECT_EQ(head(), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
  EXPECT_EQ(Cli({"--plot", svg, "n", "2"}).out, "a_n = 2\nS_n = 3\nP_n = 2\n");

  r = Cli({"--plot", (dir / "missing" / "p.svg").string(), "n", "2"});
  EXPECT_EQ(r.code, kExitPlotNotWritten);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err, "");
  EXPECT_EQ(Cli({"--plot", dir.string(), "n", "2"}).code, kExitPlotNotWritten);  // a folder

  EXPECT_EQ(Cli({"--plot-y", "log", "n", "2"}).code, kExitUsage);
  EXPECT_EQ(Cli({"--plot", svg, "--plot-y", "ln", "n", "2"}).code, kExitUsage);
  EXPECT_EQ(Cli({"n", "2", "--plot"}).code, kExitUsage);
  std::filesystem::remove_all(dir);
}

TEST(Encoding, Windows1252AndUtf8) {
  EXPECT_EQ(Utf8ToCp1252("nom\303\251s \342\202\254"), "nom\351s \200");
  EXPECT_EQ(Cp1252ToUtf8("nom\351s \200"), "nom\303\251s \342\202\254");
  EXPECT_EQ(Utf8ToCp1252("\342\234\223"), "?");  // not in Windows-1252
  EXPECT_EQ(Utf8ToCp1252("\303"), "?");          // cut short
  EXPECT_EQ(Utf8ToCp1252("\300\200"), "??");     // overlong
  for (int b = 1; b < 256; ++b) {
    std::string one(1, static_cast<char>(b));
    bool lost = true;
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(one), &lost), one) << b;
    EXPECT_FALSE(lost) << b;  // a "?" of the text itself included
  }
  // What Tools refuses to put in its list file rather than store a "?".
  for (const char* lossy : {"a\342\234\223", "\302\200", "\303", "\355\240\200"}) {
    bool lost = false;
    EXPECT_EQ(Utf8ToCp1252(lossy, &lost).back(), '?') << lossy;
    EXPECT_TRUE(lost) << lossy;
  }
}

TEST(Output, Quoting) {
  EXPECT_EQ(JsonString("a\"b\\c\r\n\x01"), "\"a\\\"b\\\\c\\r\\n\\u0001\"");
  EXPECT_EQ(JsonString("\xC2\x9B\x7F\xFF"), "\"\\u009b\\u007f\357\277\275\"");  // C1, DEL, malformed
  EXPECT_EQ(ConsoleText("\xC2\x9B\r\n"), "\\x9B\\x0D\\x0A");
  EXPECT_EQ(ConsoleText("\xC2\x9B\r\n", true), "\\x9B\r\n");
  EXPECT_EQ(CsvField("plain"), "plain");
  EXPECT_EQ(CsvField("a,\"b\""), "\"a,\"\"b\"\"\"");
  EXPECT_EQ(CsvField("a,b", ';'), "a,b");
  EXPECT_EQ(CsvField("a;b", ';'), "\"a;b\"");
  // Number texts as a spreadsheet with the decimal comma reads them.
  const char* numbers[][2] = {{"0.5", "0,5"},
                              {"-3628800", "-3628800"},
                              {"1.E+20", "1E+20"},
                              {"-1.E-300", "-1E-300"},
                              {"5.4108613512279E-12", "5,4108613512279E-12"},
                              {" 1.0000000000000000E+0036", "1,0000000000000000E+36"},
                              {"-1.3611294676837539E+0039", "-1,3611294676837539E+39"},
                              {" 1.7976931348623157E+0308", "1,7976931348623157E+308"}};
  for (const auto& n : numbers) EXPECT_EQ(DecimalCommaNumber(n[0]), n[1]);
  EXPECT_EQ(TabField("a\r\n\r\nb\tc\nd"), "a  b c d");
}

}  // namespace
