// INI files beside the program as editors and people leave them: byte-order marks, CR LF, LF and
// mixed line endings, sections twice, garbage lines, very long lines and values. The connection
// and the parameter defaults read what the file says, and the one write of the load (PARAM in
// BDADOS) changes nothing else in the file.
#include "../datamodule/DataModuleFixture.h"

#include "platform/core/Errors.h"
#include "platform/core/Win1252.h"
#include "platform/ini/FileBytes.h"

namespace fat::test {
namespace {

// A fresh database, program folder and data module for each case of a table.
struct IniCase : DataModuleFixture {
    void TestBody() override {}
    std::string fileBytes() const { return ini::ReadFileBytes(iniPath()).value_or("<no file>"); }
};

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

const std::string Bom = "\xEF\xBB\xBF";

TEST(HostileIniFiles, ConnectReadTheDefaultsAndKeepEveryOtherByte) {
    const std::string longComment = ";" + std::string(1 << 20, 'x');
    const std::string longValue = std::string(100000, 'v');
    struct Case {
        const char* what;
        std::string before; // {DB} stands for the database's location
        std::string after;  // the file once the load has written PARAM
        int filGera;        // from [FILIAL] CODIGO, 100 when the file has none
    };
    const std::vector<Case> cases = {
        {"LF endings", "[BDADOS]\nDB={DB}\nCHAVE=1\n[FILIAL]\nCODIGO=300\n",
         "[BDADOS]\nDB={DB}\nCHAVE=1\nPARAM=GERADUP\n[FILIAL]\nCODIGO=300\n", 300},
        {"CR LF endings", "[BDADOS]\r\nDB={DB}\r\nCHAVE=1\r\n[FILIAL]\r\nCODIGO=300\r\n",
         "[BDADOS]\r\nDB={DB}\r\nCHAVE=1\r\nPARAM=GERADUP\r\n[FILIAL]\r\nCODIGO=300\r\n", 300},
        {"mixed endings and no final line break", "[BDADOS]\r\nDB={DB}\nCHAVE=1\r\n[FILIAL]\nCODIGO=300",
         "[BDADOS]\r\nDB={DB}\nCHAVE=1\r\nPARAM=GERADUP\r\n[FILIAL]\nCODIGO=300", 300},
        {"UTF-8 byte-order mark", Bom + "[BDADOS]\r\nDB={DB}\r\nCHAVE=1\r\n[FILIAL]\r\nCODIGO=300\r\n",
         Bom + "[BDADOS]\r\nDB={DB}\r\nCHAVE=1\r\nPARAM=GERADUP\r\n[FILIAL]\r\nCODIGO=300\r\n", 300},
        {"byte-order mark and LF", Bom + "[FILIAL]\nCODIGO=300\n[BDADOS]\nDB={DB}\n",
         Bom + "[FILIAL]\nCODIGO=300\n[BDADOS]\nDB={DB}\nPARAM=GERADUP\n", 300},
        {"sections twice: the first value of a key wins, a key of the second is found",
         "[BDADOS]\nDB={DB}\n[FILIAL]\nCODIGO=300\n[BDADOS]\nCHAVE=1\nDB=/nao/existe.fdb\n[FILIAL]\nCODIGO=700\n",
         "[BDADOS]\nDB={DB}\nPARAM=GERADUP\n[FILIAL]\nCODIGO=300\n[BDADOS]\nCHAVE=1\nDB=/nao/existe.fdb\n[FILIAL]\n"
         "CODIGO=700\n",
         300},
        {"names in other case and with blanks, a quoted value", "[ bdados ]\n  db =  \"{DB}\"  \nchave = 1\n",
         "[ bdados ]\n  db =  \"{DB}\"  \nchave = 1\nPARAM=GERADUP\n", 100},
        {"garbage lines",
         "junk without an equals sign\n\x01\x02\xFF\xFE\n=value without a key\n[unclosed\n; DB=/comment.fdb\n   \n"
         "DB=/before/any/section.fdb\n[BDADOS]\nnonsense\n" +
             std::string("\0\0\0", 3) + "\nDB={DB}\n[FILIAL] trailing words\nCODIGO=300\n",
         "junk without an equals sign\n\x01\x02\xFF\xFE\n=value without a key\n[unclosed\n; DB=/comment.fdb\n   \n"
         "DB=/before/any/section.fdb\n[BDADOS]\nnonsense\n" +
             std::string("\0\0\0", 3) + "\nDB={DB}\nPARAM=GERADUP\n[FILIAL] trailing words\nCODIGO=300\n",
         300},
        {"a line of a megabyte and a value of 100,000 characters",
         longComment + "\n[OUTRA]\nLONGA=" + longValue + "\n[BDADOS]\nDB={DB}\n[Banco]\nVersaoFirebird=" +
             longValue + "\n",
         longComment + "\n[OUTRA]\nLONGA=" + longValue +
             "\n[BDADOS]\nDB={DB}\nPARAM=GERADUP\n[Banco]\nVersaoFirebird=" + longValue + "\n",
         100},
        {"the key already present is rewritten in place", "[BDADOS]\r\nPARAM=OUTRO\r\nDB={DB}\r\n",
         "[BDADOS]\r\nPARAM=GERADUP\r\nDB={DB}\r\n", 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        IniCase t;
        const std::string location = t.db.location();
        t.writeIni(Replace(c.before, "{DB}", location));
        ASSERT_NO_THROW(t.dm.Conectar());
        EXPECT_TRUE(t.dm.sqlCon.connected());
        ASSERT_NO_THROW(t.dm.CarregarParametros());
        EXPECT_EQ(t.dm.FilGera, c.filGera);
        EXPECT_EQ(t.params()["FIL_CODIGO"], std::to_string(c.filGera));
        const std::string after = Replace(c.after, "{DB}", location);
        const std::string written = t.fileBytes();
        EXPECT_EQ(written.size(), after.size());
        EXPECT_TRUE(written == after) << written.substr(0, 300);
        EXPECT_TRUE(t.messages.boxes.empty());
    }
}

// A file with a byte-order mark is UTF-8 text: its values reach the program as the WIN1252 text
// they spell. A file without one holds WIN1252 bytes, which pass unchanged.
TEST(HostileIniFiles, AccentsAreReadInTheFilesOwnEncoding) {
    const std::string accented = Win1252("LETRÁ ÇÃO");
    struct Case {
        const char* what;
        std::string file;
    };
    const std::vector<Case> cases = {
        {"UTF-8 with a byte-order mark", Bom + "[DUPLICATAS]\r\nORDDUP=" + Win1252ToUtf8(accented) + "\r\n"},
        {"WIN1252 without a mark", "[DUPLICATAS]\r\nORDDUP=" + accented + "\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        IniCase t;
        t.writeIni(c.file);
        t.connect();
        t.dm.CarregarParametros();
        EXPECT_EQ(t.dm.Parametros.DUP_ORDDUP, accented);
        EXPECT_EQ(t.params()["DUP_ORDDUP"], accented);
        // The file keeps its encoding: the line written is plain text, the rest untouched.
        EXPECT_EQ(t.fileBytes(), c.file + "[BDADOS]\r\nPARAM=GERADUP\r\n");
    }
}

// Files the load cannot use: the connection fails with a clear error (the engine's for the default
// location "C:\\ERRO.BD", or one that names the file) and the file is left as it was.
TEST(HostileIniFiles, FilesThatNameNoUsableDatabaseFailWithAClearError) {
    struct Case {
        const char* what;
        std::string file;
        std::string mentions; // a part of the error's text
    };
    const std::vector<Case> cases = {
        {"empty file: the default location", "", "\"C\""},
        {"only a byte-order mark", Bom, "\"C\""},
        {"a location of 10,000 characters", "[BDADOS]\nDB=/tmp/" + std::string(10000, 'd') + ".fdb\n", "ddddd"},
        {"UTF-16 text", std::string("\xFF\xFE[\0B\0D\0A\0D\0O\0S\0]\0", 18), "faturamento.ini"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        IniCase t;
        t.writeIni(c.file);
        try {
            t.dm.Conectar();
            ADD_FAILURE() << "connected";
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find(c.mentions), std::string::npos) << std::string(e.what()).substr(0, 300);
        }
        EXPECT_FALSE(t.dm.sqlCon.connected());
        EXPECT_EQ(t.fileBytes(), c.file) << "the failed start-up wrote the file";
    }
}

} // namespace
} // namespace fat::test
