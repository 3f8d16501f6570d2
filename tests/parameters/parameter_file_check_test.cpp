#include <gtest/gtest.h>

#include "parameters/parameter_file_check.h"

namespace {

using lq::FileProblem;
using lq::ParameterFileContent;
using lq::ParameterFileEntry;

ParameterFileContent GoodFile() {
    ParameterFileContent file;
    file.format = "lq-modbus-rtu parameters";
    file.version = 1;
    file.hasParameterList = true;
    file.parameters = {{4, 1000}, {5, 0}, {36, 300}, {39, 800}, {40, 100}, {41, 120}, {42, 30}};
    return file;
}

TEST(ParameterFileCheck, AWholeFileGivesItsSet) {
    const lq::FileCheck check = CheckParameterFile(GoodFile());
    ASSERT_EQ(check.problem, FileProblem::None);
    EXPECT_EQ(check.set,
              (lq::ParameterSet{{4, 1000}, {5, 0}, {36, 300}, {39, 800}, {40, 100}, {41, 120}, {42, 30}}));
}

TEST(ParameterFileCheck, APartOfTheSetIsASet) {
    ParameterFileContent file = GoodFile();
    file.parameters = {{36, 65535}};
    const lq::FileCheck check = CheckParameterFile(file);
    ASSERT_EQ(check.problem, FileProblem::None);
    EXPECT_EQ(check.set, (lq::ParameterSet{{36, 65535}}));
}

struct Broken {
    const char* what;
    void (*spoil)(ParameterFileContent&);
    FileProblem problem;
    int index;
};

const Broken kBroken[] = {
    {"no format", [](ParameterFileContent& f) { f.format.reset(); }, FileProblem::WrongFormat, -1},
    {"another format", [](ParameterFileContent& f) { f.format = "lq-modbus-rtu trend"; },
     FileProblem::WrongFormat, -1},
    {"no version", [](ParameterFileContent& f) { f.version.reset(); }, FileProblem::WrongVersion, -1},
    {"version 2", [](ParameterFileContent& f) { f.version = 2; }, FileProblem::WrongVersion, -1},
    {"version 1.5", [](ParameterFileContent& f) { f.version = 1.5; }, FileProblem::WrongVersion, -1},
    {"no list", [](ParameterFileContent& f) { f.hasParameterList = false; }, FileProblem::NoParameterList,
     -1},
    {"empty list", [](ParameterFileContent& f) { f.parameters.clear(); }, FileProblem::EmptyList, -1},
    {"no register", [](ParameterFileContent& f) { f.parameters[2].reg.reset(); }, FileProblem::BadRegister,
     2},
    {"register 36.5", [](ParameterFileContent& f) { f.parameters[2].reg = 36.5; }, FileProblem::BadRegister,
     2},
    {"run/stop",
     [](ParameterFileContent& f) {
         f.parameters[1] = {3, 1};
     },
     FileProblem::NotAParameter, 1},
    {"input level",
     [](ParameterFileContent& f) {
         f.parameters[0] = {0, 5000};
     },
     FileProblem::NotAParameter, 0},
    {"PV",
     [](ParameterFileContent& f) {
         f.parameters[3] = {35, 250};
     },
     FileProblem::NotAParameter, 3},
    {"register 1e12", [](ParameterFileContent& f) { f.parameters[3].reg = 1e12; }, FileProblem::NotAParameter,
     3},
    {"no raw", [](ParameterFileContent& f) { f.parameters[4].raw.reset(); }, FileProblem::BadRaw, 4},
    {"raw -1", [](ParameterFileContent& f) { f.parameters[4].raw = -1; }, FileProblem::BadRaw, 4},
    {"raw 65536", [](ParameterFileContent& f) { f.parameters[5].raw = 65536; }, FileProblem::BadRaw, 5},
    {"raw 30.5", [](ParameterFileContent& f) { f.parameters[6].raw = 30.5; }, FileProblem::BadRaw, 6},
    {"SV twice",
     [](ParameterFileContent& f) {
         f.parameters.push_back({36, 301});
     },
     FileProblem::Duplicate, 7},
};

void PrintTo(const Broken& broken, std::ostream* out) {
    *out << broken.what;
}

class BrokenFile : public ::testing::TestWithParam<Broken> {};

TEST_P(BrokenFile, IsRefusedWithItsReasonAndNoSet) {
    ParameterFileContent file = GoodFile();
    GetParam().spoil(file);
    const lq::FileCheck check = CheckParameterFile(file);
    EXPECT_EQ(check.problem, GetParam().problem);
    EXPECT_EQ(check.index, GetParam().index);
    EXPECT_TRUE(check.set.empty()) << "nothing of a refused file may be written";
}

INSTANTIATE_TEST_SUITE_P(EachWay, BrokenFile, ::testing::ValuesIn(kBroken));

} // namespace
