// Command-text parsing over the simulated host's cursor, on hosts on both
// sides of the versions where the library does the work itself.
#include <cstring>
#include <string>

#include "parsing.h"
#include "simulated_host.h"
#include "variables.h"
#include "wave_store.h"
#include "wrappers.h"

namespace {

const char *const kKeywords[] = {"ALPHA", "BETA", ""};

class ParsingTest : public SimulatedHostTest {
protected:
  void TearDown() override {
    hostsim::ResetWaves();
    hostsim::ResetVariables();
    SimulatedHostTest::TearDown();
  }
  char name_[32] = "";
};

TEST_F(ParsingTest, CharactersNumbersAndNamesComeFromTheCursor) {
  hostsim::SetCommandLine("ab  2.5 wave_1 x");
  EXPECT_EQ(PeekCommandChar(), 'a');
  EXPECT_EQ(LastCode(), 10);
  SkipCommandChar();
  EXPECT_EQ(LastCode(), 11);
  EXPECT_EQ(PeekCommandChar(), 'b');
  hostsim::AnswerNextRequest(11, 7);
  EXPECT_EQ(SkipCommandChar(), 7); // the host's answer, passed on
  SkipCommandChar();
  double value = 0;
  EXPECT_EQ(ReadCommandNumber(&value), 0);
  EXPECT_EQ(value, 2.5);
  EXPECT_EQ(ReadCommandName(name_), 0);
  EXPECT_STREQ(name_, "wave_1");
  EXPECT_EQ(ReadCommandNumber(&value), hostsim::kExpectedNumberError);
  EXPECT_EQ(hostsim::RemainingCommand(), " x");
}

TEST_F(ParsingTest, ExtendedNamesGoToTheHostFrom300On) {
  HostVersion = 300;
  hostsim::SetCommandLine("'my wave'");
  int32_t quoted = -1;
  EXPECT_EQ(ReadCommandNameExtended(&quoted, name_, 1), 0);
  EXPECT_EQ(LastCode(), 124);
  EXPECT_EQ(LastItem(0), hostsim::PointerItem(&quoted));
  EXPECT_EQ(LastItem(2), 1);
  EXPECT_EQ(quoted, 1);
  EXPECT_STREQ(name_, "my wave");
  EXPECT_EQ(ReadCommandNameExtended(&quoted, name_, 1),
            NameExpectedError); // no 458 from newer hosts
}

TEST_F(ParsingTest, OlderHostsReadExtendedNamesAsPlainOnes) {
  HostVersion = 299;
  hostsim::SetCommandLine("plain " + std::string(32, 'z'));
  int32_t quoted = 5;
  EXPECT_EQ(ReadCommandNameExtended(&quoted, name_, 1), 0);
  EXPECT_EQ(LastCode(), 14);
  EXPECT_EQ(quoted, 0);
  EXPECT_STREQ(name_, "plain");
  EXPECT_EQ(ReadCommandNameExtended(&quoted, name_, 1),
            hostsim::kCommandNameTooLongError);
  hostsim::SetCommandLine("");
  EXPECT_EQ(ReadCommandNameExtended(&quoted, name_, 1),
            OldHostNameExpectedError);
}

TEST_F(ParsingTest, KeywordsAreLookedUpInUpperCase) {
  char beta[] = "beta";
  EXPECT_EQ(LookUpKeyword(kKeywords, beta), 1);
  EXPECT_STREQ(beta, "BETA");
  char gamma[] = "gamma";
  EXPECT_EQ(LookUpKeyword(kKeywords, gamma), -1);
  const char *const empty[] = {"", "ALPHA"};
  char alpha[] = "alpha";
  EXPECT_EQ(LookUpKeyword(empty, alpha), -1);
}

TEST_F(ParsingTest, ReadKeywordStoresOnlyOnSuccess) {
  hostsim::SetCommandLine("Alpha gamma " + std::string(40, 'k'));
  int32_t index = -1;
  EXPECT_EQ(ReadKeyword(kKeywords, &index), 0);
  EXPECT_EQ(index, 0);
  index = -1;
  EXPECT_EQ(ReadKeyword(kKeywords, &index), KeywordExpectedError);
  EXPECT_EQ(ReadKeyword(kKeywords, &index), KeywordExpectedError);
  hostsim::SetCommandLine("");
  EXPECT_EQ(ReadKeyword(kKeywords, &index), NameExpectedError);
  EXPECT_EQ(index, -1);
}

// A host that fills the library's whole keyword buffer (256 bytes) and
// writes no end.
void FillTheNameBuffer(Handle) {
  auto item = static_cast<uint32_t>(GetHostItem(0));
  std::memset(reinterpret_cast<char *>(uintptr_t{item}), 'K', 256);
}

TEST_F(ParsingTest, ReadKeywordEndsATextTheHostLeftOpen) {
  reinterpret_cast<HostRecord *>(*HostRecordHandle)->callback =
      static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&FillTheNameBuffer));
  const std::string longest(255, 'K');
  const char *const table[] = {"ALPHA", longest.c_str(), ""};
  int32_t index = -1;
  EXPECT_EQ(ReadKeyword(table, &index), 0);
  EXPECT_EQ(index, 1);
}

