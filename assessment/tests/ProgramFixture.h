#pragma once
// A fresh program in temporary folders: a program folder with a "params.tav" and an empty
// working directory. Tests write the working files they need before start().
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <unistd.h>

#include "assessment/Program.h"
#include "runtime/Files.h"

class ProgramFixture : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        root_ = std::filesystem::temp_directory_path() /
                ("zelk_" + std::string(info->test_suite_name()) + "_" + info->name() + "_" +
                 std::to_string(::getpid()));
        std::filesystem::remove_all(root_);
        std::filesystem::create_directories(root_ / "prog");
        std::filesystem::create_directories(root_ / "work");
        programDir = (root_ / "prog").string() + "/";
        workDir = (root_ / "work").string() + "/";
        writeFile(programDir + "params.tav", defaultParams());
        // The life-table parameter set built beside the test, so that the life-table screen
        // starts without its "no parameter file" note.
        const std::string ltParams = runtime::executableFolder() + "Zelk_LT-params.kpx";
        if (std::filesystem::exists(ltParams))
            std::filesystem::copy_file(ltParams, programDir + "Zelk_LT-params.kpx");
    }

    void TearDown() override {
        program_.reset();
        std::filesystem::remove_all(root_);
    }

    // The shipped defaults' first record, enough for a program folder.
    static std::string defaultParams() {
        return "2 0  1.00000000000000E+0003  1.00600000000000E+0000  1.00400000000000E+0000  "
               "1.00800000000000E+0000 0 3 0\r\n";
    }

    Program& start() {
        program_ = std::make_unique<Program>(Program::Options{programDir, workDir});
        return *program_;
    }

    static void writeFile(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }

    static std::string readFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    std::string programDir;
    std::string workDir;

private:
    std::filesystem::path root_;
    std::unique_ptr<Program> program_;
};
