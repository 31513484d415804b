#pragma once
#include "directory/QDXConnection.h"
#include "directory/ResponseCodec.h"
#include "support/HttpTestServer.h"

#include <string>

namespace fat::test {

// A directory answer as a server sends it: two companies, extra keys, every type letter, a
// key spelled with a capital, numbers given as text, WIN1252 accents.
inline const char* const kDirectoryList = R"([
  {"codigo": 7.9, "nome": "Com)" "\xE9" R"(rcio Alfa", "cnpj": "00.000.000/0001-00", "ativo": true,
   "bancos": [
     {"id": 11, "host": "db1:/data/alfa.fdb", "password": "pw1", "type": "G", "description": "Alfa Matriz", "parent": 0},
     {"id": 12, "host": "db1:/data/alfa_a.fdb", "password": "pw2", "type": "A", "description": "Alfa A", "parent": 11},
     {"id": "13", "host": "db1:/data/alfa_o.fdb", "password": "", "type": "O", "description": "Alfa O", "parent": 11},
     {"id": 14, "host": "/local/c.fdb", "password": "p'4", "type": "C", "description": "Alfa C", "parent": "7.5"},
     {"id": 15, "host": "h:/f.fdb", "password": "x", "type": "F", "description": "Alfa F", "parent": 0},
     {"id": 16, "host": "h:/x.fdb", "password": "x", "type": "X", "description": "Alfa X", "parent": 0},
     {"id": 17, "host": "h:/g.fdb", "password": "x", "type": "g", "description": "Alfa min)" "\xFA" R"(sculo", "parent": 0}
   ]},
  {"Codigo": "6.5", "NOME": "Beta Ind)" "\xFA" R"(stria", "bancos": [
     {"ID": 21, "Host": "srv/3050:/db/beta.fdb", "password": "s3cr)" "\xE9" R"(t", "type": "B", "description": "Beta", "parent": 0},
     {"id": 22, "host": "srv:/db/beta2.fdb", "password": "z", "type": "", "description": "Beta 2", "parent": 0}
   ]},
  {"codigo": 3, "nome": "Gama sem bancos", "bancos": []}
])";

// Answers the list request like a directory server: the credentials are checked, the text is
// encoded (or sent as it is) and anything else is 404.
inline HttpTestServer::Handler DirectoryHandler(std::string text, bool encode = true, int keyOffset = 4000) {
    return [text = std::move(text), encode, keyOffset](const HttpRequestRecord& r) {
        if (r.target != directory::TQDXConnection::kListPath) return HttpCannedResponse{404, "Not Found", {}, ""};
        if (r.header("Authorization") !=
            HttpTestServer::basicAuthorization(directory::TQDXConnection::kUserName, directory::TQDXConnection::kPassword))
            return HttpCannedResponse{401, "Unauthorized", {{"WWW-Authenticate", "Basic realm=\"directory\""}}, ""};
        return HttpCannedResponse{200, "OK", {}, encode ? directory::EncodeDirectoryResponse(text, keyOffset) : text};
    };
}

// A client pointed at the server.
inline void PointAt(directory::TQDXConnection& connection, const HttpTestServer& server) {
    connection.SetHost("127.0.0.1:" + std::to_string(server.port()));
}

} // namespace fat::test
