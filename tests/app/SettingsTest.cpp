// The settings routine and the value functions every caller reads through.
#include "app/ReadWriteIni.h"
#include "app/Tools.h"
#include "platform/core/NumberFormat.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace ktv;
using test::readFile;
using test::writeFile;

TEST(ReadWriteIni, ArgumentErrorsComeBackAsTextInOrder)
{
    test::TempDir dir;
    const auto f = dir.file("Vedaz.ini");
    EXPECT_EQ(ReadWriteIni("", f, "", "", Value("x")), "Mode Hatası");
    EXPECT_EQ(ReadWriteIni("GET", f, "", ""), "Secname Hatası");
    EXPECT_EQ(ReadWriteIni("GET", f, "CEVRIM", ""), "Keyname Hatası");
    EXPECT_EQ(ReadWriteIni("WRITE", f, "CEVRIM", "KLASOR", Value("")), "ERROR KeyValue");
    EXPECT_EQ(ReadWriteIni("WRITE", f, "CEVRIM", "KLASOR", Value(Null{})), "ERROR KeyValue");
    EXPECT_EQ(ReadWriteIni("WRITE", f, "CEVRIM", "KLASOR"), "ERROR KeyValue");
    struct stat st;
    EXPECT_NE(stat(f.c_str(), &st), 0) << "nothing may be written on an argument error";
}

TEST(ReadWriteIni, ModesAndValues)
{
    test::TempDir dir;
    const auto f = dir.file("Vedaz.ini");
    EXPECT_EQ(ReadWriteIni("GET", f, "CEVRIM", "KLASOR"), "") << "missing file";
    EXPECT_EQ(ReadWriteIni("WRITE", f, "CEVRIM", "KTDPVD", Value(0)), "");
    EXPECT_EQ(ReadWriteIni("get", f, "CEVRIM", "KTDPVD"), "0");
    EXPECT_EQ(ReadWriteIni("Write", f, "CEVRIM", "KLASOR", Value("/src")), "");
    EXPECT_EQ(ReadWriteIni("GET", f, "CEVRIM", "KLASOR"), "/src");

    const std::string before = readFile(f);
    EXPECT_EQ(ReadWriteIni("READ", f, "CEVRIM", "KLASOR", Value("other")), "");
    EXPECT_EQ(readFile(f), before) << "an unknown mode touches nothing";

    writeFile(f,
              "[CEVRIM]\r\nKLASOR=\r\nDOSYA=Failed123\r\nLONG=" + std::string(300, 'y') + "\r\nX=Fail\r\n");
    EXPECT_EQ(ReadWriteIni("GET", f, "CEVRIM", "KLASOR"), "");
    EXPECT_EQ(ReadWriteIni("GET", f, "CEVRIM", "DOSYA"), "") << "a stored Failed reads as missing";
    EXPECT_EQ(ReadWriteIni("GET", f, "CEVRIM", "LONG"), std::string(254, 'y'));
    EXPECT_EQ(ReadWriteIni("GET", f, "CEVRIM", "X"), "Fail");
    EXPECT_EQ(ReadWriteIni("GET", f, "CEVRIM", "NOPE"), "");
}

TEST(ReadWriteIni, AFailedWriteIsReportedAndTheSessionGoesOn)
{
    test::TempDir dir;
    test::ScriptedMessageBoxes boxes;
    boxes.answer(MsgAnswer::Ok, 2); // the error report of each failed write
    test::ExitCatcher exitCatcher;
    const auto missingFolder = dir.file("no/such/folder/Vedaz.ini");
    EXPECT_NO_THROW(ReadWriteIni("WRITE", missingFolder, "CEVRIM", "KLASOR", Value("x")));

    // A settings file the operator made read-only is refused like any failed write, never
    // replaced behind the operator's back.
    const auto readOnly = dir.file("Vedaz.ini");
    writeFile(readOnly, "[CEVRIM]\r\nKLASOR=/old\r\n");
    ASSERT_EQ(::chmod(readOnly.c_str(), 0444), 0);
    EXPECT_NO_THROW(ReadWriteIni("WRITE", readOnly, "CEVRIM", "KLASOR", Value("/new")));
    EXPECT_EQ(readFile(readOnly), "[CEVRIM]\r\nKLASOR=/old\r\n");
    struct stat st {};
    ASSERT_EQ(::stat(readOnly.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0444u);

    ASSERT_EQ(boxes.shown.size(), 2u);
    for (const auto& box : boxes.shown) {
        EXPECT_EQ(box.title, "Genel HATA");
        EXPECT_NE(box.text.find(" Prosedur Adi   : System: ReadWriteIni\r\n"), std::string::npos);
    }
    EXPECT_EQ(ReadWriteIni("GET", readOnly, "CEVRIM", "KLASOR"), "/old");
}

TEST(ValueFunctions, N_TAndN_TVAL)
{
    NumberFormat::pin({'.', ','});
    EXPECT_EQ(N_T(Value("  abc  ")), Value("abc"));
    EXPECT_EQ(N_T(Value("  abc  "), true), Value("  abc  "));
    EXPECT_EQ(N_T(Value(Null{})), Value(""));
    EXPECT_EQ(N_T(Value(Null{}), true), Value(""));
    EXPECT_EQ(N_T(Value(12)), Value("12"));
    EXPECT_EQ(N_T(Value(12), true), Value(12));
    EXPECT_EQ(N_T(Value("\tx\t")), Value("\tx\t")) << "only blanks are trimmed";

    EXPECT_EQ(N_TVAL(Value("  12  ")), Value("12"));
    EXPECT_EQ(N_TVAL(Value("12a")), Value(0));
    EXPECT_EQ(N_TVAL(Value(Null{})), Value(0));
    EXPECT_EQ(N_TVAL(Value("")), Value(0));
    EXPECT_EQ(N_TVAL(Value("2.5")), Value("2.5"));
    EXPECT_EQ(N_TVAL(Value("1,500")), Value("1,500"));
    NumberFormat::pin({',', '.'});
    EXPECT_EQ(N_TVAL(Value("2,5")), Value("2,5"));
    EXPECT_EQ(N_T(Value(2.5)), Value("2,5")) << "numbers become text in the user's format";
    EXPECT_EQ(N_TVAL(Value("1.234,5")), Value("1.234,5"));
    EXPECT_EQ(N_TVAL(Value("1,234.5")), Value(0));
    {
        // Whatever the C library's numeric locale (the window toolkit sets it).
        const test::NumericLocale turkish("tr_TR.UTF-8");
        NumberFormat::pin({'.', ','});
        EXPECT_EQ(N_T(Value(2.5)), Value("2.5"));
    }
    NumberFormat::unpin();
}
