#include "platform/CharacterSet.h"

#include <gtest/gtest.h>

#include <clocale>
#include <ostream>
#include <string>

// Failing assertions show the texts, not their bytes.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace {

using quillon::CharacterSetForCodePage;
using quillon::CharacterSetForCodeset;

struct CodePageCase {
    const char *name;
    int codePage;
    const char *expected;
};

class CodePageTable : public testing::TestWithParam<CodePageCase> {};

TEST_P(CodePageTable, GivesTheImageBuildersName)
{
    const CodePageCase &c = GetParam();
    EXPECT_EQ(CharacterSetForCodePage(c.codePage), QString::fromLatin1(c.expected))
        << "code page " << c.codePage;
}

INSTANTIATE_TEST_SUITE_P(
    CharacterSet, CodePageTable,
    testing::Values(
        CodePageCase{"us_dos", 437, "cp437"}, CodePageCase{"greek_dos", 737, "cp737"},
        CodePageCase{"baltic_dos", 775, "cp775"}, CodePageCase{"western_dos", 850, "cp850"},
        CodePageCase{"central_european_dos", 852, "cp852"}, CodePageCase{"cyrillic_dos", 855, "cp855"},
        CodePageCase{"turkish_dos", 857, "cp857"}, CodePageCase{"portuguese_dos", 860, "cp860"},
        CodePageCase{"icelandic_dos", 861, "cp861"}, CodePageCase{"hebrew_dos", 862, "cp862"},
        CodePageCase{"canadian_french_dos", 863, "cp863"}, CodePageCase{"arabic_dos", 864, "cp864"},
        CodePageCase{"nordic_dos", 865, "cp865"}, CodePageCase{"russian_dos", 866, "cp866"},
        CodePageCase{"modern_greek_dos", 869, "cp869"}, CodePageCase{"thai", 874, "cp874"},
        CodePageCase{"central_european_windows", 1250, "cp1250"},
        CodePageCase{"cyrillic_windows", 1251, "cp1251"}, CodePageCase{"mac_roman", 10000, "cp10000"},
        CodePageCase{"mac_greek", 10006, "cp10006"}, CodePageCase{"mac_cyrillic", 10007, "cp10007"},
        CodePageCase{"mac_latin2", 10029, "cp10029"}, CodePageCase{"mac_icelandic", 10079, "cp10079"},
        CodePageCase{"mac_turkish", 10081, "cp10081"},
        CodePageCase{"western_dos_with_euro", 858, "iso8859-1"},
        CodePageCase{"western_windows", 1252, "iso8859-1"},
        CodePageCase{"vietnamese_windows", 1258, "iso8859-1"},
        CodePageCase{"ebcdic_latin1", 20924, "iso8859-1"}, CodePageCase{"koi8_ibm", 878, "koi8-r"},
        CodePageCase{"koi8_russian", 20866, "koi8-r"}, CodePageCase{"greek_windows", 1253, "iso8859-7"},
        CodePageCase{"turkish_windows", 1254, "iso8859-9"}, CodePageCase{"hebrew_windows", 1255, "iso8859-8"},
        CodePageCase{"hebrew_logical", 38598, "iso8859-8"}, CodePageCase{"arabic_windows", 1256, "iso8859-6"},
        CodePageCase{"iso_latin1", 28591, "iso8859-1"}, CodePageCase{"iso_arabic", 28596, "iso8859-6"},
        CodePageCase{"iso_turkish", 28599, "iso8859-9"}, CodePageCase{"iso_latin9", 28605, "iso8859-15"},
        CodePageCase{"baltic_windows", 1257, ""}, CodePageCase{"between_the_dos_ranges", 859, ""},
        CodePageCase{"after_the_dos_range", 867, ""}, CodePageCase{"before_the_iso_range", 28590, ""},
        CodePageCase{"after_the_iso_range", 28600, ""}, CodePageCase{"iso_latin7", 28603, ""},
        CodePageCase{"japanese", 932, ""}, CodePageCase{"utf8", 65001, ""}, CodePageCase{"zero", 0, ""}),
    [](const testing::TestParamInfo<CodePageCase> &info) { return std::string(info.param.name); });

struct CodesetCase {
    const char *name;
    const char *codeset;
    const char *expected;
};

class CodesetNames : public testing::TestWithParam<CodesetCase> {};

TEST_P(CodesetNames, GiveTheImageBuildersName)
{
    const CodesetCase &c = GetParam();
    EXPECT_EQ(CharacterSetForCodeset(QString::fromLatin1(c.codeset)), QString::fromLatin1(c.expected))
        << "codeset " << c.codeset;
}

INSTANTIATE_TEST_SUITE_P(
    CharacterSet, CodesetNames,
    testing::Values(
        CodesetCase{"utf8_glibc", "UTF-8", "utf-8"}, CodesetCase{"utf8_short", "utf8", "utf-8"},
        CodesetCase{"latin1_glibc", "ISO-8859-1", "iso8859-1"},
        CodesetCase{"latin1_without_dash", "ISO8859-1", "iso8859-1"},
        CodesetCase{"latin2_underscore", "iso_8859-2", "iso8859-2"},
        CodesetCase{"greek", "ISO-8859-7", "iso8859-7"}, CodesetCase{"turkish", "ISO-8859-9", "iso8859-9"},
        CodesetCase{"baltic_rim", "ISO-8859-13", "iso8859-13"},
        CodesetCase{"latin9", "ISO-8859-15", "iso8859-15"}, CodesetCase{"nordic", "ISO-8859-10", ""},
        CodesetCase{"celtic", "ISO-8859-14", ""}, CodesetCase{"russian", "KOI8-R", "koi8-r"},
        CodesetCase{"russian_lower", "koi8r", "koi8-r"}, CodesetCase{"ukrainian", "KOI8-U", ""},
        CodesetCase{"cyrillic_cp", "CP1251", "cp1251"},
        CodesetCase{"cyrillic_windows", "WINDOWS-1251", "cp1251"},
        CodesetCase{"western_windows", "CP1252", "iso8859-1"}, CodesetCase{"western_dos", "CP850", "cp850"},
        CodesetCase{"russian_dos_ibm", "IBM866", "cp866"}, CodesetCase{"baltic_windows", "CP1257", ""},
        CodesetCase{"posix_ascii", "ANSI_X3.4-1968", ""}, CodesetCase{"ascii", "ASCII", ""},
        CodesetCase{"japanese", "EUC-JP", ""}, CodesetCase{"chinese", "GB18030", ""},
        CodesetCase{"empty", "", ""}, CodesetCase{"cp_without_number", "CP", ""}),
    [](const testing::TestParamInfo<CodesetCase> &info) { return std::string(info.param.name); });

// The running locale decides; the test switches it and puts the program's own back.
TEST(CharacterSet, DetectsTheLocalesCodeset)
{
#ifdef Q_OS_WIN
    GTEST_SKIP() << "Windows takes its ANSI code page, not the C library's locale";
#endif
    const std::string saved = std::setlocale(LC_CTYPE, nullptr);
    if (!std::setlocale(LC_CTYPE, "C.UTF-8"))
        GTEST_SKIP() << "no C.UTF-8 locale on this system";
    const QString utf8 = quillon::DetectSystemCharacterSet();
    std::setlocale(LC_CTYPE, "C");
    const QString plain = quillon::DetectSystemCharacterSet();
    std::setlocale(LC_CTYPE, saved.c_str());

    EXPECT_EQ(utf8, QStringLiteral("utf-8"));
    EXPECT_EQ(plain, QString()) << "the C locale's ASCII has no name of its own";
}

} // namespace
