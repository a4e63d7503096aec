// The plug-in description reader's two rule sets on one file.
#include "shared/PlugInScript.h"

#include <gmock/gmock.h>

namespace kx {
namespace {

using Values = std::map<std::string, std::string>;

TEST(PlugInScriptTest, WizardAndLauncherReadTheSameLinesByTheirOwnRules) {
    const std::vector<std::string> lines = {
        "; authorn=comment",  "authorn=Ann Smith", "Version=2.0",   "APPROOT:\\Tools\\", "appfile=Run.EXE",
        "shdebug=TRUE",       "useswfd= true",     "usesqfd",       "rtninfo=false",     "rtninfo=True",
        "appfilex",
    };
    EXPECT_EQ(readPlugInScript(lines, SpiRules::Wizard),
              (Values{{"authorn", "Ann Smith"}, {"appfile", ""}, {"shdebug", "TRUE"}, {"useswfd", " true"},
                      {"usesqfd", ""}, {"rtninfo", "True"}}))
        << "exact-case keys, the last line winning; appfilex is appfile with no value";
    EXPECT_EQ(readPlugInScript(lines, SpiRules::Launcher),
              (Values{{"approot", "\\tools\\"}, {"appfile", ""}, {"shdebug", "true"}, {"useswfd", " true"},
                      {"usesqfd", ""}, {"rtninfo", "true"}}))
        << "any case, values lower-cased, authorn and version not read";
}

} // namespace
} // namespace kx
