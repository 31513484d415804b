#include "platform/ini/IniFile.h"
#include "platform/core/Errors.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/stat.h>

using fat::ini::IniFile;

namespace {

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void Spit(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string WithEnding(std::string text, const std::string& ending) {
    std::string out;
    for (char c : text) out += c == '\n' ? ending : std::string(1, c);
    return out;
}

// A file as an installation keeps it beside the program: comments, blank lines, odd spacing.
const char* const Fixture =
    "; connection of this workstation\n"
    "stray=before any section\n"
    "[BDADOS]\n"
    "DB=C:\\ERRO.BD\n"
    "  chave  =  7  \n"
    "Vazio=\n"
    "Branco=   \n"
    "Aspas=\"  com espaços \"\n"
    "Simples='x'\n"
    "Meia=\"aberta\n"
    "Mista=\"x'\n"
    "Igual=a=b\n"
    "DB=second occurrence\n"
    "\n"
    "[ Banco ]\n"
    "VersaoFirebird=3\n"
    "[CONFIGURA\xC7\xC3O]\n"
    "Nome=Jo\xE3o\n"
    "[bdados]\n"
    "Extra=in a repeated section\n";

} // namespace

TEST(IniFile, ReadsValuesAsTheProfileFunctionsDo) {
    struct Case { const char* section; const char* key; const char* expected; };
    const Case cases[] = {
        {"BDADOS", "DB", "C:\\ERRO.BD"},              // no escapes; the first occurrence wins
        {"bdados", "db", "C:\\ERRO.BD"},              // names without regard to case
        {"BDADOS", "CHAVE", "7"},                     // blanks around name and value dropped
        {" BDADOS ", " CHAVE ", "7"},
        {"BDADOS", "Vazio", ""},                      // present but empty: not the default
        {"BDADOS", "Branco", ""},
        {"BDADOS", "Aspas", "  com espaços "},        // quotes go, what they hold stays
        {"BDADOS", "Simples", "x"},
        {"BDADOS", "Meia", "\"aberta"},               // unmatched quotes stay
        {"BDADOS", "Mista", "\"x'"},
        {"BDADOS", "Igual", "a=b"},                   // the first '=' splits
        {"BDADOS", "Extra", "in a repeated section"},
        {"Banco", "VersaoFirebird", "3"},
        {"configura\xE7\xE3o", "NOME", "Jo\xE3o"},    // WIN1252 letters fold, bytes kept
        {"BDADOS", "HOST", "<default>"},              // missing key
        {"QDXSERVER", "HOST", "<default>"},           // missing section
        {"", "stray", "<default>"},                   // keys before any section are no one's
    };
    for (const char* ending : {"\r\n", "\n"}) {
        fat::test::TempDir dir;
        Spit(dir.file("a.ini"), WithEnding(Fixture, ending));
        IniFile ini(dir.file("a.ini"));
        for (const auto& c : cases)
            EXPECT_EQ(ini.readString(c.section, c.key, "<default>"), c.expected)
                << c.section << "/" << c.key << " with " << (ending[0] == '\r' ? "CR LF" : "LF");
    }
}

TEST(IniFile, TellsWhichSectionsAndKeysExist) {
    fat::test::TempDir dir;
    Spit(dir.file("a.ini"), WithEnding(Fixture, "\r\n"));
    IniFile ini(dir.file("a.ini"));
    EXPECT_TRUE(ini.sectionExists("banco"));
    EXPECT_FALSE(ini.sectionExists("QDXSERVER"));
    EXPECT_TRUE(ini.valueExists("BDADOS", "Vazio"));
    EXPECT_FALSE(ini.valueExists("BDADOS", "HOST"));
    EXPECT_FALSE(ini.valueExists("Banco", "DB"));
}

TEST(IniFile, MissingFileReadsAsEmptyAndIsNotCreatedByReading) {
    fat::test::TempDir dir;
    IniFile ini(dir.file("none.ini"));
    EXPECT_EQ(ini.readString("BDADOS", "DB", "C:\\ERRO.BD"), "C:\\ERRO.BD");
    EXPECT_EQ(ini.readString("BDADOS", "CHAVE", "1"), "1");
    EXPECT_FALSE(ini.sectionExists("BDADOS"));
    EXPECT_FALSE(ini.valueExists("BDADOS", "DB"));
    EXPECT_FALSE(std::filesystem::exists(dir.file("none.ini")));
}

TEST(IniFile, WriteChangesOnlyItsOwnLine) {
    struct Case { const char* name; const char* before; const char* section; const char* key;
                  const char* value; const char* after; };
    const Case cases[] = {
        {"replace, keeping the key's spelling and the rest",
         "; top\r\n[A]\r\nx=1\r\n; about y\r\n  Y = old \r\n\r\n[B]\r\ny=2\r\n",
         "a", "y", "new",
         "; top\r\n[A]\r\nx=1\r\n; about y\r\n  Y =new\r\n\r\n[B]\r\ny=2\r\n"},
        {"add after the last key of the section, before its trailing comment and blank",
         "[A]\r\nx=1\r\n; note\r\n\r\n[B]\r\ny=2\r\n", "A", "z", "3",
         "[A]\r\nx=1\r\nz=3\r\n; note\r\n\r\n[B]\r\ny=2\r\n"},
        {"add to a section that has no key yet",
         "[A]\r\n; nothing here\r\n[B]\r\n", "A", "k", "v",
         "[A]\r\nk=v\r\n; nothing here\r\n[B]\r\n"},
        {"append a missing section at the end",
         "[A]\r\nx=1\r\n", "NEW", "k", "v", "[A]\r\nx=1\r\n[NEW]\r\nk=v\r\n"},
        {"LF file stays LF",
         "[A]\nx=1\n", "B", "k", "v", "[A]\nx=1\n[B]\nk=v\n"},
        {"last line without a line ending",
         "[A]\r\nx=1", "A", "y", "2", "[A]\r\nx=1\r\ny=2\r\n"},
        {"only the first occurrence changes",
         "[A]\r\nx=1\r\nx=2\r\n[a]\r\nx=3\r\n", "A", "X", "9",
         "[A]\r\nx=9\r\nx=2\r\n[a]\r\nx=3\r\n"},
        {"a key of the same name in another section is left alone",
         "[A]\r\nk=1\r\n[B]\r\n", "B", "k", "2", "[A]\r\nk=1\r\n[B]\r\nk=2\r\n"},
        {"empty value, bytes of other lines kept",
         "[A]\r\nnome=Jo\xE3o\r\nk=1\r\n", "A", "k", "", "[A]\r\nnome=Jo\xE3o\r\nk=\r\n"},
        {"empty file", "", "A", "k", "v", "[A]\r\nk=v\r\n"},
    };
    for (const auto& c : cases) {
        fat::test::TempDir dir;
        Spit(dir.file("a.ini"), c.before);
        IniFile ini(dir.file("a.ini"));
        ini.writeString(c.section, c.key, c.value);
        EXPECT_EQ(Slurp(dir.file("a.ini")), c.after) << c.name;
        EXPECT_EQ(ini.readString(c.section, c.key, "<default>"), c.value)
            << c.name;
    }
}

TEST(IniFile, AValueThatReadingWouldChangeIsWrittenSoThatItReadsBackAsSet) {
    // Reading drops the blanks around a value and one pair of matching quotes; such a value is
    // written in double quotes. Anything else is written as it is.
    struct Case { const char* value; const char* line; };
    const Case cases[] = {
        {" padded ", "k=\" padded \""},
        {"trailing\t", "k=\"trailing\t\""},
        {"\"quoted\"", "k=\"\"quoted\"\""},
        {"'x'", "k=\"'x'\""},
        {"\"\"", "k=\"\"\"\""},
        {" ", "k=\" \""},
        {"\"open", "k=\"open"},            // unmatched quotes read back as they are
        {"'x\"", "k='x\""},
        {"in \"the\" middle", "k=in \"the\" middle"},
        {"C:\\ERRO.BD", "k=C:\\ERRO.BD"},
        {"", "k="},
    };
    for (const auto& c : cases) {
        for (const char* before : {"", "[A]\r\nk=old\r\n"}) { // a new key and a replaced one
            fat::test::TempDir dir;
            Spit(dir.file("a.ini"), before);
            IniFile ini(dir.file("a.ini"));
            ini.writeString("A", "k", c.value);
            EXPECT_EQ(Slurp(dir.file("a.ini")), std::string("[A]\r\n") + c.line + "\r\n") << c.value;
            EXPECT_EQ(ini.readString("A", "k", "<default>"), c.value) << c.value;
            // Read and written back, it stays the same.
            ini.writeString("A", "k", ini.readString("A", "k", ""));
            EXPECT_EQ(ini.readString("A", "k", "<default>"), c.value) << c.value;
        }
    }
}

TEST(IniFile, WritesTheParameterGroupIntoAnInstallationsFile) {
    fat::test::TempDir dir;
    const std::string before =
        "[QDXSERVER]\r\nHOST=\r\n\r\n[BDADOS]\r\nDB=servidor:C:\\ERP\\DADOS.FDB\r\nCHAVE=2\r\n\r\n"
        "[Banco]\r\nVersaoFirebird=3\r\n\r\n[DUPLICATAS]\r\n; letras ou numeros\r\nORDDUP=LETRA\r\n";
    const std::string after =
        "[QDXSERVER]\r\nHOST=\r\n\r\n[BDADOS]\r\nDB=servidor:C:\\ERP\\DADOS.FDB\r\nCHAVE=2\r\nPARAM=GERADUP\r\n\r\n"
        "[Banco]\r\nVersaoFirebird=3\r\n\r\n[DUPLICATAS]\r\n; letras ou numeros\r\nORDDUP=LETRA\r\n";
    Spit(dir.file("faturamento.ini"), before);
    IniFile ini(dir.file("faturamento.ini"));
    ini.writeString("BDADOS", "PARAM", "GERADUP");
    EXPECT_EQ(Slurp(dir.file("faturamento.ini")), after);
    // Every load writes it again: the file must not grow.
    ini.writeString("BDADOS", "PARAM", "GERADUP");
    EXPECT_EQ(Slurp(dir.file("faturamento.ini")), after);
    EXPECT_EQ(ini.readString("BDADOS", "DB", ""), "servidor:C:\\ERP\\DADOS.FDB");
}

TEST(IniFile, WriteCreatesTheFileWithWindowsLineEndings) {
    fat::test::TempDir dir;
    IniFile ini(dir.file("novo.ini"));
    ini.writeString("BDADOS", "PARAM", "GERADUP");
    ini.writeString("FILIAL", "CODIGO", "100");
    EXPECT_EQ(Slurp(dir.file("novo.ini")), "[BDADOS]\r\nPARAM=GERADUP\r\n[FILIAL]\r\nCODIGO=100\r\n");
    // Only the program's temporary file name pattern could leave something else behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(IniFile, AReaderOfTheOldFileNeverSeesAHalfWrittenOne) {
    fat::test::TempDir dir;
    const std::string path = dir.file("a.ini");
    Spit(path, "[A]\r\nk=old\r\n");
    ::chmod(path.c_str(), 0640);
    std::ifstream reader(path, std::ios::binary); // opened before the write
    IniFile(path).writeString("A", "k", "new value");
    std::ostringstream seen;
    seen << reader.rdbuf();
    EXPECT_EQ(seen.str(), "[A]\r\nk=old\r\n"); // the old file was replaced whole, not rewritten
    EXPECT_EQ(Slurp(path), "[A]\r\nk=new value\r\n");
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST(IniFile, WriteThroughASymbolicLinkChangesTheFileItNames) {
    fat::test::TempDir dir;
    Spit(dir.file("real.ini"), "[A]\r\nk=1\r\n");
    std::filesystem::create_symlink(dir.file("real.ini"), dir.file("link.ini"));
    IniFile(dir.file("link.ini")).writeString("A", "k", "2");
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.ini")));
    EXPECT_EQ(Slurp(dir.file("real.ini")), "[A]\r\nk=2\r\n");
}

TEST(IniFile, FailedWritesNameTheFileAndLeaveItAsItWas) {
    struct Case { const char* name; const char* file; const char* expect; };
    const Case cases[] = {
        {"missing folder", "no/such/folder/a.ini", "does not exist"},
        {"read-only file", "ro.ini", "read-only"},
        {"read-only folder", "rodir/a.ini", "read-only"},
        {"a folder in the file's place", "isdir.ini", "folder"},
    };
    for (const auto& c : cases) {
        fat::test::TempDir dir;
        Spit(dir.file("ro.ini"), "[A]\r\nk=1\r\n");
        ::chmod(dir.file("ro.ini").c_str(), 0444);
        std::filesystem::create_directory(dir.file("rodir"));
        Spit(dir.file("rodir/a.ini"), "[A]\r\nk=1\r\n");
        ::chmod(dir.file("rodir").c_str(), 0555);
        std::filesystem::create_directory(dir.file("isdir.ini"));

        const std::string path = dir.file(c.file);
        try {
            IniFile(path).writeString("A", "k", "2");
            ADD_FAILURE() << c.name << ": no error";
        } catch (const fat::Error& e) {
            EXPECT_NE(std::string(e.what()).find("'" + path + "'"), std::string::npos) << c.name << ": " << e.what();
            EXPECT_NE(std::string(e.what()).find(c.expect), std::string::npos) << c.name << ": " << e.what();
        }
        if (std::filesystem::is_regular_file(path)) {
            EXPECT_EQ(Slurp(path), "[A]\r\nk=1\r\n") << c.name;
        }
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.file("rodir")), {}), 1) << c.name;
        ::chmod(dir.file("rodir").c_str(), 0755); // so that the folder can be removed
    }
}

