// Expanding environment variables in stored texts, as ExpandEnvironmentStringsA does.
#include <gtest/gtest.h>

#include <string>

#include "ContractEnv.h"

namespace {

TEST(EnvironmentContractTest, ExpandsDefinedVariablesAndKeepsTheRestAsWritten) {
    contract::Env& env = contract::env();
    platform::Environment* environment = env.System().environment();
    ASSERT_NE(environment, nullptr);
    env.SetVariable("ZORVIK_CONTRACT_DIR", "C:\\Some Dir");
    env.SetVariable("ZORVIK_CONTRACT_NONE", "");
    const std::string windows = env.System().files().WindowsDirectory();
    struct Case {
        std::string text;
        std::string expanded;
    };
    const Case cases[] = {
        {"%ZORVIK_CONTRACT_DIR%\\bot.exe", "C:\\Some Dir\\bot.exe"},
        {"\"%zorvik_contract_dir%\\a.exe\" %ZORVIK_CONTRACT_DIR%",
         "\"C:\\Some Dir\\a.exe\" C:\\Some Dir"},
        {"%SystemRoot%\\system32", windows + "\\system32"},
        {"%ZORVIK_CONTRACT_NONE%\\x.exe", "%ZORVIK_CONTRACT_NONE%\\x.exe"},
        // An undefined name keeps both its % signs (as Wine does; Windows' documentation does
        // not say).
        {"%ZORVIK_CONTRACT_NONE%ZORVIK_CONTRACT_DIR%",
         "%ZORVIK_CONTRACT_NONE%ZORVIK_CONTRACT_DIR%"},
        {"50% of %ZORVIK_CONTRACT_DIR", "50% of %ZORVIK_CONTRACT_DIR"},
        {"no variables", "no variables"},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(environment->Expand(c.text), c.expanded) << c.text;
    env.SetVariable("ZORVIK_CONTRACT_DIR", "");
    EXPECT_EQ(environment->Expand("%ZORVIK_CONTRACT_DIR%"), "%ZORVIK_CONTRACT_DIR%");
}

}  // namespace
