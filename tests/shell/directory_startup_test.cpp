// The program's start-up in directory mode, end to end: the INI file names the development
// directory server, which runs as a child process and lists embedded databases; the company
// list comes over HTTP, the selection dialog is answered like a user would, and the data
// module connects to the chosen database.
#include "datamodule/TDM.h"
#include "db/DemoData.h"
#include "directory/QDXConnection.h"
#include "directory/TfrmSelecionarBanco.h"
#include "platform/core/UserMessages.h"
#include "platform/ini/ExecutablePath.h"
#include "shell/Startup.h"
#include "shell/TForm1.h"
#include "support/MessageRecorder.h"
#include "support/TestDatabase.h"
#include "../directory/DirectoryServerProcess.h"

#include <QComboBox>
#include <QPushButton>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

using namespace fat;

namespace {

// Thrown by the trapped process end. It is no std::exception on purpose: the start-up shows
// every std::exception and goes on, while a real process end leaves nothing to run.
struct ProcessExit {
    int code;
};

// Replaces the ending of the process for as long as it lives.
class ProcessExitTrap {
public:
    ProcessExitTrap() {
        previous_ = SetProcessEnder([this](int code) {
            codes.push_back(code);
            throw ProcessExit{code};
        });
    }
    ~ProcessExitTrap() { SetProcessEnder(std::move(previous_)); }
    ProcessExitTrap(const ProcessExitTrap&) = delete;
    ProcessExitTrap& operator=(const ProcessExitTrap&) = delete;

    std::vector<int> codes;

private:
    ProcessEnder previous_;
};

std::string Database(int id, const std::string& host, const char* type, const char* description) {
    return "{\"id\": " + std::to_string(id) + ", \"host\": \"" + host + "\", \"password\": \"fennelrot\", \"type\": \"" +
           type + "\", \"description\": \"" + description + "\", \"parent\": 0}";
}

constexpr const char* kDemoCompany = "DEMO CALCADOS LTDA";
constexpr const char* kOtherCompany = "OUTRA EMPRESA";

struct DirectoryStartUp : ::testing::Test {
    test::TestDatabase demo;
    test::TestDatabase other;
    test::TempDir programDir;
    test::MessageRecorder messages;
    ProcessExitTrap exits;
    directory::SelecionarBancoChooser chooser;
    int dialogs = 0;
    std::vector<QString> entries;      // as the dialog listed them
    std::function<void(directory::TfrmSelecionarBanco&)> user; // what the user does in it

    DirectoryStartUp() {
        db::DemoDataOptions options;
        options.pendingInvoices = 12;
        options.companyName = kDemoCompany;
        db::GenerateDemoData(demo.connection(), options);
        other.exec(std::string("insert into CONFIG (NOME_EMPRESA, TPFATUR, GERARCOPIADUP) values ('") + kOtherCompany +
                   "', 'T', 'N')");

        ini::SetExecutablePathForTesting(programDir.file("faturamento"));
        chooser.onShown = [this](directory::TfrmSelecionarBanco& dialog) {
            ++dialogs;
            for (int i = 0; i < dialog.cbSelecionarEmpresa->count(); ++i)
                entries.push_back(dialog.cbSelecionarEmpresa->itemText(i));
            EXPECT_EQ(dialog.cbSelecionarEmpresa->currentIndex(), 0);
            if (user) user(dialog);
            else dialog.BitBtn2->click();
        };
        directory::QDXConnection().SetDatabaseChooser(&chooser);
    }
    ~DirectoryStartUp() override {
        directory::QDXConnection().SetDatabaseChooser(nullptr);
        ini::SetExecutablePathForTesting("");
    }