TEST(IniFile, RefusesNamesAndValuesThatWouldChangeTheFilesStructure) {
    struct Case { const char* section; const char* key; const char* value; };
    const Case cases[] = {
        {"A", "k", "x\r\n[BDADOS]\r\nDB=elsewhere"},
        {"A", "k", "x\ny=1"},
        {"A]\r\n[B", "k", "v"},
        {"A", "k=v", "w"},
        {"A", ";k", "v"},
        {"", "k", "v"},
        {"A", " ", "v"},
    };
    for (const auto& c : cases) {
        fat::test::TempDir dir;
        Spit(dir.file("a.ini"), "[A]\r\nk=1\r\n");
        IniFile ini(dir.file("a.ini"));
        EXPECT_THROW(ini.writeString(c.section, c.key, c.value), fat::Error) << c.section << "/" << c.key;
        EXPECT_EQ(Slurp(dir.file("a.ini")), "[A]\r\nk=1\r\n");
    }
}

TEST(IniFile, AnUnreadableFileIsAnErrorNotAnEmptyFile) {
    fat::test::TempDir dir;
    std::filesystem::create_directory(dir.file("isdir.ini"));
    IniFile ini(dir.file("isdir.ini"));
    try {
        ini.readString("BDADOS", "DB", "C:\\ERRO.BD");
        ADD_FAILURE() << "no error";
    } catch (const fat::Error& e) {
        EXPECT_NE(std::string(e.what()).find(dir.file("isdir.ini")), std::string::npos) << e.what();
    }
}
