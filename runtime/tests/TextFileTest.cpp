#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>

#include "runtime/Errors.h"
#include "runtime/TextFile.h"
#include "runtime/testing/ReadOnlyFolder.h"
#include "runtime/testing/ScratchFolder.h"

using namespace runtime;

namespace {

// The files of these tests share one scratch folder, removed when the run ends.
std::string writeTemp(const std::string& name, const std::string& bytes) {
    static const runtime::testing::ScratchFolder folder;
    return folder.write(name, bytes);
}

using runtime::testing::readFile;

}  // namespace

TEST(TextReader, IntegersCrossLineBreaksAndEndAsZero) {
    TextReader r(writeTemp("ints", "1 -2\r\n\t3\n  4"));
    EXPECT_EQ(r.readInteger(), 1);
    EXPECT_EQ(r.readInteger(), -2);
    EXPECT_EQ(r.readInteger(), 3);
    EXPECT_EQ(r.readInteger(), 4);
    EXPECT_TRUE(r.eof());
    EXPECT_EQ(r.readInteger(), 0);  // at the end of the file: 0 without error
    EXPECT_EQ(r.readInteger(), 0);
}

TEST(TextReader, MalformedNumberIsInvalidNumericInput) {
    TextReader r(writeTemp("bad", "12 x3 4"));
    EXPECT_EQ(r.readInteger(), 12);
    try {
        r.readInteger();
        FAIL();
    } catch (const InOutError& e) {
        EXPECT_EQ(e.code(), 106);
        EXPECT_STREQ(e.what(), "Invalid numeric input");
    }
    TextReader reals(writeTemp("reals", " 1.06000000000000E+0000 -5E-1 1,5"));
    EXPECT_DOUBLE_EQ(static_cast<double>(reals.readReal()), 1.06);
    EXPECT_DOUBLE_EQ(static_cast<double>(reals.readReal()), -0.5);
    EXPECT_THROW(reals.readReal(), InOutError);  // "," is never a separator in these files
}

TEST(TextReader, TextReadsTakeTheRestOfTheLine) {
    TextReader r(writeTemp("text", "0 0 ;a;b;;\r\nsecond line  \nthird"));
    EXPECT_EQ(r.readInteger(), 0);
    EXPECT_EQ(r.readInteger(), 0);
    EXPECT_EQ(r.readText(), " ;a;b;;");
    r.readln();
    EXPECT_EQ(r.readLine(6), "second");  // cut at the maximum; readln skips the rest
    EXPECT_EQ(r.readLine(), "third");
    EXPECT_TRUE(r.eof());
    EXPECT_EQ(r.readLine(), "");  // a line past the end reads as empty
}

TEST(TextReader, MissingFileIsFileNotFound) {
    try {
        TextReader r("/nonexistent/zelk/file.tab");
        FAIL();
    } catch (const InOutError& e) {
        EXPECT_STREQ(e.what(), "File not found");
    }
}

TEST(TextReader, AFileThatCannotBeOpenedGivesTheMeaningOfItsFailure) {
    const runtime::testing::ScratchFolder dir;
    const auto failure = [](const std::string& path) {
        try {
            TextReader r(path);
        } catch (const InOutError& e) {
            return std::string(e.what());
        }
        return std::string();
    };
    std::filesystem::create_symlink("loop", dir.file("loop"));
    EXPECT_EQ(failure(dir.file("loop")), "Too many levels of symbolic links");
    EXPECT_EQ(failure(dir.write("file", "x") + "/inside"), "Invalid filename");
    const std::string unreadable = dir.write("unreadable", "x");
    ::chmod(dir.dir().c_str(), 0755);
    ::chmod(unreadable.c_str(), 0200);
    const auto run =
        runtime::testing::runUnprivileged(dir.dir(), [&] { return failure(unreadable) == "File access denied"; });
    EXPECT_NE(run, runtime::testing::ReadOnlyRun::Failed);
}

TEST(TextWriter, WritesCrLfLinesAndAppends) {
    const auto path = writeTemp("w", "");
    {
        TextWriter w(path);
        w.writeln("a b");
        w.writeInteger(-5);
        w.write(" ");
        w.close();
    }
    {
        TextWriter w(path, TextWriter::Mode::Append);
        w.writeln();
        w.close();
    }
    EXPECT_EQ(readFile(path), "a b\r\n-5 \r\n");
    EXPECT_EQ(readAllLines(path), (std::vector<std::string>{"a b", "-5 "}));
    EXPECT_THROW(TextWriter("/nonexistent/zelk/out.txt"), InOutError);
}