    // The list file the server serves; WIN1252 bytes as a directory server sends them.
    std::string writeList(const std::string& json) const {
        const std::string path = programDir.file("list.json");
        std::ofstream(path, std::ios::binary) << json;
        return path;
    }
    void writeIni(const std::string& host) const {
        std::ofstream(programDir.file("faturamento.ini"), std::ios::binary)
            << "[QDXSERVER]\nHOST=" << host << "\n[BDADOS]\nDB=" << other.location() << "\n";
    }
    void expectConnectedTo(TAplicacao& app, const test::TestDatabase& database, const char* company) {
        EXPECT_TRUE(messages.boxes.empty()) << messages.boxes.front().text;
        EXPECT_TRUE(exits.codes.empty());
        EXPECT_TRUE(app.DM->sqlCon.connected());
        EXPECT_EQ(app.DM->sqlCon.param("Database"), database.location());
        EXPECT_EQ(app.DM->NOME_EMPRESA, company);
        EXPECT_TRUE(app.DM->cdsTabPrazo.active()); // the rest of the creation ran
        app.Form1->showMaximized();
        EXPECT_TRUE(app.Form1->isVisible());
        EXPECT_TRUE(app.Form1->btNota->isEnabled());
    }
};

std::string TwoCompanies(const std::string& first, const std::string& second) {
    return "[{\"codigo\": 1, \"nome\": \"Outra\", \"bancos\": [" + Database(1, first, "G", "Outra Empresa") +
           "]},\n {\"codigo\": 2, \"nome\": \"Demonstra\xE7\xE3o\", \"cnpj\": \"00.000.000/0001-00\", \"bancos\": [" +
           Database(2, second, "G", "Demonstra\xE7\xE3o - Principal") + "]}]";
}

const char* const kListRequest = "GET /services/rest/TAccessMethods/ListDatabases HTTP/1.1 -> ";

} // namespace

TEST_F(DirectoryStartUp, OneCompanyConnectsToItsMainDatabaseWithoutADialog) {
    // The archive database comes first in the list but is of another kind.
    const std::string list = writeList("[{\"codigo\": 1, \"nome\": \"Demonstra\xE7\xE3o\", \"bancos\": [" +
                                       Database(1, other.location(), "A", "Arquivo") + ", " +
                                       Database(2, demo.location(), "G", "Principal") + "]}]");
    struct Case {
        const char* name;
        std::vector<std::string> options;
        std::vector<std::string> statuses;
    };
    const Case cases[] = {
        {"credentials sent at once", {}, {"200 OK"}},
        {"a server that challenges the first request", {"--challenge"}, {"401 Unauthorized", "200 OK"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::DirectoryServerProcess server(list, c.options);
        writeIni(server.host());
        auto app = CriarAplicacao();
        expectConnectedTo(*app, demo, kDemoCompany);
        EXPECT_EQ(dialogs, 0);
        std::vector<std::string> expected;
        for (const auto& status : c.statuses) expected.push_back(kListRequest + status);
        EXPECT_EQ(server.requests(), expected) << server.log();
    }
}

TEST_F(DirectoryStartUp, TwoCompaniesLetTheUserChooseInTheDialog) {
    test::DirectoryServerProcess server(writeList(TwoCompanies(other.location(), demo.location())));
    writeIni(server.host());
    user = [](directory::TfrmSelecionarBanco& dialog) {
        dialog.cbSelecionarEmpresa->setCurrentIndex(1);
        dialog.BitBtn1->click(); // "Entrar"
    };
    auto app = CriarAplicacao();
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(entries, (std::vector<QString>{"Outra Empresa", QString::fromUtf8("Demonstração - Principal")}));
    expectConnectedTo(*app, demo, kDemoCompany);
    ASSERT_NE(directory::QDXConnection().SelectedDatabase(), nullptr);
    EXPECT_EQ(directory::QDXConnection().SelectedDatabase()->Id, 2);
}

TEST_F(DirectoryStartUp, CancellingTheDialogEndsTheProgramQuietly) {
    test::DirectoryServerProcess server(writeList(TwoCompanies(other.location(), demo.location())));
    writeIni(server.host());
    user = [](directory::TfrmSelecionarBanco& dialog) { dialog.BitBtn2->click(); }; // "Cancelar"
    EXPECT_THROW(CriarAplicacao(), ProcessExit);
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(exits.codes, std::vector<int>{0});
    EXPECT_TRUE(messages.boxes.empty());
}

TEST_F(DirectoryStartUp, AServerThatIsDownShowsTheFailureAndEndsTheProgram) {
    test::DirectoryServerProcess server(writeList(TwoCompanies(other.location(), demo.location())));
    server.stop(); // nothing listens on its port any more
    writeIni(server.host());
    EXPECT_THROW(CriarAplicacao(), ProcessExit);
    EXPECT_EQ(exits.codes, std::vector<int>{0});
    EXPECT_EQ(dialogs, 0);
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].caption, "Falha ao conectar.");
    EXPECT_EQ(messages.boxes[0].icon, MessageIcon::Error);
    const std::string expected = "Nenhuma empresa foi recebida do servidor de diret\xF3rio " + server.host() + ".";
    EXPECT_EQ(messages.boxes[0].text.substr(0, expected.size()), expected) << messages.boxes[0].text;
}
