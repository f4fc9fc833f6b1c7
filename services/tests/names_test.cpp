// Object names: local repair, and names chosen with the simulated host's
// numbering, legalizer, look-up and conflict test.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "names.h"
#include "simulated_host.h"

namespace {

// A 32-byte name buffer followed by bytes that must survive every call.
struct GuardedName {
  char name[ObjectNameBytes];
  char guard[16];
};

GuardedName Guarded(const std::string &text) {
  GuardedName g;
  std::memset(&g, '#', sizeof g);
  std::memcpy(g.name, text.c_str(), std::min(text.size() + 1, sizeof g.name));
  return g;
}

bool GuardIntact(const GuardedName &g) {
  return std::string(g.guard, sizeof g.guard) == std::string(16, '#');
}

int32_t Repair(const std::string &text, std::string &repaired) {
  GuardedName g = Guarded(text);
  int32_t result = RepairObjectName(g.name, 7);
  EXPECT_TRUE(GuardIntact(g)) << text;
  repaired = g.name;
  return result;
}

TEST(RepairObjectNameTest, RepairsAndCountsEachRule) {
  const struct {
    const char *in, *out;
    int32_t result;
  } cases[] = {
      {"", "NoName7", 1},  {"9lives", "X9lives", 1},  {"a b-c", "a_b_c", 1},
      {"abc1", "abc1", 0}, {"my_name", "my_name", 1}, {"a\xE9z", "a_z", 1},
      {"\xE9z", "X_z", 1}, {"_x", "X_x", 1},
  };
  for (const auto &c : cases) {
    std::string repaired;
    EXPECT_EQ(Repair(c.in, repaired), c.result) << c.in;
    EXPECT_EQ(repaired, c.out) << c.in;
  }
}

TEST(RepairObjectNameTest, StaysInsideTheNameBuffer) {
  std::string repaired;
  EXPECT_EQ(Repair(std::string(31, 'a'), repaired), 0);
  EXPECT_EQ(repaired, std::string(31, 'a'));
  const std::string digitFirst = "1" + std::string(30, 'b');
  EXPECT_EQ(Repair(digitFirst, repaired), 1);
  EXPECT_EQ(repaired, "X" + digitFirst.substr(0, 30));

  GuardedName numbered = Guarded("");
  RepairObjectName(numbered.name, INT32_MIN);
  EXPECT_STREQ(numbered.name, "NoName-2147483648");
  EXPECT_TRUE(GuardIntact(numbered));
}

TEST(RepairObjectNameTest, CutsLongerInputsToThirtyOneCharacters) {
  char letters[64] = {};
  std::memset(letters, 'q', 32);
  EXPECT_EQ(RepairObjectName(letters, 0), 1);
  EXPECT_EQ(std::string(letters), std::string(31, 'q'));

  char digits[64];
  std::memset(digits, '5', 63);
  digits[63] = '\0';
  EXPECT_EQ(RepairObjectName(digits, 0), 1);
  EXPECT_EQ(std::string(digits), "X" + std::string(30, '5'));
  EXPECT_EQ(digits[32], '5'); // nothing past the 32 bytes was written
}

class ValidNameTest : public SimulatedHostTest {
protected:
  void SetUp() override {
    SimulatedHostTest::SetUp();
    root_ = hostsim::RootFolder();
    data_ = hostsim::NewFolder(root_, "data");
    std::memset(result_, '#', sizeof result_);
  }

  int32_t Create(const std::string &proposed, int32_t type,
                 FolderHandle folder = 0) {
    return CreateValidDataObjectName(
        folder, proposed.c_str(), result_, &counter_, type, ruleOption_,
        allowSameType_, numbered_, report_, &differs_, &reuse_);
  }
  bool ResultUntouched() {
    return std::string(result_, sizeof result_) ==
           std::string(sizeof result_, '#');
  }

