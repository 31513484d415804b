// The payment term written in the first line of an order's notes ("PRAZO: 30/60/90 DDL").
#include "datamodule/TDM.h"

#include "platform/core/Format.h"

namespace fat {
namespace {

// The first line of a text whose lines end at CR, LF or CR LF; none for an empty text.
bool PrimeiraLinha(const std::string& texto, std::string& linha) {
    if (texto.empty()) return false;
    linha = texto.substr(0, texto.find_first_of("\r\n"));
    return true;
}

bool Digito(char c) { return c >= '0' && c <= '9'; }

} // namespace

void TDM::LerPrazoObservacao(const std::string& observacao) {
    data::Field& prazoPed = cdsGera.fieldByName("PRAZOPED");
    if (!prazoPed.asString().empty()) return;

    std::string linha;
    if (!PrimeiraLinha(observacao, linha)) return;
    if (linha.find("PRAZO") == std::string::npos) return;

    // The first run of digits and slashes anywhere in the line (also before the word); each
    // slash separates one more day value.
    std::string prazo;
    int parcelas = 1;
    for (char c : linha) {
        if (Digito(c) || c == '/') {
            prazo += c;
            if (c == '/') ++parcelas;
        } else if (!prazo.empty()) {
            break;
        }
    }
    prazoPed.setAsString(FormatFloat("00", parcelas) + " " + prazo);
}

} // namespace fat
