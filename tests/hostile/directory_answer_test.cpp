// Directory answers that a broken, overloaded or hostile server may send: cut short on the way,
// huge, or nested far deeper than any list of companies. Each one fails the load with a clear
// text (no crash, no stack overflow, no unbounded memory) or, when it is sound, loads.
#include "../datamodule/DataModuleFixture.h"
#include "../directory/DirectoryFixture.h"

#include "directory/QDXConnection.h"
#include "directory/ResponseCodec.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <vector>

namespace fat::test {
namespace {

using directory::EncodeDirectoryResponse;
using directory::TQDXConnection;

std::string Repeat(const std::string& part, int times) {
    std::string s;
    s.reserve(part.size() * static_cast<std::size_t>(times));
    for (int i = 0; i < times; ++i) s += part;
    return s;
}

const int Deep = 100000;

// A list of one sound company whose unused key "extra" holds the value given.
std::string CompanyWithExtra(const std::string& extra) {
    return R"([{"codigo": 1, "nome": "Alfa", "bancos": [{"id": 1, "host": "h:/a.fdb", "password": "p",)"
           R"( "type": "G", "description": "Alfa", "parent": 0}], "extra": )" +
           extra + "}]";
}

// A header announcing `announced` plain bytes and a zlib stream of `zeros` zero bytes, made
// piece by piece so that the test itself never holds them.
std::string InflationBomb(int announced, std::size_t zeros) {
    std::string body;
    for (int i = 0; i < 4; ++i) body += '\0';
    for (int i = 0; i < 4; ++i) body += static_cast<char>(static_cast<unsigned>(announced) >> (8 * i) & 0xFF);
    z_stream z{};
    EXPECT_EQ(deflateInit(&z, Z_BEST_COMPRESSION), Z_OK);
    std::vector<unsigned char> in(1 << 16, 0), out(1 << 16);
    for (std::size_t left = zeros;;) {
        const std::size_t n = std::min(left, in.size());
        left -= n;
        z.next_in = in.data();
        z.avail_in = static_cast<uInt>(n);
        const int flush = left == 0 ? Z_FINISH : Z_NO_FLUSH;
        int rc;
        do {
            z.next_out = out.data();
            z.avail_out = static_cast<uInt>(out.size());
            rc = deflate(&z, flush);
            body.append(reinterpret_cast<const char*>(out.data()), out.size() - z.avail_out);
        } while (z.avail_out == 0);
        if (flush == Z_FINISH) {
            EXPECT_EQ(rc, Z_STREAM_END);
            break;
        }
    }
    deflateEnd(&z);
    return body;
}

HttpTestServer::Handler Answer(HttpCannedResponse response) {
    return [response](const HttpRequestRecord&) { return response; };
}
HttpTestServer::Handler Body(std::string body) { return Answer({200, "OK", {}, std::move(body), 0, 0, 0}); }
HttpTestServer::Handler Encoded(const std::string& text) { return Body(EncodeDirectoryResponse(text, 77)); }

TEST(HostileDirectoryAnswers, FailTheLoadWithAClearTextAndNeverCrash) {
    const std::string list = EncodeDirectoryResponse(kDirectoryList, 9);
    const std::string plainList = kDirectoryList;
    const std::string nestedArrays = Repeat("[", Deep) + Repeat("]", Deep);
    struct Case {
        const char* what;
        HttpTestServer::Handler handler;
        bool encrypt;
        const char* error; // a part of LastLoadError
    };
    const std::vector<Case> cases = {
        {"cut after the header", Body(list.substr(0, 8)), true, "cut short"},
        {"cut in the middle of the zlib stream", Body(list.substr(0, list.size() / 2)), true, "cut short"},
        {"cut before the zlib check value", Body(list.substr(0, list.size() - 2)), true, "cut short"},
        {"connection closed before the announced length",
         Answer({200, "OK", {{"Content-Length", std::to_string(list.size())}}, list.substr(0, list.size() / 2), 0, 0,
                 0}),
         true, "transfer closed"},
        {"JSON text cut inside a string", Encoded(plainList.substr(0, plainList.find("Alfa Matriz") + 3)), true,
         "Unterminated string"},
        {"JSON text cut between values", Encoded(plainList.substr(0, plainList.find("\"bancos\"") - 1)), true,
         "must end with"},
        {"100,000 nested arrays", Encoded(nestedArrays), true, "Nesting too deep."},
        {"100,000 arrays opened and never closed", Encoded(Repeat("[", Deep)), true, "Nesting too deep."},
        {"100,000 nested objects", Encoded("[" + Repeat("{\"a\":", Deep) + "1" + Repeat("}", Deep) + "]"), true,
         "Nesting too deep."},
        {"arrays and objects alternating 100,000 deep", Encoded(Repeat("[{\"k\":", Deep / 2)), true,
         "Nesting too deep."},
        {"100,000 arrays in a key the program does not read", Encoded(CompanyWithExtra(nestedArrays)), true,
         "Nesting too deep."},
        {"100,000 arrays as a database", Encoded(R"([{"codigo": 1, "nome": "A", "bancos": )" + nestedArrays + "}]"),
         true, "Nesting too deep."},
        {"100,000 nested arrays sent as plain text", Body(nestedArrays), false, "Nesting too deep."},
        {"a small body that inflates to 70 MB", Body(InflationBomb(10, 70u << 20)), true,
         "far more than it announces"},
        {"a body larger than an answer may be", Body(std::string((64u << 20) + 1, 'x')), true, "larger than"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HttpTestServer server(c.handler);
        TQDXConnection connection;
        connection.SetEncrypt(c.encrypt);
        PointAt(connection, server);
        connection.LoadDatabases(); // never raises
        EXPECT_TRUE(connection.Offline());
        EXPECT_EQ(connection.CompanyCount(), 0);
        EXPECT_NE(connection.LastLoadError().find(c.error), std::string::npos)
            << connection.LastLoadError().substr(0, 300);
    }
}

TEST(HostileDirectoryAnswers, LargeButSoundAnswersLoad) {
    std::string many = "[";
    for (int i = 0; i < 20000; ++i)
        many += std::string(i ? "," : "") + R"({"codigo": )" + std::to_string(i) + R"(, "nome": "Empresa )" +
                std::to_string(i) + R"(", "bancos": [{"id": )" + std::to_string(i) +
                R"(, "host": "srv:/db.fdb", "password": "x", "type": "G", "description": "D", "parent": 0}]})";
    many += "]";
    const std::string bigName(1 << 20, 'N');
    struct Case {
        const char* what;
        std::string text;
        int companies;
        std::string firstName;
    };
    const std::vector<Case> cases = {
        {"20,000 companies", many, 20000, "Empresa 0"},
        {"a company name of a megabyte",
         R"([{"codigo": 1, "nome": ")" + bigName + R"(", "bancos": []}])", 1, bigName},
        {"400 nested arrays in a key the program does not read", CompanyWithExtra(Repeat("[", 400) + Repeat("]", 400)),
         1, "Alfa"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HttpTestServer server(DirectoryHandler(c.text));
        TQDXConnection connection;
        PointAt(connection, server);
        connection.LoadDatabases();
        EXPECT_FALSE(connection.Offline()) << connection.LastLoadError().substr(0, 300);
        ASSERT_EQ(connection.CompanyCount(), c.companies);
        EXPECT_TRUE(connection.Company(0)->Nome == c.firstName);
    }
}

// At start-up such an answer ends in the "Falha ao conectar." box and the end of the process; the
// box says what went wrong in a text a person can read, however large the answer was.
TEST(HostileDirectoryAnswers, AtStartUpEndInTheConnectionFailureBox) {
    struct Case {
        const char* what;
        std::string text;
        const char* mentions;
    };
    const std::vector<Case> cases = {
        {"100,000 nested arrays", Repeat("[", Deep) + Repeat("]", Deep), "Nesting too deep."},
        {"five megabytes with a fault at the end", "[" + Repeat("1,", 5 << 19) + "1 2]", "Expected a \",\" or \"]\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        struct StartUp : DataModuleFixture {
            void TestBody() override {}
        } t;
        ProcessEndRecorder ended;
        HttpTestServer server(DirectoryHandler(c.text));
        t.writeIni("[QDXSERVER]\r\nHOST=127.0.0.1:" + std::to_string(server.port()) + "\r\n");
        EXPECT_THROW(t.dm.Conectar(), ProcessEnded);
        EXPECT_EQ(ended.codes, std::vector<int>{0});
        ASSERT_EQ(t.messages.boxes.size(), 1u);
        const MessageBoxRequest& box = t.messages.boxes[0];
        EXPECT_EQ(box.caption, "Falha ao conectar.");
        EXPECT_EQ(box.icon, MessageIcon::Error);
        EXPECT_NE(box.text.find(c.mentions), std::string::npos) << box.text.substr(0, 300);
        EXPECT_LT(box.text.size(), 2000u) << "a box of " << box.text.size() << " characters";
        EXPECT_FALSE(t.dm.sqlCon.connected());
    }
}

} // namespace
} // namespace fat::test
