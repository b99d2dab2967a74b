#pragma once
// A fresh program in temporary folders: a program folder with a "params.tav" and an empty
// working directory. Tests write the working files they need before start().
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "assessment/Program.h"
#include "runtime/Files.h"
#include "runtime/testing/ScratchFolder.h"

using runtime::testing::readFile;
using runtime::testing::writeFile;

class ProgramFixture : public ::testing::Test {
protected:
    void SetUp() override {
        programDir = scratch_.subfolder("prog");
        workDir = scratch_.subfolder("work");
        writeFile(programDir + "params.tav", defaultParams());
        // The life-table parameter set built beside the test, so that the life-table screen
        // starts without its "no parameter file" note.
        const std::string ltParams = runtime::executableFolder() + "Zelk_LT-params.kpx";
        if (std::filesystem::exists(ltParams))
            std::filesystem::copy_file(ltParams, programDir + "Zelk_LT-params.kpx");
    }

    void TearDown() override { program_.reset(); }

    // The shipped defaults' first record, enough for a program folder.
    static std::string defaultParams() {
        return "2 0  1.00000000000000E+0003  1.00600000000000E+0000  1.00400000000000E+0000  "
               "1.00800000000000E+0000 0 3 0\r\n";
    }

    Program& start() {
        program_ = std::make_unique<Program>(Program::Options{programDir, workDir});
        return *program_;
    }

    std::string programDir;
    std::string workDir;

private:
    runtime::testing::ScratchFolder scratch_;  // removed after the program
    std::unique_ptr<Program> program_;
};