  FolderHandle root_ = 0, data_ = 0;
  char result_[ObjectNameBytes + 8];
  int32_t counter_ = 0, ruleOption_ = 0;
  int32_t allowSameType_ = 0, numbered_ = 0, report_ = 1;
  int32_t differs_ = -1, reuse_ = -1;
};

TEST_F(ValidNameTest, AFreeNameComesBackAsProposed) {
  EXPECT_EQ(Create("wave0", WaveObjectType), 0);
  EXPECT_STREQ(result_, "wave0");
  EXPECT_EQ(differs_, 0);
  EXPECT_EQ(reuse_, 0);
  EXPECT_TRUE(hostsim::Reports().empty());
}

TEST_F(ValidNameTest, LocalNumberingSkipsTheUniquenessCheck) {
  allowSameType_ = numbered_ = 1;
  counter_ = 4;
  hostsim::AddObject(root_, "data4", WaveObjectType);
  EXPECT_EQ(Create("data", WaveObjectType), 0);
  EXPECT_STREQ(result_, "data4");
  EXPECT_EQ(counter_, 5);
  EXPECT_EQ(differs_, 1);
  EXPECT_EQ(reuse_, 1);
}

// Found by fuzzing: the largest counter used to overflow when advanced.
TEST_F(ValidNameTest, LocalNumberingWrapsTheLargestCounter) {
  allowSameType_ = numbered_ = 1;
  counter_ = INT32_MAX;
  EXPECT_EQ(Create("wave", WaveObjectType), 0);
  EXPECT_STREQ(result_, "wave2147483647");
  EXPECT_EQ(counter_, INT32_MIN);
}

TEST_F(ValidNameTest, HostNumberingFindsAFreeNumberWithoutReport) {
  numbered_ = 1;
  hostsim::AddObject(root_, "wave0", WaveObjectType);
  hostsim::AddObject(root_, "wave1", VariableObjectType);
  EXPECT_EQ(Create("wave", WaveObjectType), 0);
  EXPECT_STREQ(result_, "wave2");
  EXPECT_EQ(counter_, 3);
  EXPECT_EQ(differs_, 1);
  EXPECT_TRUE(hostsim::Reports().empty());
}

TEST_F(ValidNameTest, AnObjectOfTheSameTypeMayBeReused) {
  allowSameType_ = 1;
  hostsim::AddObject(root_, "temp", StringObjectType);
  EXPECT_EQ(Create("temp", StringObjectType), 0);
  EXPECT_STREQ(result_, "temp");
  EXPECT_EQ(reuse_, 1);
  EXPECT_EQ(differs_, 0);
  EXPECT_TRUE(hostsim::Reports().empty());
}

TEST_F(ValidNameTest, AConflictRenamesAndReports) {
  hostsim::AddObject(root_, "x", WaveObjectType);
  allowSameType_ = 1; // the type differs, so it does not help
  EXPECT_EQ(Create("x", VariableObjectType), 0);
  EXPECT_STREQ(result_, "x0");
  EXPECT_EQ(differs_, 1);
  EXPECT_EQ(reuse_, 0);
  ASSERT_EQ(hostsim::Reports().size(), 1u);
  EXPECT_EQ(hostsim::Reports()[0],
            "Variable 'x' changed to 'x0' because of a conflict.\r");

  report_ = 0;
  EXPECT_EQ(Create("x", VariableObjectType), 0);
  EXPECT_STREQ(result_, "x1");
  EXPECT_EQ(hostsim::Reports().size(), 1u);
}

TEST_F(ValidNameTest, ReportsNameEachObjectType) {
  hostsim::NewFolder(root_, "taken");
  hostsim::AddObject(root_, "taken", WaveObjectType);
  const struct {
    int32_t type;
    const char *word;
  } cases[] = {{WaveObjectType, "Wave 'taken'"},
               {StringObjectType, "String 'taken'"},
               {FolderObjectType, "Data folder 'taken'"},
               {7, "BUG: CreateValidDataObjectName, objectType=7 'taken'"}};
  for (const auto &c : cases) {
    EXPECT_EQ(Create("taken", c.type), 0);
    EXPECT_EQ(hostsim::Reports().back().rfind(c.word, 0), 0u)
        << hostsim::Reports().back();
  }
}

TEST_F(ValidNameTest, TheRuleOptionReachesTheHostOnlyForWavesAndFolders) {
  ruleOption_ = 1;
  EXPECT_EQ(Create("my wave", WaveObjectType), 0);
  EXPECT_STREQ(result_, "my wave");
  EXPECT_EQ(differs_, 0);
  EXPECT_EQ(Create("my wave", VariableObjectType), 0);
  EXPECT_STREQ(result_, "my_wave");
  EXPECT_EQ(differs_, 1);
  EXPECT_TRUE(hostsim::Reports().empty());
}

TEST_F(ValidNameTest, WorksInTheGivenFolderAndRestoresTheCurrentOne) {
  hostsim::AddObject(data_, "w", WaveObjectType);
  EXPECT_EQ(Create("w", WaveObjectType, data_), 0);
  EXPECT_STREQ(result_, "w0");
  EXPECT_EQ(hostsim::CurrentFolder(), root_);
  EXPECT_EQ(Create("w", WaveObjectType), 0);
  EXPECT_STREQ(result_, "w");
}

TEST_F(ValidNameTest, WithoutTheSavedFolderTheGivenOneStaysCurrent) {
  hostsim::AnswerNextRequest(106, 5);
  EXPECT_EQ(Create("w", WaveObjectType, data_), 0);
  EXPECT_EQ(hostsim::CurrentFolder(), data_);
  EXPECT_NE(LastCode(), 107); // no switch back to a folder it never had
}

TEST_F(ValidNameTest, AFailedSwitchChangesNothing) {
  EXPECT_EQ(Create("w", WaveObjectType, data_ + 50),
            hostsim::kNoSuchFolderError);
  EXPECT_TRUE(ResultUntouched());
  EXPECT_EQ(hostsim::CurrentFolder(), root_);
  EXPECT_EQ(differs_, 0);
  EXPECT_EQ(reuse_, 0);
}

TEST_F(ValidNameTest, OlderHostsCannotLegalizeButGetTheirFolderBack) {
  HostVersion = 299;
  EXPECT_EQ(Create("w", WaveObjectType, data_), HostTooOldError);
  EXPECT_TRUE(ResultUntouched());
  EXPECT_EQ(hostsim::CurrentFolder(), root_);
  HostVersion = 300;
  EXPECT_EQ(Create("w", WaveObjectType, data_), 0);
}

TEST_F(ValidNameTest, AFailedRenamingWritesNothing) {
  const std::string full(31, 'n');
  hostsim::AddObject(data_, full, VariableObjectType);
  EXPECT_EQ(Create(full, WaveObjectType, data_), hostsim::kNameTooLongError);
  EXPECT_TRUE(ResultUntouched());
  EXPECT_EQ(hostsim::CurrentFolder(), root_);
  EXPECT_EQ(differs_, 0);
}

TEST_F(ValidNameTest, NamesThatCannotFitAreRefusedBeforeAnyRequest) {
  int32_t before = hostsim::ServiceCallCount();
  EXPECT_EQ(Create(std::string(32, 'a'), WaveObjectType, data_),
            NameTooLongError);
  allowSameType_ = numbered_ = 1;
  counter_ = 10;
  EXPECT_EQ(Create(std::string(30, 'a'), WaveObjectType), NameTooLongError);
  EXPECT_EQ(counter_, 10);
  EXPECT_EQ(RequestsSince(before), 0);
  EXPECT_TRUE(ResultUntouched());
  counter_ = 9;
  EXPECT_EQ(Create(std::string(30, 'a'), WaveObjectType), 0);
  EXPECT_EQ(std::string(result_), std::string(30, 'a') + "9");
}

TEST_F(ValidNameTest, MissingArgumentsAreRefused) {
  EXPECT_EQ(CreateValidDataObjectName(0, nullptr, result_, &counter_, 1, 0, 0,
                                      0, 0, &differs_, &reuse_),
            NullHandleError);
  EXPECT_EQ(CreateValidDataObjectName(0, "a", result_, nullptr, 1, 0, 0, 0, 0,
                                      &differs_, &reuse_),
            NullHandleError);
  EXPECT_TRUE(ResultUntouched());
}

TEST_F(ValidNameTest, AppendedNamesReachTheHostFrom300On) {
  char text[32] = "abc";
  EXPECT_EQ(AppendNameForHost(text, "def"), 0);
  EXPECT_STREQ(text, "abcdef");
  EXPECT_EQ(LastCode(), 151);
  EXPECT_EQ(LastItem(0), hostsim::PointerItem(text + 3));
  ASSERT_EQ(hostsim::AppendedNames().size(), 1u);
  EXPECT_EQ(hostsim::AppendedNames()[0], "def");

  HostVersion = 299;
  int32_t before = hostsim::ServiceCallCount();
  EXPECT_EQ(AppendNameForHost(text, "g"), 0);
  EXPECT_STREQ(text, "abcdefg");
  EXPECT_EQ(RequestsSince(before), 0);
}

} // namespace