TEST_F(ParsingTest, NamesAreCheckedWithTheHost) {
  ASSERT_NE(hostsim::MakeWave(1, 4, {3}, "signal"), nullptr);
  hostsim::SetCommandLine("signal other signal other ");
  EXPECT_EQ(ReadNameWithHandle(name_), 0);
  EXPECT_EQ(ReadNameWithHandle(name_), NameNotFoundError);
  EXPECT_EQ(ReadKnownName(name_), 0);
  EXPECT_EQ(LastCode(), 59);
  EXPECT_EQ(ReadKnownName(name_), UnknownNameError);
  EXPECT_EQ(ReadNameWithHandle(name_), NameNotFoundError);
  EXPECT_EQ(ReadKnownName(name_), UnknownNameError);
}

TEST_F(ParsingTest, ReadNameAndFetchNumberPassesTheFetchOn) {
  ASSERT_EQ(StoreIntegerVariable("gain", 3, 0), 0);
  hostsim::SetCommandLine("gain nothing");
  EXPECT_EQ(ReadNameAndFetchNumber(name_), 0);
  EXPECT_EQ(LastCode(), 3);
  EXPECT_NE(ReadNameAndFetchNumber(name_), 0);
  EXPECT_STREQ(name_, "nothing");
  EXPECT_EQ(ReadNameAndFetchNumber(name_), NoNameReadResult);
}

int32_t FlagsAfter(const std::string &line, int32_t &result) {
  hostsim::SetCommandLine(line);
  int32_t flags = 0;
  result = ReadFlagSetting(4, &flags);
  return flags;
}

TEST_F(ParsingTest, FlagsAreSetUnlessAssignedZero) {
  int32_t result = -1;
  EXPECT_EQ(FlagsAfter("", result), 4);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(FlagsAfter(" =0", result), 4); // only "=" right after counts
  EXPECT_EQ(FlagsAfter("=0", result), 0);
  EXPECT_EQ(FlagsAfter("=2.5", result), 4);
  EXPECT_EQ(FlagsAfter("=nan", result), 0);
  EXPECT_EQ(FlagsAfter("=x", result), 4);
  EXPECT_EQ(result, hostsim::kExpectedNumberError);
}

TEST_F(ParsingTest, OlderHostsFindTheCommandEndThemselves) {
  HostVersion = 399;
  const struct {
    const char *line;
    int32_t end;
  } cases[] = {{"", 1}, {";x", 1}, {"|", 1}, {"\r", 1}, {" ;", 0}, {"a", 0}};
  for (const auto &c : cases) {
    hostsim::SetCommandLine(c.line);
    EXPECT_EQ(IsCommandEnd(), c.end) << c.line;
    EXPECT_EQ(LastCode(), 10);
  }
}

TEST_F(ParsingTest, NewerHostsAnswerTheCommandEnd) {
  HostVersion = 400;
  hostsim::SetCommandLine(" ;");
  EXPECT_EQ(IsCommandEnd(), 1);
  EXPECT_EQ(LastCode(), 182);
  hostsim::SetCommandLine(" a");
  EXPECT_EQ(IsCommandEnd(), 0);
}

TEST_F(ParsingTest, TextReadGivesItsLastCharacter) {
  hostsim::SetCommandLine("abc d\xE9 q");
  EXPECT_EQ(ReadCommandTextLastChar(name_), 'c');
  EXPECT_EQ(ReadCommandTextLastChar(name_), static_cast<signed char>('\xE9'));
  EXPECT_EQ(ReadCommandTextLastChar(name_), 'q'); // a text of one character
  EXPECT_EQ(ReadCommandTextLastChar(name_), 0);
  hostsim::AnswerNextRequest(12, -5);
  EXPECT_EQ(ReadCommandTextLastChar(name_), -5);
}

TEST_F(ParsingTest, TextReadStaysWithinWhatTheHostWrote) {
  std::strcpy(name_, "xy");
  hostsim::AnswerNextRequest(12, 1000);
  EXPECT_EQ(ReadCommandTextLastChar(name_), 'y');
  // An empty text reads nothing before the buffer either.
  name_[0] = 'w';
  char *const text = name_ + 1;
  text[0] = '\0';
  hostsim::AnswerNextRequest(12, 3);
  EXPECT_EQ(ReadCommandTextLastChar(text), 0);
}

} // namespace
