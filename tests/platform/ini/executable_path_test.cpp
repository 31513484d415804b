#include "platform/ini/ExecutablePath.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace fat::ini;

TEST(ExecutablePath, IniFileBesideTheProgram) {
    struct Case { const char* exe; const char* dir; const char* ini; };
    const Case cases[] = {
        {"/opt/erp/faturamento", "/opt/erp", "/opt/erp/faturamento.ini"},
        {"/opt/erp/Faturamento.exe", "/opt/erp", "/opt/erp/Faturamento.ini"},
        {"/opt/erp.d/fat.v2", "/opt/erp.d", "/opt/erp.d/fat.ini"},
    };
    for (const auto& c : cases) {
        SetExecutablePathForTesting(c.exe);
        EXPECT_EQ(ExecutablePath(), c.exe);
        EXPECT_EQ(ExecutableDir(), c.dir);
        EXPECT_EQ(IniPathForExecutable(), c.ini);
    }
    SetExecutablePathForTesting("");
}

TEST(ExecutablePath, EmptyOverrideRestoresTheRunningProgram) {
    SetExecutablePathForTesting("/elsewhere/x");
    SetExecutablePathForTesting("");
    const auto real = std::filesystem::read_symlink("/proc/self/exe");
    EXPECT_EQ(ExecutablePath(), real.string());
    EXPECT_EQ(ExecutableDir(), real.parent_path().string());
    EXPECT_EQ(IniPathForExecutable(), (real.parent_path() / (real.stem().string() + ".ini")).string());
}
